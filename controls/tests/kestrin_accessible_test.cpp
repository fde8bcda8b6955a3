// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of the display controls through the toolkit's
// accessibility interface: names, values, the text interface and roles,
// with nothing painted changing.
#include <kestrin.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QImage>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Read(QWidget* w, QAccessible::Text t) {
    return QAccessible::queryAccessibleInterface(w)->text(t);
}

QString TextOf(QWidget* w) {
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w)->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("(no text interface)");
}

class KestrinAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = std::make_unique<QWidget>();
        parent->resize(300, 200);
    }
    std::unique_ptr<QWidget> parent;
};

TEST_F(KestrinAccessibleTest, ALabelReadsWhatItShowsAndANamedOneReadsItAsItsValue) {
    auto* label = new CStaticEx(parent.get(), 1, QRect(0, 0, 80, 20), QStringLiteral(" SPLIT "));
    EXPECT_EQ(Read(label, QAccessible::Name), "SPLIT");
    EXPECT_EQ(Read(label, QAccessible::Value), "");
    EXPECT_EQ(TextOf(label), "SPLIT");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->role(), QAccessible::StaticText);

    label->setAccessibleName(QStringLiteral("Main mode"));
    label->setText(QStringLiteral(" USB"));
    EXPECT_EQ(Read(label, QAccessible::Name), "Main mode");
    EXPECT_EQ(Read(label, QAccessible::Value), "USB");
    EXPECT_EQ(TextOf(label), "USB");
    // The text a reader walks through character by character.
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(label)->textInterface();
    EXPECT_EQ(text->characterCount(), 3);
    EXPECT_EQ(text->text(1, 3), "SB");
    EXPECT_EQ(text->text(2, 99), "B");
    EXPECT_EQ(text->text(5, 2), "");
}

TEST_F(KestrinAccessibleTest, AReadingIsAskedEachTimeAndWinsOverTheText) {
    auto* digit = new CStaticEx(parent.get(), 2, QRect(10, 10, 20, 30), QStringLiteral("1"));
    digit->setAccessibleName(QStringLiteral("Main frequency"));
    QString now = QStringLiteral("14.195.000 MHz");
    digit->SetAccessibleReading([&now] { return now; });
    EXPECT_EQ(Read(digit, QAccessible::Value), "14.195.000 MHz");
    now = QStringLiteral("7.000.000 MHz");
    EXPECT_EQ(Read(digit, QAccessible::Value), "7.000.000 MHz");
    EXPECT_EQ(TextOf(digit), "7.000.000 MHz");
    digit->SetAccessibleReading({});
    EXPECT_EQ(Read(digit, QAccessible::Value), "1");
}

TEST_F(KestrinAccessibleTest, MetersLampsAndFramesSayTheirState) {
    auto* meter = new CStaticMeterEx(parent.get(), 3, QRect(0, 40, 100, 10));
    meter->setAccessibleName(QStringLiteral("Main meter"));
    meter->ViewMeter(12);
    EXPECT_EQ(Read(meter, QAccessible::Name), "Main meter");
    EXPECT_EQ(Read(meter, QAccessible::Value), "12");

    auto* lamp = new CStaticLEDEx(parent.get(), 4, QRect(0, 60, 8, 8));
    lamp->setAccessibleName(QStringLiteral("Memory lamp"));
    EXPECT_EQ(Read(lamp, QAccessible::Value), "off");
    lamp->SetLEDON(1);
    EXPECT_EQ(Read(lamp, QAccessible::Value), "on");

    auto* frame = new CStaticFrameEx(parent.get(), 5, QRect(0, 80, 200, 60), QStringLiteral("  Quick Memory"));
    EXPECT_EQ(Read(frame, QAccessible::Name), "Quick Memory");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(frame)->role(), QAccessible::Grouping);
    auto* bare = new CStaticFrameEx(parent.get(), 6, QRect(0, 150, 200, 40));
    EXPECT_EQ(Read(bare, QAccessible::Name), "");
    bare->setAccessibleName(QStringLiteral("Power"));
    EXPECT_EQ(Read(bare, QAccessible::Name), "Power");
}

TEST_F(KestrinAccessibleTest, AReadingThatStandsForSeveralLabelsCoversThem) {
    auto* first = new CStaticEx(parent.get(), 7, QRect(10, 10, 20, 30), QStringLiteral("1"));
    parent->show();
    const QRect alone = QAccessible::queryAccessibleInterface(first)->rect();
    EXPECT_EQ(alone.size(), QSize(20, 30));
    first->setProperty("accessibleSpan", QRect(10, 10, 220, 30));
    const QRect span = QAccessible::queryAccessibleInterface(first)->rect();
    EXPECT_EQ(span.topLeft(), alone.topLeft());
    EXPECT_EQ(span.size(), QSize(220, 30));
}

TEST_F(KestrinAccessibleTest, TextChangesAreSignalledOnceAndPaintAsBefore) {
    auto* label = new CStaticEx(parent.get(), 8, QRect(0, 0, 80, 20), QStringLiteral("ATT"));
    QSignalSpy changed(label, &CStaticEx::textChanged);
    label->setText(QStringLiteral("ATT"));
    EXPECT_EQ(changed.count(), 0);
    label->setText(QString());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "");

    // Naming a control and giving it a reading leave its picture alone.
    label->setText(QStringLiteral("ATT"));
    const QImage plain = label->grab().toImage();
    label->setAccessibleName(QStringLiteral("Main attenuator"));
    label->setAccessibleDescription(QStringLiteral("display"));
    label->SetAccessibleReading([] { return QStringLiteral("on"); });
    (void)Read(label, QAccessible::Value);
    EXPECT_TRUE(label->grab().toImage() == plain);
}

} // namespace
