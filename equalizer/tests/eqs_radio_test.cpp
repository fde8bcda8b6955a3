// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the designed taps to the radio, checked on the virtual transceiver:
// the confirmation, the command chosen by RX/TX and the 128 characters.
#include "radio_suite.h"
#include "window_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QMenuBar>

#include <chrono>

namespace {

using namespace testing_tonwell;
using namespace std::chrono_literals;

class RadioWriteTest : public WithSuiteRadio<DesignWindowTest> {
protected:
    void SetUp() override {
        DesignWindowTest::SetUp();
        radio->clearReceived();
    }

    static std::string ExpectedTaps(const tonwell::DesignParams& params) {
        return tonwell::TapText(tonwell::DesignFilter(params));
    }
};

TEST_F(RadioWriteTest, CancelSendsNothing) {
    dialogs->answers.push_back(platform::IdCancel);
    Button(tonwell::kIdWrite)->click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Write to Radio. OK?");
    EXPECT_TRUE(ReceivedUntilMarker().empty());
}

TEST_F(RadioWriteTest, OkOnReceiveSendsUrWithTheDefaultTaps) {
    dialogs->answers.push_back(platform::IdOk);
    Button(tonwell::kIdWrite)->click();
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "UR" + ExpectedTaps({1, 0.3, 0.0, 20}));
    EXPECT_EQ(texts[0].size(), 130u);
    EXPECT_EQ(radio->state().receiveTaps, ExpectedTaps({1, 0.3, 0.0, 20}));
}

TEST_F(RadioWriteTest, TransmitSelectionSendsUtWithTheBandPass) {
    Radio(tonwell::kIdBpf)->click();
    Bar(tonwell::kIdAttenuationBar)->setValue(55);
    Radio(tonwell::kIdTx)->click();
    dialogs->answers.push_back(platform::IdOk);
    Button(tonwell::kIdWrite)->click();
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "UT" + ExpectedTaps({3, 2.0, 4.0, 55}));
    EXPECT_EQ(radio->state().transmitTaps, ExpectedTaps({3, 2.0, 4.0, 55}));
}

TEST_F(RadioWriteTest, MenuChoosesTheEqualiserAndWrites) {
    Radio(tonwell::kIdBef)->click();
    auto* bar = window->findChild<QMenuBar*>();
    QMenu* write = bar->actions()[2]->menu()->actions()[0]->menu();
    dialogs->answers.push_back(platform::IdOk);
    write->actions()[1]->trigger(); // TX EQ.
    EXPECT_TRUE(Radio(tonwell::kIdTx)->isChecked());
    dialogs->answers.push_back(platform::IdOk);
    write->actions()[0]->trigger(); // RX EQ.
    EXPECT_TRUE(Radio(tonwell::kIdRx)->isChecked());
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "UT" + ExpectedTaps({4, 2.0, 4.0, 20}));
    EXPECT_EQ(texts[1], "UR" + ExpectedTaps({4, 2.0, 4.0, 20}));
}

TEST_F(RadioWriteTest, DesigningAndFilesSendNothing) {
    Radio(tonwell::kIdHpf)->click();
    Bar(tonwell::kIdF1Bar)->setValue(900);
    Bar(tonwell::kIdAttenuationBar)->setValue(70);
    window->OnFileOpen(); // cancelled
    dialogs->files.push_back(QStringLiteral("/nonexistent/folder/x.udd"));
    window->OnFileOpen(); // fails
    EXPECT_TRUE(ReceivedUntilMarker().empty());
}

} // namespace
