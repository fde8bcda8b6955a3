// SPDX-License-Identifier: GPL-3.0-or-later
// The whole console over a line with a long round trip (the radio behind a
// relay that holds every byte half the round trip each way): the connect and
// the initial read, keypad entry and tuning, and the sharing server answering
// a client, at 150 and 400 ms, all as on the desk.
#include "operations_fixture.h"

#include <radio_sharing.h>
#include <delay_pty.h>
#include <line_client.h>

#include <QApplication>

namespace operations_test {
namespace {

using namespace std::chrono_literals;

class SlowLine : public OperationsTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        OperationsTest::SetUp();
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        radio().modify([](qxsim::State& s) {
            s.vfoA = 14'195'000;
            s.vfoB = 7'050'000;
            s.modeA = 3; // CW
        });
        relay = std::make_unique<testsupport::DelayPty>(radio().devicePath(),
                                                         std::chrono::milliseconds(GetParam()));
        ASSERT_TRUE(relay->Start()) << relay->Error();
        console->connection()->SetPortOverride(QString::fromStdString(relay->Path()));
        Ready();
    }
    void TearDown() override {
        OperationsTest::TearDown();
        relay.reset();
        platform::SetDialogProvider(nullptr);
    }
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : console.get();
            QTest::keyClick(target, *k == '.' ? Qt::Key_Period : static_cast<Qt::Key>(Qt::Key_0 + (*k - '0')));
        }
    }
    bool ShowsOnMain(const std::string& digits) {
        return PumpUntil([&] { return Shown(false).find(digits) != std::string::npos; }, 10s);
    }
    bool RadioHas(std::int64_t hz) {
        return PumpUntil([&] { return radio().state().vfoA == hz; }, 10s);
    }
    std::unique_ptr<testsupport::DelayPty> relay;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

TEST_P(SlowLine, ConnectReadsWhatTheRadioHoldsAndMeasuresTheLine) {
    EXPECT_EQ(state().consoleReady, 1);
    EXPECT_TRUE(ShowsOnMain("14.195.000")) << Shown(false);
    EXPECT_EQ(state().mode[0], 3);
    EXPECT_EQ(state().mainFrequency, 14'195'000);
    // The console knows the line: every wait for an answer allows for it.
    EXPECT_GE(console->connection()->RoundTripMs(), GetParam());
    EXPECT_GE(platform::ReplyAllowanceMs(), GetParam());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_P(SlowLine, KeypadEntryAndTheTuneKeyReachTheRadioAndTheDisplay) {
    Click(idc::Ent);
    Type("7.1");
    Click(idc::Ent);
    ASSERT_TRUE(RadioHas(7'100'000)) << radio().state().vfoA;
    EXPECT_TRUE(ShowsOnMain("7.100.000")) << Shown(false);
    PumpFor(2 * std::chrono::milliseconds(GetParam()));
    Settle();
    Click(idc::TuneUp);
    ASSERT_TRUE(PumpUntil([&] { return radio().state().vfoA > 7'100'000; }, 10s));
    // The display follows the radio's report, a round trip later.
    EXPECT_TRUE(PumpUntil([&] { return state().mainFrequency == radio().state().vfoA; }, 10s))
        << state().mainFrequency << " shown, the radio holds " << radio().state().vfoA;
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_P(SlowLine, TheSharingServerAnswersAClientOnceTheRadioHasIt) {
    zephyra::RadioSharing::Settings s;
    s.rigctl.enabled = true;
    s.rigctl.port = 0;
    auto& sharing = *console->sharing();
    sharing.Apply(s, false);
    const std::uint16_t port = sharing.Status(zephyra::RadioSharing::Server::Rigctl).port;
    ASSERT_NE(port, 0);
    share_test::LineClient c;
    ASSERT_TRUE(c.Connect(port));
    const auto pump = [] { platform::PumpMessages(100); };
    EXPECT_EQ(c.Ask("f", 1, 10s, pump), "14195000\n");
    Settle();
    EXPECT_EQ(c.Ask("F 14074000", 1, 10s, pump), "RPRT 0\n");
    EXPECT_EQ(radio().state().vfoA, 14'074'000);
    // The radio's own report confirmed the set: it was not asked again.
    for (const auto& r : radio().received())
        EXPECT_NE(r.text, "FA") << "a read of the frequency the radio reports anyway";
    EXPECT_EQ(c.Ask("f", 1, 10s, pump), "14074000\n");
    EXPECT_TRUE(PumpUntil([&] { return state().mainFrequency == 14'074'000; }, 10s));
}

INSTANTIATE_TEST_SUITE_P(RoundTrip, SlowLine, ::testing::Values(150, 400),
                         [](const ::testing::TestParamInfo<int>& row) {
                             return std::to_string(row.param) + "ms";
                         });

} // namespace
} // namespace operations_test
