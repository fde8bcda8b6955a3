// SPDX-License-Identifier: GPL-3.0-or-later
// solvik_internal.h - the library's window and kept text, for tests and the
// render tool.
#pragma once

#include "terminal_window.h"

#include <string>

namespace solvik {

// The window of this process, null while none exists.
CTerminalWindow* TheWindow();
// Text kept while no window exists.
const std::string& KeptText();
int TerminalMode();
// Forgets the kept text and the mode.
void ForgetState();

inline constexpr std::size_t kKeptLimit = 64 * 1024;

} // namespace solvik
