// SPDX-License-Identifier: GPL-3.0-or-later
// The exported frame: routing of forwarded replies to the right panel, the
// band kept for the multi-function panel, exports while panels are absent,
// the memory editor's and satellite name's Set/Get pairs, and the order in
// which the library destroys what is left.
#include "test_helpers.h"

#include <QLineEdit>
#include <QPointer>

#include <array>
#include <cstring>
#include <string>

namespace pandor::test {
namespace {

using FrameTest = PanelTest;

// ----------------------------------------------------------- pending band

TEST_F(FrameTest, BandGivenBeforeTheMultiPanelExistsIsAppliedWhenItOpens) {
    PandorFreqChg(12);
    EXPECT_EQ(Panels().multi.data(), nullptr) << "a band alone must not open the panel";
    PandorView(nullptr, 5);
    ASSERT_NE(Panels().multi.data(), nullptr);
    EXPECT_EQ(Panels().multi->band(), std::optional<std::uint32_t>(12));
    EXPECT_EQ(Panels().multi->mode(), 5u);
}

TEST_F(FrameTest, BandWhileOpenGoesStraightToThePanel) {
    PandorView(nullptr, 2);
    PandorFreqChg(14);
    EXPECT_EQ(Panels().multi->band(), std::optional<std::uint32_t>(14));
}

TEST_F(FrameTest, PanelOpenedAgainAfterDestroyStartsFromTheLatestBand) {
    PandorFreqChg(3);
    PandorView(nullptr, 2);
    PandorFreqChg(16);
    PandorDestroy();
    PandorView(nullptr, 2);
    EXPECT_EQ(Panels().multi->band(), std::optional<std::uint32_t>(16));
}

TEST_F(FrameTest, ViewOfAnOpenMultiPanelDoesNotForwardTheModeAgain) {
    PandorView(nullptr, 2);
    PandorMsgMD(4);
    PandorView(nullptr, 3);
    EXPECT_EQ(Panels().multi->mode(), 4u);
}

// ---------------------------------------------------------------- routing

struct MultiRoute {
    const char* name;
    void (*forward)(std::uint32_t);
    MultiReply reply;
};

const MultiRoute kMultiRoutes[] = {
    {"AL", PandorMsgAL, MultiReply::AL}, {"CG", PandorMsgCG, MultiReply::CG},
    {"CN", PandorMsgCN, MultiReply::CN}, {"ID", PandorMsgID, MultiReply::ID},
    {"KS", PandorMsgKS, MultiReply::KS}, {"MG", PandorMsgMG, MultiReply::MG},
    {"ML", PandorMsgML, MultiReply::ML}, {"NL", PandorMsgNL, MultiReply::NL},
    {"NR", PandorMsgNR, MultiReply::NR}, {"OF", PandorMsgOF, MultiReply::OF},
    {"PC", PandorMsgPC, MultiReply::PC}, {"QC", PandorMsgQC, MultiReply::QC},
    {"RL", PandorMsgRL, MultiReply::RL}, {"SD", PandorMsgSD, MultiReply::SD},
    {"TN", PandorMsgTN, MultiReply::TN}, {"VD", PandorMsgVD, MultiReply::VD},
    {"VG", PandorMsgVG, MultiReply::VG},
};

class MultiRouting : public PanelTest, public ::testing::WithParamInterface<MultiRoute> {};

TEST_P(MultiRouting, ReachesOnlyItsOwnLevelAndIsIgnoredWithoutThePanel) {
    GetParam().forward(7); // absent: nothing to update, nothing opened
    EXPECT_EQ(Panels().multi.data(), nullptr);

    PandorView(nullptr, 2);
    GetParam().forward(59'950'000);
    for (int i = 0; i < static_cast<int>(MultiReply::Count); ++i) {
        const auto which = static_cast<MultiReply>(i);
        if (which == GetParam().reply) {
            EXPECT_EQ(Panels().multi->reply(which), std::optional<std::uint32_t>(59'950'000));
        } else {
            EXPECT_FALSE(Panels().multi->reply(which).has_value()) << "level " << i;
        }
    }
}

TEST_P(MultiRouting, UpdatesAHiddenPanel) {
    PandorView(nullptr, 2);
    Panels().multi->close();
    GetParam().forward(3);
    EXPECT_EQ(Panels().multi->reply(GetParam().reply), std::optional<std::uint32_t>(3));
}

INSTANTIATE_TEST_SUITE_P(Replies, MultiRouting, ::testing::ValuesIn(kMultiRoutes),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(FrameTest, ProcessorLevelsAndModeReachTheMultiPanel) {
    PandorView(nullptr, 1);
    PandorMsgPL(40, 75);
    PandorMsgMD(5);
    EXPECT_EQ(Panels().multi->procLevels(), std::make_optional(std::make_pair(40u, 75u)));
    EXPECT_EQ(Panels().multi->mode(), 5u);
}

struct MenuText {
    const char* text;
    bool fineStep;
};

class MenuTextRouting : public PanelTest, public ::testing::WithParamInterface<MenuText> {};

TEST_P(MenuTextRouting, OnlyTheValueOneSetsTheFineStep) {
    PandorView(nullptr, 2);
    PandorMsgEX(23, 0, 0, 0, "1"); // start from a set flag
    PandorMsgEX(23, 0, 0, 0, GetParam().text);
    EXPECT_EQ(Panels().multi->fineStep(), GetParam().fineStep) << (GetParam().text ? GetParam().text : "null");
}

INSTANTIATE_TEST_SUITE_P(Texts, MenuTextRouting,
                         ::testing::Values(MenuText{"1", true}, MenuText{"0", false},
                                           MenuText{"01", true}, MenuText{"2", false},
                                           MenuText{"", false}, MenuText{"x", false},
                                           MenuText{nullptr, false},
                                           MenuText{"99999999999999999999999", false}));

TEST_F(FrameTest, AgcValueAndModeReachTheAgcPanel) {
    PandorMsgGT(5); // ignored while absent
    RadioAgcView(nullptr);
    EXPECT_EQ(Panels().agc->lastValue(), CAgcPanel::kNoValue);
    PandorMsgGT(12);
    EXPECT_EQ(Panels().agc->lastValue(), 12u);
    RadioAgcMsgMD(4);
    EXPECT_FALSE(Panels().agc->sliderEnabled()) << "FM disables the slider";
    RadioAgcMsgMD(2);
    EXPECT_TRUE(Panels().agc->sliderEnabled());
    PandorView(nullptr, 2);
    EXPECT_FALSE(Panels().multi->reply(MultiReply::AL).has_value());
}

TEST_F(FrameTest, GroupRepliesReachTheirPanels) {
    RadioMgrView(nullptr);
    RadioSgrView(nullptr);
    PandorMsgMU(1, 0, 1, 0, 1, 0, 1, 0, 1, 7);
    PandorMsgSU(1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
    const GroupStates& memory = Panels().memGroup->groups();
    EXPECT_EQ(memory[0], std::optional<bool>(true));
    EXPECT_EQ(memory[1], std::optional<bool>(false));
    EXPECT_FALSE(memory[9].has_value()) << "a value other than 0 or 1 changes nothing";
    const GroupStates& scan = Panels().scanGroup->groups();
    EXPECT_EQ(Panels().scanGroup->scanType(), 1u);
    EXPECT_EQ(scan[0], std::optional<bool>(false));
    EXPECT_EQ(scan[9], std::optional<bool>(true));
}

TEST_F(FrameTest, ControlBandRetitlesBothGroupPanels) {
    RadioMgrView(nullptr);
    RadioSgrView(nullptr);
    PandorMsgDC(0, 1);
    EXPECT_EQ(Panels().memGroup->windowTitle(), QStringLiteral("Memory Group Use  -Sub Band-"));
    EXPECT_EQ(Panels().scanGroup->windowTitle(), QStringLiteral("Scan Group Set  -Sub Band-"));
    PandorMsgDC(1, 0);
    EXPECT_EQ(Panels().memGroup->windowTitle(), QStringLiteral("Memory Group Use  -Main Band-"));
    PandorMsgDC(0, 2);
    EXPECT_EQ(Panels().scanGroup->windowTitle(), QStringLiteral("Scan Group Set"));
}

TEST_F(FrameTest, ControlBandReachesTheScanGroupPanelAlone) {
    RadioSgrView(nullptr);
    PandorMsgDC(0, 0);
    EXPECT_EQ(Panels().scanGroup->controlBand(), 0u);
    EXPECT_EQ(Panels().memGroup.data(), nullptr);
}

TEST_F(FrameTest, PowerStateEnablesTheResetButtonsOnlyForZeroAndOne) {
    QuorelView(nullptr);
    EXPECT_FALSE(Panels().setup->resetEnabled()) << "disabled at open";
    PandorMsgPS(1);
    EXPECT_TRUE(Panels().setup->resetEnabled());
    PandorMsgPS(3);
    EXPECT_TRUE(Panels().setup->resetEnabled());
    PandorMsgPS(0);
    EXPECT_FALSE(Panels().setup->resetEnabled());
}

// ---------------------------------------------------- memory channel editor

TEST_F(FrameTest, MemoryChannelComesBackAsLoaded) {
    RadioMchView(nullptr);
    const std::int64_t rx = 99'999'999'999; // needs the high word
    const std::int64_t tx = 145'500'000;
    PandorSetMemVal(static_cast<std::uint32_t>(rx), static_cast<std::uint32_t>(rx >> 32), 4, 9,
                    static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(tx >> 32), 3, 2,
                    600'000, 2, 1, 39, 38, 103, 3, 9, "ABCDEFGHIJKL", 1);
    std::int64_t rxOut = 0, txOut = 0;
    std::array<std::uint32_t, 13> v{};
    char name[16];
    std::memset(name, 'z', sizeof name);
    PandorGetMemVal(&rxOut, &v[0], &v[1], &txOut, &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8],
                    &v[9], &v[10], &v[11], name, &v[12]);
    EXPECT_EQ(rxOut, rx);
    EXPECT_EQ(txOut, tx);
    EXPECT_EQ(v, (std::array<std::uint32_t, 13>{4, 9, 3, 2, 600'000, 2, 1, 39, 38, 103, 3, 9, 1}));
    EXPECT_STREQ(name, "ABCDEFGHI") << "nine characters and the zero";
    EXPECT_EQ(name[10], 'z') << "nothing written past the tenth byte";
}

TEST_F(FrameTest, ToneTypeTheButtonsCannotShowReadsBackAsOff) {
    RadioMchView(nullptr);
    PandorSetMemVal(0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 7, 0, nullptr, 0);
    std::uint32_t toneType = 99;
    char name[10] = "xxxxxxxxx";
    PandorGetMemVal(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr, nullptr, &toneType, nullptr, name, nullptr);
    EXPECT_EQ(toneType, 0u);
    EXPECT_STREQ(name, "") << "a null name loads as empty";
}

TEST_F(FrameTest, MemoryValuesWithoutTheEditorAreClearedAndLoadingIsIgnored) {
    PandorSetMemVal(1, 0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "X", 0);
    std::int64_t rx = -1, tx = -1;
    std::array<std::uint32_t, 13> v;
    v.fill(0xABABABAB);
    char name[10];
    std::memset(name, 'q', sizeof name);
    PandorGetMemVal(&rx, &v[0], &v[1], &tx, &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8],
                    &v[9], &v[10], &v[11], name, &v[12]);
    EXPECT_EQ(rx, 0);
    EXPECT_EQ(tx, 0);
    EXPECT_EQ(v, (std::array<std::uint32_t, 13>{}));
    EXPECT_EQ(std::string(name, 4), std::string(4, '\0'));
    EXPECT_EQ(name[4], 'q');
    EXPECT_EQ(Panels().memory.data(), nullptr);
}

// --------------------------------------------------------- satellite name

TEST_F(FrameTest, SatelliteNameRoundTripsThroughTheField) {
    RadioSmnView(nullptr);
    PandorSetSmn("AO-91");
    char buffer[10];
    std::memset(buffer, 'q', sizeof buffer);
    PandorGetSmn(buffer);
    EXPECT_STREQ(buffer, "AO-91");
}

TEST_F(FrameTest, SatelliteNameLongerThanTheFieldIsCutToEight) {
    RadioSmnView(nullptr);
    PandorSetSmn("ABCDEFGHIJKLMN");
    char buffer[10];
    std::memset(buffer, 'q', sizeof buffer);
    PandorGetSmn(buffer);
    EXPECT_STREQ(buffer, "ABCDEFGH");
    EXPECT_EQ(Panels().satName->storedName(), QByteArray("ABCDEFGHI"));
}

TEST_F(FrameTest, KeysTypedInTheNameFieldStillReachThePanel) {
    RadioSmnView(nullptr);
    auto* field = Panels().satName->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    PressKey(field, Qt::Key_F1);
    EXPECT_EQ(helpContexts, std::vector<int>{220});
    PressKey(field, Qt::Key_Return);
    EXPECT_FALSE(Panels().satName->isVisible());
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmSatNameEnd, 1, 0}}));
}

// --------------------------------------------------- exports while absent

void CallEveryExportButTheViews() {
    RadioAgcMsgMD(4);
    PandorSetMemVal(1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, "NAME", 0);
    PandorFreqChg(11);
    for (const MultiRoute& route : kMultiRoutes) {
        route.forward(1);
    }
    PandorMsgMD(3);
    PandorMsgPL(1, 2);
    PandorMsgEX(23, 0, 0, 0, "1");
    PandorMsgGT(3);
    PandorMsgMU(1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    PandorMsgSU(0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    PandorMsgDC(0, 1);
    PandorMsgPS(1);
    PandorSetSmn("SAT");
    PandorSetSmn(nullptr);
    PandorGetSmn(nullptr);
    PandorGetMemVal(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    RadioAgcDestroy();
    RadioMchDestroy();
    RadioMgrDestroy();
    PandorDestroy();
    QuorelDestroy();
    RadioSgrDestroy();
    RadioSmnDestroy();
}

int PanelCount() {
    const Registry& r = Panels();
    return !r.agc.isNull() + !r.memory.isNull() + !r.memGroup.isNull() + !r.multi.isNull() +
           !r.setup.isNull() + !r.scanGroup.isNull() + !r.satName.isNull();
}

void ViewAll() {
    RadioSmnView(nullptr);
    QuorelView(nullptr);
    PandorView(nullptr, 2);
    RadioMchView(nullptr);
    RadioSgrView(nullptr);
    RadioAgcView(nullptr);
    RadioMgrView(nullptr);
}

TEST_F(FrameTest, EveryExportIsSafeBeforeAnyViewAndAfterDestroy) {
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    CallEveryExportButTheViews();
    EXPECT_EQ(PanelCount(), 0);
    char buffer[10] = "unchanged";
    PandorGetSmn(buffer);
    EXPECT_STREQ(buffer, "unchanged");

    ViewAll();
    EXPECT_EQ(PanelCount(), 7);
    PandorUnload();
    CallEveryExportButTheViews();
    EXPECT_EQ(PanelCount(), 0);
    Deliver();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    EXPECT_TRUE(sink.received.empty()) << "no panel may report to the console unasked";
}

TEST_F(FrameTest, PanelsTakeTheMainWindowsFont) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    sink.setFont(font);
    RadioAgcView(nullptr);
    EXPECT_EQ(Panels().agc->font(), font);
    platform::SetMainWindow(nullptr);
    RadioSmnView(nullptr);
    EXPECT_EQ(Panels().satName->font().family(), QStringLiteral("Times New Roman"))
        << "without a main window the template's own font stays";
}

// ----------------------------------------------------------------- unload

TEST_F(FrameTest, UnloadDestroysWhatIsLeftInItsOrder) {
    ViewAll();
    std::vector<std::string> order;
    for (CPanelBase* panel : std::initializer_list<CPanelBase*>{
             Panels().satName, Panels().setup, Panels().multi, Panels().memory,
             Panels().scanGroup, Panels().agc, Panels().memGroup}) {
        QObject::connect(panel, &QObject::destroyed, [&order](QObject* object) {
            order.push_back(object->objectName().toStdString());
        });
    }
    PandorUnload();
    EXPECT_EQ(order, (std::vector<std::string>{"Agc", "Mgr", "Mch", "Mlt", "Set", "Sgr", "Smn"}));
    EXPECT_EQ(PanelCount(), 0);
    PandorUnload(); // nothing left: harmless
}

TEST_F(FrameTest, UnloadSavesThePositionOfEveryPanelLeft) {
    ViewAll();
    Panels().agc->move(300, 200);
    Panels().satName->move(20, 10);
    PandorUnload();
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Agc", ""), QStringLiteral("0020000300"));
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Smn", ""), QStringLiteral("0001000020"));
}

TEST_F(FrameTest, PanelDeletedWithItsParentReadsAsAbsent) {
    auto* parent = new QWidget;
    RadioAgcView(parent);
    ASSERT_NE(Panels().agc.data(), nullptr);
    Panels().agc->move(90, 80);
    delete parent;
    EXPECT_EQ(Panels().agc.data(), nullptr);
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Agc", ""), QStringLiteral("0008000090"));
    PandorMsgGT(3);
    RadioAgcDestroy();
    RadioAgcView(nullptr);
    EXPECT_NE(Panels().agc.data(), nullptr);
}

} // namespace
} // namespace pandor::test
