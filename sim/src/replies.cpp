// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's replies and its auto-information reports.
#include "engine.h"
#include "engine_util.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace qxsim::detail {

// ------------------------------------------------------------ replies

std::int64_t Engine::mainReceiveFrequency() const
{
    switch (s_.rxVfo) {
    case 1: return s_.vfoB;
    case 2: {
        const int i = memoryIndex(s_.bank, s_.channel);
        return i < 0 ? 0 : s_.memory[static_cast<std::size_t>(i)].half[0].frequency;
    }
    case 3: return s_.memory[kCallChannel].half[0].frequency;
    default: return s_.vfoA;
    }
}

std::string Engine::formatIf(bool other) const
{
    // IF: the control band's receive side; while the main band transmits in
    // split, or listens there with TF-SET, its frequency is the transmit
    // frequency. OI with the control
    // band on main: the other VFO (the transmit VFO in split, else the other
    // one of A and B). OI with the control band on sub: the main band's
    // receive side (its VFO, memory channel and split), whose frequency is
    // the transmit frequency while the main band transmits in split.
    const bool sub = s_.controlBand == 1;
    int function = sub ? s_.subVfo : s_.rxVfo;
    std::int64_t hz = controlFrequency();
    int mode;
    if (const MemoryHalf* m = currentMemory())
        mode = m->mode;
    else
        mode = sub ? s_.modeSub : (s_.rxVfo == 1 ? s_.modeB : s_.modeA);
    int bank = sub ? s_.subBank : s_.bank;
    int channel = sub ? s_.subChannel : s_.channel;
    if (function == 3) {
        bank = 3;
        channel = 0;
    }
    const bool mainSplit = s_.rxVfo != s_.txVfo;
    const bool splitTransmit = s_.transmitting && s_.transmitBand == 0 && mainSplit;
    int split = (!sub && mainSplit) ? 1 : 0;
    if (!other && !sub && (splitTransmit || listensOnTransmit()))
        hz = transmitFrequency();
    if (other && sub) {
        function = s_.rxVfo;
        split = mainSplit ? 1 : 0;
        bank = function == 3 ? 3 : s_.bank;
        channel = function == 3 ? 0 : s_.channel;
        hz = splitTransmit ? transmitFrequency() : mainReceiveFrequency();
        if (function == 2 || function == 3) {
            const int i = function == 3 ? kCallChannel : memoryIndex(s_.bank, s_.channel);
            mode = i < 0 ? 0 : s_.memory[static_cast<std::size_t>(i)].half[0].mode;
        } else {
            mode = function == 1 ? s_.modeB : s_.modeA;
        }
    } else if (other) {
        function = split ? s_.txVfo : (s_.rxVfo == 0 ? 1 : 0);
        if (function == 2 || function == 3) {
            hz = transmitFrequency();
            const int i = function == 3 ? kCallChannel : memoryIndex(s_.bank, s_.channel);
            mode = i < 0 ? 0 : s_.memory[static_cast<std::size_t>(i)].half[0].mode;
        } else {
            hz = function == 1 ? s_.vfoB : s_.vfoA;
            mode = function == 1 ? s_.modeB : s_.modeA;
        }
    }
    const int toneType = value("DQ") ? 3 : value("CT") ? 2 : value("TO") ? 1 : 0;
    const int tx = s_.transmitting ? 1 : 0;
    // The channel field is three digits, the bank its hundreds; the radio
    // blanks that leading zero on bank 0 (the 1 family has no other bank).
    if (family_ == 1) {
        const int off = std::clamp(s_.ritOffset, -9999, 9999);
        return format("IF%011lld%05d%+05d%d%d %02d%d%d%d%d%d%d%02d%d", static_cast<long long>(hz),
                      0, off, static_cast<int>(value("RT")), static_cast<int>(value("XT")),
                      channel, tx, mode, function, s_.scan ? 1 : 0, split, toneType,
                      static_cast<int>(value("TN")), static_cast<int>(value("OS")));
    }
    const char* code = other ? "OI" : "IF";
    const char hundreds = bank == 0 ? ' ' : static_cast<char>('0' + bank);
    return format("%s%011lld%04d%+06d%d%d%c%02d%d%d%d%d%d%d%02d%d", code,
                  static_cast<long long>(hz), static_cast<int>(value("ST")),
                  std::clamp(s_.ritOffset, -99999, 99999), static_cast<int>(value("RT")),
                  static_cast<int>(value("XT")), hundreds, channel, tx, mode, function, s_.scan,
                  split, toneType, static_cast<int>(value("TN")), static_cast<int>(value("OS")));
}

std::string Engine::formatMr(int half, int bank, int channel) const
{
    const int i = memoryIndex(bank, channel);
    if (i < 0)
        return "?";
    const auto& ch = s_.memory[static_cast<std::size_t>(i)];
    const MemoryHalf& m = (half == 1 && ch.hasTransmitHalf) ? ch.half[1] : ch.half[0];
    if (family_ == 1) {
        return format("MR%d %02d%011lld%d%d%d%02d ", half, channel,
                      static_cast<long long>(m.frequency), m.mode, m.lockout,
                      m.toneType ? 1 : 0, m.toneNumber);
    }
    return format("MR%d%d%02d%011lld%d%d%d%02d%02d%03d%d%d%09ld%02d%d%s", half, bank, channel,
                  static_cast<long long>(m.frequency), m.mode, m.lockout, m.toneType,
                  m.toneNumber, m.ctcss, m.dcs, m.reverse, m.shift, m.offset, m.step, m.group,
                  m.name.c_str());
}

std::string Engine::reply(const std::string& code) const
{
    const int f = family_;
    const auto digits = [this](const std::string& key, const char* fmt) {
        std::string out;
        auto it = s_.values.find(key);
        if (it == s_.values.end())
            return out;
        for (long long n : it->second)
            out += format(fmt, n);
        return out;
    };
    if (code == "FA" || code == "FB")
        return format("%s%011lld", code.c_str(), static_cast<long long>(code == "FA" ? s_.vfoA : s_.vfoB));
    if (code == "FC")
        return f == 3 ? format("FC%011lld", static_cast<long long>(s_.subFrequency)) : "";
    if (code == "IF")
        return formatIf(false);
    if (code == "OI")
        return f == 3 ? formatIf(true) : "";
    if (code == "MD") {
            if (const MemoryHalf* m = currentMemory())
            return format("MD%d", m->mode);
        return format("MD%d", s_.controlBand == 1 ? s_.modeSub : (s_.rxVfo == 1 ? s_.modeB : s_.modeA));
    }
    if (code == "FR")
        return format("FR%d", s_.controlBand == 1 ? s_.subVfo : s_.rxVfo);
    if (code == "FT")
        return format("FT%d", s_.txVfo);
    if (code == "AI")
        return format("AI%d", s_.ai);
    if (code == "PS")
        return format("PS%d", s_.power);
    if (code == "ID")
        return identity_ < 0 ? "" : format("ID%03d", identity_);
    if (code == "TY")
        return "TY" + options_.typeCode;
    if (code == "SC")
        return format("SC%d", s_.scan);
    if (code == "DC")
        return format("DC%d%d", s_.transmitBand, s_.controlBand);
    if (code == "MC") {
        const bool sub = s_.controlBand == 1;
        const int bank = sub ? s_.subBank : s_.bank;
        const int channel = sub ? s_.subChannel : s_.channel;
        return f == 1 ? format("MC %02d", channel) : format("MC%d%02d", bank, channel);
    }
    if (code == "MR0" || code == "MR1") {
        const bool sub = s_.controlBand == 1;
        return formatMr(code[2] - '0', sub ? s_.subBank : s_.bank, sub ? s_.subChannel : s_.channel);
    }
    if (code == "AG0" || code == "AG1" || code == "SQ0" || code == "SQ1") {
        if (f == 1)
            return code[2] == '0' ? format("%.2s%03lld", code.c_str(), value(code)) : "";
        return format("%s%03lld", code.c_str(), value(code));
    }
    if (code == "AR0" || code == "AR1")
        return format("%s%lld%lld", code.c_str(), value(code, 0), value(code, 1));
    if (code.size() == 3 && code.compare(0, 2, "SM") == 0) {
        if (f == 1)
            return format("SM%04d", sMeter(0));
        return format("SM%c%04d", code[2], sMeter(code[2] - '0'));
    }
    if (code == "RM") {
        int level = 0;
        const long long kind = s_.meter;
        if (s_.transmitting) {
            const auto hz = transmitFrequency();
            if (kind == 1)
                level = bandOf(hz) ? 2 : 12;
            else if (kind == 2)
                level = value("PR") ? static_cast<int>(value("MG") * 20 / 100) : 0;
            else if (kind == 3)
                level = static_cast<int>(value("MG") * 15 / 100) + 3;
        } else if (kind == 4) {
            level = static_cast<int>(std::clamp<long long>(value("FW") / 200, 0, 30));
        }
        return format("RM%lld%04d", kind, level);
    }
    if (code == "BY") {
        const auto busy = [this](int meter) {
            const long long sq = value(meter == 0 ? "SQ0" : "SQ1");
            return sMeter(meter) >= std::max<long long>(4, sq * 30 / 255) ? 1 : 0;
        };
        const int main = s_.transmitting ? 0 : busy(0);
        const int sub = value("SB") ? busy(1) : 0;
        return f == 3 ? format("BY%d%d", main, sub) : format("BY%d", main);
    }
    if (code == "PA" || code == "LK")
        return f == 1 ? format("%s%lld", code.c_str(), value(code, 0)) : code + digits(code, "%lld");
    if (code == "RA")
        return f == 3 ? "RA" + digits("RA", "%02lld") : format("RA%02lld", value("RA", 0));
    if (code == "IS") {
        const long long v = value("IS");
        if (f == 3)
            return format("IS %04lld", v);
        return format("IS%c%03lld", v < 0 ? '-' : v > 0 ? '+' : ' ', v < 0 ? -v : v);
    }
    if (code == "RD" || code == "RU")
        return format("%s%05d", code.c_str(), s_.scanSpeed);
    if (code == "EX") {
        return f == 1 ? lastMenu1_ : "";
    }
    if (code == "TC")
        return format("TC0%d", s_.terminal);
    if (code == "TX" || code == "RX")
        return format("%s%d", code.c_str(), s_.transmitBand);
    if (code == "SA") {
        std::string out = "SA";
        for (int v : s_.satellite)
            out += static_cast<char>('0' + v);
        return out + s_.satelliteName;
    }
    if (code == "QR")
        return format("QR%d%d", s_.quickOn, s_.quickChannel);
    if (code == "KY")
        return "KY" + std::string(haveLastKeyer_ ? "1" : "0");
    if (code == "FD")
        return format("FD%08llX", static_cast<unsigned long long>(value("FW")));
    if (code == "PK")
        return "PK00014025000QX9SIM      CQ DX               1200z";
    if (code == "SU0" || code == "SU1")
        return "SU" + digits(code, "%lld");
    // Plain levels and switches: the numbers with their widths.
    static const std::map<std::string, std::vector<int>> widths = {
        {"AC", {1, 1, 1}}, {"AL", {3}}, {"AM", {1}}, {"AN", {1}}, {"BC", {1}}, {"BP", {3}},
        {"CA", {1}}, {"CG", {3}}, {"CM", {1}}, {"CN", {2}}, {"CT", {1}}, {"DQ", {1}},
        {"FS", {1}}, {"FW", {4}}, {"GT", {3}}, {"KS", {3}}, {"LM", {1}}, {"LT", {1}},
        {"MF", {1}}, {"MG", {3}}, {"ML", {3}}, {"MO", {1}}, {"MU", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"NB", {1}}, {"NL", {3}}, {"NR", {1}}, {"NT", {1}}, {"OF", {9}}, {"OS", {1}},
        {"PB", {1}}, {"PC", {3}}, {"PL", {3, 3}}, {"PM", {1}}, {"PR", {1}}, {"QC", {3}},
        {"RG", {3}}, {"RL", {2}}, {"RT", {1}}, {"SB", {1}}, {"SD", {4}}, {"SH", {2}},
        {"SL", {2}}, {"SS", {1}}, {"ST", {2}}, {"TI", {1, 1, 1}}, {"TN", {2}}, {"TO", {1}},
        {"TS", {1}}, {"UL", {1}}, {"VD", {4}}, {"VG", {3}}, {"VX", {1}}, {"XT", {1}},
    };
    auto w = widths.find(code);
    if (w == widths.end())
        return "";
    std::string out = code;
    for (std::size_t i = 0; i < w->second.size(); ++i)
        out += format("%0*lld", w->second[i], value(code, i));
    return out;
}

void Engine::report(const std::string& code, std::vector<std::string>& out) const
{
    if (s_.ai != 2 || s_.power == 0 || s_.terminal == 0)
        return;
    std::string r = reply(code);
    if (!r.empty())
        out.push_back(std::move(r));
}

void Engine::reportFrequencyChange(std::vector<std::string>& out) const
{
    if (s_.controlBand == 1)
        report("FC", out);
    else if (s_.rxVfo == 0)
        report("FA", out);
    else if (s_.rxVfo == 1)
        report("FB", out);
    else
        report("MC", out);
    report("IF", out);
}

void Engine::reportBusyChange(std::vector<std::string>& out)
{
    std::string now = reply("BY");
    if (now == lastBusy_)
        return;
    const bool first = lastBusy_.empty();
    lastBusy_ = std::move(now);
    if (!first)
        report("BY", out);
}

}  // namespace qxsim::detail
