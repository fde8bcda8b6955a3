// SPDX-License-Identifier: GPL-3.0-or-later
// meters_display.cpp - the meters: the signal bars of both bands (SM), the
// second meter (RM) and the scales and names printed beside them.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"
#include "pictures.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QIcon>

#include <algorithm>
#include <cmath>
#include <optional>

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

// A meter's name in the main name's face, narrowed (smaller, then condensed)
// where its label is too narrow for it: the sub meter has a letter's room
// beside its bar, and "PWR" on transmit must fit there too.
void ShowMeterName(const ConsoleControls& controls, int id, const QString& name) {
    CStaticEx* label = controls.label(id);
    const CStaticEx* model = controls.label(idc::MainMeterName);
    if (label != nullptr && model != nullptr && label != model) {
        constexpr int kSmallestPixels = 9;
        constexpr int kNarrowestStretch = 62;
        QFont font = model->font();
        const qreal room = label->width() - 2; // a pixel of air a side
        int stretch = QFont::Unstretched;
        while (QFontMetricsF(font).tightBoundingRect(name).width() > room) {
            if (QFontInfo(font).pixelSize() > kSmallestPixels + 1) {
                font.setPixelSize(QFontInfo(font).pixelSize() - 1);
            } else if (stretch > kNarrowestStretch) {
                stretch -= 4;
                font.setStretch(stretch);
            } else if (QFontInfo(font).pixelSize() > kSmallestPixels) {
                font.setPixelSize(kSmallestPixels);
            } else {
                break;
            }
        }
        label->setFont(font);
    }
    SetText(controls, id, name);
}

Bar BarOf(const ConsoleControls& controls, bool sub) {
    return {controls.meter(sub ? idc::SubMeter : idc::MainMeter),
            controls.meter(sub ? idc::SubMeterOver : idc::MainMeterOver)};
}

// What the part above the split shows for level `level`: one segment a
// level, so S9 (15) lights none of it and S9+60 dB (30) all of it.
int OverPart(int level) { return level > kSplitLevel ? level - kSplitLevel : 0; }

// ---- bars laid along their printed scales
//
// A scale is text on a label (left aligned, one pixel in); its marks stand
// where the font puts them. Each bar is laid from the scale's first
// character to its marks: a signal bar's first part ends under the centre
// of "9" (level 15) and its second part under the centre of "60" (level 30);
// a power bar's parts under "50" and "100"; the second meter's bar under
// its last mark (SWR "3", COMP "20") or the end of its dashes (ALC, FILTER).

constexpr int kBarSegments = 30;

// The x of a place in a scale's text, in the coordinates of the label's
// parent; `chars` characters from its start plus `fraction` of the next
// `width` characters.
double ScaleX(const CStaticEx& label, int chars, int width = 0, double fraction = 0.0) {
    const QString text = label.text();
    const QFontMetricsF metrics(label.font());
    const double before = metrics.horizontalAdvance(text.left(chars));
    const double token = metrics.horizontalAdvance(text.mid(chars, width));
    return label.x() + 1.0 + before + fraction * token;
}

// The centre of the last occurrence of `mark` in the label's text (the
// first occurrence with `first`); nullopt when the text has none.
std::optional<double> MarkCentre(const CStaticEx& label, const QString& mark, bool first = false) {
    const QString text = label.text();
    const int at = first ? text.indexOf(mark) : text.lastIndexOf(mark);
    if (at < 0)
        return std::nullopt;
    return ScaleX(label, static_cast<int>(at), static_cast<int>(mark.size()), 0.5);
}

// The right edge of the text's last character other than a blank.
std::optional<double> TextEnd(const CStaticEx& label) {
    const QString text = label.text();
    int end = static_cast<int>(text.size());
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    if (end == 0)
        return std::nullopt;
    return ScaleX(label, end);
}

int Pixel(double x) { return static_cast<int>(std::lround(x)); }

// Lays `bar` from the scale's first character to `end`, keeping its height
// and vertical place; the right edge stays within the label.
void LayAlong(const CStaticEx& label, CStaticMeterEx& bar, double from, double end) {
    const int left = Pixel(from);
    const int right = std::min(Pixel(end), label.x() + label.width());
    if (right - left < 2)
        return;
    bar.setGeometry(left, bar.y(), right - left, bar.height());
}

// A band's bar (both parts) along its signal or power scale.
void LayBandBar(const CStaticEx* label, const Bar& bar, bool transmit) {
    if (label == nullptr || bar.first == nullptr || bar.over == nullptr)
        return;
    bar.first->SetMaxValue(kSplitLevel);
    bar.over->SetMaxValue(kTopLevel - kSplitLevel);
    const auto split = MarkCentre(*label, transmit ? QStringLiteral("50") : QStringLiteral("9"), true);
    const auto end = MarkCentre(*label, transmit ? QStringLiteral("100") : QStringLiteral("60"));
    if (!split || !end || *end <= *split)
        return;
    const double start = ScaleX(*label, 0);
    LayAlong(*label, *bar.first, start, *split);
    LayAlong(*label, *bar.over, *split, *end);
}

// The second meter's bar along the scale of its kind.
void LaySecondBar(const CStaticEx* label, CStaticMeterEx* bar, int kind) {
    if (label == nullptr || bar == nullptr)
        return;
    bar->SetMaxValue(kBarSegments);
    std::optional<double> end;
    switch (kind) {
    case 1: end = MarkCentre(*label, QStringLiteral("3")); break;
    case 2: end = MarkCentre(*label, QStringLiteral("20")); break;
    case 3:
    case 4: end = TextEnd(*label); break;
    default: break;
    }
    if (!end)
        return;
    // The scale's text starts after its blanks; the bar starts with the
    // scale's label, where the meter starts.
    LayAlong(*label, *bar, ScaleX(*label, 0), *end);
}

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
        LaySecondBar(controls.label(idc::SecondScale), controls.meter(idc::SecondMeter), value);
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
        ShowMeterName(controls, nameId, QStringLiteral("S"));
        if (over)
            over->SetForeColor(kRed);
        LayBandBar(controls.label(scaleId), BarOf(controls, sub), false);
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
    ShowMeterName(controls, nameId, QStringLiteral("PWR"));
    if (over)
        over->SetForeColor(kBlack);
    LayBandBar(controls.label(scaleId), BarOf(controls, sub), true);
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
        bar.first->ViewMeter(std::min(level, kSplitLevel));
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
