// SPDX-License-Identifier: GPL-3.0-or-later
// Field parsing shared by the command handlers.
#pragma once

#include <string>

namespace qxsim::detail {

// Exactly `width` decimal digits at `pos`.
inline bool digitsAt(const std::string& s, std::size_t pos, std::size_t width, long long& out)
{
    if (pos + width > s.size() || width == 0)
        return false;
    long long v = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
    }
    out = v;
    return true;
}

// The whole text after the code is `width` digits.
inline bool onlyDigits(const std::string& args, std::size_t width, long long& out)
{
    return args.size() == width && digitsAt(args, 0, width, out);
}

inline bool in(long long v, long long lo, long long hi)
{
    return v >= lo && v <= hi;
}

// A name or a text field: printable, no framing characters.
inline bool printable(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == ';')
            return false;
    return true;
}

}  // namespace qxsim::detail
