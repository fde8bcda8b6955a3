// SPDX-License-Identifier: GPL-3.0-or-later
// glimra_internal.h - the library's window pointer and the radio's answers
// the window looks at, for the demo and tests.
#pragma once

#include <QPointer>

class CCorvan;

namespace glimra {

class CVisualScanDlg;
// The window of this process, null while none exists.
QPointer<CVisualScanDlg>& TheWindow();

// Asks the radio over `link` for every answer the window's Start reads from
// the store (the console keeps them stored while it is connected); the
// answers arrive later.
void AskStartReadings(CCorvan& link);

} // namespace glimra
