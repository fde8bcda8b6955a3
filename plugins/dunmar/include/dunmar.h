// SPDX-License-Identifier: GPL-3.0-or-later
// dunmar.h - the receive filter window: shows and sets the receive filter of
// the control band (low and high cut, width, IF shift) and the filter preset
// kept in extended menu 50, sub-item 1.
//
// The console calls these plain functions. There is one window per process:
// DunmarView creates it on its first call and shows the existing one on
// later calls; DunmarDestroy destroys it (its position is kept under
// "WindowPos"/"Dunmar") and may be called when none exists. Every message
// function accepts its values at any time: while no window exists they are
// kept and shown once it opens, so the window starts with what the radio
// last reported.
//
// The window sends its settings through a link object of its own (SH, SL,
// FW, IS and EX 050 01) and asks for the current values when it opens; the
// answers reach it back through the console's forwarding. Closing it only
// hides it and activates the console.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>

class QWidget;

// Creates (first call) or shows and activates the "RX Filter" window;
// `filter` is the preset of menu 50 as the console keeps it.
void DunmarView(QWidget* parent, std::uint32_t filter);
void DunmarDestroy();

// Forwarded reports of the radio.
void DunmarMsgDC(std::uint32_t transmitBand, std::uint32_t controlBand);
void DunmarMsgFW(std::uint32_t width);
void DunmarMsgIS(const char* sign, std::uint32_t shift);
void DunmarMsgMD(std::uint32_t mode);
void DunmarMsgSH(std::uint32_t highCut);
void DunmarMsgSL(std::uint32_t lowCut);
void DunmarMsgPFil(std::uint32_t filter);
