// SPDX-License-Identifier: GPL-3.0-or-later
// panel_traits.h - what every panel is: template id, title, size, profile key
// under "WindowPos" and help context.
#pragma once

namespace pandor {

struct PanelTraits {
    int templateId;
    const char* title;
    int width;
    int height;
    const char* profileKey;
    int helpContext;
};

inline constexpr PanelTraits kAgcTraits{24001, "AGC Time Constant", 354, 98, "Agc", 214};
inline constexpr PanelTraits kMemoryTraits{24005, "Memory", 522, 354, "Mch", 215};
inline constexpr PanelTraits kMemGroupTraits{24011, "Memory Group Use", 311, 284, "Mgr", 216};
inline constexpr PanelTraits kMultiTraits{24000, "MULTI", 566, 303, "Mlt", 217};
inline constexpr PanelTraits kSetupTraits{24003, "Setup", 341, 360, "Set", 218};
inline constexpr PanelTraits kScanGroupTraits{24012, "Scan Group Set", 315, 312, "Sgr", 219};
inline constexpr PanelTraits kSatNameTraits{24010, "Satellite Memory Name", 287, 88, "Smn", 220};

} // namespace pandor
