// SPDX-License-Identifier: GPL-3.0-or-later
// A cable pulled mid-sweep, and the radio's own knob turned while it is out:
// the tune-back the visual scan owes is written once the radio is back only
// while the radio still stands on a channel the sweep left it on. A radio
// its operator has tuned elsewhere meanwhile keeps that frequency.
#include "console_desk.h"
#include "put_back.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using console_desk::Desk;
using console_desk::FaText;
using console_desk::PullMidSweep;
using console_desk::PumpUntil;

// FA settings (not queries) the radio received since the last clear.
std::vector<std::string> Tunings(const Desk& desk) {
    std::vector<std::string> out;
    for (const qxsim::Received& r : desk.radio.received())
        if (r.text.rfind("FA", 0) == 0 && r.text.size() > 2)
            out.push_back(r.text);
    return out;
}

struct PullCase {
    const char* name;
    std::int64_t turnedTo; // the radio's knob while the cable is out; 0 untouched
    bool closed = false;   // the window closed while the radio is away
};

TEST(SweepPull, TheTuneBackIsOwedOnlyWhileTheRadioStandsWhereTheSweepLeftIt) {
    for (const PullCase& c : {PullCase{"left on a sweep channel", 0},
                              PullCase{"tuned elsewhere at the radio", 7'100'000},
                              PullCase{"tuned within the span, off the sweep's channels", 14'194'730},
                              PullCase{"left on a sweep channel, the window closed", 0, true},
                              PullCase{"tuned elsewhere, the window closed", 7'100'000, true}}) {
        SCOPED_TRACE(c.name);
        Desk desk;
        glimra::CVisualScanDlg* window = nullptr;
        std::int64_t centre = 0;
        ASSERT_NO_FATAL_FAILURE(PullMidSweep(desk, window, centre));
        ASSERT_NE(desk.VfoA(), centre) << "the radio was not left on a sweep channel";
        if (c.turnedTo != 0)
            desk.radio.modify([&](qxsim::State& s) { s.vfoA = c.turnedTo; });
        const std::int64_t found = desk.VfoA();
        if (c.closed)
            window->OnClose();

        desk.PlugIn();
        desk.radio.clearReceived();
        ASSERT_TRUE(desk.ConnectAgain());
        if (c.turnedTo == 0) {
            EXPECT_TRUE(PumpUntil([&] { return desk.VfoA() == centre; }, 3s))
                << "the radio stays on " << desk.VfoA() << ", the centre is " << centre;
            EXPECT_EQ(Tunings(desk), std::vector<std::string>{FaText(centre)});
        } else {
            PumpUntil([] { return false; }, 1500ms);
            EXPECT_EQ(desk.VfoA(), found) << "the operator's own tuning was overridden";
            EXPECT_EQ(Tunings(desk), std::vector<std::string>{});
        }
        window = nullptr;
    }
}

// The channels a sweep leaves the radio on: low + k x step for k below the
// span; the centre itself owes nothing, and nothing else counts.
TEST(SweepPull, TheSweepsChannelsRunFromItsLowEdgeToItsHighEdge) {
    glimra::OwedToRadio::Tuning t;
    t.hz = 14'195'000;
    t.low = 14'192'000;
    t.step = 100;
    t.span = 61; // high edge 14'198'000
    EXPECT_TRUE(t.LeftByWindow(14'192'000));
    EXPECT_TRUE(t.LeftByWindow(14'194'900));
    EXPECT_TRUE(t.LeftByWindow(14'198'000));
    EXPECT_FALSE(t.LeftByWindow(14'195'000)) << "already on the centre";
    EXPECT_FALSE(t.LeftByWindow(14'198'100)) << "one past the high edge";
    EXPECT_FALSE(t.LeftByWindow(14'191'900)) << "one below the low edge";
    EXPECT_FALSE(t.LeftByWindow(14'194'950)) << "between two channels";
    t.step = 0;
    EXPECT_FALSE(t.LeftByWindow(14'192'000)) << "no step known";
}

} // namespace
