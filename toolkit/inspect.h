// What tools, benchmarks and tests outside the toolkit may see of its inside
// and set, so that none of them depends on the toolkit's record (state.h).
// Everything here runs on the program's single thread.
#pragma once

#include <string>
#include <vector>

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"

namespace kavro {

// The file the Run menu's Record and Playback write and read, in the current directory.
constexpr const char* SCRIPT_FILE_NAME = "KAVRO.SCR";

// Puts the toolkit back to its values before KAVRO_open (each run starts afresh).
void reset_toolkit_state();
// Takes and handles at most one waiting message; true when it asked the program to quit.
bool pump_one_message();
// The graphics window, or NONE before KAVRO_open.
platform::Window graphics_window();
// The graphics window's Run menu.
platform::Menu run_menu();
// The canvas's pixels as drawn, before they are shown; only while the toolkit is open.
platform::Bitmap& canvas_bitmap();
// The canvas pixel of application point (0, 0); application y grows upwards.
platform::Point canvas_origin();
// The colour word of a KAVRO_ colour index.
platform::ColorWord color_value(int color);
// The text window's lines, oldest first.
std::vector<std::string> message_lines();
// Starts or stops writing the events KAVRO_await_event hands out to the script file.
void set_recording(bool on);
// Lets the waiting KAVRO_await_event hand out one periodic event at the next tick.
void request_periodic_event();

}  // namespace kavro
