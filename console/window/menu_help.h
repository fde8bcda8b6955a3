// SPDX-License-Identifier: GPL-3.0-or-later
// menu_help.h - F1 on an item of the console's menu opens the help page
// about it: sharing, reconnecting, the meter pace.
#pragma once

class QMenuBar;

namespace menu_help {

// Help pages of their own (help/<number>.html); the screen reader's page
// has no menu item and is reached from the help index.
inline constexpr int kSharing = 400;
inline constexpr int kScreenReader = 401;
inline constexpr int kReconnecting = 402;
inline constexpr int kMeterPace = 403;
inline constexpr int kOperatingRemotely = 404; // reached from Setup's network address box

// The page about a menu command; 0 when it has none of its own.
int ContextForCommand(int command);

// F1 on every menu of the bar: with an item highlighted that has a page (or
// a submenu whose items have one), the menus close and the page opens.
void Install(QMenuBar* menuBar);

} // namespace menu_help
