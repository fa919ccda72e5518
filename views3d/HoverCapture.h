#pragma once
// The hover tracking of the owner-drawn pickers holds the mouse capture; a
// button press ends with the capture let go. Taking it back while the cursor
// is still over the window lets the control see the cursor leave even when
// the next move is elsewhere.
#include "platform/user/User.h"

namespace kw::views3d {

void RecaptureWhileOver(HWND hwnd, POINT client);

} // namespace kw::views3d
