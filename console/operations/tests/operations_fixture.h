// SPDX-License-Identifier: GPL-3.0-or-later
// operations_fixture.h - a connected console on the built-in simulator for
// the operator's side: real clicks, keys and wheel turns in, the commands
// the radio received out.
#pragma once

#include "../../display/tests/display_fixture.h"
#include "operations/console_operations.h"

#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

namespace operations_test {

using display_test::PumpFor;
using display_test::PumpUntil;

// Records the window calls the operations make (views only).
class ViewRecorder final : public zephyra::SecondaryWindows {
public:
    void RadioAgcView() override { calls.push_back("RadioAgcView"); }
    void RadioMgrView() override { calls.push_back("RadioMgrView"); }
    void RadioSgrView() override { calls.push_back("RadioSgrView"); }
    void RadioMchView() override { calls.push_back("RadioMchView"); }
    void GlimraView() override { calls.push_back("GlimraView"); }
    void GlimraScanStop() override { calls.push_back("GlimraScanStop"); }
    void PandorView(u32) override { calls.push_back("PandorView"); }
    void DunmarView(u32) override { calls.push_back("DunmarView"); }
    std::vector<std::string> calls;
};

class OperationsTest : public display_test::DisplayTest {
protected:
    void SetUp() override { StartWithWindows(views); }

    // Connected, shown and active, with nothing received yet.
    void Ready() {
        Connect();
        console->show();
        console->activateWindow();
        QTest::qWaitForWindowActive(console.get(), 2000);
        Settle();
    }
    // Lets the replies of the last action arrive, then forgets what was received.
    void Settle() {
        PumpFor(std::chrono::milliseconds(150));
        radio().clearReceived();
    }
    ConsoleOperations& ops() { return *console->operations(); }
    QWidget* Widget(int id) { return controls().widget(id); }
    void Click(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton); }

    // What the radio received since the last Settle(), without the
    // watchdog's polls, waiting until `count` commands are there (and a
    // little longer, so that one too many shows). The console handles no
    // reply meanwhile, so only what the operator's action sent is seen,
    // not what the display asks for once the radio's answers arrive.
    std::vector<std::string> Wire(std::size_t count = 1) {
        radio().waitFor([&](const std::vector<qxsim::Received>&) { return Filtered().size() >= count; },
                        std::chrono::seconds(3));
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        return Filtered();
    }
    std::vector<std::string> Filtered() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            if (r.text != "PS" && r.text != "AI")
                out.push_back(r.text);
        return out;
    }
    // Waits until the console's store reports what the radio now holds.
    void WaitReported(const std::string& reply) {
        ASSERT_TRUE(radio().waitForSent(reply, std::chrono::seconds(2))) << reply;
        PumpFor(std::chrono::milliseconds(100));
    }

    ViewRecorder* views = nullptr;
};

} // namespace operations_test
