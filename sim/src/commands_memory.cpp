// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the memories: channels, the call channel, quick and programmable memories.
#include "engine.h"
#include "parse.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qxsim::detail {

// MC, MR, MW, SV, CI, QI, QR, PI, PM.
void Engine::handleMemory(const Command& cmd, std::vector<std::string>& out)
{
    [[maybe_unused]] const auto& [code, args, read, now] = cmd;
    const int f = family_;
    [[maybe_unused]] long long a = 0, b = 0, c = 0;

    // ---- memory
    if (code == "MC") {
        if (f == 2)
            return refuse(out);
        if (read)
            return answer(out, "MC");
        if (f == 1) {
            if (args.size() != 3 || args[0] != ' ' || !digitsAt(args, 1, 2, b))
                return refuse(out);
            a = 0;
        } else if (!onlyDigits(args, 3, c)) {
            return refuse(out);
        } else {
            a = c / 100;
            b = c % 100;
        }
        if (memoryIndex(static_cast<int>(a), static_cast<int>(b)) < 0 || a == 3)
            return refuse(out);
        (s_.controlBand == 1 ? s_.subBank : s_.bank) = static_cast<int>(a);
        (s_.controlBand == 1 ? s_.subChannel : s_.channel) = static_cast<int>(b);
        changed(out, "MC");
        return changed(out, "IF");
    }
    if (code == "MR") {
        if (f == 2)
            return refuse(out);
        long long half, bank, channel;
        if (f == 1) {
            if (args.size() != 4 || args[1] != ' ' || !digitsAt(args, 0, 1, half) || !digitsAt(args, 2, 2, channel))
                return refuse(out);
            bank = 0;
        } else if (args.size() != 4 || !digitsAt(args, 0, 1, half) || !digitsAt(args, 1, 1, bank) ||
                   !digitsAt(args, 2, 2, channel)) {
            return refuse(out);
        }
        if (half > 1 || memoryIndex(static_cast<int>(bank), static_cast<int>(channel)) < 0)
            return refuse(out);
        out.push_back(formatMr(static_cast<int>(half), static_cast<int>(bank), static_cast<int>(channel)));
        return;
    }
    if (code == "MW") {
        if (f == 2)
            return refuse(out);
        long long half, bank = 0, channel, hz, mode, lockout, tone, toneNo;
        MemoryHalf m;
        if (f == 1) {
            // MW s ' ' cc fffffffffff m l t nn ' '
            if (args.size() < 20 || args.size() > 21 || args[1] != ' ' || !digitsAt(args, 0, 1, half) ||
                !digitsAt(args, 2, 2, channel) || !digitsAt(args, 4, 11, hz) ||
                !digitsAt(args, 15, 1, mode) || !digitsAt(args, 16, 1, lockout) ||
                !digitsAt(args, 17, 1, tone) || !digitsAt(args, 18, 2, toneNo) ||
                (args.size() == 21 && args[20] != ' '))
                return refuse(out);
            if (half > 1 || lockout > 1 || tone > 1 || !in(toneNo, 1, 39))
                return refuse(out);
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
                return refuse(out);
            const std::string name = args.substr(39);
            if (half > 1 || lockout > 1 || tone > 3 || toneNo > 39 || ctcss > 38 || dcs > 103 ||
                !printable(name))
                return refuse(out);
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
            return refuse(out);
        // 0 clears the channel; any other frequency must lie in a band.
        if (hz != 0 && !receivable(options_.typeCode, hz))
            return refuse(out);
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
            return refuse(out);
        if (code == "SV") {
            const MemoryHalf* m = currentMemory();
            if (!m)
                return refuse(out);
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
            changed(out, "FR");
            return changed(out, "IF");
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
            return refuse(out);
        if (read)
            return answer(out, "QR");
        if (!onlyDigits(args, 2, a) || a / 10 > 1)
            return refuse(out);
        s_.quickOn = static_cast<int>(a / 10);
        s_.quickChannel = static_cast<int>(a % 10);
        if (s_.quickOn && s_.quick[static_cast<std::size_t>(s_.quickChannel)].frequency != 0) {
            const MemoryHalf& q = s_.quick[static_cast<std::size_t>(s_.quickChannel)];
            vfoRef(s_.rxVfo == 1 ? 1 : 0) = q.frequency;
            modeRef(s_.rxVfo == 1 ? 1 : 0) = q.mode;
        }
        changed(out, "QR");
        return changed(out, "IF");
    }
    if (code == "PI" || code == "PM") {
        if (f != 3)
            return refuse(out);
        if (code == "PM" && read)
            return answer(out, "PM");
        if (!onlyDigits(args, 1, a) || a > 5)
            return refuse(out);
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
            changed(out, "IF");
        }
        return changed(out, "PM");
    }

    refuse(out);
}

}  // namespace qxsim::detail
