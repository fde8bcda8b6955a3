// SPDX-License-Identifier: GPL-3.0-or-later
// orlint_internal.h - the library's window and kept state, for tests and the
// render tool.
#pragma once

#include "menu_window.h"

namespace orlint {

// The window of this process, null while none exists.
CMenuWindow* TheWindow();
const RadioState& LastState();
// Forgets everything the console told the library.
void ForgetState();

} // namespace orlint
