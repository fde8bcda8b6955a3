// The radio's command parser: every command the program can send, read
// and set forms, with the ranges the radio accepts. Anything else is "?".
#include "engine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <map>

namespace qxsim::detail {

namespace {

struct Range {
    long long lo, hi;
};

// A level or switch that is a plain row of numbers: the same layout for the
// set command and the reply.
struct Plain {
    std::vector<int> widths;
    std::array<std::vector<Range>, 4> set;  // per family; empty: no set form there
    unsigned read;                          // families with the read form (bit f)
    bool inIf;                              // a field of IF: report IF too
};

constexpr unsigned F1 = 1u << 1, F2 = 1u << 2, F3 = 1u << 3, FALL = F1 | F2 | F3;

using R = std::vector<Range>;

const std::map<std::string, Plain>& plainTable()
{
    static const std::map<std::string, Plain> t = {
        {"AC", {{1, 1, 1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}, {0, 1}, {0, 2}}}, FALL, false}},
        {"AL", {{3}, {R{}, R{}, R{}, R{{0, 4}}}, F3, false}},
        {"AM", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, FALL, false}},
        {"AN", {{1}, {R{}, R{{1, 2}}, R{{1, 2}}, R{{1, 2}}}, FALL, false}},
        {"BC", {{1}, {R{}, R{{0, 1}}, R{}, R{{0, 2}}}, F1 | F3, false}},
        {"BP", {{3}, {R{}, R{}, R{}, R{{0, 63}}}, F3, false}},
        {"CA", {{1}, {R{}, R{{0, 1}}, R{}, R{{0, 1}}}, F1 | F3, false}},
        {"CG", {{3}, {R{}, R{}, R{{0, 255}}, R{{0, 100}}}, F2 | F3, false}},
        {"CM", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"CN", {{2}, {R{}, R{{1, 38}}, R{}, R{{1, 38}}}, F1 | F3, false}},
        {"CT", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, true}},
        {"DQ", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, true}},
        {"FS", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, false}},
        {"FW", {{4}, {R{}, R{{0, 9999}}, R{{0, 9999}}, R{{0, 9999}}}, FALL, false}},
        {"GT", {{3}, {R{}, R{{0, 999}}, R{{0, 255}}, R{{0, 20}}}, FALL, false}},
        {"KS", {{3}, {R{}, R{{10, 60}}, R{{10, 100}}, R{{10, 60}}}, FALL, false}},
        {"LM", {{1}, {R{}, R{{0, 3}}, R{{0, 4}}, R{{0, 3}}}, FALL, false}},
        {"LT", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"MF", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"MG", {{3}, {R{}, R{{0, 100}}, R{{0, 255}}, R{{0, 100}}}, FALL, false}},
        {"ML", {{3}, {R{}, R{}, R{}, R{{0, 9}}}, F3, false}},
        {"MO", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"MU", {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"NB", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, false}},
        {"NL", {{3}, {R{}, R{}, R{{0, 255}}, R{{0, 999}}}, F2 | F3, false}},
        {"NR", {{1}, {R{}, R{{0, 2}}, R{}, R{{0, 2}}}, F1 | F3, false}},
        {"NT", {{1}, {R{}, R{}, R{{0, 1}}, R{{0, 1}}}, F2 | F3, false}},
        {"OF", {{9}, {R{}, R{}, R{}, R{{0, 59'950'000}}}, F3, false}},
        {"OS", {{1}, {R{}, R{}, R{}, R{{0, 3}}}, F3, true}},
        {"PB", {{1}, {R{}, R{{0, 3}}, R{{0, 4}}, R{{0, 3}}}, FALL, false}},
        {"PC", {{3}, {R{}, R{{5, 100}}, R{{10, 100}}, R{{1, 100}}}, FALL, false}},
        {"PL", {{3, 3}, {R{}, R{}, R{{0, 255}}, R{{0, 100}}}, F2 | F3, false}},
        {"PR", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, false}},
        {"QC", {{3}, {R{}, R{}, R{}, R{{0, 103}}}, F3, false}},
        {"RG", {{3}, {R{}, R{{0, 255}}, R{{0, 255}}, R{{0, 255}}}, FALL, false}},
        {"RL", {{2}, {R{}, R{}, R{}, R{{0, 9}}}, F3, false}},
        {"RT", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, true}},
        {"SB", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"SD", {{4}, {R{}, R{{0, 1000}}, R{{0, 950}}, R{{0, 1000}}}, FALL, false}},
        {"SH", {{2}, {R{}, R{{0, 20}}, R{}, R{{0, 11}}}, FALL, false}},
        {"SL", {{2}, {R{}, R{{0, 20}}, R{}, R{{0, 11}}}, FALL, false}},
        {"SS", {{1}, {R{}, R{}, R{}, R{{0, 2}}}, F3, false}},
        {"ST", {{2}, {R{}, R{}, R{}, R{{0, 9}}}, F3, true}},
        {"TI", {{1, 1, 1}, {R{}, R{}, R{}, R{}}, F3, false}},
        {"TN", {{2}, {R{}, R{{1, 39}}, R{}, R{{1, 39}}}, F1 | F3, true}},
        {"TO", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 3}}}, FALL, true}},
        {"TS", {{1}, {R{}, R{}, R{}, R{{0, 1}}}, F3, false}},
        {"UL", {{1}, {R{}, R{}, R{}, R{}}, F3, false}},
        {"VD", {{4}, {R{}, R{{0, 3000}}, R{{0, 2700}}, R{{0, 3000}}}, FALL, false}},
        {"VG", {{3}, {R{}, R{{0, 9}}, R{}, R{{0, 9}}}, F1 | F3, false}},
        {"VX", {{1}, {R{}, R{{0, 1}}, R{{0, 1}}, R{{0, 1}}}, FALL, false}},
        {"XT", {{1}, {R{}, R{{0, 1}}, R{}, R{{0, 1}}}, F1 | F3, true}},
    };
    return t;
}

// Exactly `width` decimal digits at `pos`.
bool digitsAt(const std::string& s, std::size_t pos, std::size_t width, long long& out)
{
    if (pos + width > s.size() || width == 0)
        return false;
    long long v = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
    }
    out = v;
    return true;
}

// The whole text after the code is `width` digits.
bool onlyDigits(const std::string& args, std::size_t width, long long& out)
{
    return args.size() == width && digitsAt(args, 0, width, out);
}

bool in(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

constexpr std::int64_t kMaxHz = 99'999'999'999;

// A name or a text field: printable, no framing characters.
bool printable(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && c != ';';
    });
}

const int kSteps[] = {5'000, 6'250, 10'000, 12'500, 15'000, 20'000, 25'000, 30'000, 50'000, 100'000};

}  // namespace

void Engine::handle(const std::string& command, Clock::time_point now, std::vector<std::string>& out)
{
    if (command.empty())
        return;  // a lone ";" only ends what came before
    if (command.size() < 2 || !std::isupper(static_cast<unsigned char>(command[0])) ||
        !std::isupper(static_cast<unsigned char>(command[1]))) {
        if (s_.power != 0)
            out.push_back("?");
        return;
    }
    const std::string code = command.substr(0, 2);
    const std::string args = command.substr(2);
    const int f = family_;
    const unsigned fam = 1u << f;
    const bool read = args.empty();
    const auto refuse = [&] { out.push_back("?"); };
    const auto answer = [&](const std::string& key) {
        std::string r = reply(key);
        if (r.empty())
            refuse();
        else
            out.push_back(std::move(r));
    };
    // With auto-information on, a change made by a command is reported too.
    const auto changed = [&](const std::string& key) {
        if (options_.echoSets)
            report(key, out);
    };

    // Switched off, the radio's control board still answers who it is and
    // its power state (a program must be able to connect to it and switch it
    // on); everything else goes unheard.
    if (s_.power == 0) {
        if (code == "ID" && read && identity_ >= 0)
            return answer("ID");
        if (code != "PS")
            return;
        long long v;
        if (read)
            out.push_back("PS0");
        else if (onlyDigits(args, 1, v) && v >= 1 && v <= (f == 3 ? 3 : 1))
            s_.power = static_cast<int>(v), changed("PS");
        return;
    }

    // ---- plain levels and switches
    if (auto it = plainTable().find(code); it != plainTable().end()) {
        const Plain& p = it->second;
        if (read) {
            if (!(p.read & fam))
                return refuse();
            return answer(code);
        }
        const auto& ranges = p.set[static_cast<std::size_t>(f)];
        if (ranges.empty())
            return refuse();
        std::size_t width = 0;
        for (int w : p.widths)
            width += static_cast<std::size_t>(w);
        if (args.size() != width)
            return refuse();
        std::vector<long long> v;
        std::size_t pos = 0;
        for (std::size_t i = 0; i < p.widths.size(); ++i) {
            long long n;
            const Range& r = ranges.size() == 1 ? ranges[0] : ranges[i];
            if (!digitsAt(args, pos, static_cast<std::size_t>(p.widths[i]), n) || !in(n, r.lo, r.hi))
                return refuse();
            v.push_back(n);
            pos += static_cast<std::size_t>(p.widths[i]);
        }
        s_.values[code] = v;
        changed(code);
        if (p.inIf)
            changed("IF");
        return;
    }

    long long a = 0, b = 0, c = 0;

    // ---- identity, type, power, auto-information
    if (code == "ID") {
        if (read && identity_ >= 0)
            answer("ID");
        else if (!read)
            refuse();
        return;
    }
    if (code == "TY") {
        if (read && f == 3)
            return answer("TY");
        return refuse();
    }
    if (code == "PS") {
        if (read)
            return answer("PS");
        if (!onlyDigits(args, 1, a) || !in(a, 0, f == 3 ? 3 : 1))
            return refuse();
        if (a == 0) {
            if (s_.ai == 2 && options_.echoSets)
                out.push_back("PS0");
            s_.power = 0;
            s_.transmitting = 0;
            s_.scan = 0;
            return;
        }
        s_.power = static_cast<int>(a);
        return changed("PS");
    }
    if (code == "AI") {
        if (read)
            return answer("AI");
        if (!onlyDigits(args, 1, a) || (a != 0 && a != 2))
            return refuse();
        s_.ai = static_cast<int>(a);
        return changed("AI");
    }

    // ---- frequencies, VFOs, modes
    if (code == "FA" || code == "FB" || code == "FC") {
        if (code == "FC" && f != 3)
            return refuse();
        if (read)
            return answer(code);
        if (!onlyDigits(args, 11, a) || a < 30'000)
            return refuse();
        vfoRef(code == "FA" ? 0 : code == "FB" ? 1 : 2) = a;
        changed(code);
        return changed("IF");
    }
    if (code == "FR" || code == "FT") {
        if (f == 2)
            return refuse();
        if (read)
            return answer(code);
        if (!onlyDigits(args, 1, a) || !in(a, 0, f == 3 ? 3 : 2))
            return refuse();
        if (code == "FR") {
            if (s_.controlBand == 1) {
                if (a == 1)
                    return refuse();  // the sub receiver has one VFO
                s_.subVfo = static_cast<int>(a);
            } else {
                s_.rxVfo = s_.txVfo = static_cast<int>(a);  // FR ends split
            }
        } else {
            s_.txVfo = static_cast<int>(a);
        }
        changed(code);
        return changed("IF");
    }
    if (code == "MD") {
        if (read)
            return answer("MD");
        if (!onlyDigits(args, 1, a) || !in(a, 1, 9))
            return refuse();
        if (MemoryHalf* m = currentMemory())
            m->mode = static_cast<int>(a);
        else
            modeRef(s_.controlBand == 1 ? 2 : (s_.rxVfo == 1 ? 1 : 0)) = static_cast<int>(a);
        changed("MD");
        return changed("IF");
    }
    if (code == "IF") {
        if (read)
            return answer("IF");
        return refuse();
    }
    if (code == "OI") {
        if (read && f == 3)
            return answer("OI");
        return refuse();
    }
    if (code == "DC") {
        if (f != 3)
            return refuse();
        if (read)
            return answer("DC");
        if (!onlyDigits(args, 2, a) || !in(a / 10, 0, 1) || !in(a % 10, 0, 1))
            return refuse();
        s_.transmitBand = static_cast<int>(a / 10);
        s_.controlBand = static_cast<int>(a % 10);
        return changed("DC");
    }

    // ---- receivers: gain, squelch, preamplifier, attenuator, busy, meters
    if (code == "AG" || code == "SQ") {
        if (f == 2)
            return refuse();
        if (f == 1) {
            if (read)
                return answer(code + "0");
            if (!onlyDigits(args, 3, a) || a > 255)
                return refuse();
            s_.values[code + "0"] = {a};
            return changed(code + "0");
        }
        if (args.size() == 1) {
            if (!digitsAt(args, 0, 1, a) || a > 1)
                return refuse();
            return answer(code + std::to_string(a));
        }
        if (args.size() != 4 || !digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 3, b) || a > 1 || b > 255)
            return refuse();
        s_.values[code + std::to_string(a)] = {b};
        return changed(code + std::to_string(a));
    }
    if (code == "AR") {
        if (f != 3)
            return refuse();
        if (args.size() == 1) {
            if (!digitsAt(args, 0, 1, a) || a > 1)
                return refuse();
            return answer("AR" + std::to_string(a));
        }
        if (!onlyDigits(args, 3, a) || a / 100 > 1 || (a / 10) % 10 > 1)
            return refuse();
        const std::string key = "AR" + std::to_string(a / 100);
        s_.values[key] = {(a / 10) % 10, a % 10};
        return changed(key);
    }
    if (code == "PA" || code == "RA") {
        if (read)
            return answer(code);
        const std::size_t width = code == "PA" ? 1 : 2;
        const long long hi = code == "PA" ? 1 : (f == 1 ? 1 : f == 2 ? 3 : 99);
        if (!onlyDigits(args, width, a) || a > hi)
            return refuse();
        auto& v = s_.values[code];
        v.resize(2);
        v[static_cast<std::size_t>(f == 3 ? s_.controlBand : 0)] = a;
        return changed(code);
    }
    if (code == "LK") {
        if (read)
            return answer("LK");
        if (f == 1) {
            if (!onlyDigits(args, 1, a) || a > 2)
                return refuse();
            s_.values["LK"] = {a, 0};
        } else {
            if (!onlyDigits(args, 2, a) || a / 10 > 2 || a % 10 > 2)
                return refuse();
            s_.values["LK"] = {a / 10, a % 10};
        }
        return changed("LK");
    }
    if (code == "BY") {
        if (read)
            return answer("BY");
        return refuse();
    }
    if (code == "SM") {
        if (f == 2)
            return refuse();
        if (f == 1)
            return read ? answer("SM0") : refuse();
        if (!onlyDigits(args, 1, a) || a > 3)
            return refuse();
        return answer("SM" + std::to_string(a));
    }
    if (code == "RM") {
        if (read)
            return answer("RM");
        if (!onlyDigits(args, 1, a) || a > 6)
            return refuse();
        s_.meter = static_cast<int>(a);
        return changed("RM");
    }
    if (code == "IS") {
        if (read)
            return answer("IS");
        if (f == 3) {
            if (args.size() != 5 || args[0] != ' ' || !digitsAt(args, 1, 4, a))
                return refuse();
            s_.values["IS"] = {a};
        } else {
            const char sign = args.empty() ? '?' : args[0];
            const long long hi = f == 1 ? 1100 : 6000;
            const bool signOk = sign == '+' || sign == ' ' || (f == 1 && sign == '-');
            if (args.size() != 4 || !signOk || !digitsAt(args, 1, 3, a) || a > hi)
                return refuse();
            s_.values["IS"] = {sign == '-' ? -a : a};
        }
        return changed("IS");
    }

    // ---- RIT/XIT offset and scan speed
    if (code == "RC") {
        if (!read)
            return refuse();
        s_.ritOffset = 0;
        return changed("IF");
    }
    if (code == "RU" || code == "RD") {
        // The 1 and 2 families send only the bare command; the 2 family has no RD.
        if (f == 2 && code == "RD")
            return refuse();
        const int sign = code == "RU" ? 1 : -1;
        long long n = 0;
        if (!read && (f != 3 || !onlyDigits(args, 5, n)))
            return refuse();
        if (s_.scan != 0 && f == 3) {
            if (read)
                return answer(code);
            // While scanning, RD makes the scan faster (a smaller P), RU slower.
            s_.scanSpeed = static_cast<int>(std::clamp<long long>(s_.scanSpeed + sign * n, 1, 9));
            return changed(code);
        }
        // Otherwise they move the RIT/XIT offset: by n Hz, or one 10 Hz step.
        const long long step = n == 0 ? 10 : n;
        const int limit = f == 3 ? 99'999 : 9'999;
        s_.ritOffset = static_cast<int>(std::clamp<long long>(s_.ritOffset + sign * step, -limit, limit));
        return changed("IF");
    }

    // ---- memory
    if (code == "MC") {
        if (f == 2)
            return refuse();
        if (read)
            return answer("MC");
        if (f == 1) {
            if (args.size() != 3 || args[0] != ' ' || !digitsAt(args, 1, 2, b))
                return refuse();
            a = 0;
        } else if (!onlyDigits(args, 3, c)) {
            return refuse();
        } else {
            a = c / 100;
            b = c % 100;
        }
        if (memoryIndex(static_cast<int>(a), static_cast<int>(b)) < 0 || a == 3)
            return refuse();
        (s_.controlBand == 1 ? s_.subBank : s_.bank) = static_cast<int>(a);
        (s_.controlBand == 1 ? s_.subChannel : s_.channel) = static_cast<int>(b);
        changed("MC");
        return changed("IF");
    }
    if (code == "MR") {
        if (f == 2)
            return refuse();
        long long half, bank, channel;
        if (f == 1) {
            if (args.size() != 4 || args[1] != ' ' || !digitsAt(args, 0, 1, half) || !digitsAt(args, 2, 2, channel))
                return refuse();
            bank = 0;
        } else if (args.size() != 4 || !digitsAt(args, 0, 1, half) || !digitsAt(args, 1, 1, bank) ||
                   !digitsAt(args, 2, 2, channel)) {
            return refuse();
        }
        if (half > 1 || memoryIndex(static_cast<int>(bank), static_cast<int>(channel)) < 0)
            return refuse();
        out.push_back(formatMr(static_cast<int>(half), static_cast<int>(bank), static_cast<int>(channel)));
        return;
    }
    if (code == "MW") {
        if (f == 2)
            return refuse();
        long long half, bank = 0, channel, hz, mode, lockout, tone, toneNo;
        MemoryHalf m;
        if (f == 1) {
            // MW s ' ' cc fffffffffff m l t nn ' '
            if (args.size() < 20 || args.size() > 21 || args[1] != ' ' || !digitsAt(args, 0, 1, half) ||
                !digitsAt(args, 2, 2, channel) || !digitsAt(args, 4, 11, hz) ||
                !digitsAt(args, 15, 1, mode) || !digitsAt(args, 16, 1, lockout) ||
                !digitsAt(args, 17, 1, tone) || !digitsAt(args, 18, 2, toneNo) ||
                (args.size() == 21 && args[20] != ' '))
                return refuse();
            if (half > 1 || lockout > 1 || tone > 1 || !in(toneNo, 1, 39))
                return refuse();
        } else {
            // MW s b cc f(11) m l t nn cc ddd r s ooooooooo ss g name
            long long ctcss, dcs, reverse, shift, offset, step, group;
            if (args.size() < 39 || args.size() > 47 || !digitsAt(args, 0, 1, half) ||
                !digitsAt(args, 1, 1, bank) || !digitsAt(args, 2, 2, channel) ||
                !digitsAt(args, 4, 11, hz) || !digitsAt(args, 15, 1, mode) ||
                !digitsAt(args, 16, 1, lockout) || !digitsAt(args, 17, 1, tone) ||
                !digitsAt(args, 18, 2, toneNo) || !digitsAt(args, 20, 2, ctcss) ||
                !digitsAt(args, 22, 3, dcs) || !digitsAt(args, 25, 1, reverse) ||
                !digitsAt(args, 26, 1, shift) || !digitsAt(args, 27, 9, offset) ||
                !digitsAt(args, 36, 2, step) || !digitsAt(args, 38, 1, group))
                return refuse();
            const std::string name = args.substr(39);
            if (half > 1 || lockout > 1 || tone > 3 || toneNo > 39 || ctcss > 38 || dcs > 103 ||
                !printable(name))
                return refuse();
            m.ctcss = static_cast<int>(ctcss);
            m.dcs = static_cast<int>(dcs);
            m.reverse = static_cast<int>(reverse);
            m.shift = static_cast<int>(shift);
            m.offset = static_cast<long>(offset);
            m.step = static_cast<int>(step);
            m.group = static_cast<int>(group);
            m.name = name;
        }
        const int i = memoryIndex(static_cast<int>(bank), static_cast<int>(channel));
        if (i < 0)
            return refuse();
        m.frequency = hz;
        m.mode = static_cast<int>(mode);
        m.lockout = static_cast<int>(lockout);
        m.toneType = static_cast<int>(tone);
        m.toneNumber = static_cast<int>(toneNo);
        auto& ch = s_.memory[static_cast<std::size_t>(i)];
        ch.half[static_cast<std::size_t>(half)] = m;
        if (half == 1)
            ch.hasTransmitHalf = hz != 0;
        else if (hz == 0)
            ch = MemoryChannel{};  // a cleared channel loses both halves
        if (half == 0 && ch.hasTransmitHalf)
            ch.half[1].lockout = m.lockout;
        return;
    }
    if (code == "SV" || code == "CI" || code == "QI") {
        if (!read || f != 3)
            return refuse();
        if (code == "SV") {
            const MemoryHalf* m = currentMemory();
            if (!m)
                return refuse();
            const MemoryHalf copy = *m;
            if (s_.controlBand == 1) {
                s_.subFrequency = copy.frequency;
                s_.modeSub = copy.mode;
                s_.subVfo = 0;
            } else {
                s_.vfoA = copy.frequency;
                s_.modeA = copy.mode;
                s_.rxVfo = s_.txVfo = 0;
            }
            changed("FR");
            return changed("IF");
        }
        MemoryHalf m;
        m.frequency = controlFrequency();
        const std::string md = reply("MD");
        m.mode = md.size() > 2 ? md[2] - '0' : 0;
        if (code == "CI") {
            s_.memory[kCallChannel] = MemoryChannel{};
            s_.memory[kCallChannel].half[0] = m;
        } else {
            std::rotate(s_.quick.rbegin(), s_.quick.rbegin() + 1, s_.quick.rend());
            s_.quick[0] = m;
        }
        return;
    }
    if (code == "QR") {
        if (f != 3)
            return refuse();
        if (read)
            return answer("QR");
        if (!onlyDigits(args, 2, a) || a / 10 > 1)
            return refuse();
        s_.quickOn = static_cast<int>(a / 10);
        s_.quickChannel = static_cast<int>(a % 10);
        if (s_.quickOn && s_.quick[static_cast<std::size_t>(s_.quickChannel)].frequency != 0) {
            const MemoryHalf& q = s_.quick[static_cast<std::size_t>(s_.quickChannel)];
            vfoRef(s_.rxVfo == 1 ? 1 : 0) = q.frequency;
            modeRef(s_.rxVfo == 1 ? 1 : 0) = q.mode;
        }
        changed("QR");
        return changed("IF");
    }
    if (code == "PI" || code == "PM") {
        if (f != 3)
            return refuse();
        if (code == "PM" && read)
            return answer("PM");
        if (!onlyDigits(args, 1, a) || a > 5)
            return refuse();
        if (code == "PI") {
            const std::string md = reply("MD");
            s_.values["PI" + std::to_string(a)] = {controlFrequency(), md.size() > 2 ? md[2] - '0' : 0};
            return;
        }
        s_.values["PM"] = {a};
        auto it = s_.values.find("PI" + std::to_string(a));
        if (a != 0 && it != s_.values.end() && s_.controlBand == 0 && s_.rxVfo < 2) {
            vfoRef(s_.rxVfo) = it->second[0];
            modeRef(s_.rxVfo) = static_cast<int>(it->second[1]);
            changed("IF");
        }
        return changed("PM");
    }

    // ---- tuning steps
    if (code == "UP" || code == "DN") {
        const int sign = code == "UP" ? 1 : -1;
        long long n = 1;
        if (f == 2)
            return refuse();
        if (f == 3 && !read) {
            if (!onlyDigits(args, 2, n))
                return refuse();
            if (n == 0)
                n = 1;
        }
        std::vector<std::string> reports;
        if (currentMemory())
            stepChannel(sign * static_cast<int>(n), reports);
        else
            moveControlFrequency(sign * n * dialStep, reports);
        if (options_.echoSets)
            out.insert(out.end(), reports.begin(), reports.end());
        return;
    }
    if (code == "CH") {
        if (f != 3 || !onlyDigits(args, 1, a) || a > 1)
            return refuse();
        std::vector<std::string> reports;
        const int sign = a == 0 ? 1 : -1;
        if (currentMemory())
            stepChannel(sign, reports);
        else
            moveControlFrequency(sign * kSteps[std::clamp<long long>(value("ST"), 0, 9)], reports);
        if (options_.echoSets)
            out.insert(out.end(), reports.begin(), reports.end());
        return;
    }
    if (code == "BU" || code == "BD") {
        if (f != 3 || !read || currentMemory())
            return refuse();
        static constexpr std::int64_t homes[] = {1'840'000, 3'700'000, 7'050'000, 10'120'000,
                                                 14'195'000, 18'120'000, 21'200'000, 24'940'000,
                                                 28'500'000, 50'150'000};
        const std::int64_t hz = controlFrequency();
        std::int64_t next;
        if (code == "BU") {
            auto it = std::upper_bound(std::begin(homes), std::end(homes), hz + 500'000);
            next = it == std::end(homes) ? homes[0] : *it;
        } else {
            auto it = std::lower_bound(std::begin(homes), std::end(homes), hz - 500'000);
            next = it == std::begin(homes) ? homes[std::size(homes) - 1] : *(it - 1);
        }
        std::vector<std::string> reports;
        setControlFrequency(next, reports);
        if (options_.echoSets)
            out.insert(out.end(), reports.begin(), reports.end());
        return;
    }

    // ---- scan
    if (code == "SC") {
        if (f == 2)
            return refuse();
        if (read)
            return answer("SC");
        if (!onlyDigits(args, 1, a) || a > (f == 3 ? 6 : 1))
            return refuse();
        s_.scan = static_cast<int>(a);
        scanPause_ = 0;
        nextTick_ = a ? now + options_.scanStep : Clock::time_point::max();
        changed("SC");
        return changed("IF");
    }
    if (code == "SU") {
        if (f != 3)
            return refuse();
        if (args.size() == 1) {
            if (!digitsAt(args, 0, 1, a) || a > 1)
                return refuse();
            return answer("SU" + std::to_string(a));
        }
        if (args.size() != 11)
            return refuse();
        std::vector<long long> v;
        for (std::size_t i = 0; i < 11; ++i) {
            if (!digitsAt(args, i, 1, a) || a > 1)
                return refuse();
            v.push_back(a);
        }
        s_.values["SU" + std::to_string(v[0])] = v;
        return changed("SU" + std::to_string(v[0]));
    }

    // ---- extended menu
    if (code == "EX") {
        if (f == 1) {
            if (read)
                return answer("EX");
            if (!onlyDigits(args, 7, a) || a / 10000 > 46 || a % 10000 > 74)
                return refuse();
            char buf[40];
            std::snprintf(buf, sizeof buf, "EX%03lld%02lld", a / 10000, (a % 10000) % 100);
            lastMenu1_ = buf;
            s_.menu[std::string(buf + 2, 3) + "00"] = std::to_string(a % 10000);
            return changed("EX");
        }
        if (f != 3 || args.size() < 7 || !digitsAt(args, 0, 3, a) || !digitsAt(args, 3, 2, b) ||
            !digitsAt(args, 5, 2, c) || a > 99)
            return refuse();
        const std::string key = args.substr(0, 7);
        if (args.size() == 7) {
            auto it = s_.menu.find(key);
            out.push_back("EX" + key + (it == s_.menu.end() ? std::string("0") : it->second));
            return;
        }
        const std::string text = args.substr(7);
        if (text.size() > 16 || !printable(text))
            return refuse();
        s_.menu[key] = text;
        if (key == "0550000")
            s_.terminal = text == "1" ? 0 : 1;
        if (options_.echoSets && s_.ai == 2)
            out.push_back("EX" + key + text);
        return;
    }

    // ---- auto mode, satellite
    if (code == "AS") {
        if (f != 3)
            return refuse();
        if (args.size() == 3) {
            if (!digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 2, b) || a > 3)
                return refuse();
            const auto key = "AS" + args;
            char buf[40];
            std::snprintf(buf, sizeof buf, "AS%s%011lld%lld", args.c_str(), value(key, 0), value(key, 1));
            out.push_back(buf);
            return;
        }
        long long hz;
        if (args.size() != 15 || !digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 2, b) ||
            !digitsAt(args, 3, 11, hz) || !digitsAt(args, 14, 1, c) || a > 3)
            return refuse();
        s_.values["AS" + args.substr(0, 3)] = {hz, c};
        return;
    }
    if (code == "SA") {
        if (f != 3)
            return refuse();
        if (read)
            return answer("SA");
        if (args.size() != 7)
            return refuse();
        std::array<int, 7> v{};
        for (std::size_t i = 0; i < 7; ++i) {
            if (!digitsAt(args, i, 1, a) || a > (i == 1 ? 9 : 1))
                return refuse();
            v[i] = static_cast<int>(a);
        }
        s_.satellite = v;
        s_.satelliteName = s_.satelliteNames[static_cast<std::size_t>(v[1])];
        return changed("SA");
    }
    if (code == "SI") {
        if (f != 3 || args.empty() || !digitsAt(args, 0, 1, a) || args.size() > 9 ||
            !printable(args.substr(1)))
            return refuse();
        s_.satelliteNames[static_cast<std::size_t>(a)] = args.substr(1);
        if (s_.satellite[1] == a)
            s_.satelliteName = args.substr(1);
        return;
    }

    // ---- transmit, keyer, voice, DTMF, equaliser, packet
    if (code == "TX" || code == "RX") {
        if (!read || f == 2)
            return refuse();
        s_.transmitting = code == "TX" ? 1 : 0;
        if (f == 3)
            out.push_back(reply(code));
        return changed("IF");
    }
    if (code == "KY") {
        if (read)
            return answer("KY");
        if (args.size() != 25 || args[0] != ' ' || !printable(args))
            return refuse();
        s_.keyerText = args.substr(1);
        // Each character takes about ten dot lengths of 1200/wpm ms.
        const long long wpm = std::max<long long>(10, value("KS"));
        const auto sending = s_.keyerText.find_last_not_of(' ') + 1;
        keyerDone_ = now + std::chrono::milliseconds(static_cast<long long>(sending) * 12'000 / wpm);
        haveLastKeyer_ = sending > 0;
        if (haveLastKeyer_)
            nextTick_ = std::min(nextTick_, keyerDone_);
        return;
    }
    if (code == "VR") {
        if (f == 2 || !onlyDigits(args, 1, a) || !in(a, 1, 2))
            return refuse();
        return;
    }
    if (code == "TD") {
        if (f != 3 || !onlyDigits(args, 2, a) || a > 9)
            return refuse();
        return;
    }
    if (code == "UR" || code == "UT") {
        if (f == 2 || args.size() != 128 || !printable(args))
            return refuse();
        (code == "UR" ? s_.receiveTaps : s_.transmitTaps) = args;
        return;
    }
    if (code == "SR") {
        if (!onlyDigits(args, 1, a) || !in(a, 1, 2))
            return refuse();
        reset(a == 2);
        return;
    }
    if (code == "TC") {
        if (f != 3)
            return refuse();
        if (read)
            return answer("TC");
        if (args.size() != 2 || args[0] != ' ' || !digitsAt(args, 1, 1, a) || a > 1)
            return refuse();
        const bool change = s_.terminal != a;
        s_.terminal = static_cast<int>(a);
        s_.menu["0550000"] = a == 0 ? "1" : "0";
        // Reported before the terminal takes the line (report() is quiet in it).
        if (change && s_.ai == 2 && options_.echoSets)
            out.push_back(a == 0 ? "TC00" : "TC01");
        return;
    }
    if (code == "PK" || code == "FD") {
        if (read && (f == 3 || (code == "FD" && f == 2)))
            return answer(code);
        return refuse();
    }
    if (code == "SM" || code == "BY")
        return refuse();
    refuse();
}

}  // namespace qxsim::detail
