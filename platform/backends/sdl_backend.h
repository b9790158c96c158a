// The screen backend on SDL2: one native window per top-level window, pixels
// shown through the window surface, native input turned into injection calls.
// Only this backend's source includes SDL.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/core/backend.h"

namespace platform {

// Starts SDL's video subsystem with the driver SDL picks (SDL_VIDEODRIVER may
// name one); null with a message on stderr when it cannot start.
std::unique_ptr<Backend> create_sdl_backend();

// The screen backend on the display systems the environment names (DISPLAY,
// WAYLAND_DISPLAY); null with one line on stderr when there is none.
std::unique_ptr<Backend> create_screen_backend();

// SDL's identifier of the native window shown for a top-level window; 0 when
// there is none (no SDL backend installed, or not a top-level window).
std::uint32_t native_window_id(Window window);

// The virtual key for an SDL key (keycode, and the scancode for keys whose
// keycode names no US-layout key); 0 for keys the platform has no code for.
int virtual_key_from_sdl(std::int32_t keycode, int scancode);

}  // namespace platform
