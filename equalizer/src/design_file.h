// SPDX-License-Identifier: GPL-3.0-or-later
// design_file.h - the design-data file (".udd"): five values, one a line,
// then an empty line, "----- Note -----" and an empty line.
//
// Reading takes the first five lines; line 2 (the prototype cut-off) is not
// used. The cut-offs are taken as whole hertz and the attenuation as whole
// decibels, by the whole part of the value (a fraction is dropped). The window writes every file whole, note block included, and only
// values its scroll bars can hold: a file that lacks the note block (cut
// short) or holds a value outside those ranges (1..5999 Hz, 1..99 dB; 0 Hz
// also for the unused second cut-off of a low-pass or high-pass design; a
// band-pass or band-stop design's first cut-off below its second) is
// refused whole, never clamped into something the operator did not design.
#pragma once

#include "design.h"

#include <string>
#include <string_view>

namespace tonwell {

inline constexpr int kMinFrequencyHz = 1;
inline constexpr int kMaxFrequencyHz = 5999;
inline constexpr int kMinAttenuation = 1;
inline constexpr int kMaxAttenuation = 99;

// The whole file text.
std::string FormatDesignFile(const DesignParams& params);

enum class FileError {
    None,
    TooFewLines, // fewer than five lines (an empty file included)
    NotANumber,  // line 1, 3, 4 or 5 is not a plain decimal number
    BadType,     // the type is not 1, 2, 3 or 4
    OutOfRange,  // a cut-off or the attenuation the window cannot hold
    NoNote,      // the empty line and "----- Note -----" do not follow line 5
};

struct ParsedDesign {
    FileError error = FileError::None;
    DesignParams params;
};

ParsedDesign ParseDesignFile(std::string_view text);

// "%5.3f" without regard to the process locale.
std::string FormatFixed3(double value);

} // namespace tonwell
