// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-function panel against the virtual transceiver: what it asks
// for when it opens and on F5, what each list writes when the operator
// chooses an entry, how forwarded replies move the lists, and the power
// list of each version type, band and mode.
#include "multi_radio_fixture.h"

#include <kestrin.h>

#include <QComboBox>

#include <algorithm>

namespace pandor::test {
namespace {

const std::vector<std::string> kRefresh = {"AL", "CG", "CN", "ID", "KS", "MD", "MG", "ML", "NL",
                                           "OF", "PC", "PL", "QC", "NR", "SD", "TN", "VD", "VG"};

class MultiOnTheRadio : public RadioPanelTest {
protected:
    void Open(std::uint32_t mode, qxsim::Options options = {}, bool storeType = true) {
        StartRadio(options);
        if (storeType) {
            StoreType();
        }
        PandorFreqChg(0); // no band left over from an earlier panel
        PandorView(nullptr, mode);
        ASSERT_NE(Panels().multi.data(), nullptr);
    }
    CMultiPanel& Panel() { return *Panels().multi; }
    QComboBox* List(MultiList which) { return Panel().list(which); }
    QStringList PowerList() { return Entries(List(MultiList::PC)); }
};

qxsim::Options TypeCode(const char* code, int identity = 19) {
    qxsim::Options options;
    options.typeCode = code;
    options.identity = identity;
    return options;
}

// ------------------------------------------------------------ asking

TEST_F(MultiOnTheRadio, OpeningAsksForTheStepMenuThePowerAndThenEveryLevel) {
    Open(2, {}, false);
    std::vector<std::string> expected = {"EX0230000", "PC"};
    expected.insert(expected.end(), kRefresh.begin(), kRefresh.end());
    EXPECT_EQ(Sent(), expected);
}

TEST_F(MultiOnTheRadio, F5AsksForEveryLevelAgainInOrder) {
    Open(2);
    Clear();
    PressKey(&Panel(), Qt::Key_F5);
    EXPECT_EQ(Sent(), kRefresh);
    // From a list that has the focus, too.
    Clear();
    List(MultiList::TN)->setFocus();
    PressKey(List(MultiList::TN), Qt::Key_F5);
    EXPECT_EQ(Sent(), kRefresh);
}

// ------------------------------------------------------------ writing

struct ChoiceCase {
    const char* name;
    MultiList list;
    int index;
    const char* command;
};

class MultiChoices : public MultiOnTheRadio, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(MultiChoices, ChosenEntryWritesItsCommandAtOnce) {
    Open(2);
    Clear();
    Choose(List(GetParam().list), GetParam().index);
    const std::vector<std::string> sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, MultiChoices,
    ::testing::Values(ChoiceCase{"VoxGain", MultiList::VG, 3, "VG003"},
                      ChoiceCase{"VoxDelay", MultiList::VD, 2, "VD0300"},
                      ChoiceCase{"NotchFix", MultiList::AL, 0, "AL000"},
                      ChoiceCase{"Notch", MultiList::AL, 4, "AL004"},
                      ChoiceCase{"ToneFirst", MultiList::TN, 0, "TN01"},
                      ChoiceCase{"CallTone", MultiList::TN, 38, "TN39"},
                      ChoiceCase{"Ctcss", MultiList::CN, 37, "CN38"},
                      ChoiceCase{"NoiseBlanker", MultiList::NL, 9, "NL010"},
                      ChoiceCase{"Dcs", MultiList::QC, 103, "QC103"},
                      ChoiceCase{"Offset", MultiList::OF, 1199, "OF059950000"},
                      ChoiceCase{"MicGain", MultiList::MG, 100, "MG100"},
                      ChoiceCase{"KeyingSpeed", MultiList::KS, 50, "KS060"},
                      ChoiceCase{"MonitorOff", MultiList::ML, 0, "ML000"},
                      ChoiceCase{"Carrier", MultiList::CG, 7, "CG007"},
                      ChoiceCase{"FullBreakIn", MultiList::SD, 0, "SD0000"},
                      ChoiceCase{"BreakIn", MultiList::SD, 20, "SD1000"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MultiOnTheRadio, EitherProcessorListWritesBothLevelsInputFirst) {
    Open(2);
    PandorMsgPL(40, 75);
    Clear();
    Choose(List(MultiList::PLOut), 80);
    Choose(List(MultiList::PLIn), 5);
    const std::vector<std::string> sent = Sent();
    const std::vector<std::string> writes(sent.begin(), sent.end());
    EXPECT_NE(std::find(writes.begin(), writes.end(), "PL040080"), writes.end());
    EXPECT_NE(std::find(writes.begin(), writes.end(), "PL005080"), writes.end());
}

TEST_F(MultiOnTheRadio, ProcessorLevelWithTheOtherUnknownWritesNothing) {
    Open(2);
    ASSERT_EQ(List(MultiList::PLOut)->currentIndex(), -1);
    Clear();
    Choose(List(MultiList::PLIn), 10);
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    EXPECT_EQ(List(MultiList::PLIn)->currentIndex(), -1) << "the list must not claim a level it did not send";
}

// ------------------------------------------------------------ replies

struct ReplyRow {
    const char* name;
    void (*forward)(std::uint32_t);
    MultiList list;
    std::uint32_t value;
    int index;
};

class MultiReplies : public MultiOnTheRadio, public ::testing::WithParamInterface<ReplyRow> {};

TEST_P(MultiReplies, MoveTheirListOrClearIt) {
    Open(2);
    QComboBox* box = List(GetParam().list);
    box->setCurrentIndex(1); // an earlier value
    GetParam().forward(GetParam().value);
    EXPECT_EQ(box->currentIndex(), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MultiReplies,
    ::testing::Values(ReplyRow{"VoxGain", PandorMsgVG, MultiList::VG, 9, 9},
                      ReplyRow{"VoxGainBeyond", PandorMsgVG, MultiList::VG, 10, -1},
                      ReplyRow{"VoxDelay", PandorMsgVD, MultiList::VD, 450, 3},
                      ReplyRow{"VoxDelayBeyond", PandorMsgVD, MultiList::VD, 3150, -1},
                      ReplyRow{"Tone", PandorMsgTN, MultiList::TN, 39, 38},
                      ReplyRow{"ToneZero", PandorMsgTN, MultiList::TN, 0, -1},
                      ReplyRow{"Ctcss", PandorMsgCN, MultiList::CN, 1, 0},
                      ReplyRow{"CtcssCallTone", PandorMsgCN, MultiList::CN, 39, -1},
                      ReplyRow{"Dcs", PandorMsgQC, MultiList::QC, 103, 103},
                      ReplyRow{"DcsBeyond", PandorMsgQC, MultiList::QC, 104, -1},
                      ReplyRow{"Offset", PandorMsgOF, MultiList::OF, 600'000, 12},
                      ReplyRow{"OffsetBeyond", PandorMsgOF, MultiList::OF, 60'000'000, -1},
                      ReplyRow{"KeyingSpeed", PandorMsgKS, MultiList::KS, 25, 15},
                      ReplyRow{"KeyingSpeedLow", PandorMsgKS, MultiList::KS, 9, -1},
                      ReplyRow{"BreakIn", PandorMsgSD, MultiList::SD, 1000, 20},
                      ReplyRow{"NoiseBlanker", PandorMsgNL, MultiList::NL, 10, 9},
                      ReplyRow{"NoiseBlankerZero", PandorMsgNL, MultiList::NL, 0, -1},
                      ReplyRow{"Notch", PandorMsgAL, MultiList::AL, 0, 0},
                      ReplyRow{"Monitor", PandorMsgML, MultiList::ML, 10, -1},
                      ReplyRow{"Carrier", PandorMsgCG, MultiList::CG, 100, 100},
                      ReplyRow{"MicGain", PandorMsgMG, MultiList::MG, 0xFFFFFFFFu, -1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MultiOnTheRadio, ProcessorLevelsOutsideTheListSelectNothing) {
    Open(2);
    PandorMsgPL(40, 75);
    EXPECT_EQ(List(MultiList::PLIn)->currentIndex(), 40);
    EXPECT_EQ(List(MultiList::PLOut)->currentIndex(), 75);
    PandorMsgPL(101, 0);
    EXPECT_EQ(List(MultiList::PLIn)->currentIndex(), -1);
    EXPECT_EQ(List(MultiList::PLOut)->currentIndex(), 0);
}

TEST_F(MultiOnTheRadio, IdentityOtherThan19DisablesNineLists) {
    Open(2);
    const MultiList fullOnly[] = {MultiList::AL, MultiList::CG, MultiList::ML, MultiList::NL, MultiList::OF,
                                  MultiList::PLIn, MultiList::PLOut, MultiList::QC, MultiList::RL};
    const auto isFullOnly = [&](MultiList which) {
        return std::find(std::begin(fullOnly), std::end(fullOnly), which) != std::end(fullOnly);
    };
    PandorMsgID(18);
    for (std::size_t i = 0; i < kMultiListCount; ++i) {
        const auto which = static_cast<MultiList>(i);
        EXPECT_EQ(List(which)->isEnabled(), !isFullOnly(which)) << SpecOf(which).frame;
    }
    PandorMsgID(19);
    for (std::size_t i = 0; i < kMultiListCount; ++i) {
        EXPECT_TRUE(List(static_cast<MultiList>(i))->isEnabled()) << SpecOf(static_cast<MultiList>(i)).frame;
    }
}

TEST_F(MultiOnTheRadio, NoiseReductionStateRebuildsTheLevelListAndAsksForTheLevel) {
    Open(2);
    QComboBox* levels = List(MultiList::RL);
    EXPECT_EQ(levels->count(), 0) << "no levels before the state is known";
    PandorMsgNR(1);
    PandorMsgRL(3);
    ASSERT_EQ(levels->currentIndex(), 3);
    EXPECT_EQ(levels->itemText(0), QStringLiteral("    AUTO"));

    Clear();
    PandorMsgNR(2);
    EXPECT_EQ(Sent(), std::vector<std::string>{"RL"});
    EXPECT_EQ(levels->currentIndex(), 3) << "the position is kept";
    EXPECT_EQ(levels->itemText(3), QStringLiteral("        8 "));
    EXPECT_EQ(Panel().unitLabel(MultiList::RL)->text(), QStringLiteral("ms"));
    EXPECT_TRUE(levels->isEnabled());

    PandorMsgNR(7); // not a state: nothing changes
    EXPECT_EQ(levels->count(), 10);
    EXPECT_EQ(levels->currentIndex(), 3);
    EXPECT_EQ(Panel().unitLabel(MultiList::RL)->text(), QStringLiteral("ms"));

    PandorMsgNR(0);
    EXPECT_EQ(Entries(levels), QStringList{QStringLiteral(" N.R. OFF")});
    EXPECT_EQ(levels->currentIndex(), 0);
    EXPECT_TRUE(Panel().unitLabel(MultiList::RL)->text().isEmpty());
    Clear();
    Choose(levels, 0);
    EXPECT_EQ(Sent(), std::vector<std::string>{}) << "N.R. OFF has no level to write";

    PandorMsgNR(1);
    Clear();
    Choose(levels, 9);
    EXPECT_EQ(Sent().front(), "RL09");
}

TEST_F(MultiOnTheRadio, NoiseReductionStateDoesNotEnableTheLevelsOfAnotherIdentity) {
    Open(2);
    PandorMsgID(18);
    PandorMsgNR(1);
    EXPECT_FALSE(List(MultiList::RL)->isEnabled());
}

// ------------------------------------------------------------ power

TEST_F(MultiOnTheRadio, GigahertzBandInAmOffersHalfWattsAndWritesThree) {
    Open(5, TypeCode("000")); // version type 1
    PandorFreqChg(14);
    EXPECT_EQ(PowerList(), (QStringList{"        1 ", "        2 ", "      2.5 "}));
    PandorMsgPC(3);
    EXPECT_EQ(List(MultiList::PC)->currentIndex(), 2);
    Clear();
    Choose(List(MultiList::PC), 2);
    EXPECT_EQ(Sent().front(), "PC003");
}

TEST_F(MultiOnTheRadio, SeventyCentimetresInAmStepsByOneWattUpToTwelveAndAHalf) {
    Open(5, TypeCode("040")); // version type 3
    PandorFreqChg(13);
    const QStringList entries = PowerList();
    ASSERT_EQ(entries.size(), 9);
    EXPECT_EQ(entries.first(), QStringLiteral("        5 "));
    EXPECT_EQ(entries.last(), QStringLiteral("     12.5 "));
    Clear();
    Choose(List(MultiList::PC), 8);
    EXPECT_EQ(Sent().front(), "PC013");
}

TEST_F(MultiOnTheRadio, ModeChangeRebuildsThePowerListAndAsksForThePower) {
    Open(2, TypeCode("000"));
    PandorFreqChg(13); // 430 MHz: 5..50 in 5
    ASSERT_EQ(PowerList().size(), 10);
    Clear();
    PandorMsgMD(5);
    EXPECT_EQ(Sent(), std::vector<std::string>{"PC"});
    EXPECT_EQ(PowerList().size(), 9);
    Clear();
    PandorMsgMD(4); // FM: back to 5..50 in 5
    PandorMsgMD(2); // USB: the same limits, no rebuild
    EXPECT_EQ(Sent(), std::vector<std::string>{"PC"});
    EXPECT_EQ(PowerList().size(), 10);
}

TEST_F(MultiOnTheRadio, StepMenuTurningOnMakesOneWattStepsAtOnce) {
    Open(2, TypeCode("000"));
    ASSERT_EQ(PowerList().size(), 20); // 5..100 in 5
    Clear();
    PandorMsgEX(23, 0, 0, 0, "1");
    EXPECT_EQ(Sent(), std::vector<std::string>{"PC"});
    ASSERT_EQ(PowerList().size(), 96);
    Clear();
    Choose(List(MultiList::PC), 1);
    EXPECT_EQ(Sent().front(), "PC006");
    PandorMsgEX(23, 0, 0, 0, "0");
    EXPECT_EQ(PowerList().size(), 20);
}

TEST_F(MultiOnTheRadio, StepMenuSetOnTheRadioIsReadAtOpening) {
    StartRadio(TypeCode("000"));
    radio->modify([](qxsim::State& s) { s.menu["0230000"] = "1"; });
    StoreType();
    PandorFreqChg(0);
    PandorView(nullptr, 2);
    EXPECT_TRUE(Panel().fineStep());
    EXPECT_EQ(PowerList().size(), 96);
}

TEST_F(MultiOnTheRadio, BandWithTheSameClassLeavesThePowerListAlone) {
    Open(2, TypeCode("000"));
    Clear();
    PandorFreqChg(12); // 2 m: other class, the same limits as HF
    PandorFreqChg(13); // 430 MHz: up to 50 W
    PandorFreqChg(16); // 430 MHz again, from the sub receiver's table
    EXPECT_EQ(Sent(), std::vector<std::string>{"PC"});
}

struct PowerListCase {
    const char* name;
    const char* typeCode;
    std::uint32_t band;
    std::uint32_t mode;
    int count;
    const char* last;
    const char* lastWrite;
};

class PowerLists : public MultiOnTheRadio, public ::testing::WithParamInterface<PowerListCase> {};

TEST_P(PowerLists, ByVersionTypeBandAndMode) {
    const PowerListCase& p = GetParam();
    Open(p.mode, TypeCode(p.typeCode));
    PandorFreqChg(p.band);
    const QStringList entries = PowerList();
    ASSERT_EQ(entries.size(), p.count);
    EXPECT_EQ(entries.last(), QString::fromLatin1(p.last));
    Clear();
    Choose(List(MultiList::PC), p.count - 1);
    EXPECT_EQ(Sent().front(), p.lastWrite);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PowerLists,
    ::testing::Values(PowerListCase{"Version1Hf", "000", 1, 2, 20, "      100 ", "PC100"},
                      PowerListCase{"Version1HfAm", "000", 1, 5, 5, "       25 ", "PC025"},
                      PowerListCase{"Version7TopBand", "0A0", 2, 2, 1, "       10 ", "PC010"},
                      PowerListCase{"Version10FlagA", "101", 12, 4, 10, "       50 ", "PC050"},
                      PowerListCase{"Version10FlagB", "081", 12, 4, 20, "      100 ", "PC100"},
                      PowerListCase{"Version10NoFlags", "181", 12, 4, 10, "       50 ", "PC050"},
                      PowerListCase{"Version10NoFlagsHf", "181", 1, 2, 20, "      100 ", "PC100"},
                      PowerListCase{"Version11Hf", "002", 1, 2, 10, "       10 ", "PC010"},
                      PowerListCase{"Version11TwoMetres", "002", 12, 4, 20, "       20 ", "PC020"},
                      PowerListCase{"Version11Am", "002", 13, 5, 5, "        5 ", "PC005"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MultiOnTheRadio, VersionFlagsComeFromTheTypeByte) {
    Open(2, TypeCode("101"));
    EXPECT_TRUE(Panel().versionFlagA());
    EXPECT_FALSE(Panel().versionFlagB());
}

TEST_F(MultiOnTheRadio, RadioWithoutATypeOffersOnlyOneHundredWatts) {
    Open(2, TypeCode("000", 18), false); // the 18 has no TY reply
    EXPECT_EQ(PowerList(), QStringList{"      100 "});
    PandorMsgPC(50);
    EXPECT_EQ(List(MultiList::PC)->currentIndex(), -1);
    Clear();
    Choose(List(MultiList::PC), 0);
    EXPECT_EQ(Sent().front(), "PC100");
}

TEST_F(MultiOnTheRadio, PowerReplyOutsideTheListSelectsNothing) {
    Open(2, TypeCode("000"));
    PandorMsgPC(50);
    EXPECT_EQ(List(MultiList::PC)->currentIndex(), 9);
    PandorMsgPC(0);
    EXPECT_EQ(List(MultiList::PC)->currentIndex(), -1);
    PandorMsgPC(105);
    EXPECT_EQ(List(MultiList::PC)->currentIndex(), -1);
}

} // namespace
} // namespace pandor::test
