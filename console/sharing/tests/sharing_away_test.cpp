// SPDX-License-Identifier: GPL-3.0-or-later
// The servers while the radio is away: clients are told it is not available
// (rigctld's -11, an XML-RPC fault) instead of stale values, and get answers
// again once the console has found the radio by itself. The console says the
// loss on its status line and in its title meanwhile.
#include "sharing_fixture.h"

#include "console_ids.h"
#include "console_template.h"

#include <QLabel>

namespace sharing_test {
namespace {

class SharingAway : public SharingTest {
protected:
    std::string Status() {
        auto* note = console->findChild<QLabel*>(QStringLiteral("connectionNote"));
        return note && !note->isHidden() ? note->text().toStdString() : std::string();
    }
};

TEST_F(SharingAway, ClientsAreToldTheRadioIsAwayAndGetAnswersWhenItIsBack) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_EQ(Ask(c, "F 7074000"), "RPRT 0\n");
    ASSERT_EQ(Ask(c, "f"), "7074000\n");
    ASSERT_EQ(Call("rig.get_vfo").find("<fault>"), std::string::npos);

    const std::string device = console->connection()->OpenedDevice().toStdString();
    qxsim::Faults silent;
    silent.silent = true;
    radio().setFaults(silent);
    ASSERT_TRUE(display_test::PumpUntil([&] { return state().connected == 0; }, 10s));
    const std::string said = "No answer from the radio on " + device;
    EXPECT_EQ(Status(), said);
    EXPECT_EQ(console->windowTitle().toStdString(), std::string(kConsoleCaption) + " - " + said);

    EXPECT_EQ(Ask(c, "f"), "RPRT -11\n");
    EXPECT_EQ(Ask(c, "l STRENGTH"), "RPRT -11\n");
    const std::string fault = Call("rig.get_vfo");
    EXPECT_NE(fault.find("<fault>"), std::string::npos) << fault;
    EXPECT_NE(Call("rig.get_smeter").find("<fault>"), std::string::npos);

    // The radio answers again: the console finds it by itself.
    radio().setFaults({});
    ASSERT_TRUE(display_test::PumpUntil([&] { return state().consoleReady == 1 && state().initialReadDone == 1; }, 15s));
    EXPECT_EQ(Status(), "Connected again to the radio on " + device);
    EXPECT_EQ(console->windowTitle().toStdString(), std::string(kConsoleCaption));
    EXPECT_EQ(Ask(c, "f"), "7074000\n");
    EXPECT_EQ(Call("rig.get_vfo").find("<fault>"), std::string::npos);
}

} // namespace
} // namespace sharing_test
