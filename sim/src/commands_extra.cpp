// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the menu, auto mode, satellite, transmit, keyer, equaliser, reset and terminal.
#include "engine.h"
#include "parse.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qxsim::detail {

// EX, AS, SA, SI, TX, RX, KY, VR, TD, UR, UT, SR, TC, PK, FD.
void Engine::handleExtra(const Command& cmd, std::vector<std::string>& out)
{
    [[maybe_unused]] const auto& [code, args, read, now] = cmd;
    const int f = family_;
    [[maybe_unused]] long long a = 0, b = 0, c = 0;

    // ---- extended menu
    if (code == "EX") {
        if (f == 1) {
            if (read)
                return answer(out, "EX");
            if (!onlyDigits(args, 7, a) || a / 10000 > 46 || a % 10000 > 74)
                return refuse(out);
            char buf[40];
            std::snprintf(buf, sizeof buf, "EX%03lld%02lld", a / 10000, (a % 10000) % 100);
            lastMenu1_ = buf;
            s_.menu[std::string(buf + 2, 3) + "00"] = std::to_string(a % 10000);
            return changed(out, "EX");
        }
        if (f != 3 || args.size() < 7 || !digitsAt(args, 0, 3, a) || !digitsAt(args, 3, 2, b) ||
            !digitsAt(args, 5, 2, c) || a > 99)
            return refuse(out);
        const std::string key = args.substr(0, 7);
        if (args.size() == 7) {
            auto it = s_.menu.find(key);
            out.push_back("EX" + key + (it == s_.menu.end() ? std::string("0") : it->second));
            return;
        }
        const std::string text = args.substr(7);
        if (text.size() > 16 || !printable(text))
            return refuse(out);
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
            return refuse(out);
        if (args.size() == 3) {
            if (!digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 2, b) || a > 3)
                return refuse(out);
            const auto key = "AS" + args;
            char buf[40];
            std::snprintf(buf, sizeof buf, "AS%s%011lld%lld", args.c_str(), value(key, 0), value(key, 1));
            out.push_back(buf);
            return;
        }
        long long hz;
        if (args.size() != 15 || !digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 2, b) ||
            !digitsAt(args, 3, 11, hz) || !digitsAt(args, 14, 1, c) || a > 3)
            return refuse(out);
        s_.values["AS" + args.substr(0, 3)] = {hz, c};
        return;
    }
    if (code == "SA") {
        if (f != 3)
            return refuse(out);
        if (read)
            return answer(out, "SA");
        if (args.size() != 7)
            return refuse(out);
        std::array<int, 7> v{};
        for (std::size_t i = 0; i < 7; ++i) {
            if (!digitsAt(args, i, 1, a) || a > (i == 1 ? 9 : 1))
                return refuse(out);
            v[i] = static_cast<int>(a);
        }
        s_.satellite = v;
        s_.satelliteName = s_.satelliteNames[static_cast<std::size_t>(v[1])];
        return changed(out, "SA");
    }
    if (code == "SI") {
        if (f != 3 || args.empty() || !digitsAt(args, 0, 1, a) || args.size() > 9 ||
            !printable(args.substr(1)))
            return refuse(out);
        s_.satelliteNames[static_cast<std::size_t>(a)] = args.substr(1);
        if (s_.satellite[1] == a)
            s_.satelliteName = args.substr(1);
        return;
    }

    // ---- transmit, keyer, voice, DTMF, equaliser, packet
    if (code == "TX" || code == "RX") {
        // Only the bare command keys or releases; "TX0;" and the like are refused.
        if (!read)
            return refuse(out);
        s_.transmitting = code == "TX" ? 1 : 0;
        if (f == 3)
            out.push_back(reply(code));
        return changed(out, "IF");
    }
    if (code == "KY") {
        if (read)
            return answer(out, "KY");
        if (args.size() != 25 || args[0] != ' ' || !printable(args))
            return refuse(out);
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
            return refuse(out);
        return;
    }
    if (code == "TD") {
        if (f != 3 || !onlyDigits(args, 2, a) || a > 9)
            return refuse(out);
        return;
    }
    if (code == "UR" || code == "UT") {
        if (f == 2 || args.size() != 128 || !printable(args))
            return refuse(out);
        (code == "UR" ? s_.receiveTaps : s_.transmitTaps) = args;
        return;
    }
    if (code == "SR") {
        if (!onlyDigits(args, 1, a) || !in(a, 1, 2))
            return refuse(out);
        reset(a == 2);
        return;
    }
    if (code == "TC") {
        if (f != 3)
            return refuse(out);
        if (read)
            return answer(out, "TC");
        if (args.size() != 2 || args[0] != ' ' || !digitsAt(args, 1, 1, a) || a > 1)
            return refuse(out);
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
            return answer(out, code);
        return refuse(out);
    }
    refuse(out);
}

}  // namespace qxsim::detail
