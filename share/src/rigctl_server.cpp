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
    bool& keyed;
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

bool ParseLevel(const std::string& text, Level& level) {
    static const std::pair<const char*, Level> kLevels[] = {
        {"STRENGTH", Level::Strength}, {"RFPOWER", Level::RfPower}, {"AF", Level::Af},
        {"RF", Level::Rf},             {"SQL", Level::Squelch},
    };
    for (const auto& [name, l] : kLevels) {
        if (text == name) {
            level = l;
            return true;
        }
    }
    return false;
}

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
Result SetMode(Context& c, const Args& a, Values&) { return SetModeOf(c.backend, Vfo::Current, a); }

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
    long long n = 0;
    if (!ParseInt(a[0], n) || n < 0 || n > 3)
        return Result::InvalidArgument;
    const Result r = c.backend.SetPtt(n != 0);
    if (r == Result::Ok)
        c.keyed = n != 0;
    else if (n == 0)
        c.keyed = false; // a release that failed is not retried on disconnect
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
    return xit ? c.backend.SetXit(static_cast<int>(hz)) : c.backend.SetRit(static_cast<int>(hz));
}

Result GetRit(Context& c, const Args&, Values& v) { return GetOffset(c, false, v); }
Result SetRit(Context& c, const Args& a, Values&) { return SetOffset(c, false, a); }
Result GetXit(Context& c, const Args&, Values& v) { return GetOffset(c, true, v); }
Result SetXit(Context& c, const Args& a, Values&) { return SetOffset(c, true, a); }

Result GetLevel(Context& c, const Args& a, Values& v) {
    Level level = Level::Af;
    if (!ParseLevel(a[0], level))
        return Result::InvalidArgument;
    double value = 0;
    const Result r = c.backend.GetLevel(level, value);
    v.push_back(level == Level::Strength ? std::to_string(std::lround(value)) : Format("%.6f", value));
    return r;
}

Result SetLevel(Context& c, const Args& a, Values&) {
    Level level = Level::Af;
    double value = 0;
    if (!ParseLevel(a[0], level) || level == Level::Strength || !ParseDouble(a[1], value) ||
        value < 0.0 || value > 1.0)
        return Result::InvalidArgument;
    return c.backend.SetLevel(level, value);
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
    // Functions and parameters: none; levels: the five above.
    constexpr std::uint32_t kLevelStrength = 1u << 30, kLevelRfPower = 1u << 12, kLevelAf = 1u << 3,
                            kLevelRf = 1u << 4, kLevelSql = 1u << 5;
    const std::uint32_t getLevels = kLevelStrength | kLevelRfPower | kLevelAf | kLevelRf | kLevelSql;
    const std::uint32_t setLevels = kLevelRfPower | kLevelAf | kLevelRf | kLevelSql;
    for (std::uint32_t m : {0u, 0u, getLevels, setLevels, 0u, 0u})
        v.push_back(Mask(m));
    // Protocol 1 clients read "key=value" lines up to this one.
    v.push_back("done");
    return Result::Ok;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> kCommands = {
        {'f', "get_freq", 0, {"Frequency"}, GetFreq},
        {'F', "set_freq", 1, {}, SetFreq},
        {'m', "get_mode", 0, {"Mode", "Passband"}, GetMode},
        {'M', "set_mode", 1, {}, SetMode},
        {'v', "get_vfo", 0, {"VFO"}, GetVfo},
        {'V', "set_vfo", 1, {}, SetVfo},
        {'t', "get_ptt", 0, {"PTT"}, GetPtt},
        {'T', "set_ptt", 1, {}, SetPtt},
        {'s', "get_split_vfo", 0, {"Split", "TX VFO"}, GetSplit},
        {'S', "set_split_vfo", 1, {}, SetSplit},
        {'i', "get_split_freq", 0, {"TX Frequency"}, GetSplitFreq},
        {'I', "set_split_freq", 1, {}, SetSplitFreq},
        {'x', "get_split_mode", 0, {"TX Mode", "TX Passband"}, GetSplitMode},
        {'X', "set_split_mode", 1, {}, SetSplitMode},
        {'j', "get_rit", 0, {"RIT"}, GetRit},
        {'J', "set_rit", 1, {}, SetRit},
        {'z', "get_xit", 0, {"XIT"}, GetXit},
        {'Z', "set_xit", 1, {}, SetXit},
        {'l', "get_level", 1, {"Level Value"}, GetLevel},
        {'L', "set_level", 2, {}, SetLevel},
        {0, "get_powerstat", 0, {"Power Status"}, GetPowerstat},
        {0, "set_powerstat", 1, {}, SetPowerstat},
        {0, "chk_vfo", 0, {"ChkVFO"}, ChkVfo},
        {0, "set_vfo_opt", 1, {}, SetVfoOpt},
        {'_', "get_info", 0, {"Info"}, GetInfo},
        {0, "dump_state", 0, {nullptr}, DumpState},
    };
    return kCommands;
}

bool IsGet(const Command& c) { return !c.labels.empty(); }

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string word;
    while (in >> word && out.size() < 8)
        out.push_back(word);
    return out;
}

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

} // namespace

QByteArray RigctlServer::Execute(RadioBackend& backend, const std::string& line, bool& quit, bool& keyed) {
    quit = false;
    std::vector<std::string> words = Split(line);
    if (words.empty())
        return {};
    bool extended = false;
    if (words[0].size() > 1 && words[0][0] == '+') {
        extended = true;
        words[0].erase(0, 1);
    } else if (words[0] == "+") {
        extended = true;
        words.erase(words.begin());
        if (words.empty())
            return QByteArray::fromStdString(Rprt(Result::InvalidArgument));
    }
    if (IsQuit(words[0])) {
        quit = true;
        return {};
    }
    const Command* command = FindCommand(words[0]);
    if (!command)
        return QByteArray::fromStdString(Rprt(Result::InvalidArgument));
    const Args args(words.begin() + 1, words.end());
    std::string out;
    if (extended) {
        out = std::string(command->longName) + ":";
        for (const std::string& a : args)
            out += " " + a;
        out += "\n";
    }
    Result result = Result::InvalidArgument;
    Values values;
    if (static_cast<int>(args.size()) >= command->args) {
        Context context{backend, keyed};
        result = command->run(context, args, values);
    }
    if (IsGet(*command) && result == Result::Ok) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const char* label = i < command->labels.size() ? command->labels[i] : nullptr;
            if (extended && label)
                out += std::string(label) + ": ";
            out += values[i] + "\n";
        }
    }
    if (extended || !IsGet(*command) || result != Result::Ok)
        out += Rprt(result);
    return QByteArray::fromStdString(out);
}

RigctlServer::RigctlServer(RequestQueue& queue, QObject* parent) : ShareServer(queue, kDefaultPort, parent) {}

namespace {

// "T 0" and its long and extended forms: the release goes ahead of the queue.
bool IsRelease(const std::vector<std::string>& words) {
    if (words.size() < 2 || words[1] != "0")
        return false;
    std::string w = words[0];
    if (!w.empty() && w[0] == '+')
        w.erase(0, 1);
    return w == "T" || w == "\\set_ptt";
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
        const std::vector<std::string> words = Split(text);
        if (words.empty())
            continue;
        if (IsQuit(words[0]) || (words[0] == "+" && words.size() > 1 && IsQuit(words[1])) ||
            (words[0].size() > 1 && words[0][0] == '+' && IsQuit(words[0].substr(1)))) {
            CloseLater(client);
            return;
        }
        Submit(
            client,
            [text](RadioBackend& backend, bool& keyed) {
                bool quit = false;
                return Execute(backend, text, quit, keyed);
            },
            IsRelease(words));
    }
}

} // namespace zshare
