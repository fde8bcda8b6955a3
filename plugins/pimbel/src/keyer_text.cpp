// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyer_text.h"

namespace pimbel {

std::string KeyerText(std::string_view typed) {
    std::string out(typed);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

TextCheck CheckKeyerText(std::string_view text) {
    if (text.empty()) {
        return TextCheck::Empty;
    }
    // The frame-breaking character first: it is the more dangerous fault.
    if (text.find(';') != std::string_view::npos) {
        return TextCheck::Semicolon;
    }
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E) {
            return TextCheck::NotPrintable;
        }
    }
    if (text.size() > kKeyerTextLength) {
        return TextCheck::TooLong;
    }
    return TextCheck::Ok;
}

const char* RefusalMessage(TextCheck check) {
    switch (check) {
    case TextCheck::Ok:
        return "";
    case TextCheck::Empty:
        return "Nothing to send.";
    case TextCheck::TooLong:
        return "Not sent: a keyer text holds at most 24 characters.";
    case TextCheck::Semicolon:
        return "Not sent: \";\" cannot be keyed.";
    case TextCheck::NotPrintable:
        return "Not sent: only letters, digits, spaces and the usual signs can be keyed.";
    }
    return "";
}

} // namespace pimbel
