// SPDX-License-Identifier: GPL-3.0-or-later
// group_title.h - the band title and group states shared by the memory group
// and scan group panels.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace pandor {

inline constexpr std::size_t kGroupCount = 10;
inline constexpr std::uint32_t kNoControlBand = 3;

using GroupStates = std::array<std::optional<bool>, kGroupCount>;

// The panel's title followed by "  -Main Band-" (band 0) or "  -Sub Band-"
// (band 1); any other band gives the bare title.
QString BandTitle(const char* title, std::uint32_t controlBand);

// A reported group value: 1 ON, 0 OFF, anything else leaves the group as it is.
void ApplyGroupValue(std::optional<bool>& group, std::uint32_t value);

} // namespace pandor
