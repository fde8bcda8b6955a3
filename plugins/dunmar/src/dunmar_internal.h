// SPDX-License-Identifier: GPL-3.0-or-later
// dunmar_internal.h - the library's window and kept values, for tests and the
// render tool.
#pragma once

#include "filter_window.h"

#include <QPointer>

namespace dunmar {

// The window of this process, null while none exists.
CFilterWindow* TheWindow();
// What the radio last reported, kept while no window exists.
const Reported& LastReported();
// Forgets every reported value (tests start from a radio never heard).
void ForgetReported();

} // namespace dunmar
