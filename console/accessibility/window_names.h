// SPDX-License-Identifier: GPL-3.0-or-later
// window_names.h - names for the controls of a window that a screen reader
// would otherwise find nameless, taken from the caption that stands beside
// or above each on screen.
#pragma once

class QWidget;

namespace accessible {

// Every unnamed list, level bar, spin box, text field, empty label, meter
// and lamp of `window` (and its child windows' controls) gets the text of
// its caption as its accessible name: the nearest text label to its left on
// the same row, else the nearest one just above it. A drop-down's list gets
// the drop-down's name. Names already given are kept; nothing painted
// changes. Safe to call again when the window has grown controls.
void NameByCaptions(QWidget* window);

} // namespace accessible
