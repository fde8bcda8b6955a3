// SPDX-License-Identifier: GPL-3.0-or-later
// yarrel.h - the packet-cluster window: the DX spots the radio reports (PK)
// as a list, newest first; clicking a spot (or Enter on it) tunes the main
// band to it with FA.
//
// A spot whose frequency is not one the main receiver covers (0 or less, as
// the console reads a text that does not parse, a few hertz from a text that
// parses only in part, beyond eleven digits, or outside the receiver's bands)
// is listed, greyed, without a tune action. A spot repeated with the same call
// and frequency moves to the top instead of being listed twice; the list
// keeps the newest 100 spots.
//
// The console calls these plain functions. There is one window per process.
// YarrelView is called with every CM (packet-cluster tune) value: with a
// non-zero value it creates the window or brings it to the front; with 0 it
// creates the window without showing it and leaves an existing one where it
// is, so that switching P.C.T. off does not throw a window at the operator.
// YarrelDestroy destroys it (safe when none exists). YarrelMsgPK may be
// called at any time: spots that arrive while no window exists are kept by
// the library and shown once it opens.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>

class QWidget;

void YarrelView(QWidget* parent, std::uint32_t cm);
void YarrelDestroy();
// One spot: frequency in Hz, call, comment and time texts (null reads as "").
void YarrelMsgPK(std::int64_t frequency, const char* call, const char* comment, const char* time);
