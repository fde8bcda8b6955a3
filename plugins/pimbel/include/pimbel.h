// SPDX-License-Identifier: GPL-3.0-or-later
// pimbel.h - the keyer window: keyboard CW through the radio's keyer (KY).
//
// The operator types a text (at most 24 characters, the radio's keyer
// buffer) or picks one of five stored messages; each text goes to the radio
// as one KY command. While the radio reports its buffer busy (KY 1) further
// texts wait in the window's queue and go out, in order, once it reports
// room again (KY 0); the window asks for the state itself while texts wait.
// A text holding ";" or longer than 24 characters is refused with a message
// and never reaches the link. While the radio is off (PS 0, also what the
// console passes at disconnect) nothing is sent and the queue is dropped.
// The stored messages live in the profile, section "KeyMem", keys "Mem1" ..
// "Mem5".
//
// The console calls these plain functions. There is one window per process:
// PimbelView creates it on its first call and brings it to the front later;
// PimbelDestroy destroys it (safe when none exists). The message functions
// may be called at any time: the library keeps the last KY and PS values
// while no window exists and the window starts from them.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>

class QWidget;

void PimbelView(QWidget* parent);
void PimbelDestroy();
// The radio's keyer buffer: 0 room for a text, 1 busy.
void PimbelMsgKY(std::uint32_t value);
// The radio's power state: 0 off, 1..3 on.
void PimbelMsgPS(std::uint32_t value);
