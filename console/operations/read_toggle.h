// SPDX-License-Identifier: GPL-3.0-or-later
// read_toggle.h - the steps most front-panel handlers share: read what the
// radio last reported (up to ten tries), and send the other value, or only
// the read request when nothing is stored. Private to the operation files.
#pragma once

#include <console_state.h>
#include <corvan.h>
#include <secondary_windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace operations {

using u32 = std::uint32_t;
using Read = std::int32_t (CCorvan::*)(u32*);
using Write = std::int32_t (CCorvan::*)(const char*, u32);

inline bool ReadOnce(CCorvan& link, Read read, u32& value) {
    return zephyra::ReadStored([&] { return (link.*read)(&value) == 1; });
}

// The value as last reported; when nothing is stored only the read request
// goes out, and false comes back.
inline bool ReadOrAsk(CCorvan& link, Read read, Write write, u32& value) {
    if (ReadOnce(link, read, value))
        return true;
    (link.*write)("R", 0);
    return false;
}

// 0 becomes 1 and anything else 0; `mode` "" where the command's setting
// form takes an empty mode text. Returns the value read, or -1 when only the
// request went out.
inline int ReadToggle(CCorvan& link, Read read, Write write, const char* mode = "W") {
    u32 value = 0;
    if (!ReadOrAsk(link, read, write, value))
        return -1;
    (link.*write)(mode, value == 0 ? 1 : 0);
    return static_cast<int>(value);
}

// The seven numbers and the name of an SA report.
struct SatelliteValues {
    std::array<u32, 7> v{};
    char name[corvan::kShortTextSize + 8] = {};
};

inline bool ReadSatellite(CCorvan& link, SatelliteValues& out) {
    if (!zephyra::ReadStored([&] {
            return link.RcvDataSA(&out.v[0], &out.v[1], &out.v[2], &out.v[3], &out.v[4], &out.v[5],
                                  &out.v[6], out.name) == 1;
        }))
        return false;
    out.name[sizeof out.name - 1] = '\0';
    return true;
}

// The SA report as last stored; when nothing is stored only its read request
// goes out, and false comes back.
inline bool ReadSatelliteOrAsk(CCorvan& link, SatelliteValues& out) {
    if (ReadSatellite(link, out))
        return true;
    link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    return false;
}

inline void WriteSatellite(CCorvan& link, const SatelliteValues& in) {
    link.ConnSA("W", in.v[0], in.v[1], in.v[2], in.v[3], in.v[4], in.v[5], in.v[6], in.name);
}

// The channel editor's values of a band's record.
// The quick memory's state as last reported (up to ten tries).
inline bool ReadQuickMemory(CCorvan& link, u32& on, u32& channel) {
    return zephyra::ReadStored([&] { return link.RcvDataQR(&on, &channel) == 1; });
}

inline zephyra::MemoryValues MemoryValuesOf(const zephyra::MemoryRecord& r) {
    zephyra::MemoryValues v;
    v.rxFrequency = std::strtoll(r.rxFrequency.c_str(), nullptr, 10);
    v.txFrequency = std::strtoll(r.txFrequency.c_str(), nullptr, 10);
    v.rxMode = static_cast<u32>(r.rxMode);
    v.txMode = static_cast<u32>(r.txMode);
    v.rxStep = static_cast<u32>(r.rxStep);
    v.txStep = static_cast<u32>(r.txStep);
    v.offset = static_cast<u32>(r.offset);
    v.shift = static_cast<u32>(r.shift);
    v.reverse = static_cast<u32>(r.reverse);
    v.toneNumber = static_cast<u32>(r.toneNumber);
    v.ctcssNumber = static_cast<u32>(r.ctcssNumber);
    v.dcsCode = static_cast<u32>(r.dcsCode);
    v.toneType = static_cast<u32>(r.toneType);
    v.group = static_cast<u32>(r.group);
    v.lockout = static_cast<u32>(r.lockout);
    std::strncpy(v.name, r.name.c_str(), sizeof v.name - 1);
    return v;
}

} // namespace operations
