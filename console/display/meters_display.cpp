// SPDX-License-Identifier: GPL-3.0-or-later
// meters_display.cpp - the meters: the signal bars of both bands (SM), the
// second meter (RM) and the scales and names printed beside them.
#include "console_display.h"
#include "display_controls.h"

#include "../console_controls.h"
#include "../console_ids.h"
#include "../pictures.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

#include <QIcon>

#include <algorithm>

using namespace display_controls;

namespace {

constexpr int kTopLevel = 30;   // the highest level a bar is given
constexpr int kSplitLevel = 15; // the first part of a bar ends here
constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kPercentBand = 14;

// The two parts of a band's signal bar.
struct Bar {
    CStaticMeterEx* first;
    CStaticMeterEx* over;
};

Bar BarOf(const ConsoleControls& controls, bool sub) {
    return {controls.meter(sub ? idc::SubMeter : idc::MainMeter),
            controls.meter(sub ? idc::SubMeterOver : idc::MainMeterOver)};
}

// What the part above the split shows for level `level`.
int OverPart(int level) { return level > kSplitLevel ? level - (kSplitLevel - 1) : 0; }

struct Scale {
    const char* scale;
    const char* name;
};

// The second meter by its kind: SWR, COMP, ALC, the filter width.
Scale SecondScale(int kind) {
    switch (kind) {
    case 1: return {"     1.5     2    3", "SWR"};
    case 2: return {"          10                  20dB", "COMP"};
    case 3: return {"----   ----   ----", "ALC"};
    case 4: return {"        ------ FILTER -----", ""};
    default: return {"", ""};
    }
}

} // namespace

void ConsoleDisplay::ShowMeterScale(int meter, int value, std::int64_t frequency) {
    if (meter == 1) {
        if (CStaticMeterEx* second = controls.meter(idc::SecondMeter))
            second->ResetMeter();
        const Scale s = SecondScale(value);
        SetText(controls, idc::SecondScale, QString::fromLatin1(s.scale));
        SetText(controls, idc::SecondMeterName, QString::fromLatin1(s.name));
        // The picture beside it: the standing wave for SWR, the needle else.
        if (CStaticEx* icon = controls.label(idc::SecondMeterIcon))
            icon->LoadIcon(QIcon(DrawMeterIcon(value == 1)));
        return;
    }
    if ((meter != 0 && meter != 2) || (value != 0 && value != 1))
        return;
    const bool sub = meter == 2;
    const int scaleId = sub ? idc::SubScale : idc::MainScale;
    const int nameId = sub ? idc::SubMeterName : idc::MainMeterName;
    CStaticMeterEx* over = BarOf(controls, sub).over;
    if (value == 0) {
        SetText(controls, scaleId,
                state.radioIdentification == 19
                    ? QStringLiteral("--1--3--5--7--9---20---40---60dB")
                    : QStringLiteral("--1---3---5---7---9--20--40-60dB"));
        SetText(controls, nameId, QStringLiteral("S"));
        if (over)
            over->SetForeColor(kRed);
        return;
    }
    // Transmit: power in per cent on the version that reads so and on the
    // 1.2 GHz band, in watts elsewhere.
    bool percent = link.GetType() == 11;
    if (!percent) {
        const std::uint32_t selector =
            state.satelliteMode ? 0u : static_cast<std::uint32_t>(state.transmitBand == 1 ? 1 : 0);
        const std::int64_t f =
            frequency >= 0 ? frequency
                           : (state.transmitBand == 1 ? state.subFrequency : state.mainFrequency);
        percent = link.GetRcvBand(selector, f) == kPercentBand;
    }
    SetText(controls, scaleId,
            percent ? QStringLiteral("----10----25----50-------100%")
                    : QStringLiteral("----10----25----50-------100W"));
    SetText(controls, nameId, QStringLiteral("PWR"));
    if (over)
        over->SetForeColor(kBlack);
}

void ConsoleDisplay::OnSM(int meter, int value) {
    if (!state.consoleReady)
        return;
    const int level = std::clamp(value, 0, kTopLevel);
    const bool sub = meter == 1 || meter == 3;
    // The sub bar belongs to the sub receiver, or to the second VFO in
    // satellite mode.
    if (sub && !state.subReceiver && !state.satelliteMode)
        return;
    const Bar bar = BarOf(controls, sub);
    if (!bar.first || !bar.over)
        return;
    switch (meter) {
    case 0:
    case 1:
        bar.first->ViewMeter(level);
        bar.over->ViewMeter(OverPart(level));
        break;
    case 2:
    case 3:
        bar.first->ViewSMeterSql(state.meterSquelch, std::min(level, kSplitLevel));
        bar.over->ViewSMeterSql(state.meterSquelch, OverPart(level));
        break;
    default:
        break;
    }
}

void ConsoleDisplay::OnRM(int selector, int value) {
    if (selector < 0 || selector > 9 || value < 0 || value > kTopLevel)
        return;
    CStaticMeterEx* second = controls.meter(idc::SecondMeter);
    if (selector != state.secondMeterKind) {
        state.secondMeterKind = selector;
        ShowMeterScale(1, selector);
        // The new scale starts on an empty bar: draw the level again.
        state.secondMeterLevel = -1;
    }
    if (value != state.secondMeterLevel) {
        state.secondMeterLevel = value;
        if (second)
            second->ViewMeter(value);
    }
}
