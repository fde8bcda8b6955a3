// SPDX-License-Identifier: GPL-3.0-or-later
// accessible_readings.h - what a screen reader says for the painted parts of
// the console: a frequency drawn as eleven digit labels, a bar meter's
// level read off its printed scale, and the gate that keeps announcements
// of a changing value to a few a second.
#pragma once

#include <QString>

#include <chrono>

namespace accessible {

// The frequency a display shows, from its eleven digit labels (10 GHz digit
// first; a blank or empty label is a blanked leading zero): "14.195.000 MHz".
// Empty when every digit is blank. The keypad's entry (a dash in each place
// not typed yet) reads "frequency entry" and the digits typed, one by one,
// with "point" after the megahertz once they are all in place ("frequency
// entry 7 point 0 7 4"); anything else but digits and leading blanks
// is read as it stands, blanks dropped.
QString FrequencyReading(const QString (&digits)[11]);

// A signal bar's level 0..30 on receive, as its printed scale reads:
// S-units up to S9, then decibels over S9 ("S7", "S9+20 dB"). Identification
// 19 prints S9 at level 15 and 20 dB for every five levels above; the other
// radios print S9 at level 18 and 20 dB for every four.
QString SignalReading(int level, bool identification19);

// A bar's level 0..30 on transmit, as the power scale reads ("----10----25
// ----50-------100"): watts, or per cent where the scale ends in "%".
QString PowerReading(int level, bool percent);

// A mode display's text as the mode it shows: "USB" for "USB Group 0" (the
// memory group a browsed channel adds is no part of the mode); empty when
// it shows no mode.
QString ModeReading(const QString& shown);

// Lets a changing value be announced at most once per `gap`: the first
// change goes out at once, a change inside the gap waits for its end (and
// then the value of that moment goes out, so the last value is always
// spoken).
class AnnounceThrottle {
public:
    using Clock = std::chrono::steady_clock;
    explicit AnnounceThrottle(std::chrono::milliseconds gap) : m_gap(gap) {}
    // How long a change noticed at `now` waits before it is announced.
    std::chrono::milliseconds WaitAt(Clock::time_point now) const;
    void Announced(Clock::time_point now);

private:
    std::chrono::milliseconds m_gap;
    Clock::time_point m_last{};
    bool m_announced = false;
};

} // namespace accessible
