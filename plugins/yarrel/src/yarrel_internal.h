// SPDX-License-Identifier: GPL-3.0-or-later
// yarrel_internal.h - the library's window pointer and spot list, for the
// render tool and the tests.
#pragma once

#include "cluster_window.h"

#include <QPointer>

namespace yarrel {

QPointer<CClusterWindow>& TheWindow();
SpotList& Spots();

} // namespace yarrel
