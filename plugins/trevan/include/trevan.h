// SPDX-License-Identifier: GPL-3.0-or-later
// trevan.h - the auto-mode frequency window: the table of frequency ranges
// and the operating mode the radio's auto mode picks in each.
//
// The table lives in the profile, section "AutoModeFreq": "Count" rows,
// keys "Range1" .. "RangeN", each "FROM TO MODE" (from and to as "%011lld"
// hertz, the lower bound included and the upper one excluded; the mode as
// the protocol's mode code 1 LSB, 2 USB, 3 CW, 4 FM, 5 AM, 6 FSK, 7 CW-R,
// 9 FSK-R). Without a "Count" the window starts from a band plan of its own;
// a stored row that does not read as a valid range, or overlaps one read
// before it, is left out. Every change the operator makes is written at once.
//
// The console calls these plain functions. There is one window per process:
// TrevanView creates it on its first call and brings it to the front later;
// TrevanDestroy destroys it (safe when none exists).
//
// Threading: UI thread only.
#pragma once

class QWidget;

void TrevanView(QWidget* parent);
void TrevanDestroy();
