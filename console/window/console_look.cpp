// SPDX-License-Identifier: GPL-3.0-or-later
// console_look.cpp - fonts, colours, pictures and level ranges of the
// console, applied once at start.
#include "console_dialog.h"

#include "console_ids.h"

#include <QAbstractButton>
#include <QPalette>

#include <initializer_list>

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGreen = 0x00FF00; // RGB(0,255,0)
constexpr COLORREF kRed = 0x0000FF;   // RGB(255,0,0)

struct Range {
    int id;
    int minimum;
    int maximum;
    int page; // a page step: five on the levels, one on the scan speed
};

constexpr Range kRanges[] = {
    {idc::BcPointBar, 0, 63, 5},
    {idc::RitBar, -20000, 20000, 16}, // its working value steps by itself
    {idc::RfGainBar, 0, 255, 5},
    {idc::AfMainBar, 0, 255, 5},
    {idc::SqlMainBar, 0, 255, 5},
    {idc::AfSubBar, 0, 255, 5},
    {idc::SqlSubBar, 0, 255, 5},
    {idc::ScanSpeedBar, 1, 9, 1},
};

std::vector<int> idRange(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) {
        ids.push_back(id);
    }
    return ids;
}

} // namespace

// True for the controls that sit inside the display area.
bool IsDisplayControl(const ControlRow& entry) {
    const ControlRow* back = FindControlRow(idc::DisplayBack);
    return entry.id != idc::DisplayBack && back != nullptr &&
           back->rect.toRect().contains(entry.rect.toRect());
}

void ConsoleDialog::SetScrollRanges() {
    for (const Range& range : kRanges) {
        if (QScrollBar* bar = m_controls.scrollBar(range.id)) {
            bar->setRange(range.minimum, range.maximum);
            bar->setSingleStep(1);
            bar->setPageStep(range.page);
            bar->update();
        }
    }
}

void ConsoleDialog::ApplyColours() {
    const QPalette system = palette();
    m_textColour = KestrinRef(system.color(QPalette::WindowText));
    m_faceColour = KestrinRef(system.color(QPalette::Button));

    // The console's own background: a solid face colour.
    QPalette face = m_client->palette();
    face.setColor(QPalette::Window, KestrinColor(m_faceColour));
    m_client->setPalette(face);
    m_client->setAutoFillBackground(true);

    for (const ControlRow& entry : ConsoleTemplate()) {
        QWidget* w = m_controls.widget(entry.id);
        const bool inDisplay = IsDisplayControl(entry);
        if (auto* label = qobject_cast<CStaticEx*>(w)) {
            label->SetForeColor(m_textColour);
            label->SetBackColor(inDisplay ? kDisplayColour : m_faceColour);
        } else if (auto* meter = qobject_cast<CStaticMeterEx*>(w)) {
            meter->SetBackColor(kDisplayColour);
        } else if (auto* edit = qobject_cast<CEditEx*>(w)) {
            edit->SetBackColor(kDisplayColour);
        } else if (auto* frame = qobject_cast<CStaticFrameEx*>(w)) {
            frame->SetForeColor(m_textColour);
            frame->SetBackColor(m_faceColour);
        } else if (auto* button = qobject_cast<CButtonEx*>(w)) {
            button->SetForeColor(m_textColour);
            button->SetBackColor(m_faceColour);
        } else if (auto* cbutton = qobject_cast<CCButtonEx*>(w)) {
            cbutton->SetBackColor(m_faceColour);
        } else if (auto* lamp = qobject_cast<CStaticLEDEx*>(w)) {
            lamp->SetOnColor(kGreen);
            lamp->SetOffColor(kBlack);
            lamp->SetTimerCount(0);
            lamp->SetLEDON(0);
        }
    }

    // The large label behind the display starts black; it takes the display
    // colour when the radio reports power on.
    m_controls.label(idc::DisplayBack)->SetBackColor(kBlack);

    // White text on the indicators that light on black. The receive
    // equaliser's "R" lights on black like the "T" beside it, so it is
    // white too.
    for (const int id : {idc::MainBusy, idc::MainPtt, idc::SubPtt, idc::TunerRx, idc::TunerTx, idc::Ext,
                         idc::AntNumber, idc::MainReverse, idc::SubReverse, idc::SubBusy, idc::TxEq,
                         idc::RxEq}) {
        m_controls.label(id)->SetForeColor(kWhite);
    }
    for (const int id : {idc::AntNumber, idc::VoxLamp, idc::ProcLamp}) {
        m_controls.label(id)->SetBackColor(kBlack);
    }
    for (const int id : {idc::Dcd, idc::Sta, idc::Con}) {
        m_controls.label(id)->SetForeColor(kGreen);
    }
    for (const int id : {idc::MainChPrefix, idc::SubChPrefix}) {
        m_controls.label(id)->SetForeColor(kBlack);
    }
    // The second bar of each meter pair draws red.
    m_controls.meter(idc::MainMeterOver)->SetForeColor(kRed);
    m_controls.meter(idc::SubMeterOver)->SetForeColor(kRed);
}

void ConsoleDialog::ApplyFonts() {
    struct LabelFont {
        std::vector<int> ids;
        const char* face; // null: the control library's own face
        unsigned size;    // 0: the control library's own size
        bool bold;
        bool italic;
    };
    std::vector<int> mainDigits = idRange(idc::MainDigit0, idc::MainSep3);
    std::vector<int> mainChannel = idRange(idc::MainChDigit0, idc::MainChSep);
    std::vector<int> subDigits = idRange(idc::SubDigit0, idc::SubSep3);
    std::vector<int> subChannel = idRange(idc::SubChDigit0, idc::SubChDigit2);
    const std::vector<int> vfoArrows = {idc::VfoMark0 + 0, idc::VfoMark0 + 2, idc::VfoMark0 + 3,
                                        idc::VfoMark0 + 5, idc::VfoMark0 + 6, idc::VfoMark0 + 8};
    const std::vector<LabelFont> fonts = {
        {mainDigits, "Arial", 41, true, true},
        {mainChannel, "Arial", 27, true, true},
        {{idc::MainMch}, nullptr, 18, false, true},
        {subDigits, "Arial", 38, true, true},
        {subChannel, "Arial", 28, true, true},
        {{idc::SubChSep}, "Arial", 24, true, true},
        {{idc::SubMch}, nullptr, 16, false, true},
        {{idc::MainStar, idc::SubStar}, "Arial", 26, true, false},
        {{idc::MainShift, idc::SubShift, idc::RitMinus, idc::RitPlus}, "Arial", 17, true, false},
        {{idc::AntNumber}, "Arial", 0, true, false},
        {{idc::MainMode, idc::SubMode, idc::ZulLine}, nullptr, 17, true, false},
        {{idc::Trace, idc::Pct, idc::Split, idc::FLock, idc::TfSet, idc::Trans}, nullptr, 15, true, false},
        {vfoArrows, nullptr, 16, true, false},
        {{idc::AfMainCaption, idc::AfMainMin, idc::AfMainMax, idc::SqlMainCaption, idc::SqlMainMin,
          idc::SqlMainMax, idc::RfGainCaption, idc::RfGainMin, idc::RfGainMax, idc::AfSubCaption,
          idc::AfSubMin, idc::AfSubMax, idc::SqlSubCaption, idc::SqlSubMin, idc::SqlSubMax, idc::StepUnit,
          idc::StepCaption, idc::DialCaption, idc::BcPointCaption},
         nullptr, 14, false, false},
    };

    // Every other label of the display (status words, meter scales) is bold
    // in the control library's face and size.
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (entry.kind == ControlKind::Static && IsDisplayControl(entry)) {
            m_controls.label(entry.id)->SetTextBold(1);
        }
    }
    for (const LabelFont& font : fonts) {
        for (const int id : font.ids) {
            CStaticEx* label = m_controls.label(id);
            if (font.face != nullptr) {
                label->SetCharType(QString::fromLatin1(font.face));
            }
            if (font.size != 0) {
                label->SetTextSize(font.size);
            }
            label->SetTextBold(font.bold ? 1 : 0);
            label->SetTextItalic(font.italic ? 1 : 0);
        }
    }
    for (const int id : {idc::MainText, idc::SubText}) {
        m_controls.edit(id)->SetTextSize(17);
        m_controls.edit(id)->SetTextBold(1);
    }
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SecondMeter, idc::SubMeter, idc::SubMeterOver}) {
        m_controls.meter(id)->SetTextSize(15);
        m_controls.meter(id)->SetTextBold(1);
    }
    // A band's bar is two parts of 15 levels each (up to S9, and above it);
    // the second meter has 30. Their lengths follow the printed scales
    // (the meters' display).
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SubMeter, idc::SubMeterOver})
        m_controls.meter(id)->SetMaxValue(15);
    m_controls.meter(idc::SecondMeter)->SetMaxValue(30);
    // Peak hold of the main S meter and the second meter.
    m_controls.meter(idc::MainMeter)->SetTimerCount(1000);
    m_controls.meter(idc::SecondMeter)->SetTimerCount(300);
}

void ConsoleDialog::LoadImages() {
    CButtonEx* power = m_controls.button(idc::Power);
    power->LoadIcon(QIcon(m_pictures.power[0]));
    power->setIconSize(kPowerImageSize);
    CButtonEx* control = m_controls.button(idc::Control);
    control->LoadIcon(QIcon(m_pictures.control[1])); // disconnected
    control->setIconSize(kControlImageSize);
    m_controls.button(idc::RitDownFast)->LoadIcon(m_pictures.arrowDownFast);
    m_controls.button(idc::RitUpFast)->LoadIcon(m_pictures.arrowUpFast);
    m_controls.button(idc::RitDownFast)->setIconSize(QSize(16, 12));
    m_controls.button(idc::RitUpFast)->setIconSize(QSize(16, 12));

    m_controls.label(idc::ClickEncIcon)->LoadIcon(QIcon(m_pictures.clickEncoder));
    m_controls.label(idc::TuningDial)->LoadIcon(QIcon(m_pictures.dial[0]));
    m_controls.label(idc::BrandPlate)->LoadIcon(QIcon(m_pictures.brandPlate));
    // The second meter's kind is not known yet: the picture of the other meters.
    m_controls.label(idc::SecondMeterIcon)->LoadIcon(QIcon(m_pictures.meterIcons[1]));
}
