// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_describe.cpp - the line protocol's commands that say what the radio
// and the link are like: the state dump clients read on connecting, the
// radio's name, one VFO's summary and the VFO-argument choice.
#include "rigctl_protocol.h"

namespace zshare::rigctl {

namespace {

std::string Mask(std::uint32_t m) { return Format("0x%x", m); }

std::string List(const std::vector<int>& values) {
    std::string out;
    for (int x : values)
        out += (out.empty() ? "" : " ") + std::to_string(x);
    return out.empty() ? "0" : out;
}

std::string Mask64(std::uint64_t m) { return Format("0x%llx", static_cast<unsigned long long>(m)); }

// The tones as "67.0", the codes as written.
std::string ToneList(const std::vector<int>& tenths) {
    std::string out;
    for (int t : tenths)
        out += Format(" %d.%d", t / 10, t % 10);
    return out;
}

std::string CodeList(const std::vector<int>& codes) {
    std::string out;
    for (int code : codes)
        out += " " + std::to_string(code);
    return out;
}

} // namespace

// One VFO's frequency, mode, width and split (and no satellite mode).
Result GetVfoInfo(Context& c, const Args& a, Values& v) {
    Vfo vfo = Vfo::Current;
    if (!ParseVfo(a[0], vfo))
        return Result::InvalidArgument;
    std::int64_t hz = 0;
    Mode mode = Mode::Unknown;
    int passband = 0;
    bool split = false;
    Vfo tx = Vfo::A;
    Result r = c.backend.GetFrequency(vfo, hz);
    if (r == Result::Ok)
        r = c.backend.GetMode(vfo, mode, passband);
    if (r == Result::Ok)
        r = c.backend.GetSplit(split, tx);
    v = {std::to_string(hz), ModeName(mode), std::to_string(passband), split ? "1" : "0", "0"};
    return r;
}

Result ChkVfo(Context&, const Args&, Values& v) {
    v.push_back("0");
    return Result::Ok;
}

// Clients ask for commands without a VFO argument (what chk_vfo answered);
// the other way is not offered.
Result SetVfoOpt(Context&, const Args& a, Values&) {
    return a[0] == "0" ? Result::Ok : Result::InvalidArgument;
}

Result GetInfo(Context& c, const Args&, Values& v) {
    v.push_back("Zephyra " + c.backend.Describe().name.toStdString());
    return Result::Ok;
}

Result DumpState(Context& c, const Args&, Values& v) {
    const RadioDescription& d = c.backend.Describe();
    v.push_back("1"); // protocol version
    v.push_back(std::to_string(d.model));
    v.push_back(std::to_string(d.ituRegion));
    for (const auto* ranges : {&d.receive, &d.transmit}) {
        for (const FrequencyRange& r : *ranges)
            v.push_back(Format("%lld.000000 %lld.000000 ", static_cast<long long>(r.start),
                               static_cast<long long>(r.end)) +
                        Mask(r.modes) + " " + std::to_string(r.lowPower) + " " +
                        std::to_string(r.highPower) + " " + Mask(r.vfos) + " " + Mask(r.antennas));
        v.push_back("0 0 0 0 0 0 0");
    }
    for (const auto* pairs : {&d.steps, &d.filters}) {
        for (const auto& [modes, hz] : *pairs)
            v.push_back(Mask(modes) + " " + std::to_string(hz));
        v.push_back("0 0");
    }
    v.push_back(std::to_string(d.maxRit));
    v.push_back(std::to_string(d.maxXit));
    v.push_back(std::to_string(d.maxIfShift));
    v.push_back(std::to_string(d.announces));
    v.push_back(List(d.preamps));
    v.push_back(List(d.attenuators));
    // Functions (get, set), levels (get, set), parameters (get, set): exactly
    // what the backend implements.
    const std::uint64_t funcs = MaskOf(kFuncs, d.funcs);
    const std::uint64_t ops = MaskOf(kOps, d.vfoOps);
    std::uint64_t getLevels = 0, setLevels = 0;
    for (const LevelRow& row : kLevels) {
        if (Has(d.getLevels, row.level))
            getLevels |= std::uint64_t{1} << row.bit;
        if (Has(d.setLevels, row.level))
            setLevels |= std::uint64_t{1} << row.bit;
    }
    for (std::uint64_t m : {funcs, funcs, getLevels, setLevels, std::uint64_t{0}, std::uint64_t{0}})
        v.push_back(Mask64(m));
    // Protocol 1 clients read "key=value" lines up to "done". No command
    // takes a VFO argument (chk_vfo answers 0), so none is targetable.
    v.push_back("vfo_ops=" + Mask64(ops));
    v.push_back("ptt_type=0x1");
    v.push_back("targetable_vfo=0x0");
    for (const char* key : {"has_set_vfo", "has_get_vfo", "has_set_freq", "has_get_freq"})
        v.push_back(std::string(key) + "=1");
    for (const char* key : {"has_set_conf", "has_get_conf", "has_power2mW", "has_mW2power"})
        v.push_back(std::string(key) + "=0");
    v.push_back("timeout=0");
    v.push_back("rig_model=" + std::to_string(d.model));
    v.push_back("rigctld_version=Zephyra " + d.name.toStdString());
    v.push_back("agc_levels=");
    v.push_back("ctcss_list=" + ToneList(d.ctcssTones));
    v.push_back("dcs_list=" + CodeList(d.dcsCodes));
    v.push_back("done");
    return Result::Ok;
}

} // namespace zshare::rigctl
