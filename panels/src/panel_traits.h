// panel_specs.h - what every panel is: template id, title, size, profile key
// under "WindowPos" and help context.
#pragma once

namespace pandor {

struct PanelSpec {
    int templateId;
    const char* title;
    int width;
    int height;
    const char* profileKey;
    int helpContext;
};

inline constexpr PanelSpec kAgcSpec{24001, "AGC Time Constant", 354, 98, "Agc", 214};
inline constexpr PanelSpec kMemorySpec{24005, "Memory", 522, 354, "Mch", 215};
inline constexpr PanelSpec kMemGroupSpec{24011, "Memory Group Use", 311, 284, "Mgr", 216};
inline constexpr PanelSpec kMultiSpec{24000, "MULTI", 566, 303, "Mlt", 217};
inline constexpr PanelSpec kSetupSpec{24003, "Setup", 341, 291, "Set", 218};
inline constexpr PanelSpec kScanGroupSpec{24012, "Scan Group Set", 315, 312, "Sgr", 219};
inline constexpr PanelSpec kSatNameSpec{24010, "Satellite Memory Name", 287, 88, "Smn", 220};

} // namespace pandor
