// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_protocol.h - what the line protocol's command table and its
// transport share: the command record, the conversion of arguments, and the
// names of levels, switches and VFO operations (private to the library).
#pragma once

#include <zephyra_share.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zshare::rigctl {

using Args = std::vector<std::string>;
using Values = std::vector<std::string>;

struct Context {
    RadioBackend& backend;
    ClientSession& session;
    // The command line's text after the command word (send_morse keeps its
    // spaces).
    std::string rest;
};

using Handler = Result (*)(Context&, const Args&, Values&);

struct Command {
    char shortName; // 0 when the command has only a long name
    const char* longName;
    int args;
    // The labels of the values a get answers, for the extended answer; null
    // entries (or a null list) give the values as raw lines.
    std::vector<const char*> labels;
    Handler run;
    // The plain answer of a get ends with "RPRT 0" too (as clients expect of
    // get_lock_mode).
    bool plainReport = false;
    // The extended answer echoes the rest of the line as it came.
    bool echoRest = false;
    // Arguments it takes beyond `args` when the line has them (the passband
    // of a mode, the transmit VFO of split).
    int optional = 0;
    // With a separator the value keeps its own line end, so that "RPRT"
    // stands on a line of its own (as clients read get_func, get_powerstat
    // and get_lock_mode).
    bool reportOwnLine = false;
};

// ---- argument conversion

inline bool ParseInt(const std::string& text, long long& out) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+')
        ++b;
    const auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e;
}

inline bool ParseDouble(const std::string& text, double& out) {
    if (text.empty() || text.size() > 40)
        return false;
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+')
        ++b;
    const auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e && std::isfinite(out);
}

inline bool ParseFrequency(const std::string& text, std::int64_t& hz) {
    double v = 0;
    if (!ParseDouble(text, v) || v < 0 || v > 99'999'999'999.0)
        return false;
    hz = static_cast<std::int64_t>(std::llround(v));
    return true;
}

inline bool ParseVfo(const std::string& text, Vfo& vfo) {
    if (text == "VFOA" || text == "Main" || text == "MainA")
        vfo = Vfo::A;
    else if (text == "VFOB" || text == "MainB")
        vfo = Vfo::B;
    else if (text == "MEM")
        vfo = Vfo::Memory;
    else if (text == "currVFO" || text == "VFO")
        vfo = Vfo::Current;
    else
        return false;
    return true;
}

inline const char* VfoName(Vfo vfo) {
    switch (vfo) {
    case Vfo::A: return "VFOA";
    case Vfo::B: return "VFOB";
    case Vfo::Memory: return "MEM";
    case Vfo::Current: break;
    }
    return "currVFO";
}

// The levels of the line protocol: name, level, whole number or 0..1, and
// the bit of the protocol's level mask.
struct LevelRow {
    const char* name;
    Level level;
    bool whole;
    int bit;
};

inline constexpr LevelRow kLevels[] = {
    {"PREAMP", Level::Preamp, true, 0},       {"ATT", Level::Attenuator, true, 1},
    {"AF", Level::Af, false, 3},              {"RF", Level::Rf, false, 4},
    {"SQL", Level::Squelch, false, 5},        {"RFPOWER", Level::RfPower, false, 12},
    {"MICGAIN", Level::MicGain, false, 13},   {"KEYSPD", Level::KeySpeed, true, 14},
    {"COMP", Level::Compression, false, 16},  {"RAWSTR", Level::RawStrength, true, 26},
    {"STRENGTH", Level::Strength, true, 30},
};


template <typename T>
inline bool Has(const std::vector<T>& list, T value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// A function or VFO operation of the line protocol: its name, the value it
// stands for and its bit in the protocol's mask.
template <typename Value>
struct NamedBit {
    const char* name;
    Value value;
    int bit;
};

using FuncRow = NamedBit<Func>;
using OpRow = NamedBit<VfoOp>;

// The mask of the rows whose value is among `present`.
template <typename Value, std::size_t N>
std::uint64_t MaskOf(const NamedBit<Value> (&rows)[N], const std::vector<Value>& present) {
    std::uint64_t mask = 0;
    for (const NamedBit<Value>& row : rows)
        if (Has(present, row.value))
            mask |= std::uint64_t{1} << row.bit;
    return mask;
}

inline constexpr FuncRow kFuncs[] = {
    {"NB", Func::NoiseBlanker, 1}, {"COMP", Func::Compressor, 2},     {"TONE", Func::Tone, 4},
    {"TSQL", Func::ToneSquelch, 5}, {"NR", Func::NoiseReduction, 9},
};


inline constexpr OpRow kOps[] = {
    {"CPY", VfoOp::Copy, 0},      {"XCHG", VfoOp::Exchange, 1},      {"UP", VfoOp::Up, 5},
    {"DOWN", VfoOp::Down, 6},     {"BAND_UP", VfoOp::BandUp, 7},     {"BAND_DOWN", VfoOp::BandDown, 8},
};

// The row of `rows` named `text`; null when none is.
template <typename Row, std::size_t N>
const Row* FindRow(const Row (&rows)[N], const std::string& text) {
    for (const Row& row : rows)
        if (text == row.name)
            return &row;
    return nullptr;
}

inline std::string Format(const char* format, auto... values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

// ---- the command table (rigctl_commands.cpp)

const std::vector<Command>& Commands();
bool IsGet(const Command& c);
const Command* FindCommand(const std::string& word);
// The transport tells set_ptt apart: its release goes ahead of the queue.
Result SetPtt(Context& c, const Args& a, Values&);

// ---- what the radio and the link are like (rigctl_describe.cpp)

// chk_vfo's extended answer has a form of its own (the transport writes it).
Result ChkVfo(Context&, const Args&, Values& v);
Result GetVfoInfo(Context& c, const Args& a, Values& v);
Result SetVfoOpt(Context&, const Args& a, Values&);
Result GetInfo(Context& c, const Args&, Values& v);
Result DumpState(Context& c, const Args&, Values& v);

} // namespace zshare::rigctl
