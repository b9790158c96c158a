// How our own window frame looks where the host draws none: a raised border
// and a title bar with the window's title and a close box. The geometry is
// window.cpp's; this file only paints inside it.
#pragma once

#include "platform/base/bitmap.h"
#include "platform/base/handles.h"

namespace platform {

// Paints frame and title bar into the surface of a top-level window; nothing
// when the host decorates it or the window has no frame. The title bar of the
// window holding the focus is drawn active.
void paint_window_frame(Window window, Bitmap& surface);

}  // namespace platform
