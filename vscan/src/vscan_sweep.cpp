// SPDX-License-Identifier: GPL-3.0-or-later
// Start, Pause, Stop, Reset, Set, the band keys, the lists, the slider and
// the bars the sweep thread asks for.
#include "vscan_window.h"

#include "glimra_internal.h"
#include "graph_widget.h"
#include "put_back.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QComboBox>
#include <QCursor>
#include <QRadioButton>
#include <QSlider>
#include <QToolTip>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace glimra {

namespace {

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls `check` every 10 ms for at most `ms`; true as soon as it holds.
template <class F>
bool WaitUntil(int ms, F check) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (check()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        Wait(10);
    }
}

} // namespace

void AskStartReadings(CCorvan& link) {
    link.ConnPS("R", 0);
    link.ConnSC("R", 0);
    link.ConnCM("R", 0);
    link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    link.ConnSB("R", 0);
    link.ConnDC("R", 0, 0);
    link.ConnFR("R", 0);
}

// ------------------------------------------------------------------ start

void CVisualScanDlg::Start() {
    // The meter readings wait as long as the line needs.
    m_control.replyAllowance = platform::ReplyAllowanceMs();
    if (m_control.paused.load() != 0) {
        m_ui.start->setEnabled(false);
        m_ui.slider->setEnabled(false);
        m_ui.pause->setEnabled(true);
        m_ui.pause->setFocus();
        m_engine->resumeSweep();
        return;
    }
    if (m_control.stopped.load() == 0) {
        return; // already sweeping
    }
    const std::uint32_t selector = m_control.selector.load();

    std::uint32_t fr = 0;
    bool haveFr = false;
    for (int i = 0; i < 10 && !haveFr; ++i) {
        haveFr = m_link->RcvDataFR(&fr) != 0;
    }
    const int frBefore = haveFr ? static_cast<int>(fr) : -1;
    if (haveFr) {
        if (selector <= 1 && fr != selector) {
            m_link->ConnFR("W", selector);
        } else if (selector == 2 && fr != 0) {
            m_link->ConnFR("W", 0);
        } else {
            haveFr = false; // nothing switched, nothing to put back
        }
    }

    std::uint32_t ps = 0;
    std::uint32_t sc = 0;
    std::uint32_t cm = 0;
    std::array<std::uint32_t, 7> sa{};
    char saName[corvan::kShortTextSize] = {};
    bool havePs = false;
    bool haveSc = false;
    bool haveCm = false;
    bool haveSa = false;
    for (int i = 0; i < 10 && !havePs; ++i) {
        havePs = m_link->RcvDataPS(&ps) != 0;
    }
    for (int i = 0; i < 10 && !haveSc; ++i) {
        haveSc = m_link->RcvDataSC(&sc) != 0;
    }
    for (int i = 0; i < 10 && !haveCm; ++i) {
        haveCm = m_link->RcvDataCM(&cm) != 0;
    }
    for (int i = 0; i < 10 && !haveSa; ++i) {
        haveSa = m_link->RcvDataSA(&sa[0], &sa[1], &sa[2], &sa[3], &sa[4], &sa[5], &sa[6], saName) != 0;
    }
    const bool guarded = m_guard[0] != 0 || m_guard[1] != 0 || m_guard[2] != 0;
    if (!haveSa || ps != 1 || cm != 0 || sa[0] != 0 || sc != 0 || m_transmit != 0 || guarded) {
        if (haveFr) {
            m_link->ConnFR("W", static_cast<std::uint32_t>(frBefore)); // no sweep: undo at once
        }
        return;
    }

    if (haveFr) {
        m_frBeforeSweep = frBefore;
    }
    // The sub band sweeps with the step of the Step list.
    if (selector == 2 && m_radioStep >= 0 && !m_stepApplied) {
        m_link->ConnST("W", StepCode(m_control.step.load()));
        m_stepApplied = true;
    }
    m_ui.stop->setFocus();
    setSweepControls(false);
    m_engine->beginSweep();
}

// ------------------------------------------------------------------ pause

void CVisualScanDlg::Pause() {
    if (m_control.paused.load() != 0) {
        Start();
        return;
    }
    if (m_control.stopped.load() != 0) {
        return; // nothing runs
    }
    m_ui.start->setEnabled(true);
    m_ui.slider->setEnabled(true);
    m_sliderPos = m_ui.slider->value();
    m_control.sliderPos = m_sliderPos;
    m_engine->pauseSweep();
}

// ------------------------------------------------------------------- stop

void CVisualScanDlg::Stop() {
    if (m_control.stopped.load() != 0) {
        return;
    }
    setSweepControls(true);
    m_ui.start->setFocus();
    m_engine->stopSweep();
    // Let the thread leave the channel it is measuring (at most twice the
    // interval), so that its last tuning cannot follow ours.
    m_engine->waitIdle(std::chrono::milliseconds(2 * m_control.interval.load()));
    // A tune-back the link cannot take (its device has gone) is owed to the
    // radio until it is back.
    const std::int64_t centre = m_control.centre.load();
    if (tune(centre)) {
        Owed().tuning.reset();
    } else {
        OwedToRadio::Tuning owed;
        owed.selector = m_control.selector.load();
        owed.hz = centre;
        owed.low = m_control.low.load();
        owed.step = m_control.step.load();
        owed.span = m_control.span.load();
        Owed().tuning = owed;
    }
    Wait(200);
    setSliderQuiet(MiddleChannel(m_control.span.load()));
    m_sliderPos = m_ui.slider->value();
    m_control.sliderPos = m_sliderPos;
    putBackAfterSweep();
}

// After the sweep: the receive VFO Start switched goes back, the sub band's
// own step goes back, and a band change the radio reported meanwhile takes
// effect now (its step list and centre).
void CVisualScanDlg::putBackAfterSweep() {
    if (m_frBeforeSweep >= 0) {
        const auto fr = static_cast<std::uint32_t>(m_frBeforeSweep);
        if (m_link->ConnFR("W", fr) != 1) {
            Owed().receiveVfo = fr;
        }
        m_frBeforeSweep = -1;
    }
    if (m_stepApplied && m_radioStep >= 0 && m_band == 1) {
        const auto step = static_cast<std::uint32_t>(m_radioStep);
        if (m_link->ConnST("W", step) != 1) {
            Owed().subStep = step;
        }
    }
    m_stepApplied = false;
    if (m_listBand != m_band) {
        m_radioStep = -1; // the step belonged to the band left behind
        const int old = m_ui.stepList->count() == 0 ? -1 : m_ui.stepList->currentIndex();
        fillStepList(m_band, RefillStepIndex(old, m_band == 1));
        Reset();
    }
}

// Puts the sub band's own step back when the Step list changed it, and
// forgets it: the next change reads it again.
void CVisualScanDlg::restoreRadioStep() {
    if (m_stepApplied && m_radioStep >= 0 && m_listBand == 1 && m_band == 1) {
        const auto step = static_cast<std::uint32_t>(m_radioStep);
        if (m_link->ConnST("W", step) != 1) {
            Owed().subStep = step;
        }
    }
    m_stepApplied = false;
    m_radioStep = -1;
}

// ------------------------------------------------------------------ reset

bool CVisualScanDlg::readSelectorFrequency(std::int64_t& hz) {
    char text[corvan::kFrequencyTextSize] = {};
    std::int32_t ok = 0;
    switch (m_control.selector.load()) {
    case 1:
        ok = m_link->RcvDataFB(text);
        break;
    case 2:
        ok = m_link->RcvDataFC(text);
        break;
    default:
        ok = m_link->RcvDataFA(text);
        break;
    }
    if (ok == 0 || text[0] == '\0') {
        return false;
    }
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || value <= 0) {
        return false;
    }
    hz = value;
    return true;
}

void CVisualScanDlg::queryFrequency() {
    switch (m_control.selector.load()) {
    case 1:
        m_link->ConnFB("R", "");
        break;
    case 2:
        m_link->ConnFC("R", "");
        break;
    default:
        m_link->ConnFA("R", "");
        break;
    }
}

bool CVisualScanDlg::tune(std::int64_t hz) {
    return TuneReceiver(*m_link, m_control.selector.load(), hz);
}

void CVisualScanDlg::Reset() {
    if (m_control.stopped.load() == 0) {
        return;
    }
    m_control.selector = SelectorFor(m_band, m_band == 1 ? m_frSub : m_frMain);
    {
        const bool quiet = m_quietLists;
        m_quietLists = true;
        m_ui.bandList->setCurrentIndex(m_band);
        m_quietLists = quiet;
    }

    // The stored frequency may predate a tuning just sent (Set, a band
    // key): the query clears it, so only the radio's answer becomes the
    // centre.
    std::int64_t centre = 0;
    bool found = false;
    for (int i = 0; i < 10 && !found; ++i) {
        queryFrequency();
        found = WaitUntil(200, [&] { return readSelectorFrequency(centre); });
    }
    if (!found) {
        return; // the radio did not answer: the graph stays as it was
    }
    m_control.centre = centre;
    setEntered(centre);
    setSliderQuiet(MiddleChannel(m_control.span.load()));
    m_sliderPos = m_ui.slider->value();
    m_control.sliderPos = m_sliderPos;

    const std::int64_t step = stepListValue();
    if (step > 0) {
        m_control.step = step;
    }
    recomputeEdges();
    m_control.clearLevels();
    m_ui.graph->clearLevels();
}

std::int64_t CVisualScanDlg::stepListValue() const {
    return ParseStepText(m_ui.stepList->currentText().toStdString());
}

void CVisualScanDlg::recomputeEdges() {
    const Edges e = EdgesAround(m_control.centre.load(), m_control.step.load(), m_control.span.load());
    m_control.low = e.low;
    m_control.high = e.high;
    m_control.current = e.low;
    showEdges();
}

void CVisualScanDlg::showEdges() {
    m_ui.lowLabel->setText(QString::fromStdString(FormatDotted(m_control.low.load())));
    m_ui.centreLabel->setText(QString::fromStdString(FormatDotted(m_control.centre.load())));
    m_ui.highLabel->setText(QString::fromStdString(FormatDotted(m_control.high.load())));
}

// ------------------------------------------------------------- the lists

void CVisualScanDlg::SpanChanged(int index) {
    if (index < 0 || index >= static_cast<int>(SpanTexts().size())) {
        return;
    }
    const int span = std::stoi(SpanTexts()[static_cast<std::size_t>(index)]);
    if (span == m_control.span.load() || m_control.stopped.load() == 0) {
        return;
    }
    m_control.span = span;
    setSliderRange(span);
    m_sliderPos = m_ui.slider->value();
    m_control.sliderPos = m_sliderPos;
    m_ui.graph->setSpan(span);
    recomputeEdges();
    m_control.clearLevels();
    m_ui.graph->clearLevels();
}

void CVisualScanDlg::StepChanged(int) {
    const std::int64_t step = stepListValue();
    if (step <= 0 || step == m_control.step.load() || m_control.stopped.load() == 0) {
        return;
    }
    m_control.step = step;
    if (m_control.selector.load() == 2) {
        if (m_radioStep < 0) {
            std::uint32_t own = 0;
            if (m_link->RcvDataST(&own) != 0) {
                m_radioStep = static_cast<int>(own); // put back after the sweep
            }
        }
        m_link->ConnST("W", StepCode(step));
        m_stepApplied = m_radioStep >= 0;
    }
    recomputeEdges();
    m_control.clearLevels();
    m_ui.graph->clearLevels();
}

void CVisualScanDlg::IntervalChanged(int index) {
    const int interval = m_ui.intervalList->itemText(index).toInt();
    if (interval > 0) {
        m_control.interval = interval;
    }
}

void CVisualScanDlg::GraphChanged(int index) {
    if (index < 0) {
        return;
    }
    m_graphMode = index + 1;
    m_ui.graph->setMode(m_graphMode);
}

void CVisualScanDlg::BandChanged(int index) {
    if (index < 0 || index == m_band) {
        return;
    }
    if (m_link->ConnDC("W", static_cast<std::uint32_t>(m_dcFirst), static_cast<std::uint32_t>(index)) == 0) {
        // Refused (transmit band not known yet, or the link is closed): the
        // list goes back to the band the radio last reported.
        m_quietLists = true;
        m_ui.bandList->setCurrentIndex(m_band);
        m_quietLists = false;
    }
}

void CVisualScanDlg::RepeatChanged(bool on) {
    m_control.repeat = on ? 1 : 0;
}

// -------------------------------------------------------------------- set

bool CVisualScanDlg::subBandCheck(bool& onlyReset) {
    onlyReset = false;
    std::uint32_t sb = 0;
    if (m_link->RcvDataSB(&sb) == 0) {
        m_link->ConnSB("R", 0);
        return false;
    }
    onlyReset = m_ui.bandList->currentIndex() == 1 && sb == 0;
    return true;
}

void CVisualScanDlg::sendBandChangeIfNeeded() {
    const int selection = m_ui.bandList->currentIndex();
    if (selection >= 0 && selection != m_band) {
        m_link->ConnDC("W", static_cast<std::uint32_t>(m_dcFirst), static_cast<std::uint32_t>(selection));
    }
}

bool CVisualScanDlg::beginBandAction() {
    bool onlyReset = false;
    if (!subBandCheck(onlyReset)) {
        return false;
    }
    if (onlyReset) {
        Reset();
        return false;
    }
    sendBandChangeIfNeeded();
    return true;
}

void CVisualScanDlg::Set() {
    if (!beginBandAction()) {
        return;
    }
    const int selection = m_ui.bandList->currentIndex();
    const int fr = selection == 1 ? m_frSub : m_frMain;
    if (fr > 1) {
        m_link->ConnFR("W", 0);
    }
    if (!inBand(m_entered)) {
        platform::MessageBox(QStringLiteral("Invalid Frequency.\nPlease check and try again."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    tune(m_entered);
    Reset();
}

void CVisualScanDlg::changeBand(bool up) {
    if (m_entry.active()) {
        cancelEntry();
    }
    if (!beginBandAction()) {
        return;
    }
    m_busy = true;
    if (up) {
        m_link->ConnBU();
    } else {
        m_link->ConnBD();
    }
    m_control.clearLevels();
    m_ui.graph->clearLevels();
    Reset();
    m_busy = false;
}

void CVisualScanDlg::BandDown() {
    changeBand(false);
}

void CVisualScanDlg::BandUp() {
    changeBand(true);
}

// ----------------------------------------------------------------- slider

void CVisualScanDlg::setSliderQuiet(int position) {
    const bool blocked = m_ui.slider->blockSignals(true);
    m_ui.slider->setValue(position);
    m_ui.slider->blockSignals(blocked);
}

void CVisualScanDlg::setSliderRange(int span) {
    const bool blocked = m_ui.slider->blockSignals(true);
    m_ui.slider->setRange(0, span - 1);
    m_ui.slider->setValue(MiddleChannel(span));
    m_ui.slider->blockSignals(blocked);
}

void CVisualScanDlg::SliderMoved(int position) {
    const bool idle = m_control.paused.load() != 0 || m_control.stopped.load() != 0;
    if (!idle || position == m_sliderPos || m_busy) {
        return;
    }
    const std::int64_t hz = ChannelFrequency(m_control.centre.load(), m_control.step.load(),
                                             m_control.span.load(), position);
    if (!inBand(hz)) {
        m_sliderTip = QStringLiteral("Error!!");
        m_ui.slider->setToolTip(m_sliderTip);
        setSliderQuiet(m_sliderPos);
        return;
    }
    tune(hz);
    m_link->ConnSM(MeterFor(m_control.selector.load()));
    m_sliderFreq = hz;
    m_sliderPos = position;
    m_control.sliderPos = position;
    m_sliderTip = QString::fromStdString(FormatDotted(hz));
    m_ui.slider->setToolTip(m_sliderTip);
    if (m_ui.slider->isVisible() && m_ui.slider->underMouse()) {
        QToolTip::showText(QCursor::pos(), m_sliderTip, m_ui.slider);
    }
}

void CVisualScanDlg::BarClicked(int channel) {
    if (m_control.scanning.load() != 0 || channel >= m_control.span.load()) {
        return;
    }
    setSliderQuiet(channel);
    SliderMoved(channel);
}

// ------------------------------------------------- messages of the thread

void CVisualScanDlg::drawBar(int channel, int show) {
    platform::PostMessage(this, kDrawMessage, static_cast<std::uintptr_t>(channel), show);
}

void CVisualScanDlg::sweepEnded() {
    platform::PostMessage(this, kSweepEndMessage);
}

void CVisualScanDlg::onDrawMessage(int channel, int show) {
    if (channel < 0 || channel >= kLevelCount) {
        return;
    }
    m_ui.graph->setLevel(channel, m_control.level[static_cast<std::size_t>(channel)].load(), show != 0);
    if (m_control.scanning.load() != 0) {
        setSliderQuiet(channel);
    }
}

bool CVisualScanDlg::event(QEvent* event) {
    const auto type = static_cast<unsigned>(event->type());
    if (type == kDrawMessage) {
        const auto* message = static_cast<platform::WindowMessage*>(event);
        onDrawMessage(static_cast<int>(message->wParam()), static_cast<int>(message->lParam()));
        return true;
    }
    if (type == kSweepEndMessage) {
        Stop();
        return true;
    }
    return QWidget::event(event);
}

} // namespace glimra
