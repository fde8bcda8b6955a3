// SPDX-License-Identifier: GPL-3.0-or-later
#include "menu_catalogue.h"

#include <array>
#include <cstdio>

namespace orlint {

namespace {

constexpr std::array<CatalogueEntry, 18> kCatalogue{{
    {{4, 0, 0, 0}, "Setting 04"},
    {{5, 0, 0, 0}, "AM broadcast step"},
    {{6, 1, 0, 0}, "Memory transmit option"},
    {{6, 2, 0, 0}, "Memory setting 06-2"},
    {{18, 0, 0, 0}, "External antenna"},
    {{19, 1, 0, 0}, "S-meter squelch display"},
    {{20, 0, 0, 0}, "RX equalizer"},
    {{21, 0, 0, 0}, "TX equalizer"},
    {{23, 0, 0, 0}, "Setting 23"},
    {{25, 0, 0, 0}, "Transverter"},
    {{42, 0, 0, 0}, "Tone setting 42"},
    {{44, 0, 0, 0}, "Setting 44"},
    {{46, 0, 0, 0}, "TNC band"},
    {{50, 1, 0, 0}, "RX filter preset"},
    {{55, 0, 0, 0}, "TNC mode"},
    {{61, 1, 0, 0}, "Repeater mode"},
    {{61, 5, 0, 0}, "Remote control"},
    {{62, 5, 0, 0}, "ZUL state"},
}};

} // namespace

std::span<const CatalogueEntry> Catalogue() { return kCatalogue; }

std::string NumberOf(const MenuItem& item) {
    char text[32];
    if (item.a == 0 && item.b == 0)
        std::snprintf(text, sizeof text, "%03u-%u", item.menu, item.sub);
    else
        std::snprintf(text, sizeof text, "%03u-%u-%u-%u", item.menu, item.sub, item.a, item.b);
    return text;
}

std::string NameOf(const MenuItem& item) {
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.item == item)
            return entry.name;
    return "Menu " + NumberOf(item);
}

std::optional<std::string> ValueProblem(const std::string& text) {
    if (text.empty())
        return "Enter a value first";
    if (text.size() > kMaxValueLength)
        return "At most 16 characters";
    for (const char c : text) {
        if (c == ';')
            return "\";\" cannot be sent";
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return "Only printable characters";
    }
    return std::nullopt;
}

std::optional<std::uint32_t> NumericValue(const std::string& text, std::uint32_t limit) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > limit)
        return std::nullopt;
    return value;
}

} // namespace orlint
