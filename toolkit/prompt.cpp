// KAVRO_gets: a line of text asked for in a modal dialog that is described to
// the platform as an in-memory template, built afresh at each call.
#include <cassert>
#include <cstdint>
#include <cstring>

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_template_writer.h"
#include "toolkit/misuse.h"
#include "toolkit/program_backend.h"
#include "toolkit/state.h"

namespace kavro {

constexpr int ID_GETS_OKAY = 101;
constexpr int ID_GETS_EDIT = 102;
constexpr int ID_GETS_PROMPT = 103;
constexpr std::size_t GETS_TEMPLATE_SIZE = 292;
constexpr int GETS_PROMPT_LENGTH = 79;
constexpr int GETS_RESULT_SIZE = 256;

void build_gets_template(const char* prompt, std::uint8_t (&block)[GETS_TEMPLATE_SIZE]);
std::intptr_t gets_dialog_proc(platform::Window dialog, unsigned message, std::uintptr_t word, std::intptr_t position);

namespace {

using namespace platform;

constexpr unsigned GETS_DIALOG_STYLE =
    STYLE_POPUP | STYLE_VISIBLE | STYLE_CAPTION | STYLE_SYSTEM_MENU | DIALOG_MODAL_FRAME;
constexpr unsigned GETS_EDIT_STYLE =
    STYLE_CHILD | STYLE_VISIBLE | STYLE_BORDER | STYLE_TABSTOP | EDIT_MULTILINE | EDIT_AUTO_VERTICAL_SCROLL;
constexpr unsigned GETS_OKAY_STYLE = STYLE_CHILD | STYLE_VISIBLE | STYLE_TABSTOP | BUTTON_DEFAULT_PUSH;
constexpr unsigned GETS_PROMPT_STYLE = STYLE_CHILD | STYLE_VISIBLE | STYLE_GROUP | STATIC_LEFT;
static_assert(GETS_DIALOG_STYLE == 0x90C80080 && GETS_EDIT_STYLE == 0x50810044 && GETS_OKAY_STYLE == 0x50010001 &&
              GETS_PROMPT_STYLE == 0x50020000);

// The buffer of the dialog that runs and its size; one prompt dialog runs at a time.
char* gets_result = nullptr;
std::size_t gets_result_size = 0;

}  // namespace

void build_gets_template(const char* prompt, std::uint8_t (&block)[GETS_TEMPLATE_SIZE]) {
    char shown[GETS_PROMPT_LENGTH];
    std::size_t given = 0;
    while (prompt && given < sizeof shown && prompt[given]) ++given;
    std::memset(shown, ' ', sizeof shown);
    if (given > 0) std::memcpy(shown, prompt, given);

    DialogTemplateWriter writer;
    writer.header(GETS_DIALOG_STYLE, 3, 50, 50, 185, 92, "KAVRO_gets");
    writer.item(GETS_EDIT_STYLE, 8, 30, 167, 37, ID_GETS_EDIT, EDIT_CLASS_ATOM, "", 0);
    writer.item(GETS_OKAY_STYLE, 67, 74, 50, 14, ID_GETS_OKAY, BUTTON_CLASS_ATOM, "Okay", 4);
    writer.item(GETS_PROMPT_STYLE, 8, 3, 167, 24, ID_GETS_PROMPT, STATIC_CLASS_ATOM, shown, sizeof shown);
    assert(writer.bytes.size() == GETS_TEMPLATE_SIZE);
    std::memcpy(block, writer.bytes.data(), GETS_TEMPLATE_SIZE);
}

std::intptr_t gets_dialog_proc(Window dialog, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case MSG_INIT_DIALOG: gets_result = reinterpret_cast<char*>(position); return 1;
    case MSG_COMMAND:
        if (word != ID_GETS_OKAY) return 0;
        if (gets_result) get_dialog_item_text(dialog, ID_GETS_EDIT, gets_result, static_cast<int>(gets_result_size));
        end_dialog(dialog, 1);
        return 1;
    default: return 0;
    }
}

}  // namespace kavro

extern "C" int KAVRO_gets_n(const char* prompt, char* result, size_t size) {
    using namespace kavro;
    // Asking before KAVRO_open is fine: the dialog then has no owner.
    if (!install_program_backend()) return 0;
    if (!result || size == 0) {
        report_misuse("KAVRO_gets", "was given no room for the answer; pass a buffer and its size");
        return 0;
    }
    // The answer never needs more than the dialog's own limit.
    if (size > static_cast<std::size_t>(GETS_RESULT_SIZE)) size = GETS_RESULT_SIZE;
    // The dialog's modal loop shows the canvas as a wait for events would.
    state.awaited = true;
    gets_result_size = size;
    std::uint8_t block[GETS_TEMPLATE_SIZE];
    build_gets_template(prompt, block);
    std::intptr_t answer = platform::dialog_box_indirect(state.instance, block, sizeof block, state.graphics_window,
                                                         gets_dialog_proc, reinterpret_cast<std::intptr_t>(result));
    gets_result = nullptr;
    gets_result_size = 0;
    if (answer == -1) return 0;
    // Ended without Okay (a quit request): the caller still reads a string.
    if (answer == 0) result[0] = '\0';
    return 1;
}

extern "C" int KAVRO_gets(const char* prompt, char* result) {
    return KAVRO_gets_n(prompt, result, kavro::GETS_RESULT_SIZE);
}
