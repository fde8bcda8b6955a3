// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the receivers: gains, squelch, preamplifier, attenuator, lock, meters, IF shift.
#include "engine.h"
#include "parse.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qxsim::detail {

// AG, SQ, AR, PA, RA, LK, SM, RM, IS.
void Engine::handleReceiver(const Command& cmd, std::vector<std::string>& out)
{
    [[maybe_unused]] const auto& [code, args, read, now] = cmd;
    const int f = family_;
    [[maybe_unused]] long long a = 0, b = 0, c = 0;

    // ---- receivers: gain, squelch, preamplifier, attenuator, busy, meters
    if (code == "AG" || code == "SQ") {
        if (f == 2)
            return refuse(out);
        if (f == 1) {
            if (read)
                return answer(out, code + "0");
            if (!onlyDigits(args, 3, a) || a > 255)
                return refuse(out);
            s_.values[code + "0"] = {a};
            return changed(out, code + "0");
        }
        if (args.size() == 1)
            return answerIndexed(out, code, args);
        if (args.size() != 4 || !digitsAt(args, 0, 1, a) || !digitsAt(args, 1, 3, b) || a > 1 || b > 255)
            return refuse(out);
        s_.values[code + std::to_string(a)] = {b};
        return changed(out, code + std::to_string(a));
    }
    if (code == "AR") {
        if (f != 3)
            return refuse(out);
        if (args.size() == 1)
            return answerIndexed(out, "AR", args);
        if (!onlyDigits(args, 3, a) || a / 100 > 1 || (a / 10) % 10 > 1)
            return refuse(out);
        const std::string key = "AR" + std::to_string(a / 100);
        s_.values[key] = {(a / 10) % 10, a % 10};
        return changed(out, key);
    }
    if (code == "PA" || code == "RA") {
        if (read)
            return answer(out, code);
        const std::size_t width = code == "PA" ? 1 : 2;
        const long long hi = code == "PA" ? 1 : (f == 1 ? 1 : f == 2 ? 3 : 99);
        if (!onlyDigits(args, width, a) || a > hi)
            return refuse(out);
        auto& v = s_.values[code];
        v.resize(2);
        v[static_cast<std::size_t>(f == 3 ? s_.controlBand : 0)] = a;
        return changed(out, code);
    }
    if (code == "LK") {
        if (read)
            return answer(out, "LK");
        if (f == 1) {
            if (!onlyDigits(args, 1, a) || a > 2)
                return refuse(out);
            s_.values["LK"] = {a, 0};
        } else {
            if (!onlyDigits(args, 2, a) || a / 10 > 2 || a % 10 > 2)
                return refuse(out);
            s_.values["LK"] = {a / 10, a % 10};
        }
        return changed(out, "LK");
    }
    if (code == "SM") {
        if (f == 2)
            return refuse(out);
        if (f == 1)
            return read ? answer(out, "SM0") : refuse(out);
        if (!onlyDigits(args, 1, a) || a > 3)
            return refuse(out);
        return answer(out, "SM" + std::to_string(a));
    }
    if (code == "RM") {
        if (read)
            return answer(out, "RM");
        if (!onlyDigits(args, 1, a) || a > 6)
            return refuse(out);
        s_.meter = static_cast<int>(a);
        return changed(out, "RM");
    }
    if (code == "IS") {
        if (read)
            return answer(out, "IS");
        if (f == 3) {
            if (args.size() != 5 || args[0] != ' ' || !digitsAt(args, 1, 4, a))
                return refuse(out);
            s_.values["IS"] = {a};
        } else {
            // A sign and three digits ("%03d"), which make four from 1000 on.
            const char sign = args.empty() ? '?' : args[0];
            const long long hi = f == 1 ? 1100 : 6000;
            const bool signOk = sign == '+' || sign == ' ' || (f == 1 && sign == '-');
            const std::size_t digits = args.size() < 2 ? 0 : args.size() - 1;
            if ((digits != 3 && digits != 4) || !signOk || !digitsAt(args, 1, digits, a) || a > hi ||
                (digits == 4 && a < 1000))
                return refuse(out);
            s_.values["IS"] = {sign == '-' ? -a : a};
        }
        return changed(out, "IS");
    }

    refuse(out);
}

}  // namespace qxsim::detail
