// One reset for the whole platform, so a test starts from nothing.
#pragma once

namespace platform {

// Closes an open menu and drops every menu, control state, drawing context
// and object, window, class, timer and queued message. The backend stays.
void reset_platform();

}  // namespace platform
