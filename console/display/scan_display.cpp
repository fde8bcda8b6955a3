// SPDX-License-Identifier: GPL-3.0-or-later
// scan_display.cpp - what the radio's scans show: the scan text and its
// speed on the control band's status line, the scan-speed slider, and the
// speed commands and arrows a scan allows.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"

#include <corvan.h>

#include <QScrollBar>
#include <QSignalBlocker>

using namespace display_controls;

namespace {

// The status line of the control band: the main text line or the sub one.
void ShowOnStatus(ConsoleDisplay& d, const QString& text) {
    const zephyra::ConsoleState& s = d.state;
    if (s.zulState != 0)
        return;
    if (s.controlBand == 0) {
        QString shown = text;
        if (shown.isEmpty() && s.mainVfo == 2)
            shown = QStringLiteral(" %1").arg(QString::fromStdString(s.record[0].name));
        SetText(d.controls, idc::MainText, shown);
        return;
    }
    if (s.memoryScroll)
        SetText(d.controls, idc::SubText, QStringLiteral("M.SCR MODE"));
    else if (s.subVfo == 2)
        SetText(d.controls, idc::SubText, QStringLiteral(" %1").arg(QString::fromStdString(s.record[1].name)));
    else
        SetText(d.controls, idc::SubText, text);
}

} // namespace

QString ConsoleDisplay::ScanText(int scan, int speed) {
    static const char* const kTexts[] = {"", "SCAN", "MHz SCAN", "RADIO V.SCAN", "TONE SCAN", "CTCSS SCAN", "DCS SCAN"};
    if (scan < 1 || scan > 6)
        return {};
    const QString text = QString::fromLatin1(kTexts[scan]);
    return speed >= 0 ? QString::asprintf("%s P%d", kTexts[scan], speed) : text;
}

void ConsoleDisplay::OnSC(int value) {
    zephyra::ConsoleState& s = state;
    if (value < 0 || value > 6)
        return;
    if (s.radioIdentification == 18) {
        // The older radio knows one scan, shown on the sub status line.
        SetText(controls, idc::SubText, value == 1 ? QStringLiteral("SCAN") : QString());
        return;
    }
    const int band = s.controlBand == 1 ? 1 : 0;
    QString text = ScanText(value);
    if (value != 0 && value != 3) {
        std::uint32_t speed = 0;
        bool read = false;
        for (int attempt = 0; attempt < 10 && !read; ++attempt)
            read = link.RcvDataRD(&speed) == 1;
        if (read)
            text = ScanText(value, static_cast<int>(speed));
    }
    ShowOnStatus(*this, text);
    const bool speedCommands = value >= 1 && value <= 3;
    if (value >= 1 && value <= 2)
        link.ConnRD("R", 0);
    SetCommandEnabled(host, cmd::ScanSpeedUp, speedCommands);
    SetCommandEnabled(host, cmd::ScanSpeedDown, speedCommands);
    SetEnabled(controls, idc::RitDownFast, value == 0);
    SetEnabled(controls, idc::RitUpFast, value == 0);
    s.scanValue[band] = value;
    s.scanRunning[band] = value != 0 ? 1 : 0;
}

void ConsoleDisplay::OnScanSpeed(int speed) {
    const zephyra::ConsoleState& s = state;
    const int scan = s.scanValue[s.controlBand == 1 ? 1 : 0];
    if (scan == 0 || scan == 3)
        return;
    ShowOnStatus(*this, ScanText(scan, speed));
    if (QScrollBar* bar = controls.scrollBar(idc::ScanSpeedBar)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(speed);
    }
}

// "Slow Scan Freq." is offered only while the control band's receive VFO is
// on a program-scan channel.
void ConsoleDisplay::UpdateSlowScanCommand() {
    SetCommandEnabled(host, cmd::SlowScanFreq, zephyra::OnProgramScanChannel(state));
}
