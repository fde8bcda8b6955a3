// SPDX-License-Identifier: GPL-3.0-or-later
// glimra.h - the visual scan: a window that sweeps one receiver across a
// span of channels and draws the signal strength of each as a bar graph.
//
// The console calls these plain functions. There is one window per process;
// GlimraView creates it on its first call and brings it to the front on
// later calls; GlimraDestroy destroys it (safe when none exists). The
// message functions forward the radio's reports (the console calls them
// from its handlers of the same codes); they do nothing while no window
// exists.
//
// When the operator closes the window it hides, activates the console's
// main window and posts UM_VSCAN_CLOSED (0x1150) to it; the console answers
// with GlimraDestroy.
//
// Threading: UI thread only. The window's sweep thread is started with the
// window and joined by GlimraDestroy; it never touches a widget.
#pragma once

#include <cstdint>

class QWidget;

// Creates (first call) or shows and activates the "Visual Scan" window.
void GlimraView(QWidget* parent);
// Destroys the window: saves its position, joins the sweep thread.
void GlimraDestroy();
// Stops a running or paused sweep.
void GlimraScanStop();
// The console's link is about to close (`writable` non-zero while the line
// still takes commands): the open window gives the radio back its menu 015,
// which it clears again once the radio is back. What the visual scan could
// not give back because the link had closed or its device had gone (the
// centre of a stopped sweep, the receive VFO, the sub band's step, menu 015
// of a window closed meanwhile) is given on the first call of these
// functions that finds the link open and the radio switched on.
void GlimraLinkClosing(std::int32_t writable);

// Reports of the radio, forwarded by the console.
void GlimraMsgEX(std::int32_t menu, std::int32_t item, std::int32_t a, std::int32_t b,
                 const char* text);
void GlimraMsgDC(std::int32_t first, std::int32_t second);
void GlimraMsgFR(std::int32_t value);
void GlimraMsgSC(std::int32_t value);
void GlimraMsgTX(std::int32_t value);
void GlimraMsgRX(std::int32_t value);
