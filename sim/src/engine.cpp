// The radio's state, its replies and what its front panel does.
#include "engine.h"

#include <algorithm>
#include <cstdio>
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

namespace {

std::string format(const char* fmt, auto... args)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Amateur bands the band keys step through and VFO scans stay inside.
struct Band {
    std::int64_t from, to, home;
};
constexpr Band kBands[] = {
    {1'800'000, 2'000'000, 1'840'000},       {3'500'000, 4'000'000, 3'700'000},
    {7'000'000, 7'300'000, 7'050'000},       {10'100'000, 10'150'000, 10'120'000},
    {14'000'000, 14'350'000, 14'195'000},    {18'068'000, 18'168'000, 18'120'000},
    {21'000'000, 21'450'000, 21'200'000},    {24'890'000, 24'990'000, 24'940'000},
    {28'000'000, 29'700'000, 28'500'000},    {50'000'000, 54'000'000, 50'150'000},
    {144'000'000, 146'000'000, 145'000'000}, {430'000'000, 440'000'000, 433'000'000},
};

const Band* bandOf(std::int64_t hz)
{
    for (const auto& b : kBands)
        if (hz >= b.from && hz < b.to)
            return &b;
    return nullptr;
}

constexpr int kModes[] = {1, 2, 3, 4, 5, 6, 7, 9};

}  // namespace

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

// ------------------------------------------------------------ replies

std::string Engine::formatIf(bool other) const
{
    // The control band's receive side, or (OI) the other VFO: the transmit
    // VFO in split, else the other one of A and B.
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
    const int split = (!sub && s_.rxVfo != s_.txVfo) ? 1 : 0;
    if (other) {
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
    if (family_ == 1) {
        const int off = std::clamp(s_.ritOffset, -9999, 9999);
        return format("IF%011lld%05d%+05d%d%d%d%02d%d%d%d%d%d%d%02d%d", static_cast<long long>(hz),
                      0, off, static_cast<int>(value("RT")), static_cast<int>(value("XT")), 0,
                      channel, tx, mode, function, s_.scan ? 1 : 0, split, toneType,
                      static_cast<int>(value("TN")), static_cast<int>(value("OS")));
    }
    const char* code = other ? "OI" : "IF";
    return format("%s%011lld%04d%+06d%d%d%d%02d%d%d%d%d%d%d%02d%d", code,
                  static_cast<long long>(hz), static_cast<int>(value("ST")),
                  std::clamp(s_.ritOffset, -99999, 99999), static_cast<int>(value("RT")),
                  static_cast<int>(value("XT")), bank, channel, tx, mode, function, s_.scan,
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

// ------------------------------------------------------------ front panel

void Engine::panelFrequency(Vfo vfo, std::int64_t hz, std::vector<std::string>& out)
{
    hz = std::clamp<std::int64_t>(hz, 0, 99'999'999'999);
    const int i = static_cast<int>(vfo);
    vfoRef(i) = hz;
    report(i == 0 ? "FA" : i == 1 ? "FB" : "FC", out);
    report("IF", out);
}

void Engine::panelDial(int steps, std::vector<std::string>& out)
{
    if (currentMemory())
        stepChannel(steps, out);
    else
        moveControlFrequency(static_cast<std::int64_t>(steps) * dialStep, out);
}

void Engine::panelMode(int mode, std::vector<std::string>& out)
{
    if (MemoryHalf* m = currentMemory())
        m->mode = mode;
    else
        modeRef(s_.controlBand == 1 ? 2 : (s_.rxVfo == 1 ? 1 : 0)) = mode;
    report("MD", out);
    report("IF", out);
}

void Engine::panelKey(Key key, std::vector<std::string>& out)
{
    const auto toggle = [&](const std::string& k, std::size_t field = 0) {
        auto& v = s_.values[k];
        if (v.size() <= field)
            v.resize(field + 1);
        v[field] = v[field] ? 0 : 1;
        report(k, out);
    };
    const int band = s_.controlBand;
    switch (key) {
    case Key::VfoAB:
        if (s_.controlBand == 0 && s_.rxVfo < 2) {
            s_.rxVfo = s_.txVfo = s_.rxVfo == 0 ? 1 : 0;
            report("FR", out);
            report("FT", out);
            report("IF", out);
        }
        break;
    case Key::Split:
        s_.txVfo = s_.txVfo != s_.rxVfo ? s_.rxVfo : (s_.rxVfo == 0 ? 1 : 0);
        report("FT", out);
        report("IF", out);
        break;
    case Key::Rit:
        toggle("RT");
        report("IF", out);
        break;
    case Key::Xit:
        toggle("XT");
        report("IF", out);
        break;
    case Key::MemoryVfo:
        if (s_.controlBand == 1)
            s_.subVfo = s_.subVfo == 2 ? 0 : 2;
        else
            s_.rxVfo = s_.txVfo = s_.rxVfo == 2 ? 0 : 2;
        report("FR", out);
        report("FT", out);
        report("MC", out);
        report("IF", out);
        break;
    case Key::Call:
        if (s_.controlBand == 1)
            s_.subVfo = s_.subVfo == 3 ? 0 : 3;
        else
            s_.rxVfo = s_.txVfo = s_.rxVfo == 3 ? 0 : 3;
        report("FR", out);
        report("FT", out);
        report("IF", out);
        break;
    case Key::ModeUp: {
        const std::string md = reply("MD");
        const int now = md.size() > 2 ? md[2] - '0' : 1;
        const auto* it = std::find(std::begin(kModes), std::end(kModes), now);
        const int next = (it == std::end(kModes) || it + 1 == std::end(kModes)) ? kModes[0] : *(it + 1);
        panelMode(next, out);
        break;
    }
    case Key::Lock: toggle("LK", 0); break;
    case Key::Sub: toggle("SB"); break;
    case Key::Att: toggle("RA", static_cast<std::size_t>(band)); break;
    case Key::Pre: toggle("PA", static_cast<std::size_t>(band)); break;
    case Key::Nb: toggle("NB"); break;
    case Key::Proc: toggle("PR"); break;
    case Key::Vox: toggle("VX"); break;
    case Key::ControlBand:
        s_.controlBand = s_.controlBand ? 0 : 1;
        report("DC", out);
        break;
    }
}

void Engine::panelValue(const std::string& key, std::vector<long long> numbers,
                        std::vector<std::string>& out)
{
    s_.values[key] = std::move(numbers);
    report(key, out);
}

void Engine::panelMenu(int menu, int sub, int a, int b, const std::string& text,
                       std::vector<std::string>& out)
{
    const std::string key = format("%03d%02d%d%d", menu, sub, a, b);
    s_.menu[key] = text;
    if (menu == 55 && sub == 0)
        s_.terminal = text == "1" ? 0 : 1;
    if (family_ == 3 && s_.ai == 2 && s_.power != 0)
        out.push_back("EX" + key + text);
}

void Engine::panelPower(bool on, std::vector<std::string>& out)
{
    if (on == (s_.power != 0))
        return;
    if (!on) {
        // Said while the radio goes dark; a transmission and a scan end with it.
        if (s_.ai == 2)
            out.push_back("PS0");
        s_.power = 0;
        s_.transmitting = 0;
        s_.scan = 0;
        nextTick_ = Clock::time_point::max();
        return;
    }
    s_.power = 1;
    report("PS", out);
}

void Engine::panelTransmit(bool on, std::vector<std::string>& out)
{
    if (s_.power == 0 || on == (s_.transmitting != 0))
        return;
    s_.transmitting = on ? 1 : 0;
    report(on ? "TX" : "RX", out);
    report("IF", out);
}

void Engine::panelScan(int kind, Clock::time_point now, std::vector<std::string>& out)
{
    if (s_.power == 0)
        return;
    s_.scan = std::clamp(kind, 0, 6);
    scanPause_ = 0;
    nextTick_ = s_.scan ? now + options_.scanStep : Clock::time_point::max();
    report("SC", out);
}

// ------------------------------------------------------------ time

void Engine::scanStep(std::vector<std::string>& out)
{
    switch (s_.scan) {
    case 1:
        if (currentMemory() && (s_.controlBand == 1 ? s_.subVfo : s_.rxVfo) == 2) {
            // Memory scan: the next used channel that is not locked out.
            int& bank = s_.controlBand == 1 ? s_.subBank : s_.bank;
            int& channel = s_.controlBand == 1 ? s_.subChannel : s_.channel;
            const int count = family_ == 3 ? kMemoryChannels : 100;
            const int start = bank * 100 + channel;
            for (int i = 1; i <= count; ++i) {
                const int n = (start + i) % count;
                const auto& m = s_.memory[static_cast<std::size_t>(n)].half[0];
                if (m.frequency != 0 && m.lockout == 0) {
                    if (n != start) {
                        bank = n / 100;
                        channel = n % 100;
                        report("MC", out);
                        report("IF", out);
                    }
                    break;
                }
            }
            return;
        }
        [[fallthrough]];
    case 2: {
        // VFO scan inside the amateur band, MHz scan inside the MHz; the
        // scan rests a few steps on a strong signal.
        if (currentMemory())
            return;
        const std::int64_t hz = controlFrequency();
        if (scanPause_ > 0) {
            --scanPause_;
            return;
        }
        std::int64_t next = hz + (s_.scan == 2 ? 10'000 : 5'000);
        if (s_.scan == 2) {
            if (next / 1'000'000 != hz / 1'000'000)
                next = hz / 1'000'000 * 1'000'000;
        } else if (const Band* b = bandOf(hz)) {
            if (next >= b->to)
                next = b->from;
        } else if (next / 1'000'000 != hz / 1'000'000) {
            next = hz / 1'000'000 * 1'000'000;
        }
        setControlFrequency(next, out);
        if (band_.level(next) >= 15)
            scanPause_ = 5;
        return;
    }
    case 4: {
        auto& tn = s_.values["TN"];
        tn = {tn.empty() ? 1 : tn[0] % 39 + 1};
        report("TN", out);
        return;
    }
    case 5: {
        auto& cn = s_.values["CN"];
        cn = {cn.empty() ? 1 : cn[0] % 38 + 1};
        report("CN", out);
        return;
    }
    case 6: {
        auto& qc = s_.values["QC"];
        qc = {qc.empty() ? 0 : (qc[0] + 1) % 104};
        report("QC", out);
        return;
    }
    default:
        return;  // 0 off, 3 the radio's own visual scan does not move
    }
}

void Engine::tick(Clock::time_point now, std::vector<std::string>& out)
{
    if (haveLastKeyer_ && now >= keyerDone_) {
        haveLastKeyer_ = false;
        report("KY", out);
    }
    if (s_.scan != 0 && s_.power != 0 && now >= nextTick_) {
        scanStep(out);
        const auto step = options_.scanStep * std::max(1, s_.scanSpeed) / 5;
        nextTick_ = now + std::max<Clock::duration>(step, std::chrono::milliseconds(5));
    }
    if (s_.scan == 0)
        nextTick_ = Clock::time_point::max();
    if (haveLastKeyer_)
        nextTick_ = std::min(nextTick_, keyerDone_);
}

}  // namespace qxsim::detail
