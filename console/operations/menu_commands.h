// SPDX-License-Identifier: GPL-3.0-or-later
// menu_commands.h - installs the menu items that act on the radio.
#pragma once

#include <functional>

class ConsoleOperations;

// `install` puts one handler into the console's command table.
void InstallMenuCommands(ConsoleOperations& operations,
                         const std::function<void(int command, std::function<void()> handler)>& install);
