// SPDX-License-Identifier: GPL-3.0-or-later
// glimra_internal.h - the library's window pointer, for the demo and tests.
#pragma once

#include <QPointer>

namespace glimra {

class CVisualScanDlg;
// The window of this process, null while none exists.
QPointer<CVisualScanDlg>& TheWindow();

} // namespace glimra
