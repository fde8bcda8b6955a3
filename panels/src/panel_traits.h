// SPDX-License-Identifier: GPL-3.0-or-later
// panel_traits.h - what every panel is: its template id, and the window it
// is (title, profile key under "WindowPos", help context and size).
#pragma once

#include <platform.h>

namespace pandor {

struct PanelTraits {
    int templateId;
    platform::SecondaryWindowDescription window;
};

inline constexpr PanelTraits kAgcTraits{24001, {"AGC Time Constant", "Agc", 214, 354, 98}};
inline constexpr PanelTraits kMemoryTraits{24005, {"Memory", "Mch", 215, 522, 354}};
inline constexpr PanelTraits kMemGroupTraits{24011, {"Memory Group Use", "Mgr", 216, 311, 284}};
inline constexpr PanelTraits kMultiTraits{24000, {"MULTI", "Mlt", 217, 566, 303}};
inline constexpr PanelTraits kSetupTraits{24003, {"Setup", "Set", 218, 341, 360}};
inline constexpr PanelTraits kScanGroupTraits{24012, {"Scan Group Set", "Sgr", 219, 315, 312}};
inline constexpr PanelTraits kSatNameTraits{24010, {"Satellite Memory Name", "Smn", 220, 287, 88}};

} // namespace pandor
