// SPDX-License-Identifier: GPL-3.0-or-later
// console_menu.h - the console's menu as data (text, command, initially
// greyed); the command identifiers are in command_ids.h.
#pragma once

#include "command_ids.h"

#include <span>

// One row of the menu. depth 0 is a menu of the menu bar; an entry with
// command 0 opens a submenu holding the deeper rows that follow it; a null
// text is a separator.
struct MenuEntry {
    int depth;
    const char* text;
    int command;
    bool greyed = false;
};

std::span<const MenuEntry> ConsoleMenu();

// Whether the Mode menu's item `command` is marked for the radio's mode
// number `mode` (the reversed modes mark their mode and Reverse).
bool ModeMenuMarks(int command, int mode);
