// SPDX-License-Identifier: GPL-3.0-or-later
// The design and samples windows: opening, the view and destroy rules, type
// selection, the scroll bars, keys, help and saved positions.
#include "window_helpers.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QTest>

#include <cstdlib>

namespace {

using namespace testing_tonwell;
using tonwell::CEqsWindow;

TEST_F(DesignWindowTest, OpensWithTheDefaultLowPass) {
    EXPECT_EQ(window->windowTitle(), "Audio Editor - Design");
    EXPECT_EQ(window->size(), QSize(464, 371));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Radio(tonwell::kIdLpf)->isChecked());
    EXPECT_TRUE(Radio(tonwell::kIdRx)->isChecked());
    EXPECT_FALSE(Radio(tonwell::kIdTx)->isChecked());
    ExpectBars(300, 3000, 20);
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->minimum(), 1);
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->maximum(), 5999);
    EXPECT_EQ(Bar(tonwell::kIdAttenuationBar)->maximum(), 99);
    EXPECT_EQ(Label(tonwell::kIdCutoffLabel), "Cutoff Freq.");
    EXPECT_EQ(Label(tonwell::kIdAttenuationLabel), "Attenuation");
    EXPECT_FALSE(Bar(tonwell::kIdF2Bar)->isEnabled());
    EXPECT_FALSE(Child<CStaticEx>(window, tonwell::kIdF2Value)->isEnabled());
    EXPECT_EQ(window->design().type, 1);
    EXPECT_EQ(window->design().f1, 0.3);
    EXPECT_EQ(window->design().f2, 0.0);
    EXPECT_EQ(window->design().attenuation, 20.0);
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{1, 0.3, 0.0, 20}));
}

TEST_F(DesignWindowTest, MenuHasTheItemsInOrder) {
    auto* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* action : bar->actions()) titles << action->text();
    EXPECT_EQ(titles, QStringList({"File (&F)", "Design (&D)", "Set (&S)"}));
    QStringList file;
    for (QAction* action : bar->actions()[0]->menu()->actions()) file << action->text();
    EXPECT_EQ(file, QStringList({"Open (&O)", "Save (&S)", "Exit (&X)"}));
    QStringList design;
    for (QAction* action : bar->actions()[1]->menu()->actions()) design << action->text();
    EXPECT_EQ(design, QStringList({"Filter Type (&T)", "Cutoff Freq.1 (&C)", "Cutoff Freq.2 (&F)", "Attenuation (&A)"}));
    QStringList types;
    for (QAction* action : bar->actions()[1]->menu()->actions()[0]->menu()->actions()) types << action->text();
    EXPECT_EQ(types, QStringList({"LPF (&L)", "HPF (&H)", "BPF (&P)", "BEF (&E)"}));
    QStringList writes;
    for (QAction* action : bar->actions()[2]->menu()->actions()[0]->menu()->actions()) writes << action->text();
    EXPECT_EQ(writes, QStringList({"RX EQ. (&R)", "TX EQ. (&T)"}));
}

TEST_F(DesignWindowTest, MenuTypeItemActsAsTheRadioButton) {
    auto* bar = window->findChild<QMenuBar*>();
    bar->actions()[1]->menu()->actions()[0]->menu()->actions()[3]->trigger(); // BEF
    EXPECT_TRUE(Radio(tonwell::kIdBef)->isChecked());
    EXPECT_EQ(window->design().type, 4);
    EXPECT_TRUE(Bar(tonwell::kIdF2Bar)->isEnabled());
}

TEST_F(DesignWindowTest, BandTypesStartAtTwoAndFourKilohertz) {
    Radio(tonwell::kIdBpf)->click();
    EXPECT_EQ(window->design().type, 3);
    EXPECT_EQ(window->design().f1, 2.0);
    EXPECT_EQ(window->design().f2, 4.0);
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->value(), 2000);
    EXPECT_EQ(Bar(tonwell::kIdF2Bar)->value(), 4000);
    EXPECT_EQ(Label(tonwell::kIdF1Value), "2000");
    EXPECT_EQ(Label(tonwell::kIdF2Value), "4000");
    EXPECT_TRUE(Bar(tonwell::kIdF2Bar)->isEnabled());
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{3, 2.0, 4.0, 20}));

    // Between band-pass and band-stop the edges stay where they are.
    Bar(tonwell::kIdF1Bar)->setValue(1500);
    Radio(tonwell::kIdBef)->click();
    EXPECT_EQ(window->design().f1, 1.5);
    EXPECT_EQ(window->design().f2, 4.0);
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{4, 1.5, 4.0, 20}));

    // Back to high-pass: the second cut-off is disabled, the first kept.
    Radio(tonwell::kIdHpf)->click();
    EXPECT_FALSE(Bar(tonwell::kIdF2Bar)->isEnabled());
    EXPECT_EQ(window->design().type, 2);
    EXPECT_EQ(window->design().f1, 1.5);
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{2, 1.5, 4.0, 20}));
}

TEST_F(DesignWindowTest, FirstCutoffStopsOneHertzBelowTheSecond) {
    Radio(tonwell::kIdBpf)->click();
    Bar(tonwell::kIdF1Bar)->setValue(4500);
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->value(), 3999);
    EXPECT_EQ(Label(tonwell::kIdF1Value), "3999");
    EXPECT_EQ(window->design().f1, 3.999);
    Bar(tonwell::kIdF2Bar)->setValue(10);
    EXPECT_EQ(Bar(tonwell::kIdF2Bar)->value(), 4000);
    EXPECT_EQ(window->design().f2, 4.0);
    // One line step at a time gets no further either.
    Bar(tonwell::kIdF1Bar)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->value(), 3999);
}

TEST_F(DesignWindowTest, LowPassCutoffIsNotHeldBySecondBar) {
    Bar(tonwell::kIdF1Bar)->setValue(5000);
    EXPECT_EQ(window->design().f1, 5.0);
}

TEST_F(DesignWindowTest, StepsOfLineAndPage) {
    QScrollBar* bar = Bar(tonwell::kIdAttenuationBar);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window->design().attenuation, 21.0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(window->design().attenuation, 31.0);
    EXPECT_EQ(Label(tonwell::kIdAttenuationValue), "31");
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(window->design().attenuation, 20.0);
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{1, 0.3, 0.0, 20}));
}

TEST_F(DesignWindowTest, DraggingShowsTheValueButDesignsOnRelease) {
    QScrollBar* bar = Bar(tonwell::kIdF1Bar);
    const auto before = window->coefficients();
    bar->setSliderDown(true);
    bar->setValue(1200);
    EXPECT_EQ(Label(tonwell::kIdF1Value), "1200");
    EXPECT_EQ(window->design().f1, 0.3);
    EXPECT_EQ(window->coefficients(), before);
    bar->setSliderDown(false); // the thumb is let go
    EXPECT_EQ(window->design().f1, 1.2);
    EXPECT_EQ(window->coefficients(), tonwell::DesignFilter(tonwell::DesignParams{1, 1.2, 0.0, 20}));
}

TEST_F(DesignWindowTest, MouseHeldOnTheBarDesignsOnRelease) {
    QScrollBar* bar = Bar(tonwell::kIdAttenuationBar);
    const QPoint rightArrow(bar->width() - 4, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, rightArrow);
    EXPECT_EQ(bar->value(), 21);
    EXPECT_EQ(Label(tonwell::kIdAttenuationValue), "21");
    EXPECT_EQ(window->design().attenuation, 20.0);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, rightArrow);
    EXPECT_EQ(window->design().attenuation, 21.0);
}

TEST_F(DesignWindowTest, MenuFocusesTheScrollBars) {
    window->activateWindow();
    auto* bar = window->findChild<QMenuBar*>();
    bar->actions()[1]->menu()->actions()[3]->trigger();
    EXPECT_EQ(window->focusWidget(), Bar(tonwell::kIdAttenuationBar));
    bar->actions()[1]->menu()->actions()[1]->trigger();
    EXPECT_EQ(window->focusWidget(), Bar(tonwell::kIdF1Bar));
}

TEST_F(DesignWindowTest, ViewingTwiceKeepsOneWindowAndItsDesign) {
    Radio(tonwell::kIdBpf)->click();
    Button(tonwell::kIdClose)->click();
    EXPECT_FALSE(window->isVisible());
    RadioEqsView(nullptr);
    EXPECT_EQ(FindWindow<CEqsWindow>(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->design().type, 3);
    EXPECT_TRUE(Radio(tonwell::kIdBpf)->isChecked());
}

TEST_F(DesignWindowTest, EscapeAndTheCloseBoxHide) {
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    RadioEqsView(nullptr);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(FindWindow<CEqsWindow>(), window);
}

TEST_F(DesignWindowTest, EnterWritesOnlyFromTheWriteButton) {
    window->activateWindow();
    Bar(tonwell::kIdF1Bar)->setFocus();
    QTest::keyClick(Bar(tonwell::kIdF1Bar), Qt::Key_Return);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(window->isVisible());

    dialogs->answers.push_back(platform::IdCancel);
    Button(tonwell::kIdWrite)->setFocus();
    QTest::keyClick(Button(tonwell::kIdWrite), Qt::Key_Return);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Write to Radio. OK?");
    EXPECT_EQ(dialogs->messages[0].caption, "Write to Radio");
    EXPECT_EQ(dialogs->messages[0].flags, platform::MbOkCancel | platform::MbIconQuestion);

    Button(tonwell::kIdClose)->setFocus();
    QTest::keyClick(Button(tonwell::kIdClose), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(DesignWindowTest, HelpOpensContext209) {
    int shown = 0;
    platform::SetHelpViewer([&shown](int context, const QString&) { shown = context; });
    QTest::keyClick(window, Qt::Key_F1);
    platform::SetHelpViewer(nullptr);
    EXPECT_EQ(shown, 209);
}

TEST_F(DesignWindowTest, DestroySavesThePositionAndViewRestoresIt) {
    window->move(300, 200);
    const QPoint corner = window->frameGeometry().topLeft();
    RadioEqsDestroy();
    EXPECT_EQ(FindWindow<CEqsWindow>(), nullptr);
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqs", ""),
              platform::FormatWindowPos(corner.y(), corner.x()));
    RadioEqsView(nullptr);
    window = FindWindow<CEqsWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->frameGeometry().topLeft(), corner);
    // A fresh window: the design starts over.
    EXPECT_EQ(window->design().type, 1);
}

TEST_F(DesignWindowTest, PositionAtTheScreenEdgeIsNotRestored) {
    window->move(-20, 100);
    RadioEqsDestroy();
    const QString saved = platform::GetProfileString("WindowPos", "Eqs", "");
    EXPECT_EQ(saved.size(), 10);
    EXPECT_EQ(saved.right(5), "00000");
    RadioEqsView(nullptr);
    window = FindWindow<CEqsWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->frameGeometry().left(), 0);
}

TEST_F(DesignWindowTest, DestroyWhenAbsentAndParentDeletionAreSafe) {
    RadioEqsDestroy();
    RadioEqsDestroy();
    auto* parent = new QWidget;
    RadioEqsView(parent);
    window = FindWindow<CEqsWindow>();
    ASSERT_NE(window, nullptr);
    window->move(123, 234);
    const QPoint corner = window->frameGeometry().topLeft();
    delete parent; // takes the window with it
    EXPECT_EQ(FindWindow<CEqsWindow>(), nullptr);
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqs", ""), platform::FormatWindowPos(corner.y(), corner.x()));
    RadioEqsDestroy(); // the library noticed; nothing left to delete
    RadioEqsView(nullptr);
    EXPECT_NE(FindWindow<CEqsWindow>(), nullptr);
}

TEST(SamplesWindow, OpensAsItsOwnFrame) {
    RadioEqgView(nullptr);
    auto* samples = FindWindow<tonwell::CEqgWindow>();
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(samples->windowTitle(), "Audio Editor - Samples");
    EXPECT_EQ(samples->size(), QSize(704, 321));
    EXPECT_TRUE(samples->isVisible());
    RadioEqgView(nullptr);
    EXPECT_EQ(FindWindow<tonwell::CEqgWindow>(), samples);
    if (const char* dir = std::getenv("TONWELL_PNG_DIR")) {
        samples->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/samples.png"));
    }

    int shown = 0;
    platform::SetHelpViewer([&shown](int context, const QString&) { shown = context; });
    QTest::keyClick(samples, Qt::Key_F1);
    platform::SetHelpViewer(nullptr);
    EXPECT_EQ(shown, 210);

    samples->move(222, 111);
    const QPoint corner = samples->frameGeometry().topLeft();
    QTest::keyClick(samples, Qt::Key_Escape);
    EXPECT_FALSE(samples->isVisible());
    RadioEqgDestroy();
    EXPECT_EQ(FindWindow<tonwell::CEqgWindow>(), nullptr);
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqg", ""), platform::FormatWindowPos(corner.y(), corner.x()));
    RadioEqgDestroy();
}

TEST(SamplesWindow, BothWindowsLiveSideBySide) {
    RadioEqsView(nullptr);
    RadioEqgView(nullptr);
    EXPECT_NE(FindWindow<tonwell::CEqsWindow>(), nullptr);
    EXPECT_NE(FindWindow<tonwell::CEqgWindow>(), nullptr);
    RadioEqgDestroy();
    EXPECT_NE(FindWindow<tonwell::CEqsWindow>(), nullptr);
    RadioEqsDestroy();
    EXPECT_EQ(FindWindow<tonwell::CEqsWindow>(), nullptr);
}

} // namespace
