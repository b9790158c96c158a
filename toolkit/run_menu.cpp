// The graphics window's procedure: the "&Run" menu, clicks, characters,
// ticks and the Ctrl commands.
#include "platform/core/message_queue.h"
#include "platform/core/timer.h"
#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/default_procedure.h"
#include "platform/ui/menu.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

struct RunMenuEntry {
    unsigned flags;
    unsigned identifier;
    const char* text;
};

const RunMenuEntry RUN_MENU[] = {
    {platform::MENU_STRING, CMD_ANIMATE, "&Animate\tCtrl+A"},
    {platform::MENU_STRING, CMD_HALT, "&Halt animation\tCtrl+H"},
    {platform::MENU_STRING, CMD_ADVANCE_FRAME, "Advance one &frame\tCtrl+F"},
    {platform::MENU_SEPARATOR, 0, nullptr},
    {platform::MENU_STRING | platform::MENU_CHECKED, CMD_LOGGING, "&Logging\tCtrl+L"},
    {platform::MENU_SEPARATOR, 0, nullptr},
    {platform::MENU_STRING, CMD_RECORD, "&Record Script\tCtrl+R"},
    {platform::MENU_STRING, CMD_PLAYBACK, "&Playback Script\tCtrl+P"},
    {platform::MENU_STRING, CMD_PLAY_ONE, "Play &One Script\tCtrl+O"},
    {platform::MENU_SEPARATOR, 0, nullptr},
    {platform::MENU_STRING, CMD_QUIT, "&Quit\tCtrl+Q"},
    {platform::MENU_SEPARATOR, 0, nullptr},
    {platform::MENU_GRAYED, CMD_ABOUT, "KAVRO v2.2 July 1997"},
    {platform::MENU_GRAYED, CMD_ABOUT, "A teaching toolkit for graphics and events"},
    {platform::MENU_GRAYED, CMD_ABOUT, "Bridge cartoon project"},
    {platform::MENU_GRAYED, CMD_ABOUT, "See README.md for help"},
};

void build_menu(platform::Window window) {
    platform::Menu bar = platform::create_menu();
    state.run_menu = platform::create_popup_menu();
    for (const RunMenuEntry& entry : RUN_MENU)
        platform::append_menu(state.run_menu, entry.flags, entry.identifier, entry.text);
    platform::append_menu(bar, platform::MENU_POPUP, static_cast<unsigned>(state.run_menu), "&Run");
    platform::set_menu(window, bar);
    platform::draw_menu_bar(window);
}

void set_check(unsigned identifier, bool on) { platform::check_menu_item(state.run_menu, identifier, on); }

// Stopping playback by hand drops the rest of a periodic line, so those
// events can never turn up in a later recording.
void end_playback() {
    bool reading = state.script_file && !state.script_file_writing;
    if (!state.playing && !reading) return;
    state.playing = 0;
    state.play_one = 0;
    set_check(CMD_PLAYBACK, false);
    close_script_file();
    state.periodic_count = 0;
}

// Playing back needs the file for reading: a recording is completed first.
void end_recording() {
    if (!state.recording) return;
    state.recording = 0;
    set_check(CMD_RECORD, false);
    stop_recording();
}

}  // namespace

void run_command(unsigned identifier) {
    switch (identifier) {
    case CMD_ANIMATE: state.running = 1; break;
    case CMD_HALT: state.running = 0; break;
    case CMD_ADVANCE_FRAME:
        state.running = 0;
        state.single_step = 1;
        break;
    case CMD_LOGGING:
        state.logging = !state.logging;
        set_check(CMD_LOGGING, state.logging != 0);
        break;
    case CMD_RECORD:
        if (state.recording) {
            state.recording = 0;
            set_check(CMD_RECORD, false);
            stop_recording();
        } else {
            // The recorder needs the file for writing: a playback in progress ends first.
            end_playback();
            state.recording = 1;
            set_check(CMD_RECORD, true);
        }
        break;
    case CMD_PLAYBACK:
        if (state.playing) {
            end_playback();
        } else {
            end_recording();
            state.running = 0;
            state.single_step = 0;
            state.playing = 1;
            set_check(CMD_PLAYBACK, true);
        }
        break;
    case CMD_PLAY_ONE:
        end_recording();
        state.play_one = 1;
        state.running = 0;
        state.single_step = 0;
        break;
    case CMD_QUIT: platform::post_quit_message(0); break;
    default: break;
    }
}

std::intptr_t graphics_window_proc(platform::Window window, unsigned message, std::uintptr_t word,
                                   std::intptr_t position) {
    switch (message) {
    case platform::MSG_CREATE: build_menu(window); return 0;
    case platform::MSG_SIZE: {
        platform::Rect client;
        platform::get_client_rect(window, client);
        state.centre_x = client.left + (client.right - client.left) / 2;
        state.centre_y = client.top + (client.bottom - client.top) / 2;
        return 0;
    }
    case platform::MSG_PAINT: {
        platform::PaintInfo paint;
        platform::begin_paint(window, paint);
        present_canvas();
        platform::end_paint(window, paint);
        state.dirty = 0;
        return 0;
    }
    case platform::MSG_DESTROY:
        platform::kill_timer(window, TICK_TIMER_ID);
        platform::post_quit_message(0);
        return 0;
    case platform::MSG_TIMER: state.tick = 1; return 0;
    case platform::MSG_LEFT_BUTTON_DOWN:
        if (take_pointer_message(message, word, position)) return 0;
        state.pending.x = platform::low_half(position) - state.centre_x;
        state.pending.y = state.centre_y - platform::high_half(position);
        state.pending.kind = KAVRO_MOUSE;
        return 0;
    case platform::MSG_CHARACTER:
        if (state.ctrl_down) return 0;
        state.pending.kind = KAVRO_KBD;
        state.pending.key = static_cast<char>(word & 0xFF);
        return 0;
    case platform::MSG_KEY_DOWN: {
        int key = static_cast<int>(word & 0xFF);
        if (key == platform::KEY_CONTROL) {
            state.ctrl_down = 1;
            deliver_key(KAVRO_KEY_PRESS, word, position);
            return 0;
        }
        if (key >= 'a' && key <= 'z') key -= 'a' - 'A';
        if (!state.ctrl_down) {
            deliver_key(KAVRO_KEY_PRESS, word, position);
            return 0;
        }
        switch (key) {
        case 'A': run_command(CMD_ANIMATE); break;
        case 'H': run_command(CMD_HALT); break;
        case 'F': run_command(CMD_ADVANCE_FRAME); break;
        case 'L': run_command(CMD_LOGGING); break;
        case 'R': run_command(CMD_RECORD); break;
        case 'P': run_command(CMD_PLAYBACK); break;
        case 'O': run_command(CMD_PLAY_ONE); break;
        case 'Q': run_command(CMD_QUIT); break;
        default: break;
        }
        return 0;
    }
    case platform::MSG_KEY_UP:
        if ((word & 0xFF) == static_cast<std::uintptr_t>(platform::KEY_CONTROL)) state.ctrl_down = 0;
        deliver_key(KAVRO_KEY_RELEASE, word, position);
        return 0;
    case platform::MSG_SYSTEM_KEY_DOWN:
    case platform::MSG_SYSTEM_KEY_UP:
        // Alt and keys held with it; F10 only opens the menu.
        if ((word & 0xFF) != static_cast<std::uintptr_t>(platform::KEY_F10))
            deliver_key(message == platform::MSG_SYSTEM_KEY_DOWN ? KAVRO_KEY_PRESS : KAVRO_KEY_RELEASE, word, position);
        return platform::default_window_proc(window, message, word, position);
    case platform::MSG_LEFT_BUTTON_UP:
    case platform::MSG_MIDDLE_BUTTON_DOWN:
    case platform::MSG_MIDDLE_BUTTON_UP:
    case platform::MSG_RIGHT_BUTTON_DOWN:
    case platform::MSG_RIGHT_BUTTON_UP:
    case platform::MSG_MOUSE_MOVE:
    case platform::MSG_MOUSE_WHEEL: take_pointer_message(message, word, position); return 0;
    case platform::MSG_COMMAND: {
        unsigned identifier = static_cast<unsigned>(word & 0xFFFF);
        if (identifier >= CMD_ANIMATE && identifier <= CMD_QUIT) run_command(identifier);
        return 0;
    }
    default: return platform::default_window_proc(window, message, word, position);
    }
}

}  // namespace kavro
