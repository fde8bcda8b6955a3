// SPDX-License-Identifier: GPL-3.0-or-later
// meter_scale_test.cpp - every bar of the console as long as its printed
// scale: drawn on a real console on the simulator and read back from the
// picture. Where a mark of a scale stands is found from the picture too: the
// scale is drawn once as it is and once with the mark's digits changed, and
// the columns that differ are the mark. The pictures of every meter at S1,
// S9, S9+20, S9+60, full power and SWR 3 are left in the build tree for a
// person to look at.
#include "display_fixture.h"

#include <kestrin.h>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using display_test::PumpFor;

// Columns [first, last] of the console's client area.
struct Columns {
    int first = -1;
    int last = -1;
    bool empty() const { return first < 0; }
};

std::ostream& operator<<(std::ostream& out, const Columns& c) {
    return out << "[" << c.first << ", " << c.last << "]";
}

// A band's scale and the two parts of its bar.
struct Band {
    const char* name;
    int scale, first, over;
};
constexpr Band kBands[] = {{"main", idc::MainScale, idc::MainMeter, idc::MainMeterOver},
                           {"sub", idc::SubScale, idc::SubMeter, idc::SubMeterOver}};

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The columns (in the label's parent) where two pictures of the label differ.
Columns ChangedColumns(const QWidget* label, const QImage& as, const QImage& other) {
    Columns c;
    for (int x = 0; x < as.width(); ++x)
        for (int y = 0; y < as.height(); ++y)
            if (as.pixel(x, y) != other.pixel(x, y)) {
                if (c.first < 0)
                    c.first = label->x() + x;
                c.last = label->x() + x;
                break;
            }
    return c;
}

// The columns (in the label's parent) where the scale's drawing changes
// when `mark` (its last occurrence) is written with other digits of the
// same width: where the mark stands on the printed scale.
Columns MarkColumns(CStaticEx* label, const QString& mark, bool first = false) {
    const QString text = label->text();
    const int at = first ? text.indexOf(mark) : text.lastIndexOf(mark);
    if (at < 0)
        return {};
    QString other = text;
    for (int i = 0; i < mark.size(); ++i)
        other[at + i] = mark.at(i) == QLatin1Char('8') ? QLatin1Char('0') : QLatin1Char('8');
    const QImage as = Grab(label);
    label->setText(other);
    const QImage changed = Grab(label);
    label->setText(text);
    return ChangedColumns(label, as, changed);
}

// The columns of the label's parent where the scale's text has ink: from
// its first character to its last.
Columns InkColumns(CStaticEx* label) {
    const QString text = label->text();
    const QImage as = Grab(label);
    label->setText(QString());
    const QImage blank = Grab(label);
    label->setText(text);
    return ChangedColumns(label, as, blank);
}

// The lit columns of a bar in a picture of its parent: the pixels of its
// own colour along its middle row.
Columns LitColumns(const QImage& picture, const CStaticMeterEx* bar) {
    const QRgb lit = KestrinColor(bar->foreColor()).rgb();
    const int y = bar->y() + bar->height() / 2;
    Columns c;
    for (int x = bar->x(); x < bar->x() + bar->width(); ++x)
        if ((picture.pixel(x, y) & 0xFFFFFF) == (lit & 0xFFFFFF)) {
            if (c.first < 0)
                c.first = x;
            c.last = x;
        }
    return c;
}

bool Within(int x, const Columns& c) { return x >= c.first - 1 && x <= c.last + 1; }
int Middle(const Columns& c) { return (c.first + c.last) / 2; }

class MeterScaleTest : public display_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        Connect();
        state().subReceiver = 1;
        display().ShowMeterScale(2, 0);
        client = controls().meter(idc::MainMeter)->parentWidget();
    }
    CStaticMeterEx* Meter(int id) { return controls().meter(id); }
    CStaticEx* Label(int id) { return controls().label(id); }
    // Both bands' signal at `level`, the picture of the display afterwards.
    QImage Signal(int level) {
        display().OnSM(0, level);
        display().OnSM(1, level);
        return Grab(client);
    }
    // Leaves the picture for a person to look at.
    void Keep(const QImage& picture, const char* name) {
        const QString folder = QDir::current().filePath(QStringLiteral("meter-renders"));
        QDir().mkpath(folder);
        const QRect display(0, 0, 760, 150);
        picture.copy(display).scaled(display.size() * 2).save(folder + QStringLiteral("/") +
                                                               QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    QWidget* client = nullptr;
};

// S9 fills the first part up to the "9" of the scale and lights no red;
// one level more lights the first red segment, and only that one; S9+60 dB
// fills the red part up to the "60". Both bands, their scales and bars.
TEST_F(MeterScaleTest, SignalBarsReachTheirScaleMarks) {
    for (const Band& band : kBands) {
        SCOPED_TRACE(band.name);
        const Columns nine = MarkColumns(Label(band.scale), QStringLiteral("9"), true);
        const Columns sixty = MarkColumns(Label(band.scale), QStringLiteral("60"));
        ASSERT_FALSE(nine.empty());
        ASSERT_FALSE(sixty.empty());
        const CStaticMeterEx* first = Meter(band.first);
        const CStaticMeterEx* over = Meter(band.over);

        QImage picture = Signal(15);
        EXPECT_TRUE(Within(LitColumns(picture, first).last, nine))
            << "S9 ends at " << LitColumns(picture, first) << ", the 9 stands at " << nine;
        EXPECT_TRUE(LitColumns(picture, over).empty()) << "red at S9: " << LitColumns(picture, over);
        EXPECT_EQ(over->level(), 0);

        picture = Signal(16);
        const Columns red = LitColumns(picture, over);
        ASSERT_FALSE(red.empty()) << "one level above S9 lights no red";
        EXPECT_EQ(over->level(), 1);
        EXPECT_LE(red.last - over->x(), over->width() / over->maxValue() + 1)
            << "more than the first red segment lit: " << red;

        picture = Signal(14);
        EXPECT_LT(LitColumns(picture, first).last, Middle(nine) - 1) << "below S9 reaches the 9";

        picture = Signal(30);
        EXPECT_TRUE(Within(LitColumns(picture, over).last, sixty))
            << "S9+60 ends at " << LitColumns(picture, over) << ", the 60 stands at " << sixty;
        picture = Signal(29);
        EXPECT_LT(LitColumns(picture, over).last, Middle(sixty) - 1) << "below S9+60 reaches the 60";
    }
}

// The identification that prints its scale with S9 further right: the bar
// follows that scale, not the other one.
TEST_F(MeterScaleTest, TheOlderScaleHasItsOwnMarks) {
    state().radioIdentification = 18;
    display().ShowMeterScale(0, 0);
    ASSERT_EQ(Text(idc::MainScale), "--1---3---5---7---9--20--40-60dB");
    const Columns nine = MarkColumns(Label(idc::MainScale), QStringLiteral("9"), true);
    const Columns sixty = MarkColumns(Label(idc::MainScale), QStringLiteral("60"));
    QImage picture = Signal(15);
    EXPECT_TRUE(Within(LitColumns(picture, Meter(idc::MainMeter)).last, nine)) << nine;
    picture = Signal(30);
    EXPECT_TRUE(Within(LitColumns(picture, Meter(idc::MainMeterOver)).last, sixty)) << sixty;
}

// The sub meter's name beside its bar: "PWR" on transmit is drawn whole
// (a caption cut off by its label runs into both edges), and the "S" of
// receive is back at the main name's size.
TEST_F(MeterScaleTest, TheSubMeterNameFitsBesideItsBar) {
    CStaticEx* name = Label(idc::SubMeterName);
    for (const int transmit : {1, 0, 1, 0}) {
        SCOPED_TRACE(transmit ? "transmit" : "receive");
        display().ShowMeterScale(2, transmit);
        ASSERT_EQ(Text(idc::SubMeterName), transmit ? "PWR" : "S");
        // The label draws inside its edges and clips there: what the name
        // needs in the label's face must fit between them.
        EXPECT_LE(QFontMetrics(name->font()).tightBoundingRect(name->text()).width(), name->width() - 2);
        const Columns ink = InkColumns(name);
        ASSERT_FALSE(ink.empty());
        EXPECT_GT(ink.first, name->x()) << ink;
        EXPECT_LT(ink.last, name->x() + name->width() - 1) << ink;
        if (transmit) {
            EXPECT_GE(ink.last - ink.first + 1, name->width() / 2) << "legible, not shrunk to a dot";
            Keep(Grab(client), "sub-meter-name-pwr");
        } else {
            EXPECT_EQ(QFontInfo(name->font()).pixelSize(),
                      QFontInfo(Label(idc::MainMeterName)->font()).pixelSize());
        }
    }
}

// Transmitting, the same bars measure power: half the levels up to "50",
// full power up to "100".
TEST_F(MeterScaleTest, PowerBarsReachTheirScaleMarks) {
    display().ShowMeterScale(0, 1);
    display().ShowMeterScale(2, 1);
    for (const int scale : {idc::MainScale, idc::SubScale}) {
        const std::string text = Text(scale);
        ASSERT_EQ(text.rfind("----10----25----50-------100", 0), 0u) << text;
    }
    for (const Band& band : kBands) {
        SCOPED_TRACE(band.name);
        const Columns fifty = MarkColumns(Label(band.scale), QStringLiteral("50"));
        const Columns hundred = MarkColumns(Label(band.scale), QStringLiteral("100"));
        QImage picture = Signal(15);
        EXPECT_TRUE(Within(LitColumns(picture, Meter(band.first)).last, fifty)) << fifty;
        picture = Signal(30);
        EXPECT_TRUE(Within(LitColumns(picture, Meter(band.over)).last, hundred))
            << "full power ends at " << LitColumns(picture, Meter(band.over)) << ", the 100 stands at " << hundred;
    }
}

// The second meter's full bar ends at the last mark of the scale of its
// kind: SWR at "3", COMP at "20", ALC and the filter at the end of their
// dashes.
TEST_F(MeterScaleTest, SecondMeterReachesTheEndOfEachScale) {
    struct Kind {
        const char* name;
        int kind;
        const char* mark; // null: the end of the scale's ink
    };
    for (const Kind& k : {Kind{"SWR", 1, "3"}, Kind{"COMP", 2, "20"}, Kind{"ALC", 3, nullptr},
                          Kind{"FILTER", 4, nullptr}}) {
        SCOPED_TRACE(k.name);
        display().OnRM(k.kind, 30);
        CStaticEx* scale = Label(idc::SecondScale);
        const Columns end = k.mark ? MarkColumns(scale, QString::fromLatin1(k.mark)) : InkColumns(scale);
        ASSERT_FALSE(end.empty());
        const Columns lit = LitColumns(Grab(client), Meter(idc::SecondMeter));
        const int last = k.mark ? end.first : end.last;
        EXPECT_TRUE(Within(lit.last, Columns{k.mark ? end.first : end.last - 2, end.last}))
            << "the full bar ends at " << lit << ", the scale's end at " << end << " (" << last << ")";
        // The scale's leading blanks are the bar's start (SWR 1 before the
        // "1.5"): the bar starts where the scale's text does.
        EXPECT_LE(std::abs(lit.first - scale->x()), 3) << "the bar starts away from its scale";
    }
}

// The pictures: every meter at S1, S9, S9+20, S9+60, full power and SWR 3.
TEST_F(MeterScaleTest, PicturesOfEveryMeter) {
    struct Shot {
        const char* name;
        bool transmit;
        int level;
        int kind;
    };
    for (const Shot& shot : {Shot{"s1", false, 2, 2}, Shot{"s9", false, 15, 3}, Shot{"s9plus20", false, 20, 4},
                             Shot{"s9plus60", false, 30, 2}, Shot{"full-power", true, 30, 3},
                             Shot{"swr3", true, 15, 1}}) {
        display().ShowMeterScale(0, shot.transmit ? 1 : 0);
        display().ShowMeterScale(2, shot.transmit ? 1 : 0);
        display().OnRM(shot.kind, 30);
        Keep(Signal(shot.level), shot.name);
    }
    SUCCEED();
}

} // namespace
