// SPDX-License-Identifier: GPL-3.0-or-later
// menu_catalogue.h - the extended-menu items the window lists, their names,
// the values kept per item and the check of a value before it is sent. No Qt.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace orlint {

// One item of the extended menu: menu number, sub-item and the two further
// numbers of the EX command.
struct MenuItem {
    std::uint32_t menu = 0;
    std::uint32_t sub = 0;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    friend auto operator<=>(const MenuItem&, const MenuItem&) = default;
};

struct CatalogueEntry {
    MenuItem item;
    const char* name;
};

// The items listed from the start, in menu order.
std::span<const CatalogueEntry> Catalogue();
// The catalogue's name of an item, or "Menu 012-3" for any other.
std::string NameOf(const MenuItem& item);
// "050-1" (and "050-1-2-3" when a or b is not 0).
std::string NumberOf(const MenuItem& item);

// The largest item the EX command reaches.
inline constexpr std::uint32_t kMaxMenu = 99;
inline constexpr std::uint32_t kMaxSub = 99;
inline constexpr std::size_t kMaxValueLength = 16;

// Why a value cannot be sent, or nothing when it can.
std::optional<std::string> ValueProblem(const std::string& text);

// The QX410 family's menu values are numbers up to this.
inline constexpr std::uint32_t kMaxValueQX410 = 74;
// `text` as a decimal number of at most `limit`, or nothing.
std::optional<std::uint32_t> NumericValue(const std::string& text, std::uint32_t limit);

// The menu values the radio reported, per item.
using MenuValues = std::map<MenuItem, std::string>;

} // namespace orlint
