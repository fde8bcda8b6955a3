// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's command parser: every command the program can send, read
// and set forms, with the ranges the radio accepts. Anything else is "?".
#include "engine.h"
#include "parse.h"

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
    const Command cmd{command.substr(0, 2), command.substr(2), command.size() == 2, now};
    const std::string& code = cmd.code;
    const std::string& args = cmd.args;
    const int f = family_;
    const unsigned fam = 1u << f;
    const bool read = cmd.read;
    // Switched off, the radio's control board still answers who it is and
    // its power state (a program must be able to connect to it and switch it
    // on); everything else goes unheard.
    if (s_.power == 0) {
        if (code == "ID" && read && identity_ >= 0)
            return answer(out, "ID");
        if (code != "PS")
            return;
        long long v;
        if (read)
            out.push_back("PS0");
        else if (onlyDigits(args, 1, v) && v >= 1 && v <= (f == 3 ? 3 : 1))
            s_.power = static_cast<int>(v), changed(out, "PS");
        return;
    }

    // ---- plain levels and switches
    if (auto it = plainTable().find(code); it != plainTable().end()) {
        const Plain& p = it->second;
        if (read) {
            if (!(p.read & fam))
                return refuse(out);
            return answer(out, code);
        }
        const auto& ranges = p.set[static_cast<std::size_t>(f)];
        if (ranges.empty())
            return refuse(out);
        std::size_t width = 0;
        for (int w : p.widths)
            width += static_cast<std::size_t>(w);
        if (args.size() != width)
            return refuse(out);
        std::vector<long long> v;
        std::size_t pos = 0;
        for (std::size_t i = 0; i < p.widths.size(); ++i) {
            long long n;
            const Range& r = ranges.size() == 1 ? ranges[0] : ranges[i];
            if (!digitsAt(args, pos, static_cast<std::size_t>(p.widths[i]), n) || !in(n, r.lo, r.hi))
                return refuse(out);
            v.push_back(n);
            pos += static_cast<std::size_t>(p.widths[i]);
        }
        s_.values[code] = v;
        changed(out, code);
        if (p.inIf)
            changed(out, "IF");
        return;
    }

    // ---- reports: only the read form, on the families that have it
    static const std::map<std::string, unsigned> reports = {{"BY", FALL}, {"IF", FALL}, {"OI", F3}, {"TY", F3}};
    if (auto it = reports.find(code); it != reports.end())
        return read && (it->second & fam) != 0 ? answer(out, code) : refuse(out);

    // ---- everything else, by topic
    using Handler = void (Engine::*)(const Command&, std::vector<std::string>&);
    static const std::map<std::string, Handler> handlers = [] {
        std::map<std::string, Handler> h;
        for (const char* k : {"ID", "PS", "AI", "FA", "FB", "FC", "FR", "FT", "MD", "DC", "RC", "RU", "RD", "UP",
                              "DN", "CH", "BU", "BD", "SC", "SU"})
            h[k] = &Engine::handleRadio;
        for (const char* k : {"AG", "SQ", "AR", "PA", "RA", "LK", "SM", "RM", "IS"})
            h[k] = &Engine::handleReceiver;
        for (const char* k : {"MC", "MR", "MW", "SV", "CI", "QI", "QR", "PI", "PM"})
            h[k] = &Engine::handleMemory;
        for (const char* k : {"EX", "AS", "SA", "SI", "TX", "RX", "KY", "VR", "TD", "UR", "UT", "SR", "TC", "PK", "FD"})
            h[k] = &Engine::handleExtra;
        return h;
    }();
    if (auto it = handlers.find(code); it != handlers.end())
        return (this->*(it->second))(cmd, out);
    refuse(out);
}

void Engine::refuse(std::vector<std::string>& out) const
{
    out.push_back("?");
}

void Engine::answer(std::vector<std::string>& out, const std::string& key) const
{
    std::string r = reply(key);
    if (r.empty())
        refuse(out);
    else
        out.push_back(std::move(r));
}

void Engine::answerIndexed(std::vector<std::string>& out, const std::string& code, const std::string& args) const
{
    long long index = 0;
    if (!digitsAt(args, 0, 1, index) || index > 1)
        return refuse(out);
    answer(out, code + std::to_string(index));
}

void Engine::changed(std::vector<std::string>& out, const std::string& key) const
{
    // With auto-information on, a change made by a command is reported too.
    if (options_.echoSets)
        report(key, out);
}

}  // namespace qxsim::detail
