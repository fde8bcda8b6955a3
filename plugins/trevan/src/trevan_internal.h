// SPDX-License-Identifier: GPL-3.0-or-later
// trevan_internal.h - the library's window pointer, for the render tool and the tests.
#pragma once

#include "auto_mode_window.h"

#include <QPointer>

namespace trevan {

QPointer<CAutoModeWindow>& TheWindow();

} // namespace trevan
