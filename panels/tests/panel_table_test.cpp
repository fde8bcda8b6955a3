// SPDX-License-Identifier: GPL-3.0-or-later
// What every panel shares, checked for each of the seven: title and size,
// one window per view, closing only hides, destroy saves the position, the
// saved position is used only when it is sensible, and F1 opens the panel's
// help context.
#include "test_helpers.h"

#include <QPointer>

#include <functional>
#include <string>

namespace pandor::test {
namespace {

struct PanelCase {
    std::string name;
    std::function<void(QWidget*)> view;
    std::function<void()> destroy;
    std::function<CPanelBase*()> current;
    QString title;
    int width;
    int height;
    QString key;
    int help;
};

std::ostream& operator<<(std::ostream& out, const PanelCase& c) { return out << c.name; }

// The panel the registry holds in `slot`, null while none is open.
template <auto slot>
CPanelBase* Held() {
    return (Panels().*slot).data();
}

const PanelCase kPanels[] = {
    {"Agc", RadioAgcView, RadioAgcDestroy, Held<&Registry::agc>, "AGC Time Constant", 354, 98, "Agc", 214},
    {"Mch", RadioMchView, RadioMchDestroy, Held<&Registry::memory>, "Memory", 522, 354, "Mch", 215},
    {"Mgr", RadioMgrView, RadioMgrDestroy, Held<&Registry::memGroup>, "Memory Group Use", 311, 284, "Mgr", 216},
    {"Mlt", [](QWidget* parent) { PandorView(parent, 2); }, PandorDestroy, Held<&Registry::multi>, "MULTI", 566,
     303, "Mlt", 217},
    {"Set", QuorelView, QuorelDestroy, Held<&Registry::setup>, "Setup", 341, 360, "Set", 218},
    {"Sgr", RadioSgrView, RadioSgrDestroy, Held<&Registry::scanGroup>, "Scan Group Set", 315, 312, "Sgr", 219},
    {"Smn", RadioSmnView, RadioSmnDestroy, Held<&Registry::satName>, "Satellite Memory Name", 287, 88, "Smn",
     220},
};

class EveryPanel : public PanelTest, public ::testing::WithParamInterface<PanelCase> {
protected:
    CPanelBase* Open() {
        GetParam().view(nullptr);
        return GetParam().current();
    }
    QString Saved() const {
        return platform::GetProfileString(QStringLiteral("WindowPos"), GetParam().key, QStringLiteral("none"));
    }
    void Save(const QString& text) const {
        platform::WriteProfileString(QStringLiteral("WindowPos"), GetParam().key, text);
    }
};

TEST_P(EveryPanel, OpensShownWithItsTitleAndSize) {
    ASSERT_EQ(GetParam().current(), nullptr);
    CPanelBase* panel = Open();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), GetParam().title);
    EXPECT_EQ(panel->size(), QSize(GetParam().width, GetParam().height));
    // The size is fixed: the operator cannot drag it larger.
    EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
}

TEST_P(EveryPanel, SecondViewBringsUpTheSameWindow) {
    CPanelBase* first = Open();
    CPanelBase* second = Open();
    EXPECT_EQ(first, second);
    EXPECT_EQ(CountWindowsTitled(GetParam().title), 1);
}

TEST_P(EveryPanel, CloseBoxHidesAndViewShowsTheSameObjectAgain) {
    CPanelBase* panel = Open();
    QPointer<CPanelBase> guard(panel);
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(GetParam().current(), panel) << "closing must not destroy the panel";
    Open();
    ASSERT_FALSE(guard.isNull());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(GetParam().current(), panel);
}

TEST_P(EveryPanel, EscapeAndEnterHideThePanel) {
    CPanelBase* panel = Open();
    PressKey(panel, Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
    Open();
    ASSERT_TRUE(panel->isVisible());
    if (GetParam().name == "Mgr" || GetParam().name == "Sgr") {
        return; // the group panels take Enter only on their ALL, OK and Cancel buttons
    }
    panel->setFocus(); // no button focused: Enter is the panel's OK
    PressKey(panel, Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(GetParam().current(), panel);
}

TEST_P(EveryPanel, DestroySavesTopThenLeftAndDeletesTheWindow) {
    CPanelBase* panel = Open();
    QPointer<CPanelBase> guard(panel);
    panel->move(130, 70);
    GetParam().destroy();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(GetParam().current(), nullptr);
    EXPECT_EQ(Saved(), QStringLiteral("0007000130"));
}

TEST_P(EveryPanel, HiddenPanelSavesItsPositionOnDestroyToo) {
    CPanelBase* panel = Open();
    panel->move(45, 61);
    panel->close();
    GetParam().destroy();
    EXPECT_EQ(Saved(), QStringLiteral("0006100045"));
}

TEST_P(EveryPanel, ReopensAtTheSavedPlace) {
    Save(QStringLiteral("0012300210"));
    CPanelBase* panel = Open();
    EXPECT_EQ(panel->pos(), QPoint(210, 123));
}

TEST_P(EveryPanel, WindowDraggedOffTheTopLeftReopensAtItsDefaultPlace) {
    // Where the panel goes without a usable saved position.
    QPoint defaultPlace = Open()->pos();
    GetParam().destroy();
    Save(QString());

    CPanelBase* panel = Open();
    defaultPlace = panel->pos();
    panel->move(-40, -25);
    GetParam().destroy();
    EXPECT_EQ(Saved(), QStringLiteral("0000000000"));
    EXPECT_EQ(Open()->pos(), defaultPlace);
}

TEST_P(EveryPanel, F1OpensItsHelpContext) {
    CPanelBase* panel = Open();
    PressKey(panel, Qt::Key_F1);
    EXPECT_EQ(helpContexts, std::vector<int>{GetParam().help});
    EXPECT_TRUE(panel->isVisible());
}

TEST_P(EveryPanel, DestroyWithoutPanelAndTwiceIsHarmless) {
    GetParam().destroy();
    Open();
    GetParam().destroy();
    GetParam().destroy();
    EXPECT_EQ(GetParam().current(), nullptr);
    EXPECT_EQ(CountWindowsTitled(GetParam().title), 0);
}

INSTANTIATE_TEST_SUITE_P(Panels, EveryPanel, ::testing::ValuesIn(kPanels),
                         [](const auto& p) { return p.param.name; });

// Saved position texts that must be ignored (the panel keeps its default place).
class RejectedPosition : public PanelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RejectedPosition, KeepsTheDefaultPlace) {
    RadioAgcView(nullptr);
    const QPoint defaultPlace = Panels().agc->pos();
    RadioAgcDestroy();
    platform::WriteProfileString(QStringLiteral("WindowPos"), QStringLiteral("Agc"),
                                 QString::fromLatin1(GetParam()));
    RadioAgcView(nullptr);
    EXPECT_EQ(Panels().agc->pos(), defaultPlace) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedPosition,
                         ::testing::Values("0000000200",   // top 0
                                           "0010000000",   // left 0
                                           "001000020",    // nine characters
                                           "00100002000",  // eleven characters
                                           "00a0000200",   // not a number
                                           "9990000200",   // below the desktop
                                           "0010099000")); // right of the desktop

} // namespace
} // namespace pandor::test
