// How a program that installed no backend itself gets one.
#pragma once

#include "platform/base/bitmap.h"

namespace kavro {

// Installs the screen backend (or the headless one when KAVRO_BACKEND=headless)
// unless a backend is installed already. False, with one line on stderr, when
// none can start (no display).
bool install_program_backend();

// Writes the picture of a headless program to KAVRO_PICTURE, when asked.
void write_program_picture();

// The part of the canvas the graphics window's client area shows.
platform::Bitmap visible_canvas();

}  // namespace kavro
