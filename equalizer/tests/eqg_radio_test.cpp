// SPDX-License-Identifier: GPL-3.0-or-later
// Every sample written to the virtual transceiver: the command chosen by
// RX EQ. / TX EQ. and the 128 characters, against the texts typed out in
// samples_expected.h.
#include "radio_suite.h"
#include "samples_expected.h"
#include "window_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QComboBox>

#include <chrono>
#include <string>

namespace {

using namespace testing_tonwell;
using namespace std::chrono_literals;
using tonwell::CEqgWindow;

class SamplesOnTheRadio : public WithSuiteRadio<testing::Test> {
protected:
    void SetUp() override {
        ASSERT_NE(radio, nullptr);
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        RadioEqgView(nullptr);
        window = FindWindow<CEqgWindow>();
        ASSERT_NE(window, nullptr);
        radio->clearReceived();
    }
    void TearDown() override {
        RadioEqgDestroy();
        platform::SetDialogProvider(nullptr);
    }

    void Choose(int type, int sample, bool transmit) {
        Child<QComboBox>(window, tonwell::kIdSampleTypeList)->setCurrentIndex(type - 1);
        Child<QPushButton>(window, tonwell::kIdSample1 + sample - 1)->click();
        Child<QRadioButton>(window, transmit ? tonwell::kIdSampleTx : tonwell::kIdSampleRx)->click();
    }
    void Write(int answer) {
        dialogs->answers.push_back(answer);
        Child<QPushButton>(window, tonwell::kIdSampleWrite)->click();
    }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    CEqgWindow* window = nullptr;
};


class EverySampleOnTheRadio : public SamplesOnTheRadio, public testing::WithParamInterface<ExpectedSample> {};

TEST_P(EverySampleOnTheRadio, GoesOutAsUrAndUt) {
    const ExpectedSample& e = GetParam();
    Choose(e.type, e.sample, false);
    Write(platform::IdOk);
    Choose(e.type, e.sample, true);
    Write(platform::IdOk);
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "UR" + std::string(e.taps));
    EXPECT_EQ(texts[1], "UT" + std::string(e.taps));
    const qxsim::State state = radio->state();
    EXPECT_EQ(state.receiveTaps, e.taps);
    EXPECT_EQ(state.transmitTaps, e.taps);
}

INSTANTIATE_TEST_SUITE_P(Table, EverySampleOnTheRadio, testing::ValuesIn(kExpectedSamples),
                         [](const auto& p) {
                             return "Type" + std::to_string(p.param.type) + "Sample" + std::to_string(p.param.sample);
                         });

TEST_F(SamplesOnTheRadio, CancelSendsNothing) {
    Choose(2, 3, true);
    Write(platform::IdCancel);
    Choose(5, 1, false);
    Write(platform::IdCancel);
    EXPECT_TRUE(ReceivedUntilMarker().empty());
    EXPECT_EQ(dialogs->messages.size(), 2u);
}

TEST_F(SamplesOnTheRadio, ChoosingTypesAndSamplesSendsNothing) {
    for (int type = 1; type <= 7; ++type) Choose(type, 6 - (type % 5 + 1), type % 2 == 0);
    EXPECT_TRUE(ReceivedUntilMarker().empty());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SamplesOnTheRadio, TypeChangeWritesSampleOneOfTheNewType) {
    Choose(3, 4, false);
    Child<QComboBox>(window, tonwell::kIdSampleTypeList)->setCurrentIndex(5);
    Write(platform::IdOk);
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "UR" + std::string(kExpectedSamples[25].taps)); // type 6, sample 1
}

TEST_F(SamplesOnTheRadio, LastOfTheTableToTransmit) {
    Choose(7, 5, true);
    Write(platform::IdOk);
    const auto texts = ReceivedUntilMarker();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "UT" + std::string(kExpectedSamples.back().taps));
}

} // namespace
