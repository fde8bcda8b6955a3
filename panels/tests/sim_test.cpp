// SPDX-License-Identifier: GPL-3.0-or-later
// The panels against the virtual transceiver: what they put on the wire and
// what they take from the replies the link has stored.
#include "on_the_radio.h"
#include "test_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QPushButton>

#include <chrono>
#include <memory>

namespace pandor::test {
namespace {

using namespace std::chrono_literals;

class PanelsOnTheRadio : public OnTheRadio<PanelTest> {
protected:
    void SetUp() override {
        OnTheRadio::SetUp();
        if (!HasFatalFailure()) {
            ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
        }
    }

    // Commands go out in order: once a later ID query has reached the radio,
    // everything sent before it has too.
    void Flush() {
        const std::size_t before = radio.countOf("ID");
        ASSERT_EQ(link.ConnID(), 1);
        // The predicate runs under the radio's lock: it reads only its argument.
        ASSERT_TRUE(radio.waitFor(
            [before](const std::vector<qxsim::Received>& received) {
                std::size_t ids = 0;
                for (const auto& command : received) {
                    ids += command.text.rfind("ID", 0) == 0 ? 1 : 0;
                }
                return ids > before;
            },
            5s));
    }

    // Asks for the control band and waits until its answer is stored.
    void StoreControlBand() {
        ASSERT_EQ(link.ConnDC("R", 0, 0), 1);
        std::uint32_t transmit = 0, control = 0;
        for (int i = 0; i < 500 && link.RcvDataDC(&transmit, &control) == 0; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_EQ(link.RcvDataDC(&transmit, &control), 1);
    }

    static QPushButton* Button(QWidget* panel, const QString& text) {
        for (auto* button : panel->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                return button;
            }
        }
        return nullptr;
    }
};

TEST_F(PanelsOnTheRadio, ResetButtonsSendSrAndTellTheConsole) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    dialogs->answers = {platform::IdYes, platform::IdYes};
    platform::SetDialogProvider(dialogs);
    QuorelView(nullptr);
    QPushButton* all = Button(Panels().setup, "&ALL");
    QPushButton* vfo = Button(Panels().setup, "&VFO");
    ASSERT_TRUE(all && vfo);
    EXPECT_FALSE(all->isEnabled());
    PandorMsgPS(1);
    ASSERT_TRUE(all->isEnabled() && vfo->isEnabled());

    vfo->click();
    ASSERT_TRUE(radio.waitFor("SR1", 5s));
    all->click();
    ASSERT_TRUE(radio.waitFor("SR2", 5s));
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmRadioReset, 1, 0},
                                                  {platform::kUmRadioReset, 2, 0}}));
}

TEST_F(PanelsOnTheRadio, ResetAnsweredNoSendsNothing) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    dialogs->defaultAnswer = platform::IdNo;
    platform::SetDialogProvider(dialogs);
    QuorelView(nullptr);
    EXPECT_FALSE(Panels().setup->ResetRadio(CSetupPanel::Reset::Full));
    Flush();
    EXPECT_EQ(radio.countOf("SR"), 0u);
    Deliver();
    EXPECT_TRUE(sink.received.empty());
}

TEST_F(PanelsOnTheRadio, MemoryGroupPanelOpensTitledForTheStoredBandAndReadsItsGroups) {
    radio.modify([](qxsim::State& s) { s.controlBand = 1; });
    StoreControlBand();
    radio.clearReceived();
    RadioMgrView(nullptr);
    EXPECT_EQ(Panels().memGroup->windowTitle(), QStringLiteral("Memory Group Use  -Sub Band-"));
    EXPECT_TRUE(radio.waitFor("MU", 5s));
}

TEST_F(PanelsOnTheRadio, RepeatedControlBandDoesNotAskAgain) {
    RadioMgrView(nullptr);
    PandorMsgDC(0, 0);
    Flush();
    EXPECT_EQ(radio.countOf("MU"), 1u);
    PandorMsgDC(0, 0);
    PandorMsgDC(1, 0); // the transmit band alone changes nothing
    Flush();
    EXPECT_EQ(radio.countOf("MU"), 1u);
    PandorMsgDC(0, 1);
    Flush();
    EXPECT_EQ(radio.countOf("MU"), 2u);
}

TEST_F(PanelsOnTheRadio, ScanGroupPanelAsksForTheGroupsOfItsScanType) {
    RadioSgrView(nullptr);
    PandorMsgSU(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    radio.clearReceived();
    PandorMsgDC(0, 1);
    ASSERT_TRUE(radio.waitFor("SU1", 5s));
}

} // namespace
} // namespace pandor::test
