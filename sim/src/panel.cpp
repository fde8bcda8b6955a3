// SPDX-License-Identifier: GPL-3.0-or-later
// What the front panel does, and the radio's own time: scans and the keyer.
#include "engine.h"
#include "engine_util.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace qxsim::detail {

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
    // The control band goes to `vfo` (2 the memories, 3 the call channel),
    // or back to VFO A when it is there already.
    const auto switchVfo = [&](int vfo) {
        if (s_.controlBand == 1)
            s_.subVfo = s_.subVfo == vfo ? 0 : vfo;
        else
            s_.rxVfo = s_.txVfo = s_.rxVfo == vfo ? 0 : vfo;
        report("FR", out);
        report("FT", out);
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
        switchVfo(2);
        report("MC", out);
        report("IF", out);
        break;
    case Key::Call:
        switchVfo(3);
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
