// SPDX-License-Identifier: GPL-3.0-or-later
// The AGC, memory group, scan group and satellite name panels against the
// virtual transceiver: ALL, OK and Cancel of the group panels and what they
// write, Enter and Esc, the AGC slider and the operator's hand on it, and
// the satellite name check.
#include "multi_radio_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>

#include <array>

namespace pandor::test {
namespace {

using Groups = std::array<int, kGroupCount>; // 1 ON, 0 OFF, -1 never reported

Groups StatesOf(const CGroupPanel& panel) {
    Groups states{};
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const auto& state = panel.groups()[g];
        states[g] = state.has_value() ? (*state ? 1 : 0) : -1;
    }
    return states;
}

void Report(const Groups& states) {
    const auto v = [&](std::size_t g) { return static_cast<std::uint32_t>(states[g] < 0 ? 9 : states[g]); };
    PandorMsgMU(v(0), v(1), v(2), v(3), v(4), v(5), v(6), v(7), v(8), v(9));
}

constexpr Groups kAllOn = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr Groups kAllOff = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Groups kUnknown = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

// ------------------------------------------------------------ ALL

struct AllCase {
    const char* name;
    Groups before;
    Groups after;
};

class GroupAll : public PanelTest, public ::testing::WithParamInterface<AllCase> {};

TEST_P(GroupAll, TurnsEveryGroupOnUnlessAllAreOnAlready) {
    RadioMgrView(nullptr);
    Report(GetParam().before);
    Panels().memGroup->allButton()->click();
    EXPECT_EQ(StatesOf(*Panels().memGroup), GetParam().after);
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        EXPECT_EQ(Panels().memGroup->onButton(g)->isChecked(), GetParam().after[g] == 1) << g;
        EXPECT_EQ(Panels().memGroup->offButton(g)->isChecked(), GetParam().after[g] == 0) << g;
    }
}

INSTANTIATE_TEST_SUITE_P(States, GroupAll,
                         ::testing::Values(AllCase{"AllOn", kAllOn, kAllOff}, AllCase{"AllOff", kAllOff, kAllOn},
                                           AllCase{"OneOff", {1, 1, 1, 1, 1, 1, 1, 1, 1, 0}, kAllOn},
                                           AllCase{"OneOn", {0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, kAllOn},
                                           AllCase{"NeverReported", kUnknown, kAllOn}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(PanelTest, AllTwiceFromAllOnTurnsThemOffAndOnAgain) {
    RadioSgrView(nullptr);
    PandorMsgSU(0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    Panels().scanGroup->allButton()->click();
    EXPECT_EQ(StatesOf(*Panels().scanGroup), kAllOff);
    Panels().scanGroup->allButton()->click();
    EXPECT_EQ(StatesOf(*Panels().scanGroup), kAllOn);
}

TEST_F(PanelTest, OnAndOffButtonsSetTheirGroupOnly) {
    RadioMgrView(nullptr);
    Report(kAllOff);
    Panels().memGroup->onButton(4)->click();
    Panels().memGroup->offButton(4)->click();
    Panels().memGroup->onButton(7)->click();
    Panels().memGroup->onButton(7)->click(); // ON again stays ON
    EXPECT_EQ(StatesOf(*Panels().memGroup), (Groups{0, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(Panels().memGroup->onButton(7)->isChecked());
    EXPECT_FALSE(Panels().memGroup->offButton(7)->isChecked());
}

// ------------------------------------------------------------ on the radio

class GroupsOnTheRadio : public RadioPanelTest {
protected:
    void SetUp() override {
        RadioPanelTest::SetUp();
        StartRadio();
    }
    static std::vector<std::string> Writes(const std::vector<std::string>& sent, const char* code) {
        std::vector<std::string> writes;
        for (const std::string& text : sent) {
            if (text.rfind(code, 0) == 0 && text.size() > 3) {
                writes.push_back(text);
            }
        }
        return writes;
    }
};

TEST_F(GroupsOnTheRadio, MemoryGroupOkWithEveryGroupOffStaysOpenAndSendsNothing) {
    RadioMgrView(nullptr);
    Report(kAllOff);
    Clear();
    Panels().memGroup->okButton()->click();
    EXPECT_TRUE(Panels().memGroup->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    Report(kUnknown);
    Panels().memGroup->okButton()->click();
    EXPECT_TRUE(Panels().memGroup->isVisible()) << "groups never reported count as OFF";
}

TEST_F(GroupsOnTheRadio, MemoryGroupOkWritesTheGroupsInOrderAndCloses) {
    RadioMgrView(nullptr);
    Report({1, 0, 1, 0, 0, 0, 0, 0, 0, 1});
    Panels().memGroup->onButton(5)->click();
    Clear();
    Panels().memGroup->okButton()->click();
    EXPECT_FALSE(Panels().memGroup->isVisible());
    EXPECT_EQ(Writes(Sent(), "MU"), std::vector<std::string>{"MU1010010001"});
    EXPECT_EQ(radio->value("MU", 5), 1);
}

TEST_F(GroupsOnTheRadio, MemoryGroupCancelAsksForTheGroupsAgain) {
    RadioMgrView(nullptr);
    Report(kAllOn);
    Panels().memGroup->offButton(0)->click();
    Clear();
    Panels().memGroup->cancelButton()->click();
    EXPECT_FALSE(Panels().memGroup->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{"MU"});
    RadioMgrView(nullptr);
    Clear();
    PressKey(Panels().memGroup, Qt::Key_Escape);
    EXPECT_FALSE(Panels().memGroup->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{"MU"});
}

TEST_F(GroupsOnTheRadio, ScanGroupOkWritesTheScanTypeAndTheGroups) {
    RadioSgrView(nullptr);
    PandorMsgSU(1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Panels().scanGroup->scanTypeList()->currentIndex(), 1);
    Clear();
    Panels().scanGroup->okButton()->click();
    EXPECT_FALSE(Panels().scanGroup->isVisible());
    EXPECT_EQ(Writes(Sent(), "SU"), std::vector<std::string>{"SU10100000000"});
}

TEST_F(GroupsOnTheRadio, ScanGroupOkWithEveryGroupOffStillWrites) {
    RadioSgrView(nullptr);
    PandorMsgSU(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    Clear();
    Panels().scanGroup->okButton()->click();
    EXPECT_FALSE(Panels().scanGroup->isVisible());
    EXPECT_EQ(Writes(Sent(), "SU"), std::vector<std::string>{"SU00000000000"});
}

TEST_F(GroupsOnTheRadio, ScanGroupCancelAsksForTheProgramScanGroups) {
    RadioSgrView(nullptr);
    PandorMsgSU(1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    Clear();
    Panels().scanGroup->cancelButton()->click();
    EXPECT_FALSE(Panels().scanGroup->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{"SU0"});
}

TEST_F(GroupsOnTheRadio, ChoosingAScanTypeAsksForItsGroups) {
    RadioSgrView(nullptr);
    Clear();
    Choose(Panels().scanGroup->scanTypeList(), 1);
    Choose(Panels().scanGroup->scanTypeList(), 0);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"SU1", "SU0"}));
}

TEST_F(GroupsOnTheRadio, ScanTypeOutsideTheListSelectsNothingAndOkWritesNothing) {
    RadioSgrView(nullptr);
    PandorMsgSU(4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(Panels().scanGroup->scanTypeList()->currentIndex(), -1);
    Clear();
    Panels().scanGroup->okButton()->click();
    EXPECT_TRUE(Panels().scanGroup->isVisible());
    EXPECT_EQ(Sent(), std::vector<std::string>{});
}

struct EnterCase {
    const char* name;
    int focus; // 0 ALL, 1 OK, 2 Cancel, 3 an ON button, 4 the scan type list
    bool closes;
    const char* command; // the first command sent, "" for none
};

class GroupEnter : public GroupsOnTheRadio, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(GroupEnter, ActsOnTheFocusedButtonOnly) {
    RadioSgrView(nullptr);
    CScanGroupPanel& panel = *Panels().scanGroup;
    PandorMsgSU(0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    QWidget* targets[] = {panel.allButton(), panel.okButton(), panel.cancelButton(), panel.onButton(3),
                          panel.scanTypeList()};
    QWidget* focus = targets[GetParam().focus];
    panel.activateWindow();
    focus->setFocus();
    ASSERT_EQ(panel.focusWidget(), focus);
    Clear();
    PressKey(focus, Qt::Key_Return);
    EXPECT_EQ(panel.isVisible(), !GetParam().closes);
    const std::vector<std::string> sent = Sent();
    if (*GetParam().command == '\0') {
        EXPECT_EQ(sent, std::vector<std::string>{});
    } else {
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), GetParam().command);
    }
    if (GetParam().focus == 0) {
        EXPECT_EQ(StatesOf(panel), kAllOn);
    } else {
        EXPECT_EQ(StatesOf(panel), (Groups{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(Focus, GroupEnter,
                         ::testing::Values(EnterCase{"All", 0, false, ""},
                                           EnterCase{"Ok", 1, true, "SU01000000000"},
                                           EnterCase{"Cancel", 2, true, "SU0"},
                                           EnterCase{"GroupButton", 3, false, ""},
                                           EnterCase{"ScanTypeList", 4, false, ""}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(GroupsOnTheRadio, EachBandGetsItsTitleAndOneReadOfTheGroups) {
    RadioSgrView(nullptr);
    RadioMgrView(nullptr);
    PandorMsgDC(0, 1); // whatever band the link had stored
    Clear();
    PandorMsgDC(0, 0);
    EXPECT_EQ(Panels().scanGroup->windowTitle(), QStringLiteral("Scan Group Set  -Main Band-"));
    EXPECT_EQ(Panels().memGroup->windowTitle(), QStringLiteral("Memory Group Use  -Main Band-"));
    PandorMsgDC(1, 0);
    PandorMsgDC(0, 1);
    EXPECT_EQ(Panels().scanGroup->windowTitle(), QStringLiteral("Scan Group Set  -Sub Band-"));
    EXPECT_EQ(Sent(), (std::vector<std::string>{"MU", "SU0", "MU", "SU0"}));
}

// ------------------------------------------------------------ AGC

class AgcOnTheRadio : public GroupsOnTheRadio {
protected:
    QSlider* Slider() { return Panels().agc->slider(); }
    void Mouse(QEvent::Type type) {
        const QPointF at(Slider()->width() / 2.0, Slider()->height() / 2.0);
        QMouseEvent event(type, at, Slider()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Slider(), &event);
    }
};

TEST_F(AgcOnTheRadio, OpeningAsksForTheModeAndTheTimeConstant) {
    RadioAgcView(nullptr);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"MD", "GT"}));
    EXPECT_EQ(Slider()->minimum(), 0);
    EXPECT_EQ(Slider()->maximum(), 20);
}

TEST_F(AgcOnTheRadio, ReportMovesTheSliderUnlessTheOperatorHoldsIt) {
    RadioAgcView(nullptr);
    PandorMsgGT(12);
    EXPECT_EQ(Slider()->value(), 12);
    Mouse(QEvent::MouseButtonPress);
    ASSERT_TRUE(Panels().agc->mouseHeld());
    const int held = Slider()->value();
    PandorMsgGT(3);
    EXPECT_EQ(Slider()->value(), held);
    EXPECT_EQ(Panels().agc->lastValue(), 12u);
    Mouse(QEvent::MouseButtonRelease);
    EXPECT_FALSE(Panels().agc->mouseHeld());
    PandorMsgGT(3);
    EXPECT_EQ(Slider()->value(), 3);
    PandorMsgGT(21); // beyond the slider: not shown at its end
    EXPECT_EQ(Slider()->value(), 3);
}

TEST_F(AgcOnTheRadio, KeyMovementWritesTheNewPositionWhenTheKeyIsReleased) {
    RadioAgcView(nullptr);
    PandorMsgGT(10);
    Slider()->setFocus();
    Clear();
    PressKey(Slider(), Qt::Key_Right);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"GT011", "GT"}));
    EXPECT_EQ(radio->value("GT"), 11);
    // The last value follows the radio's report, not the slider.
    EXPECT_EQ(Panels().agc->lastValue(), 10u);
}

TEST_F(AgcOnTheRadio, MouseReleaseWritesThePositionOnlyWhenItChanged) {
    RadioAgcView(nullptr);
    PandorMsgGT(20);
    Clear();
    Mouse(QEvent::MouseButtonPress);
    Mouse(QEvent::MouseButtonRelease);
    Deliver();
    const std::vector<std::string> sent = Sent();
    const int position = Slider()->value();
    if (position == 20) {
        EXPECT_EQ(sent, std::vector<std::string>{});
    } else {
        ASSERT_FALSE(sent.empty());
        char expected[8];
        std::snprintf(expected, sizeof expected, "GT%03d", position);
        EXPECT_EQ(sent.front(), expected);
    }
    // A press and release where it already stands writes nothing.
    PandorMsgGT(static_cast<std::uint32_t>(Slider()->value()));
    Clear();
    Slider()->setValue(Slider()->value());
    Mouse(QEvent::MouseButtonRelease);
    Deliver();
    EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(AgcOnTheRadio, FmDisablesTheSlider) {
    RadioAgcView(nullptr);
    RadioAgcMsgMD(4);
    EXPECT_FALSE(Slider()->isEnabled());
    RadioAgcMsgMD(3);
    EXPECT_TRUE(Slider()->isEnabled());
}

// ------------------------------------------------------------ satellite name

struct NameCase {
    const char* name;
    QString text;
    std::uint32_t versionType;
    bool valid;
};

class SatelliteNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SatelliteNames, RadioCharacterSet) {
    EXPECT_EQ(IsValidSatelliteName(GetParam().text, GetParam().versionType), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SatelliteNames,
    ::testing::Values(NameCase{"Plain", QStringLiteral("AO-91"), 1, true},
                      NameCase{"Empty", QString(), 1, true},
                      NameCase{"Blank", QStringLiteral("A B"), 1, true},
                      NameCase{"Semicolon", QStringLiteral("AO;91"), 1, false},
                      NameCase{"SemicolonOnWideSet", QStringLiteral("AO;91"), 7, false},
                      NameCase{"Tab", QStringLiteral("A\tB"), 1, false},
                      NameCase{"Delete", QString(QChar(0x7F)), 1, true},
                      NameCase{"Latin1OnNarrowSet", QString(QChar(0xE9)), 1, false},
                      NameCase{"Latin1OnVersion5", QString(QChar(0xE9)), 5, true},
                      NameCase{"Latin1OnVersion9", QString(QChar(0xFF)), 9, true},
                      NameCase{"Latin1OnVersion10", QString(QChar(0xE9)), 10, false},
                      NameCase{"BeyondLatin1", QString(QChar(0x263A)), 7, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(GroupsOnTheRadio, SatelliteNameRefusesASemicolonAndKeepsTheLastGoodName) {
    RadioSmnView(nullptr);
    auto* field = Panels().satName->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setText(QStringLiteral("AO-7"));
    EXPECT_EQ(Panels().satName->storedName(), QByteArray("AO-7"));
    field->setText(QStringLiteral("AO-7;"));
    EXPECT_EQ(field->text(), QStringLiteral("AO-7"));
    EXPECT_EQ(field->cursorPosition(), 4);
    EXPECT_EQ(Panels().satName->storedName(), QByteArray("AO-7"));
    char buffer[10] = {};
    PandorGetSmn(buffer);
    EXPECT_STREQ(buffer, "AO-7");
}

TEST_F(GroupsOnTheRadio, SatelliteNameStartsFromTheStoredReply) {
    radio->modify([](qxsim::State& s) { s.satelliteName = "FO-29"; });
    ASSERT_EQ(link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, ""), 1);
    std::uint32_t v[7] = {};
    char name[corvan::kShortTextSize] = {};
    for (int i = 0; i < 300 && link.RcvDataSA(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], name) == 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    RadioSmnView(nullptr);
    auto* field = Panels().satName->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text().trimmed(), QStringLiteral("FO-29"));
}

} // namespace
} // namespace pandor::test
