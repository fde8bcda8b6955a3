// SPDX-License-Identifier: GPL-3.0-or-later
// control_names.cpp - the names of the console's controls, the readings of
// its status words, VFO marks, meters and lamps, each control's group and
// the Tab order through the groups.
#include "accessibility_private.h"
#include "console_dialog.h"
#include "console_ids.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <utility>
#include <vector>

using accessible::kDarkProperty;
using accessible::kHiddenProperty;
using accessible::kSpanProperty;

namespace {

struct Named {
    int id;
    const char* name;
};

// The display's status words and fields, named for what they tell.
constexpr Named kDisplayNames[] = {
    {idc::MainPtt, "Main PTT"},
    {idc::SubPtt, "Sub PTT"},
    {idc::MainCtrl, "Main control band"},
    {idc::SubCtrl, "Sub control band"},
    {idc::MainAtt, "Main attenuator"},
    {idc::SubAtt, "Sub attenuator"},
    {idc::MainPre, "Main preamplifier"},
    {idc::SubPre, "Sub preamplifier"},
    {idc::MainShift, "Main repeater shift"},
    {idc::SubShift, "Sub repeater shift"},
    {idc::MainReverse, "Main reverse"},
    {idc::SubReverse, "Sub reverse"},
    {idc::MainTone, "Main tone"},
    {idc::SubTone, "Sub tone"},
    {idc::MainTnc, "Main TNC"},
    {idc::SubTnc, "Sub TNC"},
    {idc::MainNr, "Main noise reduction"},
    {idc::SubNr, "Sub noise reduction"},
    {idc::MainBusy, "Main busy or on air"},
    {idc::SubBusy, "Sub busy or on air"},
    {idc::MainMode, "Main mode"},
    {idc::SubMode, "Sub mode"},
    {idc::Alt, "ALT indicator"},
    {idc::Auto, "AUTO indicator"},
    {idc::Agc, "AGC indicator"},
    {idc::Mbc, "M.B.C indicator"},
    {idc::Nb, "NB indicator"},
    {idc::Fine, "FINE indicator"},
    {idc::ANotch, "A.NOTCH indicator"},
    {idc::Eq, "EQ indicator"},
    {idc::TxEq, "Transmit equalizer"},
    {idc::RxEq, "Receive equalizer"},
    {idc::Trace, "TRACE indicator"},
    {idc::Pct, "P.C.T. indicator"},
    {idc::Split, "SPLIT indicator"},
    {idc::FLock, "F.LOCK indicator"},
    {idc::TfSet, "TF-SET indicator"},
    {idc::Trans, "TRANS indicator"},
    {idc::Ant, "ANT indicator"},
    {idc::AntNumber, "Antenna number"},
    {idc::TunerRx, "Tuner RX"},
    {idc::TunerAt, "Tuner AT"},
    {idc::TunerTx, "Tuner TX"},
    {idc::Ext, "EXT indicator"},
    {idc::Dcd, "DCD indicator"},
    {idc::Sta, "STA indicator"},
    {idc::Con, "CON indicator"},
    {idc::Pkt, "PKT indicator"},
    {idc::MainStar, "Main program scan mark"},
    {idc::SubStar, "Sub program scan mark"},
    {idc::ZulLine, "Radio status"},
    {idc::MainLockOut, "Main lock-out"},
    {idc::SubLockOut, "Sub lock-out"},
    {idc::DisplayBack, "Lit indicators"},
    {idc::MainDigit0, "Main frequency"},
    {idc::SubDigit0, "Sub frequency"},
    {idc::MainChDigit0, "Main memory channel"},
    {idc::SubChDigit0, "Sub memory channel"},
    {idc::VfoMark0, "Main VFO"},
    {idc::MainMeter, "Main meter"},
    {idc::SecondMeter, "Second meter"},
    {idc::SubMeter, "Sub meter"},
    {idc::ConnectLamp, "Connection lamp"},
    {idc::AuxLamp, "Auxiliary lamp"},
    {idc::MemoryLamp, "Memory lamp"},
    {idc::VoxLamp, "VOX lamp"},
    {idc::ProcLamp, "PROC lamp"},
    {idc::TuningDial, "Tuning dial"},
    {idc::MainText, "Main text line"},
    {idc::SubText, "Sub text line"},
};

// Controls whose caption is a sign, repeats another's or is missing.
constexpr Named kControlNames[] = {
    {idc::RitDown, "RIT down"},
    {idc::RitDownFast, "RIT down fast"},
    {idc::RitUp, "RIT up"},
    {idc::RitUpFast, "RIT up fast"},
    {idc::RitClear, "RIT clear"},
    {idc::SubButton, "Sub receiver"},
    {idc::QuickMr, "Quick memory MR"},
    {idc::QuickMemoryIn, "Quick memory M. IN"},
    {idc::SatMainSub, "Satellite M / S"},
    {idc::BcPointBar, "Beat cancel point"},
    {idc::RitBar, "RIT offset"},
    {idc::RfGainBar, "RF gain"},
    {idc::AfMainBar, "Main AF gain"},
    {idc::SqlMainBar, "Main squelch"},
    {idc::AfSubBar, "Sub AF gain"},
    {idc::SqlSubBar, "Sub squelch"},
    {idc::ScanSpeedBar, "Scan speed"},
    {idc::StepList, "Channel step, kHz"},
};

// Group frames without a caption of their own.
constexpr Named kFrameNames[] = {
    {idc::FramePower, "Power"},
    {idc::FrameTx, "Transmit"},
    {idc::FrameAntenna, "Antenna"},
    {idc::FrameVfo, "VFO"},
    {idc::FrameFrontEnd, "Front end"},
    {idc::FrameSubGain, "Sub"},
};

bool Between(int id, int first, int last) { return id >= first && id <= last; }

// The labels a composite reading or a named control stands for.
bool IsHidden(int id) {
    if (Between(id, idc::MainDigit0 + 1, idc::MainSep3) || Between(id, idc::SubDigit0 + 1, idc::SubSep3))
        return true;
    if (Between(id, idc::MainChDigit0 + 1, idc::MainMch) || Between(id, idc::SubChDigit0 + 1, idc::SubMch))
        return true;
    if (Between(id, idc::VfoMark0 + 1, idc::VfoMark8) || Between(id, idc::RitMinus, idc::BcPointCaption))
        return true;
    switch (id) {
    case idc::MainChPrefix:
    case idc::SubChPrefix:
    case idc::MainScale:
    case idc::MainMeterName:
    case idc::SecondScale:
    case idc::SecondMeterName:
    case idc::SubScale:
    case idc::SubMeterName:
    case idc::SecondMeterIcon:
    case idc::ClickEncIcon:
    case idc::BrandPlate:
    case idc::MainMeterOver:
    case idc::SubMeterOver:
        return true;
    default:
        return false;
    }
}

// The words of the display that light and go dark.
bool IsStatusWord(int id) {
    return Between(id, idc::MainPtt, idc::SubLockOut) && !Between(id, idc::VfoMark0, idc::VfoMark8);
}

// A menu title without its mnemonic: "File (&F)" reads "File".
QString MenuName(QString title) {
    static const QRegularExpression mnemonic(QStringLiteral("\\s*\\(&.\\)"));
    title.remove(mnemonic);
    title.remove(QLatin1Char('&'));
    return title.trimmed();
}

// A status word's value: "off" while dark, "on" when it shows its own name,
// else what it shows.
QString StatusValue(const QString& shown, QString name) {
    const QString text = shown.trimmed();
    if (text.isEmpty())
        return QStringLiteral("off");
    name.remove(QRegularExpression(QStringLiteral(" indicator$")));
    if (text.compare(name, Qt::CaseInsensitive) == 0)
        return QStringLiteral("on");
    // The busy-or-on-air word: what it means.
    if (text == QLatin1String("ONAIR"))
        return QStringLiteral("on air");
    if (text == QLatin1String("BUSY"))
        return QStringLiteral("busy, signal received");
    return text;
}

// The VFO marks of the main band: the letter with "<" receives, the one
// with ">" transmits.
QString VfoReading(const std::function<QString(int)>& text) {
    auto letter = [&](int row) {
        const QString l = text(idc::VfoMark0 + row * 3 + 1).trimmed();
        return l == QLatin1String("M") ? QStringLiteral("memory") : l;
    };
    QString receive, transmit;
    QStringList shown;
    for (int row = 0; row < 3; ++row) {
        if (!text(idc::VfoMark0 + row * 3).trimmed().isEmpty())
            receive = letter(row);
        if (!text(idc::VfoMark0 + row * 3 + 2).trimmed().isEmpty())
            transmit = letter(row);
        if (!letter(row).isEmpty())
            shown << letter(row);
    }
    if (!receive.isEmpty() && (transmit.isEmpty() || transmit == receive))
        return receive;
    if (!receive.isEmpty())
        return QStringLiteral("receive %1, transmit %2").arg(receive, transmit);
    return shown.isEmpty() ? QStringLiteral("off") : shown.join(QStringLiteral(", "));
}

} // namespace

void ConsoleAccessibility::NameControls() {
    const ConsoleControls& controls = m_console.controls();
    auto text = [this](int id) { return Text(id); };
    for (const ControlRow& row : ConsoleTemplate()) {
        if (QWidget* widget = controls.widget(row.id); widget && IsHidden(row.id))
            widget->setProperty(kHiddenProperty, true);
    }
    auto nameAll = [&controls](const auto& table) {
        for (const Named& n : table) {
            if (QWidget* widget = controls.widget(n.id))
                widget->setAccessibleName(QString::fromLatin1(n.name));
        }
    };
    nameAll(kDisplayNames);
    nameAll(kControlNames);
    nameAll(kFrameNames);

    // Status words read "off", "on" or what they show.
    for (const Named& n : kDisplayNames) {
        auto* label = dynamic_cast<CKestrinControl*>(controls.widget(n.id));
        if (!label || !controls.label(n.id) || !IsStatusWord(n.id))
            continue;
        const QString name = QString::fromLatin1(n.name);
        const int id = n.id;
        label->SetAccessibleReading([text, id, name] { return StatusValue(text(id), name); });
        controls.widget(n.id)->setProperty(kDarkProperty, true);
        WatchLighting(controls.widget(n.id), {controls.label(n.id)});
    }
    auto reading = [&controls](int id, std::function<QString()> read) {
        if (auto* control = dynamic_cast<CKestrinControl*>(controls.widget(id)))
            control->SetAccessibleReading(std::move(read));
    };
    auto orNone = [](const QString& value) { return value.isEmpty() ? QStringLiteral("none") : value; };
    for (int band = 0; band < 2; ++band) {
        const int digit0 = band == 1 ? idc::SubDigit0 : idc::MainDigit0;
        reading(digit0, [this, band, orNone] { return orNone(Frequency(band)); });
        reading(band == 1 ? idc::SubMode : idc::MainMode, [this, band, orNone] { return orNone(Mode(band)); });
        reading(band == 1 ? idc::SubMeter : idc::MainMeter, [this, band] {
            const QString value = MeterReading(band);
            return value.isEmpty() ? QStringLiteral("off") : value;
        });
        const int ch0 = band == 1 ? idc::SubChDigit0 : idc::MainChDigit0;
        reading(ch0, [this, band] {
            const QString channel = Channel(band);
            return channel.isEmpty() ? QStringLiteral("off") : channel;
        });
        if (QWidget* widget = controls.widget(ch0)) {
            widget->setProperty(kDarkProperty, true);
            const int mch = band == 1 ? idc::SubMch : idc::MainMch;
            WatchLighting(widget, {controls.label(ch0), controls.label(ch0 + 1), controls.label(ch0 + 2),
                                   controls.label(mch)});
        }
        // A composite reading covers the labels it stands for.
        const int last = band == 1 ? idc::SubSep3 : idc::MainSep3;
        QRect span;
        for (int id = digit0; id <= last; ++id)
            if (const ControlRow* row = FindControlRow(id))
                span |= row->rect.toRect();
        if (QWidget* widget = controls.widget(digit0))
            widget->setProperty(kSpanProperty, span);
    }
    reading(idc::VfoMark0, [text] { return VfoReading(text); });
    reading(idc::SecondMeter, [text, &controls] {
        const CStaticMeterEx* meter = controls.meter(idc::SecondMeter);
        QString kind = text(idc::SecondMeterName).trimmed();
        if (kind.isEmpty() && text(idc::SecondScale).contains(QLatin1String("FILTER")))
            kind = QStringLiteral("FILTER");
        if (!meter || meter->isHidden() || kind.isEmpty())
            return QStringLiteral("off");
        return QStringLiteral("%1 level %2").arg(kind).arg(meter->level());
    });
    // The little lamps beside VOX and PROC are labels lit green.
    for (const int id : {idc::VoxLamp, idc::ProcLamp}) {
        reading(id, [&controls, id] {
            const CStaticEx* lamp = controls.label(id);
            return lamp && lamp->backColor() == 65280u ? QStringLiteral("on") : QStringLiteral("off");
        });
    }
    reading(idc::TuningDial, [this] {
        return m_console.state().mouseWheelSelection != 0 ? QStringLiteral("turning with the mouse")
                                                            : QStringLiteral("off");
    });
    // The lit words of the whole display at once.
    reading(idc::DisplayBack, [text] {
        QStringList lit;
        for (const Named& n : kDisplayNames) {
            if (!IsStatusWord(n.id) || n.id == idc::MainMode || n.id == idc::SubMode)
                continue;
            if (const QString shown = text(n.id).trimmed(); !shown.isEmpty())
                lit << (n.id == idc::AntNumber ? QStringLiteral("antenna ") + shown : shown);
        }
        return lit.isEmpty() ? QStringLiteral("none") : lit.join(QStringLiteral(", "));
    });
    // The list is the display's background: as large as drawn it would
    // cover every reading, and a review of the screen line by line would
    // read the list alone. It takes a thin line along the display's top
    // edge, above the first row of words, so the frequency, mode and meters
    // each read on their own lines below it.
    if (const ControlRow* back = FindControlRow(idc::DisplayBack); back && controls.widget(idc::DisplayBack)) {
        const QRect drawn = back->rect.toRect();
        controls.widget(idc::DisplayBack)->setProperty(kSpanProperty, QRect(drawn.x(), drawn.y(), drawn.width(), 2));
    }

    // Each control tells its group; frames are named by caption or table.
    std::vector<std::pair<QRect, QString>> groups;
    for (const ControlRow& row : ConsoleTemplate()) {
        if (row.kind != ControlKind::Frame)
            continue;
        const CStaticFrameEx* frame = controls.frame(row.id);
        QString name = frame ? frame->accessibleName() : QString();
        if (name.isEmpty() && frame)
            name = frame->text().trimmed();
        groups.emplace_back(row.rect.toRect(), name);
    }
    for (const ControlRow& row : ConsoleTemplate()) {
        QWidget* widget = controls.widget(row.id);
        if (!widget || row.kind == ControlKind::Frame || (widget->focusPolicy() & Qt::TabFocus) == 0)
            continue;
        const QPoint centre = row.rect.toRect().center();
        for (const auto& [rect, name] : groups) {
            if (rect.contains(centre) && !name.isEmpty()) {
                widget->setAccessibleDescription(name + QStringLiteral(" group"));
                break;
            }
        }
    }

    if (QComboBox* steps = controls.comboBox(idc::StepList)) {
        // A drop-down reads its choice as its name on this desktop: the
        // description says what it is.
        steps->setAccessibleDescription(steps->accessibleName() + QStringLiteral(", ") +
                                        steps->accessibleDescription());
        steps->view()->setAccessibleName(QStringLiteral("Channel steps"));
    }
    m_console.client()->setAccessibleName(QStringLiteral("Front panel"));
    if (QMenuBar* bar = m_console.menuBar()) {
        bar->setAccessibleName(QStringLiteral("Menu bar"));
        for (QMenu* menu : bar->findChildren<QMenu*>())
            if (menu->accessibleName().isEmpty())
                menu->setAccessibleName(MenuName(menu->title()));
    }
}

void ConsoleAccessibility::SetTabOrder() {
    // The template lists the groups as they stand on the panel: the power
    // row, then mode, tune, band and VFO, DSP and the click encoder, the
    // keypad, memory and RIT, then the right-hand column top to bottom.
    QWidget* previous = nullptr;
    for (const ControlRow& row : ConsoleTemplate()) {
        QWidget* widget = m_console.controls().widget(row.id);
        if (!widget || (widget->focusPolicy() & Qt::TabFocus) == 0)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
