// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's state: defaults, resets, frequencies and meters.
#include "engine.h"
#include "engine_util.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace qxsim::detail {

int familyOf(int identity)
{
    if (identity == 17 || identity == 18)
        return 1;
    if (identity == 15)
        return 2;
    return 3;
}

Engine::Engine(const Options& options)
    : options_(options), band_(options.seed), identity_(options.identity),
      family_(familyOf(options.identity)), lineRate_(options.baud)
{
    loadDefaults();
    s_.baud = options.baud;
}

void Engine::setIdentity(int identity)
{
    identity_ = identity;
    family_ = familyOf(identity);
}

void Engine::loadDefaults()
{
    s_ = State{};
    s_.baud = lineRate_;
    auto& v = s_.values;
    v = {
        {"AC", {0, 0, 0}}, {"AG0", {100}}, {"AG1", {100}}, {"AL", {2}},   {"AM", {0}},
        {"AN", {1}},       {"AR0", {0, 0}}, {"AR1", {0, 0}}, {"BC", {0}},  {"BP", {32}},
        {"CA", {0}},       {"CG", {50}},   {"CM", {0}},     {"CN", {8}},   {"CT", {0}},
        {"DQ", {0}},       {"FS", {0}},    {"FW", {2400}},  {"GT", {10}},  {"KS", {20}},
        {"LK", {0, 0}},    {"LM", {0}},    {"LT", {0}},     {"MF", {0}},   {"MG", {50}},
        {"ML", {0}},       {"MO", {0}},    {"MU", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"NB", {0}},       {"NL", {5}},    {"NR", {0}},     {"NT", {0}},   {"OF", {600000}},
        {"OS", {0}},       {"PA", {0, 0}}, {"PB", {0}},     {"PC", {100}}, {"PL", {50, 50}},
        {"PM", {0}},       {"PR", {0}},    {"QC", {0}},     {"RA", {0, 0}}, {"RG", {255}},
        {"RL", {0}},       {"RT", {0}},    {"SB", {0}},     {"SD", {50}},  {"SH", {11}},
        {"SL", {0}},       {"SQ0", {0}},   {"SQ1", {0}},    {"SS", {0}},   {"ST", {1}},
        {"SU0", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, {"SU1", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"TI", {0, 0, 0}}, {"TN", {8}},    {"TO", {0}},     {"TS", {0}},   {"UL", {0}},
        {"VD", {1500}},    {"VG", {4}},    {"VX", {0}},     {"XT", {0}},
    };
    if (family_ == 1) {
        v["SH"] = {20};
        v["GT"] = {2};
    }
    s_.menu["0550000"] = "0";
}

void Engine::reset(bool full)
{
    if (full) {
        const int power = s_.power;
        lineRate_ = 9600;
        loadDefaults();
        s_.power = power;
        keyerDone_ = {};
        nextTick_ = Clock::time_point::max();
        return;
    }
    const State d{};
    s_.vfoA = d.vfoA;
    s_.vfoB = d.vfoB;
    s_.subFrequency = d.subFrequency;
    s_.modeA = d.modeA;
    s_.modeB = d.modeB;
    s_.modeSub = d.modeSub;
    s_.rxVfo = s_.txVfo = s_.subVfo = 0;
    s_.ritOffset = 0;
    s_.values["RT"] = {0};
    s_.values["XT"] = {0};
    s_.scan = 0;
}

long long Engine::value(const std::string& key, std::size_t field) const
{
    auto it = s_.values.find(key);
    if (it == s_.values.end() || field >= it->second.size())
        return 0;
    return it->second[field];
}

int Engine::memoryIndex(int bank, int channel) const
{
    if (bank == 3 && channel == 0)
        return kCallChannel;
    if (bank < 0 || bank > 2 || channel < 0 || channel > 99)
        return -1;
    if (family_ != 3 && bank != 0)
        return -1;
    return bank * 100 + channel;
}

MemoryHalf* Engine::currentMemory()
{
    return const_cast<MemoryHalf*>(std::as_const(*this).currentMemory());
}

const MemoryHalf* Engine::currentMemory() const
{
    const bool sub = s_.controlBand == 1;
    const int vfo = sub ? s_.subVfo : s_.rxVfo;
    if (vfo == 3)
        return &s_.memory[kCallChannel].half[0];
    if (vfo != 2)
        return nullptr;
    const int i = sub ? memoryIndex(s_.subBank, s_.subChannel) : memoryIndex(s_.bank, s_.channel);
    return i < 0 ? nullptr : &s_.memory[static_cast<std::size_t>(i)].half[0];
}

// vfo: 0 A, 1 B, 2 the sub receiver's VFO.
std::int64_t& Engine::vfoRef(int vfo)
{
    return vfo == 0 ? s_.vfoA : vfo == 1 ? s_.vfoB : s_.subFrequency;
}

int& Engine::modeRef(int vfo)
{
    return vfo == 0 ? s_.modeA : vfo == 1 ? s_.modeB : s_.modeSub;
}

std::int64_t Engine::controlFrequency() const
{
    if (const MemoryHalf* m = currentMemory())
        return m->frequency;
    if (s_.controlBand == 1)
        return s_.subFrequency;
    return s_.rxVfo == 1 ? s_.vfoB : s_.vfoA;
}

bool Engine::listensOnTransmit() const
{
    if (value("TS") != 1 || s_.controlBand != 0 || s_.transmitBand != 0)
        return false;
    if (s_.rxVfo > 1 || s_.txVfo > 1 || s_.rxVfo == s_.txVfo)
        return false;
    return (s_.rxVfo == 1 ? s_.modeB : s_.modeA) != 4;
}

std::int64_t Engine::transmitFrequency() const
{
    if (s_.transmitBand == 1)
        return s_.subFrequency;
    switch (s_.txVfo) {
    case 1: return s_.vfoB;
    case 2: {
        const int i = memoryIndex(s_.bank, s_.channel);
        if (i < 0)
            return 0;
        const auto& ch = s_.memory[static_cast<std::size_t>(i)];
        return ch.hasTransmitHalf ? ch.half[1].frequency : ch.half[0].frequency;
    }
    case 3: return s_.memory[kCallChannel].half[0].frequency;
    default: return s_.vfoA;
    }
}

int Engine::sMeter(int meter) const
{
    // Meters 0 and 2 (main) read 0..30; meters 1 and 3 (sub) read 0..15.
    const bool sub = meter == 1 || meter == 3;
    if (s_.power == 0)
        return 0;
    if (s_.transmitting && (sub ? 1 : 0) == s_.transmitBand) {
        // The power meter: proportional to the power setting.
        const long long full = sub ? 15 : 30;
        return static_cast<int>(std::clamp<long long>(value("PC") * full / 100, 0, full));
    }
    if (sub) {
        if (value("SB") == 0)
            return 0;
        return (band_.level(s_.subFrequency) + 1) / 2;
    }
    std::int64_t hz;
    if (const MemoryHalf* m = currentMemory(); m && s_.controlBand == 0)
        hz = m->frequency;
    else
        hz = s_.rxVfo == 1 ? s_.vfoB : s_.vfoA;
    if (value("RT"))
        hz += s_.ritOffset;
    int level = band_.level(hz);
    if (value("RA", 0))
        level = std::max(0, level - 4);  // the attenuator
    if (value("PA", 0))
        level = std::min(30, level + 2); // the preamplifier
    return level;
}
// ------------------------------------------------------------ tuning

void Engine::setControlFrequency(std::int64_t hz, std::vector<std::string>& out)
{
    hz = std::clamp<std::int64_t>(hz, 30'000, 99'999'999'999);
    if (MemoryHalf* m = currentMemory())
        m->frequency = hz;
    else if (s_.controlBand == 1)
        s_.subFrequency = hz;
    else
        vfoRef(s_.rxVfo == 1 ? 1 : 0) = hz;
    reportFrequencyChange(out);
}

void Engine::moveControlFrequency(std::int64_t delta, std::vector<std::string>& out)
{
    if (value("LK", 0) != 0)
        return;  // the dial is locked
    if (listensOnTransmit() && !currentMemory()) {
        std::int64_t& hz = vfoRef(s_.txVfo);
        hz = std::clamp<std::int64_t>(hz + delta, 30'000, 99'999'999'999);
        report(s_.txVfo == 1 ? "FB" : "FA", out);
        report("IF", out);
        return;
    }
    setControlFrequency(controlFrequency() + delta, out);
}

void Engine::stepChannel(int delta, std::vector<std::string>& out)
{
    int& bank = s_.controlBand == 1 ? s_.subBank : s_.bank;
    int& channel = s_.controlBand == 1 ? s_.subChannel : s_.channel;
    const int count = family_ == 3 ? kMemoryChannels : 100;
    const int now = bank * 100 + channel;
    const int next = ((now + delta) % count + count) % count;
    bank = next / 100;
    channel = next % 100;
    report("MC", out);
    report("IF", out);
}

}  // namespace qxsim::detail
