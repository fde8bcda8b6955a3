// SPDX-License-Identifier: GPL-3.0-or-later
// console_dialog_test.cpp - the started console: its controls, captions,
// colours, fonts, pictures and level ranges.
#include "console_dialog.h"
#include "console_ids.h"
#include "console_menu.h"
#include "console_test_support.h"
#include "splash_window.h"

#include <corvan.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class Console : public TestConsole {};

// ------------------------------------------------------------- controls

TEST_F(Console, BuildsEveryTemplateControlAtItsRectangleWithItsClass) {
    EXPECT_EQ(controls().size(), 252);
    for (const ControlRow& entry : ConsoleTemplate()) {
        QWidget* w = controls().widget(entry.id);
        ASSERT_NE(w, nullptr) << entry.id;
        EXPECT_EQ(w->parentWidget(), console->client()) << entry.id;
        EXPECT_EQ(w->geometry(), entry.rect.toRect()) << entry.id;
        bool classMatches = false;
        switch (entry.kind) {
        case ControlKind::Static: classMatches = controls().label(entry.id) != nullptr; break;
        case ControlKind::Button: classMatches = controls().button(entry.id) != nullptr; break;
        case ControlKind::CButton: classMatches = controls().cbutton(entry.id) != nullptr; break;
        case ControlKind::Frame: classMatches = controls().frame(entry.id) != nullptr; break;
        case ControlKind::Meter: classMatches = controls().meter(entry.id) != nullptr; break;
        case ControlKind::Lamp: classMatches = controls().lamp(entry.id) != nullptr; break;
        case ControlKind::Edit: classMatches = controls().edit(entry.id) != nullptr; break;
        case ControlKind::ScrollBar: classMatches = controls().scrollBar(entry.id) != nullptr; break;
        case ControlKind::ComboBox: classMatches = controls().comboBox(entry.id) != nullptr; break;
        }
        EXPECT_TRUE(classMatches) << entry.id;
        // The control keeps its rectangle for the hit tests.
        if (auto* kestrin = dynamic_cast<CKestrinControl*>(w)) {
            const KestrinRect r = kestrin->controlRect();
            EXPECT_EQ(QRect(r.left, r.top, r.width, r.height), entry.rect.toRect()) << entry.id;
            EXPECT_EQ(kestrin->controlId(), entry.id);
        }
    }
}

TEST_F(Console, FrontPanelCaptionsMatchTheTemplate) {
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (entry.kind == ControlKind::Button || entry.kind == ControlKind::CButton ||
            entry.kind == ControlKind::Frame) {
            EXPECT_EQ(controls().caption(entry.id), QString::fromLatin1(entry.caption)) << entry.id;
        }
    }
}

TEST_F(Console, EveryControlLiesInsideTheClientArea) {
    const QRect client(QPoint(0, 0), console->client()->size());
    for (const ControlRow& entry : ConsoleTemplate()) {
        EXPECT_TRUE(client.contains(entry.rect.toRect())) << entry.id;
    }
}

bool IsFrequencyDigit(int id) {
    return (id >= idc::MainDigit0 && id <= idc::MainChSep) || (id >= idc::SubDigit0 && id <= idc::SubChSep);
}

// A caption is legible when it fits its control in the control's font. The
// frequency digits stand edge to edge in their fixed rectangles, as on the
// radio: the slant of their italic face may overhang by two pixels a side.
int AvailableWidth(const ControlRow& entry) {
    if (IsFrequencyDigit(entry.id)) {
        return entry.rect.width + 4;
    }
    switch (entry.kind) {
    case ControlKind::Frame: return entry.rect.width - 18; // caption inset of the frame
    case ControlKind::Button:
    case ControlKind::CButton: return entry.rect.width - 10; // bevel and two pixels of air a side
    default: return entry.rect.width - 2;
    }
}

// Labels by their ink (digits sit edge to edge like the radio's own
// display); buttons and frames by the room their text takes when drawn.
int CaptionWidth(const ControlRow& entry, const QFontMetrics& metrics, const QString& caption) {
    return entry.kind == ControlKind::Static ? metrics.tightBoundingRect(caption).width()
                                             : metrics.size(Qt::TextShowMnemonic, caption).width();
}

TEST_F(Console, EveryTemplateCaptionFitsItsControl) {
    auto shown = MakeTestConsole(/*keepTemplateTexts=*/true);
    for (const ControlRow& entry : ConsoleTemplate()) {
        const QString caption = QString::fromLatin1(entry.caption);
        if (caption.trimmed().isEmpty() || entry.kind == ControlKind::Meter) {
            continue;
        }
        QWidget* w = shown->controls().widget(entry.id);
        QFont font = w->font();
        if (auto* b = qobject_cast<QAbstractButton*>(w); b != nullptr && !b->icon().isNull()) {
            continue; // shown as a picture
        }
        const QFontMetrics metrics(font);
        const int width = CaptionWidth(entry, metrics, caption);
        EXPECT_LE(width, AvailableWidth(entry)) << "caption \"" << entry.caption << "\" of " << entry.id
                                               << " is cut off";
        if (entry.kind == ControlKind::Static || entry.kind == ControlKind::Frame) {
            EXPECT_LE(metrics.capHeight(), entry.rect.height) << entry.caption;
        }
    }
}

struct AlternateCaption {
    int id;
    const char* caption;
};

void PrintTo(const AlternateCaption& row, std::ostream* out) { *out << row.id << " \"" << row.caption << '"'; }

class SecondCaptions : public ::testing::TestWithParam<AlternateCaption> {};

// The captions the buttons take in FUNC mode, in entry mode and in the ZUL
// command state, and the longest texts of the status words, fit too.
TEST_P(SecondCaptions, FitTheirControl) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    const ControlRow* entry = FindControlRow(GetParam().id);
    QWidget* w = console->controls().widget(GetParam().id);
    const QFontMetrics metrics(w->font());
    EXPECT_LE(CaptionWidth(*entry, metrics, QString::fromLatin1(GetParam().caption)), AvailableWidth(*entry))
        << GetParam().caption;
}

INSTANTIATE_TEST_SUITE_P(
    Console, SecondCaptions,
    ::testing::Values(AlternateCaption{idc::AttButton, "F.LK"}, AlternateCaption{idc::PreButton, "A.LK"},
                      AlternateCaption{idc::LsbUsb, "AUTO"}, AlternateCaption{idc::CwFsk, "REV"},
                      AlternateCaption{idc::FmAm, "NAR"}, AlternateCaption{idc::Call, "C.IN"},
                      AlternateCaption{idc::VfoMemory, "MG.SEL"}, AlternateCaption{idc::Scan, "SG.SEL"},
                      AlternateCaption{idc::Disp, "CW TN"}, AlternateCaption{idc::TfSetButton, "ALT"},
                      AlternateCaption{idc::Ch1, "REC 1"}, AlternateCaption{idc::Ch2, "REC 2"},
                      AlternateCaption{idc::Ch3, "REC 3"}, AlternateCaption{idc::Shift, "OFF"},
                      AlternateCaption{idc::MainSub, "HF M."}, AlternateCaption{idc::CtrlButton, "SYNC"},
                      AlternateCaption{idc::Pm, "PM 5"}, AlternateCaption{idc::FLock, "A.LOCK"},
                      AlternateCaption{idc::MainTone, "CTCSS"}, AlternateCaption{idc::SubTone, "CTCSS"},
                      AlternateCaption{idc::MainNr, "N.R. 2"}, AlternateCaption{idc::SubNr, "N.R. 2"},
                      AlternateCaption{idc::Mbc, "M.B.C."}, AlternateCaption{idc::MainReverse, "[R]"},
                      AlternateCaption{idc::SubReverse, "[R]"}, AlternateCaption{idc::Agc, "FAST"},
                      AlternateCaption{idc::Dcd, "9.6k"}, AlternateCaption{idc::MainMode, " FSK-R Group 9"},
                      AlternateCaption{idc::SubMode, " FM NAR Group 9"},
                      AlternateCaption{idc::ZulLine, " REPEATER : LOCKED "},
                      AlternateCaption{idc::ZulLine, " ZUL : COMMAND  HF OFF "},
                      AlternateCaption{idc::MainScale, "----10----25----50-------100W"},
                      AlternateCaption{idc::SecondScale, "          10                  20dB"},
                      AlternateCaption{idc::SecondScale, "        ------ FILTER -----"},
                      AlternateCaption{idc::SubScale, "--1---3---5---7---9--20--40-60dB"},
                      AlternateCaption{idc::SecondMeterName, "COMP"}, AlternateCaption{idc::MainMeterName, "PWR"}));

struct RangeRow {
    int id;
    int minimum;
    int maximum;
};

void PrintTo(const RangeRow& row, std::ostream* out) { *out << row.id << ": " << row.minimum << ".." << row.maximum; }

class ScrollRanges : public ::testing::TestWithParam<RangeRow> {};

TEST_P(ScrollRanges, AreSetAtStart) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    const QScrollBar* bar = console->controls().scrollBar(GetParam().id);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), GetParam().minimum);
    EXPECT_EQ(bar->maximum(), GetParam().maximum);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
}

INSTANTIATE_TEST_SUITE_P(Console, ScrollRanges,
                         ::testing::Values(RangeRow{idc::BcPointBar, 0, 63}, RangeRow{idc::RitBar, -20000, 20000},
                                           RangeRow{idc::RfGainBar, 0, 255}, RangeRow{idc::AfMainBar, 0, 255},
                                           RangeRow{idc::SqlMainBar, 0, 255}, RangeRow{idc::AfSubBar, 0, 255},
                                           RangeRow{idc::SqlSubBar, 0, 255}, RangeRow{idc::ScanSpeedBar, 1, 9}));

TEST_F(Console, HidesTheRitOffsetBarAndTheFirstTwoLamps) {
    EXPECT_TRUE(controls().scrollBar(idc::RitBar)->isHidden());
    EXPECT_TRUE(controls().lamp(idc::ConnectLamp)->isHidden());
    EXPECT_TRUE(controls().lamp(idc::AuxLamp)->isHidden());
    EXPECT_FALSE(controls().lamp(idc::MemoryLamp)->isHidden());
    for (const int id : {idc::ConnectLamp, idc::AuxLamp, idc::MemoryLamp}) {
        EXPECT_FALSE(controls().lamp(id)->isOn()) << id;
    }
}

TEST_F(Console, StartsWithAnEmptyDarkDisplay) {
    EXPECT_EQ(controls().label(idc::DisplayBack)->backColor(), 0x000000u);
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (!IsDisplayControl(entry)) {
            continue;
        }
        EXPECT_TRUE(controls().widget(entry.id)->isHidden()) << entry.id;
        if (CStaticEx* label = controls().label(entry.id)) {
            EXPECT_TRUE(label->text().isEmpty()) << entry.id;
        }
    }
    // Outside the display the captions stay.
    EXPECT_EQ(controls().label(idc::RfGainCaption)->text(), QStringLiteral("RF GAIN"));
    EXPECT_EQ(controls().label(idc::StepUnit)->text(), QStringLiteral("kHz"));
}

TEST_F(Console, LightingTheDisplayUsesTheDisplayColour) {
    console->ShowLiveDisplay(true);
    EXPECT_EQ(controls().label(idc::DisplayBack)->backColor(), ConsoleDialog::kDisplayColour);
    EXPECT_FALSE(controls().label(idc::MainDigit0)->isHidden());
    EXPECT_EQ(controls().label(idc::MainDigit0)->backColor(), ConsoleDialog::kDisplayColour);
    console->ShowLiveDisplay(false);
    EXPECT_TRUE(controls().label(idc::MainDigit0)->isHidden());
}

// What a person sees: the two text lines of the lit display are drawn in the
// display colour, not as white boxes.
TEST_F(Console, TheLitDisplayDrawsItsTextLinesInTheDisplayColour) {
    console->ShowLiveDisplay(true);
    const QImage image = console->grab().toImage();
    for (const int id : {idc::MainText, idc::SubText}) {
        QWidget* edit = controls().widget(id);
        ASSERT_NE(edit, nullptr);
        ASSERT_FALSE(edit->isHidden());
        const QPoint centre = edit->mapTo(console.get(), edit->rect().center());
        EXPECT_EQ(image.pixelColor(centre).name(), KestrinColor(ConsoleDialog::kDisplayColour).name()) << id;
    }
}

// ---------------------------------------------------------- look

struct ColourRow {
    int id;
    COLORREF fore;
    COLORREF back; // 1: the display colour, 2: the face colour
};

TEST_F(Console, AppliesTheColoursOfTheDisplayAndThePanel) {
    const COLORREF display = ConsoleDialog::kDisplayColour;
    const COLORREF face = console->faceColour();
    const COLORREF text = console->textColour();
    const ColourRow rows[] = {
        {idc::MainBusy, 0xFFFFFF, display},  {idc::MainPtt, 0xFFFFFF, display}, {idc::SubPtt, 0xFFFFFF, display},
        {idc::TunerRx, 0xFFFFFF, display},   {idc::TunerTx, 0xFFFFFF, display}, {idc::Ext, 0xFFFFFF, display},
        {idc::MainReverse, 0xFFFFFF, display}, {idc::SubReverse, 0xFFFFFF, display},
        {idc::SubBusy, 0xFFFFFF, display},   {idc::TxEq, 0xFFFFFF, display},   {idc::AntNumber, 0xFFFFFF, 0},
        {idc::Dcd, 0x00FF00, display},       {idc::Sta, 0x00FF00, display},    {idc::Con, 0x00FF00, display},
        {idc::MainChPrefix, 0, display},     {idc::SubChPrefix, 0, display},   {idc::VoxLamp, text, 0},
        {idc::ProcLamp, text, 0},            {idc::MainDigit0, text, display}, {idc::ZulLine, text, display},
        {idc::RfGainCaption, text, face},    {idc::StepUnit, text, face},
    };
    for (const ColourRow& row : rows) {
        EXPECT_EQ(controls().label(row.id)->foreColor(), row.fore) << row.id;
        EXPECT_EQ(controls().label(row.id)->backColor(), row.back) << row.id;
    }
    EXPECT_EQ(controls().button(idc::Send)->backColor(), face);
    EXPECT_EQ(controls().cbutton(idc::LsbUsb)->backColor(), face);
    EXPECT_EQ(controls().frame(idc::FrameMode)->foreColor(), text);
}

TEST_F(Console, MetersHaveTheirPeakHoldAndRedSecondBars) {
    // The second part of each signal bar and nothing else draws red.
    std::set<int> red;
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SecondMeter, idc::SubMeter, idc::SubMeterOver}) {
        QImage image(controls().meter(id)->size(), QImage::Format_RGB32);
        CStaticMeterEx* meter = controls().meter(id);
        meter->ViewMeter(30);
        meter->render(&image);
        int redPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                redPixels += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
            }
        }
        if (redPixels * 4 > image.width() * image.height()) {
            red.insert(id);
        }
        meter->ResetMeter();
    }
    EXPECT_EQ(red, (std::set<int>{idc::MainMeterOver, idc::SubMeterOver}));
}

struct FontRow {
    int id;
    const char* family; // null: not checked
    int pixels;         // 0: not checked
    bool bold;
    bool italic;
};

TEST_F(Console, AppliesTheFontsOfTheDisplay) {
    const FontRow rows[] = {
        {idc::MainDigit0 + 5, "Arial", 41, true, true}, {idc::MainSep0 + 1, "Arial", 41, true, true},
        {idc::MainChDigit0, "Arial", 27, true, true},   {idc::MainChSep, "Arial", 27, true, true},
        {idc::MainMch, nullptr, 18, false, true},       {idc::SubDigit0 + 3, "Arial", 38, true, true},
        {idc::SubChDigit0 + 2, "Arial", 28, true, true}, {idc::SubChSep, "Arial", 24, true, true},
        {idc::SubMch, nullptr, 16, false, true},        {idc::MainStar, "Arial", 26, true, false},
        {idc::SubShift, "Arial", 17, true, false},      {idc::RitPlus, "Arial", 17, true, false},
        {idc::AntNumber, "Arial", 0, true, false},      {idc::MainMode, nullptr, 17, true, false},
        {idc::ZulLine, nullptr, 17, true, false},       {idc::Trans, nullptr, 15, true, false},
        {idc::VfoMark0 + 2, nullptr, 16, true, false},  {idc::RfGainCaption, nullptr, 14, false, false},
        {idc::StepUnit, nullptr, 14, false, false},     {idc::Agc, nullptr, 13, true, false},
        {idc::MainScale, nullptr, 13, true, false},
    };
    for (const FontRow& row : rows) {
        const QFont font = controls().label(row.id)->font();
        if (row.family != nullptr) {
            EXPECT_EQ(font.family(), QString::fromLatin1(row.family)) << row.id;
        }
        if (row.pixels != 0) {
            EXPECT_EQ(font.pixelSize(), row.pixels) << row.id;
        }
        EXPECT_EQ(font.bold(), row.bold) << row.id;
        EXPECT_EQ(font.italic(), row.italic) << row.id;
    }
    // The dialog font: "Times New Roman" 13 pixels, regular, on every plain control.
    const QFont dialog = console->font();
    EXPECT_EQ(dialog.family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(dialog.pixelSize(), 13);
    // ... and it resolves to the serif face, not to a monospaced stand-in.
    EXPECT_EQ(QFontInfo(dialog).family(), QFontInfo(QFont(QStringLiteral("Times New Roman"))).family());
    EXPECT_FALSE(dialog.bold());
    EXPECT_EQ(controls().comboBox(idc::StepList)->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(controls().edit(idc::MainText)->font().pixelSize(), 17);
    EXPECT_TRUE(controls().edit(idc::SubText)->font().bold());
}

TEST_F(Console, PowerAndControlButtonsShowTheirPictures) {
    CButtonEx* power = controls().button(idc::Power);
    CButtonEx* control = controls().button(idc::Control);
    EXPECT_FALSE(power->icon().isNull());
    EXPECT_EQ(power->iconSize(), kPowerImageSize);
    EXPECT_EQ(control->iconSize(), kControlImageSize);
    // Radio off and link disconnected at start.
    EXPECT_EQ(power->icon().pixmap(kPowerImageSize).toImage(), console->pictures().power[0].toImage());
    EXPECT_EQ(control->icon().pixmap(kControlImageSize).toImage(), console->pictures().control[1].toImage());
    EXPECT_EQ(power->text(), QStringLiteral("POWER"));
}

TEST_F(Console, StepListHoldsTheSidebandStepsWithoutSelection) {
    QComboBox* list = controls().comboBox(idc::StepList);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(0), QStringLiteral("    1.00 "));
    EXPECT_EQ(list->itemText(3), QStringLiteral("   10.00 "));
    EXPECT_EQ(list->currentIndex(), -1);
}

} // namespace
