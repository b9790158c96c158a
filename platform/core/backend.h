// What a display backend supplies. Backends only translate: native events
// become the injection calls of input.h, and pixels are shown as they are.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"

namespace platform {

class Backend {
public:
    virtual ~Backend() = default;
    // The rectangle is what the native window shows: the outer rectangle, or
    // the part of it inside the host's decorations (see inject_host_frame).
    virtual void create_native_window(Window window, const char* title, const Rect& shown, bool resizable) = 0;
    virtual void show_native_window(Window window, bool visible) = 0;
    virtual void move_native_window(Window window, const Rect& shown) = 0;
    virtual void destroy_native_window(Window window) = 0;
    // The window became the active one: it gets the keyboard focus and comes to the front.
    virtual void activate_native_window(Window window) = 0;
    // The window's whole surface (frame or not, menu bar included), as the user should see it.
    virtual void present(Window window, const Bitmap& surface) = 0;
    // Turns waiting native input into injection calls; never blocks.
    virtual void poll_input() = 0;
    // Waits until input arrives or the monotonic clock reaches deadline_ms
    // (-1: no deadline). Headless: moves the virtual clock instead.
    virtual void wait_for_input(std::int64_t deadline_ms) = 0;
    virtual Size screen_size() = 0;
    virtual std::int64_t monotonic_ms() = 0;
    virtual std::int64_t calendar_seconds() = 0;
};

// The platform uses the installed backend; installing replaces the previous one.
void install_backend(std::unique_ptr<Backend> backend);
Backend& backend();
bool has_backend();

}  // namespace platform
