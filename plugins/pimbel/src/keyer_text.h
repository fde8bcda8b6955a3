// SPDX-License-Identifier: GPL-3.0-or-later
// keyer_text.h - what may go to the radio's keyer as one KY text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pimbel {

// The radio's keyer buffer holds this many characters; KY pads to it.
inline constexpr std::size_t kKeyerTextLength = 24;
// Stored messages.
inline constexpr int kMessageCount = 5;

enum class TextCheck { Ok, Empty, TooLong, Semicolon, NotPrintable };

// Morse has no letter case: the text as it goes to the radio (ASCII letters
// in upper case, everything else unchanged).
std::string KeyerText(std::string_view typed);

// Whether `text` (already passed through KeyerText) may be sent: not empty,
// at most 24 characters, printable ASCII only, no ";" (which would end the
// command early and send the rest as a command of its own).
TextCheck CheckKeyerText(std::string_view text);

// The message shown to the operator for a refused text.
const char* RefusalMessage(TextCheck check);

} // namespace pimbel
