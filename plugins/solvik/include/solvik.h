// SPDX-License-Identifier: GPL-3.0-or-later
// solvik.h - the terminal window: while the radio's packet terminal (TNC
// mode) owns the line, it shows the terminal's text as it arrives and sends
// the lines the operator types, raw, through the link.
//
// The console calls these plain functions. There is one window per process:
// SolvikView creates it on its first call and shows the existing one on
// later calls; SolvikDestroy destroys it (its position is kept under
// "WindowPos"/"Solvik") and may be called when none exists. The message
// functions accept their values at any time: terminal text that arrives
// while no window exists is kept (the newest 64 KiB) and shown when it opens.
//
// A typed line goes out with a carriage return, through ConnDirect, only
// while the terminal mode is on (SolvikMsgTC 0) and the link is in its
// direct mode; a line longer than the link's direct text is sent in pieces
// of at most 1023 bytes, in order. "Leave TNC" posts UM_LINK_RESTART
// (0x1200) to the console's main window, which stops the terminal and
// connects again. Closing the window only hides it and activates the console.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>

class QWidget;

// Creates (first call) or shows and activates the "Terminal" window (the
// console passes 1 for `open`; the window is shown for any value).
void SolvikView(QWidget* parent, std::uint32_t open);
void SolvikDestroy();

// The terminal mode as the console follows it: 0 on (the terminal owns the
// line), 1 off.
void SolvikMsgTC(std::uint32_t terminal);
// Text from the radio's terminal, zero-terminated, at most 1024 bytes.
void SolvikRXData(const char* text);
