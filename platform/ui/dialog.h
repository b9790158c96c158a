// Modal dialogs run from an in-memory template in the published
// layout, with the predefined Button, Edit and Static controls. Positions and
// sizes in a template are dialog units of the system font: a horizontal unit
// is a quarter of its average character width, a vertical unit an eighth of
// its cell height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/window.h"

namespace platform {

// Dialog styles (the low bits of a dialog template's style).
constexpr unsigned DIALOG_ABSOLUTE_ALIGN = 0x0001;  // x, y relative to the screen
constexpr unsigned DIALOG_SET_FONT = 0x0040;        // the header names a font (skipped: units stay the system font's)
constexpr unsigned DIALOG_MODAL_FRAME = 0x0080;
constexpr unsigned DIALOG_CENTER = 0x0800;  // centred on the screen

// Predefined control classes: their atoms in a template and their names.
constexpr int BUTTON_CLASS_ATOM = 0x0080;
constexpr int EDIT_CLASS_ATOM = 0x0081;
constexpr int STATIC_CLASS_ATOM = 0x0082;
constexpr const char* BUTTON_CLASS = "Button";
constexpr const char* EDIT_CLASS = "Edit";
constexpr const char* STATIC_CLASS = "Static";

constexpr unsigned BUTTON_PUSH = 0x0000;
constexpr unsigned BUTTON_DEFAULT_PUSH = 0x0001;
constexpr unsigned BUTTON_TYPE_MASK = 0x000F;
constexpr unsigned EDIT_MULTILINE = 0x0004;
constexpr unsigned EDIT_AUTO_VERTICAL_SCROLL = 0x0040;
constexpr unsigned EDIT_WANT_RETURN = 0x1000;  // Enter inserts a line break instead of pressing the default button
constexpr unsigned STATIC_LEFT = 0x0000;
constexpr unsigned STATIC_CENTER = 0x0001;
constexpr unsigned STATIC_RIGHT = 0x0002;

// The dialog asks a control which keys it handles itself: word is the
// virtual key of the key-down in question; the answer is a set of codes.
constexpr unsigned MSG_GET_DIALOG_CODE = 0x0087;
constexpr std::intptr_t DIALOG_CODE_WANT_MESSAGE = 0x0004;  // the control takes this key
constexpr std::intptr_t DIALOG_CODE_DEFAULT_PUSH_BUTTON = 0x0010;
constexpr std::intptr_t DIALOG_CODE_PUSH_BUTTON = 0x0020;

// Command identifiers the dialog itself sends.
constexpr int ID_OK = 1;      // Enter when the dialog has no default push button
constexpr int ID_CANCEL = 2;  // Escape and the close box

// Notification code of a button click (high half of MSG_COMMAND's word).
constexpr int BUTTON_CLICKED = 0;

// The colours the dialog and its controls are drawn in.
constexpr ColorWord DIALOG_FACE_COLOR = color_word(192, 192, 192);
constexpr ColorWord DIALOG_SHADOW_COLOR = color_word(128, 128, 128);
constexpr ColorWord DIALOG_HIGHLIGHT_COLOR = color_word(255, 255, 255);
constexpr ColorWord DIALOG_TEXT_COLOR = color_word(0, 0, 0);
constexpr ColorWord EDIT_FIELD_COLOR = color_word(255, 255, 255);

// Answers true (nonzero) for a message it handled; false leaves the message to
// the dialog's default handling. MSG_INIT_DIALOG answered true puts the focus
// on the control named by its word.
using DialogProc = std::intptr_t (*)(Window dialog, unsigned message, std::uintptr_t word, std::intptr_t position);

// A template as read: texts narrowed to bytes (code units above 0xFF become '?').
struct DialogItemTemplate {
    unsigned style = 0;
    unsigned extended_style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int id = 0;
    int class_atom = 0;                       // 0 when the class is given by name
    std::string class_name;                   // the predefined class's name for an atom
    std::string text;                         // empty when the text is an ordinal
    int text_ordinal = -1;                    // the resource ordinal instead of a text, or -1
    std::vector<std::uint8_t> creation_data;  // without its size word
};

struct DialogTemplate {
    unsigned style = 0;
    unsigned extended_style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool has_menu = false;
    bool has_class = false;
    std::string title;
    int font_point_size = 0;  // with DIALOG_SET_FONT
    std::string font_face;
    std::vector<DialogItemTemplate> items;
};

// False when the block is not a complete template within size bytes: too
// short, a text without its terminator, an item or its creation data running
// past the end, or the extended layout (which starts 0x0001 0xFFFF).
bool parse_dialog_template(const void* block, std::size_t size, DialogTemplate& parsed);

// Runs a modal dialog and returns the value given to end_dialog; 0 when the
// loop ended otherwise (a quit request, which is posted again, or the dialog
// destroyed). -1, with nothing left behind, when the template cannot be used
// (malformed, a menu, a window class of its own, a control class that is not
// registered) or the owner is not a window. The owner is disabled while the
// dialog runs. The loop dispatches every message of the thread; for the
// dialog's windows Tab and Shift+Tab move the focus among WS_TABSTOP controls,
// Enter sends the command of the focused push button or else of the default
// push button (ID_OK without one), Escape sends ID_CANCEL.
std::intptr_t dialog_box_indirect(Instance instance, const void* dialog_template, std::size_t size, Window owner,
                                  DialogProc procedure, std::intptr_t init_value);
// Ends the modal loop of a running dialog once the current message returns.
// False for a window that is no running dialog.
bool end_dialog(Window dialog, std::intptr_t result);
// The innermost running modal dialog, or Window::NONE.
Window active_dialog();

// The control of a dialog with this identifier, or Window::NONE.
Window get_dialog_item(Window dialog, int id);
// Copies at most size - 1 characters of the control's text and a terminator;
// returns the number of characters copied. Size 0 writes nothing; a missing
// control gives "".
int get_dialog_item_text(Window dialog, int id, char* buffer, int size);
bool set_dialog_item_text(Window dialog, int id, const char* text);

// Pixels per dialog unit come from these (the system font's average character
// width and cell height).
int dialog_base_unit_x();
int dialog_base_unit_y();
// Converts a rectangle in dialog units to pixels in place.
void map_dialog_rect(Rect& rect);

// Registers the Button, Edit and Static classes unless they already are.
void register_dialog_control_classes();
// Ends a mouse press on a button wherever the button was released, so a
// press that leaves its button clicks nothing; the modal loop calls it after
// every release.
void end_button_press();

// Forgets what the predefined controls keep per window (pressed button, edit state).
void reset_dialog_controls();

}  // namespace platform
