#pragma once

#include <QIcon>

namespace parlix {

// The program's own icon, at every size it is drawn in (16 to 256 pixels),
// compiled into the program: the window icon of every window and the logo of
// the disclaimer and the about box.
QIcon appIcon();

// The name the icon and the desktop entry are installed under.
inline constexpr const char* appId = "it.parlix.Parlix";

} // namespace parlix
