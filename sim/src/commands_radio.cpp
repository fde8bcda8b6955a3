// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of identity, power, frequencies, VFOs, modes, tuning and scans.
#include "engine.h"
#include "parse.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qxsim::detail {

namespace {
// The channel steps of CH, by the ST index.
const int kSteps[] = {5'000, 6'250, 10'000, 12'500, 15'000, 20'000, 25'000, 30'000, 50'000, 100'000};
}  // namespace

// ID, PS, AI, FA/FB/FC, FR/FT, MD, DC, RC, RU/RD, UP/DN, CH, BU/BD, SC, SU.
void Engine::handleRadio(const Command& cmd, std::vector<std::string>& out)
{
    [[maybe_unused]] const auto& [code, args, read, now] = cmd;
    const int f = family_;
    [[maybe_unused]] long long a = 0, b = 0, c = 0;

    // ---- identity, type, power, auto-information
    if (code == "ID") {
        if (read && identity_ >= 0)
            answer(out, "ID");
        else if (!read)
            refuse(out);
        return;
    }
    if (code == "PS") {
        if (read)
            return answer(out, "PS");
        if (!onlyDigits(args, 1, a) || !in(a, 0, f == 3 ? 3 : 1))
            return refuse(out);
        if (a == 0) {
            if (s_.ai == 2 && options_.echoSets)
                out.push_back("PS0");
            s_.power = 0;
            s_.transmitting = 0;
            s_.scan = 0;
            return;
        }
        s_.power = static_cast<int>(a);
        return changed(out, "PS");
    }
    if (code == "AI") {
        if (read)
            return answer(out, "AI");
        if (!onlyDigits(args, 1, a) || (a != 0 && a != 2))
            return refuse(out);
        s_.ai = static_cast<int>(a);
        return changed(out, "AI");
    }

    // ---- frequencies, VFOs, modes
    if (code == "FA" || code == "FB" || code == "FC") {
        if (code == "FC" && f != 3)
            return refuse(out);
        if (read)
            return answer(out, code);
        if (!onlyDigits(args, 11, a) || a < 30'000)
            return refuse(out);
        vfoRef(code == "FA" ? 0 : code == "FB" ? 1 : 2) = a;
        changed(out, code);
        return changed(out, "IF");
    }
    if (code == "FR" || code == "FT") {
        if (f == 2)
            return refuse(out);
        if (read)
            return answer(out, code);
        if (!onlyDigits(args, 1, a) || !in(a, 0, f == 3 ? 3 : 2))
            return refuse(out);
        if (code == "FR") {
            if (s_.controlBand == 1) {
                if (a == 1)
                    return refuse(out);  // the sub receiver has one VFO
                s_.subVfo = static_cast<int>(a);
            } else {
                s_.rxVfo = s_.txVfo = static_cast<int>(a);  // FR ends split
            }
        } else {
            s_.txVfo = static_cast<int>(a);
        }
        changed(out, code);
        return changed(out, "IF");
    }
    if (code == "MD") {
        if (read)
            return answer(out, "MD");
        if (!onlyDigits(args, 1, a) || !in(a, 1, 9))
            return refuse(out);
        if (MemoryHalf* m = currentMemory())
            m->mode = static_cast<int>(a);
        else
            modeRef(s_.controlBand == 1 ? 2 : (s_.rxVfo == 1 ? 1 : 0)) = static_cast<int>(a);
        changed(out, "MD");
        return changed(out, "IF");
    }
    if (code == "DC") {
        if (f != 3)
            return refuse(out);
        if (read)
            return answer(out, "DC");
        if (!onlyDigits(args, 2, a) || !in(a / 10, 0, 1) || !in(a % 10, 0, 1))
            return refuse(out);
        s_.transmitBand = static_cast<int>(a / 10);
        s_.controlBand = static_cast<int>(a % 10);
        return changed(out, "DC");
    }

    // ---- RIT/XIT offset and scan speed
    if (code == "RC") {
        if (!read)
            return refuse(out);
        s_.ritOffset = 0;
        return changed(out, "IF");
    }
    if (code == "RU" || code == "RD") {
        // The 1 and 2 families send only the bare command; the 2 family has no RD.
        if (f == 2 && code == "RD")
            return refuse(out);
        const int sign = code == "RU" ? 1 : -1;
        long long n = 0;
        if (!read && (f != 3 || !onlyDigits(args, 5, n)))
            return refuse(out);
        if (s_.scan != 0 && f == 3) {
            if (read)
                return answer(out, code);
            // While scanning, RD makes the scan faster (a smaller P), RU slower.
            s_.scanSpeed = static_cast<int>(std::clamp<long long>(s_.scanSpeed + sign * n, 1, 9));
            return changed(out, code);
        }
        // Otherwise they move the RIT/XIT offset: by n Hz, or one 10 Hz step.
        const long long step = n == 0 ? 10 : n;
        const int limit = f == 3 ? 99'999 : 9'999;
        s_.ritOffset = static_cast<int>(std::clamp<long long>(s_.ritOffset + sign * step, -limit, limit));
        return changed(out, "IF");
    }

    // ---- tuning steps
    if (code == "UP" || code == "DN") {
        const int sign = code == "UP" ? 1 : -1;
        long long n = 1;
        if (f == 2)
            return refuse(out);
        if (f == 3 && !read) {
            if (!onlyDigits(args, 2, n))
                return refuse(out);
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
            return refuse(out);
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
            return refuse(out);
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
            return refuse(out);
        if (read)
            return answer(out, "SC");
        if (!onlyDigits(args, 1, a) || a > (f == 3 ? 6 : 1))
            return refuse(out);
        s_.scan = static_cast<int>(a);
        scanPause_ = 0;
        nextTick_ = a ? now + options_.scanStep : Clock::time_point::max();
        changed(out, "SC");
        return changed(out, "IF");
    }
    if (code == "SU") {
        if (f != 3)
            return refuse(out);
        if (args.size() == 1)
            return answerIndexed(out, "SU", args);
        if (args.size() != 11)
            return refuse(out);
        std::vector<long long> v;
        for (std::size_t i = 0; i < 11; ++i) {
            if (!digitsAt(args, i, 1, a) || a > 1)
                return refuse(out);
            v.push_back(a);
        }
        s_.values["SU" + std::to_string(v[0])] = v;
        return changed(out, "SU" + std::to_string(v[0]));
    }

    refuse(out);
}

}  // namespace qxsim::detail
