// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_commands.cpp - the line protocol's command table: what each
// command does with the radio, its names, arguments and answer labels.
#include "rigctl_protocol.h"

namespace zshare::rigctl {

namespace {

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

// A value the backend reads, answered as a decimal number.
template <class T>
Result AnswerNumber(Context& c, Values& v, Result (RadioBackend::*get)(T&)) {
    T value{};
    const Result r = (c.backend.*get)(value);
    v.push_back(std::to_string(value));
    return r;
}

// A switch the backend reads, answered "1" or "0".
Result AnswerSwitch(Context& c, Values& v, Result (RadioBackend::*get)(bool&)) {
    bool on = false;
    const Result r = (c.backend.*get)(on);
    v.push_back(on ? "1" : "0");
    return r;
}

// A whole number from 0 to `max`; "not implemented" where the radio has
// no such setting, though a malformed or negative number is refused first.
Result ParseUpTo(const std::string& arg, bool available, long long max, long long& n) {
    if (!ParseInt(arg, n) || n < 0)
        return Result::InvalidArgument;
    if (!available)
        return Result::NotImplemented;
    return n > max ? Result::InvalidArgument : Result::Ok;
}

// One of the radio's `listed` values or 0 for none, read as a whole number
// no larger than `limit`; "not implemented" where the radio lists none.
Result SetListed(Context& c, const std::string& arg, const std::vector<int>& listed,
                 long long limit, Result (RadioBackend::*set)(int)) {
    long long n = 0;
    if (!ParseInt(arg, n))
        return Result::InvalidArgument;
    if (listed.empty())
        return Result::NotImplemented;
    if (n < 0 || n > limit || (n != 0 && !Has(listed, static_cast<int>(n))))
        return Result::InvalidArgument;
    return (c.backend.*set)(static_cast<int>(n));
}

Result GetFreq(Context& c, const Args&, Values& v) {
    std::int64_t hz = 0;
    const Result r = c.backend.GetFrequency(Vfo::Current, hz);
    v.push_back(std::to_string(hz));
    return r;
}

// A frequency the radio receives, to be tuned while no one else's
// transmission is on the air.
Result ParseRetune(Context& c, const std::string& arg, std::int64_t& hz) {
    if (!ParseFrequency(arg, hz) || !InRanges(c.backend.Describe().receive, hz))
        return Result::InvalidArgument;
    return c.session.MayRetune() ? Result::Ok : Result::Rejected;
}

Result SetFreq(Context& c, const Args& a, Values&) {
    std::int64_t hz = 0;
    if (const Result r = ParseRetune(c, a[0], hz); r != Result::Ok)
        return r;
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
    return AnswerSwitch(c, v, &RadioBackend::GetPtt);
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
    if (const Result r = ParseRetune(c, a[0], hz); r != Result::Ok)
        return r;
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
    const LevelRow* row = FindRow(kLevels, a[0]);
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
    const LevelRow* row = FindRow(kLevels, a[0]);
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
    const FuncRow* row = FindRow(kFuncs, a[0]);
    if (!row)
        return Result::InvalidArgument;
    if (!Has(c.backend.Describe().funcs, row->value))
        return Result::NotImplemented;
    bool on = false;
    const Result r = c.backend.GetFunc(row->value, on);
    v.push_back(on ? "1" : "0");
    return r;
}

Result SetFunc(Context& c, const Args& a, Values&) {
    const FuncRow* row = FindRow(kFuncs, a[0]);
    long long on = 0;
    if (!row || !ParseInt(a[1], on) || on < 0 || on > 1)
        return Result::InvalidArgument;
    if (!Has(c.backend.Describe().funcs, row->value))
        return Result::NotImplemented;
    return c.backend.SetFunc(row->value, on != 0);
}

Result VfoOperation(Context& c, const Args& a, Values&) {
    for (const OpRow& row : kOps) {
        if (a[0] == row.name) {
            if (!Has(c.backend.Describe().vfoOps, row.value))
                return Result::NotImplemented;
            // A = B sets the other VFO's mode, A / B the received mode.
            if ((row.value == VfoOp::Copy || row.value == VfoOp::Exchange) && !c.session.MayChangeMode())
                return Result::Rejected;
            if (!c.session.MayRetune())
                return Result::Rejected;
            return c.backend.DoVfoOp(row.value);
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
    return AnswerNumber(c, v, &RadioBackend::GetRepeaterOffset);
}

Result SetRepeaterOffset(Context& c, const Args& a, Values&) {
    const std::int64_t max = c.backend.Describe().maxRepeaterOffset;
    long long hz = 0;
    if (const Result r = ParseUpTo(a[0], max > 0, max, hz); r != Result::Ok)
        return r;
    return c.backend.SetRepeaterOffset(hz);
}

Result GetCtcss(Context& c, const Args&, Values& v) {
    return AnswerNumber(c, v, &RadioBackend::GetCtcssTone);
}

// Tones in tenths of a hertz, 0 for none. The radio's tone burst is taken
// too (it is not a CTCSS tone, so it is not listed), as a client that read
// it back writes it.
Result SetCtcss(Context& c, const Args& a, Values&) {
    const int burst = c.backend.Describe().toneBurst;
    long long n = 0;
    if (burst != 0 && ParseInt(a[0], n) && n == burst)
        return c.backend.SetCtcssTone(burst);
    return SetListed(c, a[0], c.backend.Describe().ctcssTones, 100'000,
                     &RadioBackend::SetCtcssTone);
}

Result GetDcs(Context& c, const Args&, Values& v) {
    return AnswerNumber(c, v, &RadioBackend::GetDcsCode);
}

Result SetDcs(Context& c, const Args& a, Values&) {
    return SetListed(c, a[0], c.backend.Describe().dcsCodes, 10'000, &RadioBackend::SetDcsCode);
}

Result GetMem(Context& c, const Args&, Values& v) {
    return AnswerNumber(c, v, &RadioBackend::GetMemory);
}

Result SetMem(Context& c, const Args& a, Values&) {
    const int max = c.backend.Describe().maxMemory;
    long long channel = 0;
    if (const Result r = ParseUpTo(a[0], max >= 0, max, channel); r != Result::Ok)
        return r;
    return c.backend.SetMemory(static_cast<int>(channel));
}

Result GetPowerstat(Context& c, const Args&, Values& v) {
    return AnswerSwitch(c, v, &RadioBackend::GetPowerOn);
}

Result SetPowerstat(Context& c, const Args& a, Values&) {
    long long n = 0;
    if (!ParseInt(a[0], n) || n < 0 || n > 1)
        return Result::InvalidArgument;
    return c.backend.SetPowerOn(n == 1);
}

// Commands of the protocol this radio does not serve: answered as the
// daemon answers a radio without them, "not available" (the transceive
// switch is "deprecated"), each with its arguments read so that a command
// after it on the line is still understood.
Result NotAvailable(Context&, const Args&, Values&) { return Result::NotAvailable; }
constexpr auto kDeprecated = static_cast<Result>(-18);
Result Deprecated(Context&, const Args&, Values&) { return kDeprecated; }

} // namespace

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

} // namespace zshare::rigctl
