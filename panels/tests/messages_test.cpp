// SPDX-License-Identifier: GPL-3.0-or-later
// The window messages the panels post to the main window: the memory editor's
// and the satellite name panel's end messages, and the setup panel's reset.
#include "test_helpers.h"

#include <QPushButton>

#include <memory>

namespace pandor::test {
namespace {

using MessagesTest = PanelTest;

QPushButton* Button(QWidget* panel, const QString& text) {
    for (auto* button : panel->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

struct EndCase {
    const char* name;
    void (*view)(QWidget*);
    std::function<CPanelBase*()> current;
    unsigned message;
};

const EndCase kEndCases[] = {
    {"Memory", RadioMchView, [] { return static_cast<CPanelBase*>(Panels().memory.data()); },
     platform::kUmMemoryEditEnd},
    {"SatelliteName", RadioSmnView, [] { return static_cast<CPanelBase*>(Panels().satName.data()); },
     platform::kUmSatNameEnd},
};

class EndMessage : public PanelTest, public ::testing::WithParamInterface<EndCase> {
protected:
    CPanelBase* Open() {
        GetParam().view(nullptr);
        return GetParam().current();
    }
};

TEST_P(EndMessage, OkPostsOneAndCancelZero) {
    CPanelBase* panel = Open();
    Button(panel, "OK")->click();
    EXPECT_TRUE(sink.received.empty()) << "posted, never sent";
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{GetParam().message, 1, 0}}));
    EXPECT_FALSE(panel->isVisible());

    sink.received.clear();
    Open();
    Button(panel, "Cancel")->click();
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{GetParam().message, 0, 0}}));
    EXPECT_EQ(GetParam().current(), panel) << "the console destroys it, not the panel";
}

TEST_P(EndMessage, KeysAndCloseBoxReportLikeTheButtons) {
    CPanelBase* panel = Open();
    panel->setFocus();
    PressKey(panel, Qt::Key_Return);
    Open();
    panel->setFocus();
    PressKey(panel, Qt::Key_Escape);
    Open();
    panel->close();
    Deliver();
    const unsigned m = GetParam().message;
    EXPECT_EQ(sink.received, (std::vector<Posted>{{m, 1, 0}, {m, 0, 0}, {m, 0, 0}}));
}

TEST_P(EndMessage, EnterOnAFocusedButtonActsOnThatButton) {
    CPanelBase* panel = Open();
    QPushButton* cancel = Button(panel, "Cancel");
    cancel->setFocus();
    PressKey(cancel, Qt::Key_Return);
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{GetParam().message, 0, 0}}));
}

TEST_P(EndMessage, ClosingActivatesTheMainWindow) {
    sink.show();
    CPanelBase* panel = Open();
    panel->activateWindow();
    Deliver();
    ASSERT_EQ(QApplication::activeWindow(), panel);
    Button(panel, "OK")->click();
    Deliver();
    EXPECT_EQ(QApplication::activeWindow(), &sink);
    sink.hide();
}

TEST_P(EndMessage, NothingIsPostedWithoutAMainWindow) {
    platform::SetMainWindow(nullptr);
    CPanelBase* panel = Open();
    Button(panel, "OK")->click();
    Deliver();
    EXPECT_TRUE(sink.received.empty());
    EXPECT_FALSE(panel->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Panels, EndMessage, ::testing::ValuesIn(kEndCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(MessagesTest, OtherPanelsCloseWithoutTellingTheConsole) {
    RadioAgcView(nullptr);
    PandorView(nullptr, 2);
    RadioMgrView(nullptr);
    Panels().agc->close();
    Panels().multi->close();
    Panels().memGroup->close();
    Deliver();
    EXPECT_TRUE(sink.received.empty());
}

// Without a radio the reset is refused by the link: the console must not be
// told to clear its settings for a reset that never happened.
TEST_F(MessagesTest, ResetAnsweredNoOrRefusedByTheLinkPostsNothing) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    dialogs->answers = {platform::IdNo, platform::IdYes};
    platform::SetDialogProvider(dialogs);
    QuorelView(nullptr);
    EXPECT_FALSE(Panels().setup->ResetRadio(CSetupPanel::Reset::Full));
    EXPECT_FALSE(Panels().setup->ResetRadio(CSetupPanel::Reset::Vfo));
    Deliver();
    EXPECT_TRUE(sink.received.empty());
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("All Reset OK?"));
    EXPECT_EQ(dialogs->messages[1].text, QStringLiteral("VFO Reset OK?"));
    for (const auto& request : dialogs->messages) {
        EXPECT_EQ(request.caption, QStringLiteral("Zephyra"));
        EXPECT_EQ(request.flags, platform::MbYesNo | platform::MbIconQuestion | platform::MbDefButton2);
    }
}

// The console may destroy the setup panel while its question is open (the
// question runs its own event loop): the reset then stops quietly.
class DestroyingDialogs final : public platform::DialogProvider {
public:
    int messageBox(const platform::MessageBoxRequest&, QWidget*) override {
        QuorelDestroy();
        return platform::IdYes;
    }
    std::optional<QString> fileDialog(const platform::FileDialogRequest&, QWidget*) override {
        return std::nullopt;
    }
};

TEST_F(MessagesTest, SetupPanelDestroyedDuringTheResetQuestionStopsTheReset) {
    platform::SetDialogProvider(std::make_shared<DestroyingDialogs>());
    QuorelView(nullptr);
    EXPECT_FALSE(Panels().setup->ResetRadio(CSetupPanel::Reset::Full));
    EXPECT_EQ(Panels().setup.data(), nullptr);
    Deliver();
    EXPECT_TRUE(sink.received.empty());
}

} // namespace
} // namespace pandor::test
