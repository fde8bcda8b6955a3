// SPDX-License-Identifier: GPL-3.0-or-later
// console_readings.cpp - what the console's display reads as: each band's
// frequency, mode, meter and memory channel, the right display's offset,
// and the speak key's summary of them all.
#include "accessibility_private.h"
#include "console_dialog.h"
#include "console_ids.h"

QString ConsoleAccessibility::Text(int id) const {
    const ConsoleControls& controls = m_console.controls();
    if (const CEditEx* line = controls.edit(id))
        return line->text();
    return controls.caption(id);
}

QString ConsoleAccessibility::Frequency(int band) const {
    if (band == 1 && m_console.state().subShowsOffset)
        return OffsetReading();
    const int first = band == 1 ? idc::SubDigit0 : idc::MainDigit0;
    QString digits[11];
    for (int i = 0; i < 11; ++i)
        digits[i] = Text(first + i);
    return accessible::FrequencyReading(digits);
}

QString ConsoleAccessibility::SubDisplayName() const {
    const ConsoleState& s = m_console.state();
    if (s.subShowsOffset)
        return s.xitOn && !s.ritOn ? QStringLiteral("XIT offset")
                                   : (s.xitOn ? QStringLiteral("RIT and XIT offset") : QStringLiteral("RIT offset"));
    if (s.split && !s.subReceiver && !s.satelliteMode && s.controlBand == 0) {
        // In split the right display shows the other VFO: the one that
        // transmits, or while transmitting the one that receives.
        const bool receive = s.transmitting[0] && !s.tfSetActive;
        const int vfo = receive ? s.mainVfo : s.mainTransmitVfo;
        const QString letter = vfo == 0 ? QStringLiteral("A") : vfo == 1 ? QStringLiteral("B") : QString();
        QString name = receive ? QStringLiteral("Receive frequency") : QStringLiteral("Transmit frequency");
        if (!letter.isEmpty())
            name += QStringLiteral(", VFO ") + letter;
        return name;
    }
    return QStringLiteral("Sub frequency");
}

QString ConsoleAccessibility::OffsetReading() const {
    // Sign (blank for plus) and five digits: kilohertz to three places.
    QString shown;
    for (int i = 5; i < 11; ++i)
        shown += Text(idc::SubDigit0 + i);
    shown = shown.trimmed();
    const bool minus = shown.startsWith(QLatin1Char('-'));
    bool ok = false;
    const int hz = shown.mid(minus ? 1 : 0).trimmed().toInt(&ok);
    if (!ok)
        return shown;
    const QString value = QString::asprintf("%d.%03d kHz", hz / 1000, hz % 1000);
    if (hz == 0)
        return value;
    return (minus ? QStringLiteral("minus ") : QStringLiteral("plus ")) + value;
}

QString ConsoleAccessibility::Mode(int band) const {
    // While a memory channel is browsed the mode display adds the
    // channel's group ("USB Group 0"): that is no part of the mode.
    return accessible::ModeReading(Text(band == 1 ? idc::SubMode : idc::MainMode));
}

QString ConsoleAccessibility::MeterReading(int band) const {
    const ConsoleControls& controls = m_console.controls();
    const bool sub = band == 1;
    const CStaticMeterEx* first = controls.meter(sub ? idc::SubMeter : idc::MainMeter);
    const CStaticMeterEx* over = controls.meter(sub ? idc::SubMeterOver : idc::MainMeterOver);
    if (!first || !over || first->isHidden())
        return {};
    const QString name = Text(sub ? idc::SubMeterName : idc::MainMeterName).trimmed();
    // The part above the split shows the level less 15.
    const int level = over->level() > 0 ? over->level() + 15 : first->level();
    if (name == QLatin1String("PWR"))
        return accessible::PowerReading(level, Text(sub ? idc::SubScale : idc::MainScale).endsWith(QLatin1Char('%')));
    if (name.isEmpty())
        return {};
    return accessible::SignalReading(level, m_console.state().radioIdentification == 19);
}

QString ConsoleAccessibility::Channel(int band) const {
    const int ch0 = band == 1 ? idc::SubChDigit0 : idc::MainChDigit0;
    QString number;
    QStringList typed;
    bool entry = false;
    for (int i = 0; i < 3; ++i) {
        const QString shown = Text(ch0 + i).trimmed();
        if (shown == QLatin1String("-"))
            entry = true;
        else if (!shown.isEmpty())
            typed << shown;
        number += shown;
    }
    // A channel number being typed: the dashes stand for the places to come.
    if (entry)
        return typed.isEmpty() ? QStringLiteral("channel entry")
                               : QStringLiteral("channel entry ") + typed.join(QLatin1Char(' '));
    // The number reads while it shows, with or without "MCH" (the satellite
    // mode shows "0" without it).
    if (number.isEmpty())
        return {};
    return number.endsWith(QLatin1Char('C')) ? QStringLiteral("call") : number;
}

QString ConsoleAccessibility::ChannelSaid(int band) const {
    const QString channel = Channel(band);
    if (channel.isEmpty() || channel.startsWith(QLatin1String("channel entry")))
        return channel;
    if (channel == QLatin1String("call"))
        return QStringLiteral("call channel");
    return (m_console.state().satelliteMode ? QStringLiteral("satellite channel ")
                                             : QStringLiteral("memory channel ")) +
           channel;
}

QString ConsoleAccessibility::Summary() const {
    QStringList parts;
    for (int band = 0; band < 2; ++band) {
        const QString frequency = Frequency(band);
        const QString channel = ChannelSaid(band);
        const QString sub = SubDisplayName();
        const QString prefix = band == 0 ? QStringLiteral("Main ")
                                         : (sub == QLatin1String("Sub frequency") ? QStringLiteral("Sub ")
                                                                                   : sub + QLatin1Char(' '));
        if (frequency.isEmpty()) {
            if (!channel.isEmpty())
                parts << (band == 0 ? QStringLiteral("Main ") : QStringLiteral("Sub ")) + channel;
            else if (band == 0)
                parts << QStringLiteral("Main no frequency");
            continue;
        }
        QStringList said;
        if (!channel.isEmpty())
            said << (band == 0 ? QStringLiteral("Main ") : QStringLiteral("Sub ")) + channel;
        said << (channel.isEmpty() ? prefix : QString()) + frequency;
        if (const QString mode = Mode(band); !mode.isEmpty())
            said << mode;
        const bool onAir = Text(band == 1 ? idc::SubBusy : idc::MainBusy).trimmed() == QLatin1String("ONAIR");
        if (const QString meter = MeterReading(band); !meter.isEmpty())
            said << (onAir ? QStringLiteral("transmitting, power ") + meter : QStringLiteral("S meter ") + meter);
        else if (onAir)
            said << QStringLiteral("transmitting");
        parts << said.join(QStringLiteral(", "));
    }
    return parts.join(QStringLiteral("; "));
}
