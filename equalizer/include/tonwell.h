// SPDX-License-Identifier: GPL-3.0-or-later
// tonwell.h - the audio equaliser windows the console opens.
//
//   window                          view           destroy          profile key  help
//   "Audio Editor - Design"         RadioEqsView   RadioEqsDestroy  "Eqs"        209
//   "Audio Editor - Samples"        RadioEqgView   RadioEqgDestroy  "Eqg"        210
//
// The design window shapes a 31-tap FIR filter (low-pass, high-pass,
// band-pass or band-stop, Kaiser window), plots its response, keeps designs
// in ".udd" files and, after the operator confirms, loads the taps into the
// radio's receive (UR) or transmit (UT) equaliser. The samples window offers
// 35 ready-made tap sets (seven types of five), each on a button that shows
// the response its taps have, and writes the chosen one the same way.
//
// Lifecycle. A view function creates its window (restoring the position saved
// under "WindowPos"/key) or shows the existing one and brings it to the front.
// Close and Esc only hide a window and activate the main window; its state
// stays until the destroy function saves the position and deletes it. Every
// function may be called at any time; view functions do nothing while no
// QApplication exists. Whatever is left open is destroyed (samples window
// first) when the QApplication goes away or the library is unloaded.
//
// Threading: the UI thread only.
#pragma once

class QWidget;

void RadioEqsView(QWidget* parent);
void RadioEqsDestroy();
void RadioEqgView(QWidget* parent);
void RadioEqgDestroy();
