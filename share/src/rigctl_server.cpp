// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_server.cpp - the rig-control line protocol: one command a line.
//
// A command is written short ("f", "F 14074000") or long ("\get_freq",
// "\set_freq 14074000"); a "+" before it asks for the extended answer
// ("get_freq:", then "Key: value" lines, then "RPRT n"). A plain get answers
// its values one a line, or "RPRT n" on failure; a plain set answers
// "RPRT n". Every argument is converted to a number or to a name from a
// fixed list before the backend sees it.
#include <zephyra_share.h>

#include <QTcpSocket>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace zshare {

namespace {

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

bool ParseInt(const std::string& text, long long& out) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+')
        ++b;
    const auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e;
}

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty() || text.size() > 40)
        return false;
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+')
        ++b;
    const auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e && std::isfinite(out);
}

bool ParseFrequency(const std::string& text, std::int64_t& hz) {
    double v = 0;
    if (!ParseDouble(text, v) || v < 0 || v > 99'999'999'999.0)
        return false;
    hz = static_cast<std::int64_t>(std::llround(v));
    return true;
}

bool ParseVfo(const std::string& text, Vfo& vfo) {
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

const char* VfoName(Vfo vfo) {
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

constexpr LevelRow kLevels[] = {
    {"PREAMP", Level::Preamp, true, 0},       {"ATT", Level::Attenuator, true, 1},
    {"AF", Level::Af, false, 3},              {"RF", Level::Rf, false, 4},
    {"SQL", Level::Squelch, false, 5},        {"RFPOWER", Level::RfPower, false, 12},
    {"MICGAIN", Level::MicGain, false, 13},   {"KEYSPD", Level::KeySpeed, true, 14},
    {"COMP", Level::Compression, false, 16},  {"RAWSTR", Level::RawStrength, true, 26},
    {"STRENGTH", Level::Strength, true, 30},
};

const LevelRow* FindLevel(const std::string& text) {
    for (const LevelRow& row : kLevels)
        if (text == row.name)
            return &row;
    return nullptr;
}

template <typename T>
bool Has(const std::vector<T>& list, T value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

struct FuncRow {
    const char* name;
    Func func;
    int bit;
};

constexpr FuncRow kFuncs[] = {
    {"NB", Func::NoiseBlanker, 1}, {"COMP", Func::Compressor, 2},     {"TONE", Func::Tone, 4},
    {"TSQL", Func::ToneSquelch, 5}, {"NR", Func::NoiseReduction, 9},
};

const FuncRow* FindFunc(const std::string& text) {
    for (const FuncRow& row : kFuncs)
        if (text == row.name)
            return &row;
    return nullptr;
}

struct OpRow {
    const char* name;
    VfoOp op;
    int bit;
};

constexpr OpRow kOps[] = {
    {"CPY", VfoOp::Copy, 0},      {"XCHG", VfoOp::Exchange, 1},      {"UP", VfoOp::Up, 5},
    {"DOWN", VfoOp::Down, 6},     {"BAND_UP", VfoOp::BandUp, 7},     {"BAND_DOWN", VfoOp::BandDown, 8},
};

std::string Format(const char* format, auto... values) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

// The other VFO of the main band, for split when it is not yet on.
Result OtherVfo(RadioBackend& b, Vfo& out) {
    Vfo current = Vfo::A;
    if (const Result r = b.GetVfo(current); r != Result::Ok)
        return r;
    if (current == Vfo::Memory)
        return Result::NotAvailable;
    out = current == Vfo::A ? Vfo::B : Vfo::A;
    return Result::Ok;
}

// The VFO a split frequency or mode is about: the transmit VFO while split
// is on, the other VFO otherwise.
Result TransmitVfo(RadioBackend& b, Vfo& out) {
    bool on = false;
    Vfo tx = Vfo::B;
    if (const Result r = b.GetSplit(on, tx); r != Result::Ok)
        return r;
    if (on && tx != Vfo::Current) {
        out = tx;
        return Result::Ok;
    }
    return OtherVfo(b, out);
}

// ---- the commands

Result GetFreq(Context& c, const Args&, Values& v) {
    std::int64_t hz = 0;
    const Result r = c.backend.GetFrequency(Vfo::Current, hz);
    v.push_back(std::to_string(hz));
    return r;
}

Result SetFreq(Context& c, const Args& a, Values&) {
    std::int64_t hz = 0;
    if (!ParseFrequency(a[0], hz) || !InRanges(c.backend.Describe().receive, hz))
        return Result::InvalidArgument;
    if (!c.session.MayRetune())
        return Result::Rejected; // another's transmission is on the air
    return c.backend.SetFrequency(Vfo::Current, hz);
}

Result GetModeOf(RadioBackend& b, Vfo vfo, Values& v) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = b.GetMode(vfo, mode, passband);
    v.push_back(ModeName(mode));
    v.push_back(std::to_string(passband));
    return r;
}

Result SetModeOf(RadioBackend& b, Vfo vfo, const Args& a) {
    const Mode mode = ModeFromName(a[0]);
    long long passband = -1;
    if (mode == Mode::Unknown)
        return Result::InvalidArgument;
    if (a.size() > 1 && (!ParseInt(a[1], passband) || passband < -1 || passband > 99'999))
        return Result::InvalidArgument;
    return b.SetMode(vfo, mode, static_cast<int>(passband));
}

Result GetMode(Context& c, const Args&, Values& v) { return GetModeOf(c.backend, Vfo::Current, v); }
Result SetMode(Context& c, const Args& a, Values&) {
    if (ModeFromName(a[0]) == Mode::Unknown)
        return Result::InvalidArgument;
    if (!c.session.MayChangeMode())
        return Result::Rejected;
    if (!c.session.MayRetune())
        return Result::Rejected; // another's transmission is on the air
    return SetModeOf(c.backend, Vfo::Current, a);
}

// The mode lock: 1 while a client holds it (whichever client asks).
Result GetLockMode(Context& c, const Args&, Values& v) {
    v.push_back(c.session.queue && c.session.queue->ModeLockOwner() ? "1" : "0");
    return Result::Ok;
}

// "1" locks the mode for this client; "0" releases this client's lock. A
// client cannot take or release another client's lock.
Result SetLockMode(Context& c, const Args& a, Values&) {
    long long on = 0;
    if (!ParseInt(a[0], on) || on < 0 || on > 1)
        return Result::InvalidArgument;
    if (!c.session.queue)
        return on ? Result::NotImplemented : Result::Ok;
    if (!c.session.MayChangeMode())
        return Result::Rejected;
    c.session.queue->SetModeLockOwner(on ? c.session.client : nullptr);
    return Result::Ok;
}

Result GetVfo(Context& c, const Args&, Values& v) {
    Vfo vfo = Vfo::A;
    const Result r = c.backend.GetVfo(vfo);
    v.push_back(VfoName(vfo));
    return r;
}

Result SetVfo(Context& c, const Args& a, Values&) {
    Vfo vfo = Vfo::A;
    if (!ParseVfo(a[0], vfo))
        return Result::InvalidArgument;
    if (vfo == Vfo::Current)
        return Result::Ok;
    return c.backend.SetVfo(vfo);
}

Result GetPtt(Context& c, const Args&, Values& v) {
    bool on = false;
    const Result r = c.backend.GetPtt(on);
    v.push_back(on ? "1" : "0");
    return r;
}

Result SetPtt(Context& c, const Args& a, Values&) {
    // 2 keys with the microphone, as the radio's TX does; 3 (data input)
    // the radio cannot choose over this link, and keying it anyway could put
    // the microphone on the air: refused.
    long long n = 0;
    if (!ParseInt(a[0], n) || n < 0 || n > 2)
        return Result::InvalidArgument;
    const Result r = c.session.Key(c.backend, n != 0);
    if (r == Result::Ok)
        c.session.keyed = n != 0;
    else if (n == 0)
        c.session.keyed = false; // a release that failed is not retried on disconnect
    return r;
}

Result GetSplit(Context& c, const Args&, Values& v) {
    bool on = false;
    Vfo tx = Vfo::A;
    const Result r = c.backend.GetSplit(on, tx);
    v.push_back(on ? "1" : "0");
    v.push_back(VfoName(tx));
    return r;
}

Result SetSplit(Context& c, const Args& a, Values&) {
    long long on = 0;
    Vfo tx = Vfo::Current;
    if (!ParseInt(a[0], on) || on < 0 || on > 1)
        return Result::InvalidArgument;
    if (a.size() > 1 && !ParseVfo(a[1], tx))
        return Result::InvalidArgument;
    if (on && (tx == Vfo::Current || tx == Vfo::Memory)) {
        if (const Result r = OtherVfo(c.backend, tx); r != Result::Ok)
            return r;
    }
    return c.backend.SetSplit(on != 0, tx);
}

Result GetSplitFreq(Context& c, const Args&, Values& v) {
    Vfo tx = Vfo::B;
    std::int64_t hz = 0;
    Result r = TransmitVfo(c.backend, tx);
    if (r == Result::Ok)
        r = c.backend.GetFrequency(tx, hz);
    v.push_back(std::to_string(hz));
    return r;
}

Result SetSplitFreq(Context& c, const Args& a, Values&) {
    std::int64_t hz = 0;
    if (!ParseFrequency(a[0], hz) || !InRanges(c.backend.Describe().receive, hz))
        return Result::InvalidArgument;
    if (!c.session.MayRetune())
        return Result::Rejected;
    Vfo tx = Vfo::B;
    if (const Result r = TransmitVfo(c.backend, tx); r != Result::Ok)
        return r;
    return c.backend.SetFrequency(tx, hz);
}

Result GetSplitMode(Context& c, const Args&, Values& v) {
    Vfo tx = Vfo::B;
    if (const Result r = TransmitVfo(c.backend, tx); r != Result::Ok) {
        v = {"", "0"};
        return r;
    }
    return GetModeOf(c.backend, tx, v);
}

Result SetSplitMode(Context& c, const Args& a, Values&) {
    if (ModeFromName(a[0]) == Mode::Unknown)
        return Result::InvalidArgument;
    if (!c.session.MayChangeMode())
        return Result::Rejected;
    Vfo tx = Vfo::B;
    if (const Result r = TransmitVfo(c.backend, tx); r != Result::Ok)
        return r;
    return SetModeOf(c.backend, tx, a);
}

Result GetOffset(Context& c, bool xit, Values& v) {
    int hz = 0;
    const Result r = xit ? c.backend.GetXit(hz) : c.backend.GetRit(hz);
    v.push_back(std::to_string(hz));
    return r;
}

Result SetOffset(Context& c, bool xit, const Args& a) {
    long long hz = 0;
    const RadioDescription& d = c.backend.Describe();
    if (!ParseInt(a[0], hz) || std::llabs(hz) > (xit ? d.maxXit : d.maxRit))
        return Result::InvalidArgument;
    // RIT and XIT share one offset, which moves the carrier while XIT is on.
    if (!c.session.MayRetune())
        return Result::Rejected;
    return xit ? c.backend.SetXit(static_cast<int>(hz)) : c.backend.SetRit(static_cast<int>(hz));
}

Result GetRit(Context& c, const Args&, Values& v) { return GetOffset(c, false, v); }
Result SetRit(Context& c, const Args& a, Values&) { return SetOffset(c, false, a); }
Result GetXit(Context& c, const Args&, Values& v) { return GetOffset(c, true, v); }
Result SetXit(Context& c, const Args& a, Values&) { return SetOffset(c, true, a); }

Result GetLevel(Context& c, const Args& a, Values& v) {
    const LevelRow* row = FindLevel(a[0]);
    if (!row)
        return Result::InvalidArgument;
    if (!Has(c.backend.Describe().getLevels, row->level))
        return Result::NotImplemented;
    double value = 0;
    const Result r = c.backend.GetLevel(row->level, value);
    v.push_back(row->whole ? std::to_string(std::lround(value)) : Format("%.6f", value));
    return r;
}

// Whole-number levels take a whole number in their own range (the radio's
// preamplifier and attenuator steps in dB, 0 for off); the others 0..1.
Result SetLevel(Context& c, const Args& a, Values&) {
    const LevelRow* row = FindLevel(a[0]);
    double value = 0;
    if (!row || !ParseDouble(a[1], value))
        return Result::InvalidArgument;
    const RadioDescription& d = c.backend.Describe();
    if (!Has(d.setLevels, row->level))
        return row->level == Level::Strength || row->level == Level::RawStrength ? Result::InvalidArgument
                                                                                 : Result::NotImplemented;
    if (row->whole) {
        if (value != std::floor(value))
            return Result::InvalidArgument;
        const int n = static_cast<int>(value);
        if (row->level == Level::Preamp && n != 0 && !Has(d.preamps, n))
            return Result::InvalidArgument;
        if (row->level == Level::Attenuator && n != 0 && !Has(d.attenuators, n))
            return Result::InvalidArgument;
        if (row->level == Level::KeySpeed && (n < 1 || n > 999))
            return Result::InvalidArgument;
    } else if (value < 0.0 || value > 1.0) {
        return Result::InvalidArgument;
    }
    return c.backend.SetLevel(row->level, value);
}

Result GetFunc(Context& c, const Args& a, Values& v) {
    const FuncRow* row = FindFunc(a[0]);
    if (!row)
        return Result::InvalidArgument;
    if (!Has(c.backend.Describe().funcs, row->func))
        return Result::NotImplemented;
    bool on = false;
    const Result r = c.backend.GetFunc(row->func, on);
    v.push_back(on ? "1" : "0");
    return r;
}

Result SetFunc(Context& c, const Args& a, Values&) {
    const FuncRow* row = FindFunc(a[0]);
    long long on = 0;
    if (!row || !ParseInt(a[1], on) || on < 0 || on > 1)
        return Result::InvalidArgument;
    if (!Has(c.backend.Describe().funcs, row->func))
        return Result::NotImplemented;
    return c.backend.SetFunc(row->func, on != 0);
}

Result VfoOperation(Context& c, const Args& a, Values&) {
    for (const OpRow& row : kOps) {
        if (a[0] == row.name) {
            if (!Has(c.backend.Describe().vfoOps, row.op))
                return Result::NotImplemented;
            // A = B sets the other VFO's mode, A / B the received mode.
            if ((row.op == VfoOp::Copy || row.op == VfoOp::Exchange) && !c.session.MayChangeMode())
                return Result::Rejected;
            if (!c.session.MayRetune())
                return Result::Rejected;
            return c.backend.DoVfoOp(row.op);
        }
    }
    return Result::InvalidArgument;
}

// The characters a keyer sends.
bool IsMorse(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ' ||
           std::string_view(".,?/=+-()'\":@&!").find(ch) != std::string_view::npos;
}

Result SendMorse(Context& c, const Args&, Values&) {
    std::string text;
    for (char ch : c.rest)
        text += static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (text.empty() || text.size() > RigctlServer::kMaxMorse)
        return Result::InvalidArgument;
    for (char ch : text)
        if (!IsMorse(ch))
            return Result::InvalidArgument;
    if (c.backend.Describe().keyerLimit <= 0)
        return Result::NotImplemented;
    return c.backend.SendMorse(text);
}

Result GetShift(Context& c, const Args&, Values& v) {
    Shift shift = Shift::None;
    const Result r = c.backend.GetShift(shift);
    v.push_back(shift == Shift::Plus ? "+" : shift == Shift::Minus ? "-" : "None");
    return r;
}

Result SetShift(Context& c, const Args& a, Values&) {
    Shift shift = Shift::None;
    if (a[0] == "+")
        shift = Shift::Plus;
    else if (a[0] == "-")
        shift = Shift::Minus;
    else if (a[0] != "None" && a[0] != "0")
        return Result::InvalidArgument;
    if (c.backend.Describe().maxRepeaterOffset <= 0)
        return Result::NotImplemented;
    return c.backend.SetShift(shift);
}

Result GetRepeaterOffset(Context& c, const Args&, Values& v) {
    std::int64_t hz = 0;
    const Result r = c.backend.GetRepeaterOffset(hz);
    v.push_back(std::to_string(hz));
    return r;
}

Result SetRepeaterOffset(Context& c, const Args& a, Values&) {
    long long hz = 0;
    const std::int64_t max = c.backend.Describe().maxRepeaterOffset;
    if (!ParseInt(a[0], hz) || hz < 0)
        return Result::InvalidArgument;
    if (max <= 0)
        return Result::NotImplemented;
    if (hz > max)
        return Result::InvalidArgument;
    return c.backend.SetRepeaterOffset(hz);
}

Result GetCtcss(Context& c, const Args&, Values& v) {
    int tenths = 0;
    const Result r = c.backend.GetCtcssTone(tenths);
    v.push_back(std::to_string(tenths));
    return r;
}

Result SetCtcss(Context& c, const Args& a, Values&) {
    long long tenths = 0;
    const std::vector<int>& tones = c.backend.Describe().ctcssTones;
    if (!ParseInt(a[0], tenths))
        return Result::InvalidArgument;
    if (tones.empty())
        return Result::NotImplemented;
    if (tenths < 0 || tenths > 100'000 || (tenths != 0 && !Has(tones, static_cast<int>(tenths))))
        return Result::InvalidArgument;
    return c.backend.SetCtcssTone(static_cast<int>(tenths));
}

Result GetDcs(Context& c, const Args&, Values& v) {
    int code = 0;
    const Result r = c.backend.GetDcsCode(code);
    v.push_back(std::to_string(code));
    return r;
}

Result SetDcs(Context& c, const Args& a, Values&) {
    long long code = 0;
    const std::vector<int>& codes = c.backend.Describe().dcsCodes;
    if (!ParseInt(a[0], code))
        return Result::InvalidArgument;
    if (codes.empty())
        return Result::NotImplemented;
    if (code < 0 || code > 10'000 || (code != 0 && !Has(codes, static_cast<int>(code))))
        return Result::InvalidArgument;
    return c.backend.SetDcsCode(static_cast<int>(code));
}

Result GetMem(Context& c, const Args&, Values& v) {
    int channel = 0;
    const Result r = c.backend.GetMemory(channel);
    v.push_back(std::to_string(channel));
    return r;
}

Result SetMem(Context& c, const Args& a, Values&) {
    long long channel = 0;
    const int max = c.backend.Describe().maxMemory;
    if (!ParseInt(a[0], channel) || channel < 0)
        return Result::InvalidArgument;
    if (max < 0)
        return Result::NotImplemented;
    if (channel > max)
        return Result::InvalidArgument;
    return c.backend.SetMemory(static_cast<int>(channel));
}

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

Result GetPowerstat(Context& c, const Args&, Values& v) {
    bool on = false;
    const Result r = c.backend.GetPowerOn(on);
    v.push_back(on ? "1" : "0");
    return r;
}

Result SetPowerstat(Context& c, const Args& a, Values&) {
    long long n = 0;
    if (!ParseInt(a[0], n) || n < 0 || n > 1)
        return Result::InvalidArgument;
    return c.backend.SetPowerOn(n == 1);
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
    std::uint64_t funcs = 0, getLevels = 0, setLevels = 0, ops = 0;
    for (const FuncRow& row : kFuncs)
        if (Has(d.funcs, row.func))
            funcs |= std::uint64_t{1} << row.bit;
    for (const LevelRow& row : kLevels) {
        if (Has(d.getLevels, row.level))
            getLevels |= std::uint64_t{1} << row.bit;
        if (Has(d.setLevels, row.level))
            setLevels |= std::uint64_t{1} << row.bit;
    }
    for (const OpRow& row : kOps)
        if (Has(d.vfoOps, row.op))
            ops |= std::uint64_t{1} << row.bit;
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

// Commands of the protocol this radio does not serve: answered as the
// daemon answers a radio without them, "not available" (the transceive
// switch is "deprecated"), each with its arguments read so that a command
// after it on the line is still understood.
Result NotAvailable(Context&, const Args&, Values&) { return Result::NotAvailable; }
constexpr auto kDeprecated = static_cast<Result>(-18);
Result Deprecated(Context&, const Args&, Values&) { return kDeprecated; }

const std::vector<Command>& Commands() {
    static const std::vector<Command> kCommands = {
        {'f', "get_freq", 0, {"Frequency"}, GetFreq},
        {'F', "set_freq", 1, {}, SetFreq},
        {'m', "get_mode", 0, {"Mode", "Passband"}, GetMode},
        {'M', "set_mode", 1, {}, SetMode, false, false, 1},
        {'v', "get_vfo", 0, {"VFO"}, GetVfo},
        {'V', "set_vfo", 1, {}, SetVfo},
        {'t', "get_ptt", 0, {"PTT"}, GetPtt},
        {'T', "set_ptt", 1, {}, SetPtt},
        {'s', "get_split_vfo", 0, {"Split", "TX VFO"}, GetSplit},
        {'S', "set_split_vfo", 1, {}, SetSplit, false, false, 1},
        {'i', "get_split_freq", 0, {"TX Frequency"}, GetSplitFreq},
        {'I', "set_split_freq", 1, {}, SetSplitFreq},
        {'x', "get_split_mode", 0, {"TX Mode", "TX Passband"}, GetSplitMode},
        {'X', "set_split_mode", 1, {}, SetSplitMode, false, false, 1},
        {'j', "get_rit", 0, {"RIT"}, GetRit},
        {'J', "set_rit", 1, {}, SetRit},
        {'z', "get_xit", 0, {"XIT"}, GetXit},
        {'Z', "set_xit", 1, {}, SetXit},
        {'l', "get_level", 1, {nullptr}, GetLevel},
        {'L', "set_level", 2, {}, SetLevel},
        {'u', "get_func", 1, {nullptr}, GetFunc, false, false, 0, true},
        {'U', "set_func", 2, {}, SetFunc},
        {'G', "vfo_op", 1, {}, VfoOperation},
        {'b', "send_morse", 1, {}, SendMorse, false, true},
        {'r', "get_rptr_shift", 0, {"Rptr Shift"}, GetShift},
        {'R', "set_rptr_shift", 1, {}, SetShift},
        {'o', "get_rptr_offs", 0, {"Rptr Offset"}, GetRepeaterOffset},
        {'O', "set_rptr_offs", 1, {}, SetRepeaterOffset},
        {'c', "get_ctcss_tone", 0, {"CTCSS Tone"}, GetCtcss},
        {'C', "set_ctcss_tone", 1, {}, SetCtcss},
        {'d', "get_dcs_code", 0, {"DCS Code"}, GetDcs},
        {'D', "set_dcs_code", 1, {}, SetDcs},
        {'e', "get_mem", 0, {"Memory#"}, GetMem},
        {'E', "set_mem", 1, {}, SetMem},
        {0, "get_vfo_info", 1, {"Freq", "Mode", "Width", "Split", "SatMode"}, GetVfoInfo},
        {0, "get_lock_mode", 0, {"Locked"}, GetLockMode, true, false, 0, true},
        {0, "set_lock_mode", 1, {}, SetLockMode},
        {0, "get_powerstat", 0, {"Power Status"}, GetPowerstat, false, false, 0, true},
        {0, "set_powerstat", 1, {}, SetPowerstat},
        {0, "chk_vfo", 0, {"ChkVFO"}, ChkVfo},
        {0, "set_vfo_opt", 1, {}, SetVfoOpt},
        {'_', "get_info", 0, {"Info"}, GetInfo},
        {0, "dump_state", 0, {nullptr}, DumpState},
        {'Y', "set_ant", 2, {}, NotAvailable},
        {'y', "get_ant", 1, {"Antenna"}, NotAvailable},
        {'N', "set_ts", 1, {}, NotAvailable},
        {'n', "get_ts", 0, {"Tuning Step"}, NotAvailable},
        {'P', "set_parm", 2, {}, NotAvailable},
        {'p', "get_parm", 1, {nullptr}, NotAvailable},
        {'B', "set_bank", 1, {}, NotAvailable},
        {'g', "scan", 2, {}, NotAvailable},
        {'A', "set_trn", 1, {}, Deprecated},
        {'a', "get_trn", 0, {"Transceive"}, Deprecated},
        {0, "stop_morse", 0, {}, NotAvailable},
        {0, "get_dcd", 0, {"DCD"}, NotAvailable},
        {0, "set_ctcss_sql", 1, {}, NotAvailable},
        {0, "get_ctcss_sql", 0, {"CTCSS Sql"}, NotAvailable},
        {0, "set_dcs_sql", 1, {}, NotAvailable},
        {0, "get_dcs_sql", 0, {"DCS Sql"}, NotAvailable},
        {0, "send_dtmf", 1, {}, NotAvailable},
        {0, "recv_dtmf", 0, {"Digits"}, NotAvailable},
        {0, "get_rig_info", 0, {nullptr}, NotAvailable},
        {0, "get_clock", 0, {"Clock"}, NotAvailable},
        {0, "set_clock", 1, {}, NotAvailable},
    };
    return kCommands;
}

bool IsGet(const Command& c) { return !c.labels.empty(); }

const Command* FindCommand(const std::string& word) {
    for (const Command& c : Commands()) {
        if (word.size() > 1 && word[0] == '\\' && word.compare(1, std::string::npos, c.longName) == 0)
            return &c;
        if (word.size() == 1 && c.shortName != 0 && word[0] == c.shortName)
            return &c;
    }
    return nullptr;
}

bool IsQuit(const std::string& word) { return word == "q" || word == "Q" || word == "\\quit"; }

std::string Rprt(Result r) { return "RPRT " + std::to_string(static_cast<int>(r)) + "\n"; }

// PTT with the data input ("T 3", what programs send for PTT on the data
// port or a rear data audio source): the radio's input cannot be chosen over
// this link, and keying anyway could put the microphone on the air. It is
// not available, and the client is told why.
constexpr const char* kDataInputPtt =
    "PTT with the data input (T 3) is not available through this radio link, key with T 1";

// One command of a line: its word, its arguments and the separator of its
// extended answer (0: the plain answer).
struct Parsed {
    std::string word;
    Args args;
    std::string rest; // the text after the word (send_morse)
    char separator = 0;
    const Command* command = nullptr;
    bool quit = false;
};

bool DataInputPtt(const Parsed& p) {
    long long n = 0;
    return p.command && p.command->run == SetPtt && p.args.size() == 1 && ParseInt(p.args[0], n) && n == 3;
}

bool IsSeparator(char ch) { return ch == ';' || ch == '|' || ch == ','; }
bool IsSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; }

// A line holds one command or several, as the daemon reads them: a short
// command is one character ("fm" is f and m), a long one a word after "\";
// each takes its arguments, and the next command follows. "+" before a
// command asks for its extended answer, one item a line; ";", "|" or ","
// for the extended answer with that character between its items. Reading
// stops after "q" and at a command that is not known (its arguments could
// not be told from the next command).
std::vector<Parsed> ParseLine(const std::string& line) {
    std::vector<Parsed> out;
    std::size_t at = 0;
    auto skipSpace = [&] {
        while (at < line.size() && IsSpace(line[at]))
            ++at;
    };
    auto token = [&] {
        skipSpace();
        const std::size_t begin = at;
        while (at < line.size() && !IsSpace(line[at]) && !IsSeparator(line[at]))
            ++at;
        return line.substr(begin, at - begin);
    };
    while (out.size() < 16) {
        skipSpace();
        if (at >= line.size())
            break;
        Parsed p;
        if (line[at] == '+' || IsSeparator(line[at])) {
            p.separator = line[at] == '+' ? '\n' : line[at];
            ++at;
            skipSpace();
            if (at >= line.size())
                break; // a prefix without a command: nothing to answer
        }
        if (line[at] == '\\') {
            const std::size_t begin = at;
            while (at < line.size() && !IsSpace(line[at]) && !IsSeparator(line[at]))
                ++at;
            p.word = line.substr(begin, at - begin);
        } else {
            p.word = line.substr(at++, 1);
        }
        p.quit = IsQuit(p.word);
        p.command = p.quit ? nullptr : FindCommand(p.word);
        if (p.command) {
            if (p.command->echoRest) {
                skipSpace();
                p.rest = line.substr(at);
                while (!p.rest.empty() && IsSpace(p.rest.back()))
                    p.rest.pop_back();
                for (std::size_t b = 0; b < p.rest.size();) {
                    const std::size_t e = std::min(p.rest.find(' ', b), p.rest.size());
                    if (e > b)
                        p.args.push_back(p.rest.substr(b, e - b));
                    b = e + 1;
                }
                at = line.size();
            } else {
                const int most = p.command->args + p.command->optional;
                while (static_cast<int>(p.args.size()) < most) {
                    skipSpace();
                    if (at >= line.size() || IsSeparator(line[at]))
                        break;
                    p.args.push_back(token());
                }
            }
        }
        out.push_back(p);
        if (p.quit || !p.command)
            break;
    }
    return out;
}

QByteArray ExecuteOne(RadioBackend& backend, const Parsed& p, ClientSession& session) {
    const Command* command = p.command;
    if (!command)
        return QByteArray::fromStdString(Rprt(Result::InvalidArgument));
    const bool extended = p.separator != 0;
    std::string out;
    if (extended && command->run == ChkVfo) {
        // Clients read the extended chk_vfo as its one labelled line; with a
        // separator an empty line follows it, as the daemon answers.
        return p.separator == '\n' ? QByteArrayLiteral("ChkVFO: 0\n") : QByteArrayLiteral("ChkVFO: 0\n\n");
    }
    if (extended) {
        out = std::string(command->longName) + ":";
        if (command->echoRest)
            out += "  " + p.rest;
        else
            for (const std::string& a : p.args)
                out += " " + a;
        out += "\n";
    }
    Result result = Result::InvalidArgument;
    Values values;
    const char* why = DataInputPtt(p) ? kDataInputPtt : nullptr;
    if (why) {
        result = Result::NotAvailable;
    } else if (static_cast<int>(p.args.size()) >= command->args) {
        Context context{backend, session, p.rest};
        result = command->run(context, p.args, values);
    }
    if (IsGet(*command) && result == Result::Ok) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const char* label = i < command->labels.size() ? command->labels[i] : nullptr;
            if (extended && label)
                out += std::string(label) + ": ";
            out += values[i] + "\n";
        }
    }
    if (extended || !IsGet(*command) || result != Result::Ok || command->plainReport) {
        out += Rprt(result);
        if (why) {
            // Clients read the number; the reason after it reaches their log.
            out.pop_back();
            out += std::string(" ") + why + "\n";
        }
    }
    if (extended && p.separator != '\n') {
        // The items joined by the separator, one line in all (two where the
        // report stands on its own).
        std::size_t keep = std::string::npos;
        if (command->reportOwnLine && IsGet(*command) && result == Result::Ok)
            keep = out.rfind("RPRT ");
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            if (out[i] == '\n' && i + 1 != keep)
                out[i] = p.separator;
    }
    return QByteArray::fromStdString(out);
}

} // namespace

QByteArray RigctlServer::Execute(RadioBackend& backend, const std::string& line, bool& quit, bool& keyed) {
    ClientSession session{keyed};
    return Execute(backend, line, quit, session);
}

QByteArray RigctlServer::Execute(RadioBackend& backend, const std::string& line, bool& quit,
                                 ClientSession& session) {
    quit = false;
    QByteArray out;
    for (const Parsed& p : ParseLine(line)) {
        if (p.quit) {
            // As the daemon: the report, then the connection closes.
            quit = true;
            out += "RPRT 0\n";
            break;
        }
        out += ExecuteOne(backend, p, session);
    }
    return out;
}

RigctlServer::RigctlServer(RequestQueue& queue, QObject* parent) : ShareServer(queue, kDefaultPort, parent) {}

namespace {

// "T 0" and its long and extended forms: the release goes ahead of the queue.
bool IsRelease(const Parsed& p) {
    return p.command && p.command->run == SetPtt && p.args.size() == 1 && p.args[0] == "0";
}

} // namespace

void RigctlServer::Process(Client& client) {
    while (!client.inFlight && !client.closing && client.socket) {
        const qsizetype newline = client.buffer.indexOf('\n');
        if (newline < 0) {
            if (client.buffer.size() > kMaxLine) {
                // A line without end: drop it as it comes and answer once at its end.
                client.discarding = true;
                client.buffer.clear();
            }
            return;
        }
        QByteArray line = client.buffer.left(newline);
        client.buffer.remove(0, newline + 1);
        if (client.discarding || line.size() > kMaxLine) {
            client.discarding = false;
            Write(client, QByteArrayLiteral("RPRT -1\n"));
            continue;
        }
        const std::string text = line.trimmed().toStdString();
        const std::vector<Parsed> commands = ParseLine(text);
        if (commands.empty())
            continue;
        if (commands.size() == 1 && commands[0].quit) {
            Write(client, QByteArrayLiteral("RPRT 0\n"));
            CloseLater(client);
            return;
        }
        const bool quits = commands.back().quit;
        Submit(
            client,
            [text](RadioBackend& backend, ClientSession& session) {
                bool quit = false;
                return Execute(backend, text, quit, session);
            },
            IsRelease(commands.front()));
        if (quits) {
            CloseLater(client); // once the answer is written
            return;
        }
    }
}

} // namespace zshare
