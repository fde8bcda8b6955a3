// SPDX-License-Identifier: GPL-3.0-or-later
// pimbel_internal.h - the library's window pointer and radio state, for the
// render tool and the tests.
#pragma once

#include "keyer_window.h"

#include <QPointer>

namespace pimbel {

QPointer<CKeyerWindow>& TheWindow();
RadioState& LastRadioState();

} // namespace pimbel
