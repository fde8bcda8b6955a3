// SPDX-License-Identifier: GPL-3.0-or-later
// Sweeps run from the window: the guards of Start, a whole sweep drawn from
// the band model, Pause with the slider and bar clicks, Stop, the reports
// that stop a sweep, a silent radio, Close and destroy during a sweep.
#include "window_fixture.h"

#include <QMouseEvent>

namespace glimra {
namespace {

using namespace std::chrono_literals;
using namespace glimra::testing;

using VscanWindowSweep = WindowTest;

// A 31-channel sweep of 1 kHz steps with a short interval.
void QuickSweep(WindowTest& t, const CVisualScanDlg::Controls& ui, int intervalMs, bool repeat) {
    ui.spanList->setCurrentText(QStringLiteral("31"));
    ui.stepList->setCurrentText(QStringLiteral("1kHz"));
    (repeat ? ui.repeatOn : ui.repeatOff)->setChecked(true);
    (void)t;
    ui.intervalList->addItem(QString::number(intervalMs));
    ui.intervalList->setCurrentIndex(ui.intervalList->count() - 1);
}

// A repeating quick sweep started from the window; true once the radio has
// been tuned `tunings` times.
bool StartRepeating(WindowTest& t, const CVisualScanDlg::Controls& ui, int intervalMs, std::size_t tunings) {
    QuickSweep(t, ui, intervalMs, true);
    ui.start->click();
    return SimLink::instance().waitCount("FA0", tunings, 5s);
}

TEST_F(VscanWindowSweep, AWholeSweepDrawsTheBandModelAndStopsAtTheHighEdge) {
    open();
    QuickSweep(*this, ui(), 60, false); // readings compared: a comfortable interval
    sim().quiet();
    ui().start->click();
    ASSERT_FALSE(stopped());
    EXPECT_FALSE(ui().start->isEnabled());
    EXPECT_TRUE(ui().pause->isEnabled());
    EXPECT_FALSE(ui().close->isEnabled());
    EXPECT_FALSE(ui().spanList->isEnabled());
    EXPECT_FALSE(ui().slider->isEnabled());
    ASSERT_TRUE(pumpUntil([&] { return stopped(); }, 20000));

    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(ui().graph->level(i), sim().radio().sMeterAt(channel(i))) << "channel " << i;
    }
    // Every channel tuned, then the centre again after the stop.
    const auto fa = sim().commands({"FA"});
    ASSERT_GE(fa.size(), 32u);
    EXPECT_EQ(fa.front(), SimLink::FrequencyCommand("FA", channel(0)));
    EXPECT_EQ(fa[30], SimLink::FrequencyCommand("FA", channel(30)));
    EXPECT_EQ(fa.back(), SimLink::FrequencyCommand("FA", 14'195'000));
    EXPECT_EQ(sim().count("SM0"), 31u);
    EXPECT_TRUE(ui().start->isEnabled());
    EXPECT_FALSE(ui().pause->isEnabled());
    EXPECT_TRUE(ui().close->isEnabled());
    EXPECT_EQ(ui().slider->value(), 15);
}

TEST_F(VscanWindowSweep, StartAsksTheRadioToReceiveOnTheSweptVfo) {
    sim().radio().modify([](qxsim::State& s) { s.rxVfo = 1; });
    link().ConnFR("R", 0);
    ASSERT_TRUE(sim().sync());
    sim().quiet();
    open(); // FR 1 stored: the main band sweeps with FB
    EXPECT_EQ(window->control().selector.load(), 1u);
    GlimraMsgFR(0); // the radio went back to A while stopped: the selector follows
    EXPECT_EQ(window->control().selector.load(), 0u);
    QuickSweep(*this, ui(), 20, false);
    ui().start->click();
    EXPECT_TRUE(sim().radio().waitFor("FR0", 2s)); // stored FR 1 differs from selector 0
    ui().stop->click();
}

struct Guard {
    const char* name;
    std::function<void(WindowTest&, CCorvan&, qxsim::Radio&)> arrange;
};

class VscanStartGuards : public WindowTest, public ::testing::WithParamInterface<Guard> {};

TEST_P(VscanStartGuards, RefuseToStart) {
    open();
    QuickSweep(*this, ui(), 20, false);
    GetParam().arrange(*this, link(), sim().radio());
    sim().quiet();
    ui().start->click();
    EXPECT_TRUE(stopped());
    EXPECT_TRUE(ui().start->isEnabled());
    EXPECT_FALSE(ui().pause->isEnabled());
    EXPECT_FALSE(sim().radio().waitFor("FA0", 300ms));
}

void Requery(CCorvan& link) {
    link.ConnPS("R", 0);
    link.ConnSC("R", 0);
    link.ConnCM("R", 0);
    link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    ASSERT_TRUE(SimLink::instance().sync());
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanStartGuards,
    ::testing::Values(
        Guard{"PowerOff",
              [](WindowTest&, CCorvan& l, qxsim::Radio& r) {
                  r.modify([](qxsim::State& s) { s.power = 0; });
                  Requery(l);
              }},
        Guard{"RadioScanning",
              [](WindowTest&, CCorvan& l, qxsim::Radio& r) {
                  r.modify([](qxsim::State& s) { s.scan = 1; });
                  Requery(l);
              }},
        Guard{"Pct",
              [](WindowTest&, CCorvan& l, qxsim::Radio& r) {
                  r.modify([](qxsim::State& s) { s.values["CM"] = {1}; });
                  Requery(l);
              }},
        Guard{"Satellite",
              [](WindowTest&, CCorvan& l, qxsim::Radio& r) {
                  r.modify([](qxsim::State& s) { s.satellite[0] = 1; });
                  Requery(l);
              }},
        Guard{"NoSatelliteStateStored",
              [](WindowTest&, CCorvan& l, qxsim::Radio& r) {
                  qxsim::Faults silent;
                  silent.silent = true;
                  r.setFaults(silent);
                  l.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, ""); // clears the record; never answered
                  ASSERT_TRUE(r.waitFor("SA", std::chrono::seconds(2)));
                  r.setFaults({});
              }},
        Guard{"Transmitting", [](WindowTest&, CCorvan&, qxsim::Radio&) { GlimraMsgTX(0); }},
        Guard{"Menu061Item01", [](WindowTest&, CCorvan&, qxsim::Radio&) { GlimraMsgEX(61, 1, 0, 0, "1"); }},
        Guard{"Menu061Item05", [](WindowTest&, CCorvan&, qxsim::Radio&) { GlimraMsgEX(61, 5, 0, 0, "2"); }},
        Guard{"Menu062Item05", [](WindowTest&, CCorvan&, qxsim::Radio&) { GlimraMsgEX(62, 5, 0, 0, "1"); }}),
    [](const ::testing::TestParamInfo<Guard>& p) { return std::string(p.param.name); });

TEST_F(VscanWindowSweep, TransmitEndsAndReceiveAllowsAgain) {
    open();
    QuickSweep(*this, ui(), 20, true);
    GlimraMsgTX(0);
    GlimraMsgRX(0);
    EXPECT_EQ(window->transmitting(), 0);
    ui().start->click();
    EXPECT_FALSE(stopped());
    ui().stop->click();
    EXPECT_TRUE(stopped());
}

TEST_F(VscanWindowSweep, TransmitReportMidSweepStopsAndRetunesTheCentre) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 20, 5));
    pumpFor(20);
    GlimraMsgTX(0);
    EXPECT_TRUE(stopped());
    EXPECT_EQ(window->transmitting(), 1);
    const auto fa = sim().commands({"FA0"});
    EXPECT_EQ(fa.back(), SimLink::FrequencyCommand("FA", 14'195'000));
    // Nothing is tuned after the centre.
    const std::size_t n = fa.size();
    EXPECT_FALSE(sim().waitCount("FA0", n + 1, 300ms));
    EXPECT_TRUE(ui().start->isEnabled());
    EXPECT_EQ(ui().slider->value(), 15);
    EXPECT_EQ(window->control().current.load(), window->control().low.load());
}

struct StopReport {
    const char* name;
    std::function<void()> report;
    bool stops;
};

class VscanStopReports : public WindowTest, public ::testing::WithParamInterface<StopReport> {};

TEST_P(VscanStopReports, StopTheSweepOrNot) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 20, 2));
    GetParam().report();
    EXPECT_EQ(stopped(), GetParam().stops);
    ui().stop->click();
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanStopReports,
    ::testing::Values(StopReport{"ScanOfTheSweptReceiver", [] { GlimraMsgSC(1); }, true},
                      StopReport{"VisualScanOfTheRadio", [] { GlimraMsgSC(3); }, true},
                      StopReport{"ScanOff", [] { GlimraMsgSC(0); }, false},
                      StopReport{"GuardMenu", [] { GlimraMsgEX(62, 5, 0, 0, "1"); }, true},
                      StopReport{"OtherMenu", [] { GlimraMsgEX(20, 1, 0, 0, "1"); }, false},
                      StopReport{"ScanStopExport", [] { GlimraScanStop(); }, true},
                      StopReport{"Transmit", [] { GlimraMsgTX(0); }, true}),
    [](const ::testing::TestParamInfo<StopReport>& p) { return std::string(p.param.name); });

TEST_F(VscanWindowSweep, FrReportWhileSweepingPutsTheRadioBack) {
    open();
    QuickSweep(*this, ui(), 20, true);
    ui().start->click();
    sim().quiet();
    GlimraMsgFR(1);
    EXPECT_TRUE(sim().radio().waitFor("FR0", 2s));
    EXPECT_EQ(window->control().selector.load(), 0u);
    ui().stop->click();
}

TEST_F(VscanWindowSweep, PauseKeepsBarsAndTheSliderTunesTheChannel) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 20, 8));
    ASSERT_TRUE(pumpUntil([&] { return ui().graph->level(3) >= 0; }));
    ui().pause->click();
    EXPECT_TRUE(window->control().paused.load() != 0);
    EXPECT_TRUE(ui().start->isEnabled());
    EXPECT_TRUE(ui().slider->isEnabled());
    pumpFor(50);
    EXPECT_GE(ui().graph->level(3), 0); // the bars stay

    // The slider tunes its channel and the thread keeps refreshing its bar.
    sim().quiet();
    ui().slider->setValue(4);
    EXPECT_TRUE(sim().radio().waitFor(SimLink::FrequencyCommand("FA", channel(4)), 2s));
    EXPECT_EQ(window->sliderTip().toStdString(), FormatDotted(channel(4)));
    const std::size_t queries = sim().count("SM0");
    ASSERT_TRUE(sim().waitCount("SM0", queries + 3, 3s));

    // A click on a bar while paused tunes that channel.
    const BarGeometry g = GeometryForSpan(31);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(g.left + 9 * g.width + 3, 200), QPointF(),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ui().graph, &press);
    EXPECT_EQ(ui().slider->value(), 9);
    EXPECT_TRUE(sim().radio().waitFor(SimLink::FrequencyCommand("FA", channel(9)), 2s));
    const int expected = sim().radio().sMeterAt(channel(9));
    EXPECT_TRUE(pumpUntil([&] { return ui().graph->level(9) == expected; }, 3000));

    // Start resumes where the sweep was.
    ui().start->click();
    EXPECT_TRUE(scanning());
    EXPECT_FALSE(ui().slider->isEnabled());
    ui().stop->click();
    EXPECT_TRUE(stopped());
}

TEST_F(VscanWindowSweep, SliderToAChannelInNoBandGoesBack) {
    sim().radio().modify([](qxsim::State& s) { s.vfoA = 59'990'000; });
    link().ConnFA("R", "");
    ASSERT_TRUE(sim().sync());
    open();
    ui().spanList->setCurrentText(QStringLiteral("31"));
    ui().stepList->setCurrentText(QStringLiteral("5kHz"));
    sim().quiet();
    ui().slider->setValue(29); // 60.060 MHz: above the band
    EXPECT_EQ(window->sliderTip(), QStringLiteral("Error!!"));
    EXPECT_EQ(ui().slider->value(), 15);
    ui().slider->setValue(16); // 59.995 MHz
    EXPECT_EQ(window->sliderTip(), QStringLiteral("59.995.000"));
    EXPECT_TRUE(sim().radio().waitFor("FA00059995000", 2s));
}

TEST_F(VscanWindowSweep, SilentRadioLeavesEmptyBarsAndTheWindowResponsive) {
    open();
    QuickSweep(*this, ui(), 20, false);
    qxsim::Faults silent;
    silent.silent = true;
    sim().radio().setFaults(silent);
    ui().start->click();
    ASSERT_FALSE(stopped());
    ASSERT_TRUE(pumpUntil([&] { return stopped(); }, 20000));
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(ui().graph->level(i), -1) << i;
    }
    ui().graphList->setCurrentIndex(1); // the window still answers
    EXPECT_EQ(window->graphMode(), 2);
}

TEST_F(VscanWindowSweep, CloseDuringASweepStopsItAndTellsTheConsole) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 20, 3));
    window->close();
    EXPECT_TRUE(stopped());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isOpen());
    ASSERT_TRUE(pumpUntil([&] { return !mainWindow->received.empty(); }));
    EXPECT_EQ(mainWindow->messages().back(), platform::kUmVscanClosed);
    GlimraDestroy();
    EXPECT_EQ(TheWindow(), nullptr);
}

// Destroyed in the middle of a sweep: the thread is joined, the radio is
// tuned back to the centre and menu 015 restored, and nothing follows.
TEST_F(VscanWindowSweep, DestroyDuringASweepJoinsTheThreadAndPutsTheRadioBack) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 200, 2));
    sim().quiet();
    GlimraDestroy();
    EXPECT_EQ(TheWindow(), nullptr);
    ASSERT_TRUE(sim().radio().waitFor("EX01500000", 2s)); // the saved value (none: 0)
    const auto fa = sim().commands({"FA0"});
    EXPECT_EQ(fa.back(), SimLink::FrequencyCommand("FA", 14'195'000));
    EXPECT_FALSE(sim().waitCount("FA0", fa.size() + 1, 400ms));
    EXPECT_EQ(sim().radio().state().vfoA, 14'195'000);
    pumpFor(20); // draw messages still queued for the window are dropped with it
}

// Start moved the main band from its memory channel to VFO A: the sweep's
// end puts it back on the channel.
TEST_F(VscanWindowSweep, TheReceiveVfoIsPutBackAfterTheSweep) {
    sim().radio().modify([](qxsim::State& s) { s.rxVfo = 2; });
    link().ConnFR("R", 0);
    ASSERT_TRUE(sim().sync());
    open();
    ASSERT_EQ(window->control().selector.load(), 0u);
    QuickSweep(*this, ui(), 20, true);
    sim().quiet();
    ui().start->click();
    ASSERT_TRUE(sim().radio().waitFor("FR0", 2s));
    ASSERT_TRUE(sim().waitCount("FA0", 2, 5s));
    ui().stop->click();
    EXPECT_TRUE(sim().radio().waitFor("FR2", 2s));
    EXPECT_TRUE(Eventually([&] { return sim().radio().state().rxVfo == 2; }, 2s));
}

// The radio's control band moved to the sub band during a main-band sweep:
// when the sweep ends, the window follows with the sub band's steps.
TEST_F(VscanWindowSweep, ABandChangeDuringTheSweepTakesEffectAtItsEnd) {
    open();
    ASSERT_TRUE(StartRepeating(*this, ui(), 20, 2));
    GlimraMsgDC(0, 1);
    EXPECT_EQ(ui().stepList->count(), 15); // nothing changes while it sweeps
    ui().stop->click();
    ASSERT_EQ(ui().stepList->count(), 10);
    EXPECT_EQ(ui().stepList->itemText(0), QStringLiteral("5kHz"));
    EXPECT_EQ(ui().bandList->currentText(), QStringLiteral(" Sub Band"));
    EXPECT_EQ(window->control().selector.load(), 2u);
    EXPECT_EQ(window->control().centre.load(), 145'000'000);
}

} // namespace
} // namespace glimra
