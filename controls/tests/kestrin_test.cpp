// SPDX-License-Identifier: GPL-3.0-or-later
// Behaviour of the display controls: colours, rectangles, setters, labels,
// frames, buttons and edits, and what their paint code puts on screen (the
// meter and the lamp have a file of their own).
#include <kestrin.h>

#include "widget_image.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// ---------------------------------------------------------------- colours

struct ColourCase {
    COLORREF ref;
    int red, green, blue;
};

class KestrinColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(KestrinColour, ConvertsBothWays) {
    const ColourCase c = GetParam();
    const QColor colour = KestrinColor(c.ref);
    EXPECT_EQ(colour.red(), c.red);
    EXPECT_EQ(colour.green(), c.green);
    EXPECT_EQ(colour.blue(), c.blue);
    EXPECT_EQ(KestrinRef(QColor(c.red, c.green, c.blue)), c.ref & 0x00FFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Table, KestrinColour,
                         ::testing::Values(ColourCase{65280, 0, 255, 0}, ColourCase{255, 255, 0, 0},
                                           ColourCase{0xFF0000, 0, 0, 255},
                                           ColourCase{0x00804020, 0x20, 0x40, 0x80},
                                           ColourCase{0, 0, 0, 0},
                                           ColourCase{0x00FFFFFF, 255, 255, 255},
                                           // the unused top byte is ignored
                                           ColourCase{0xFF00FF00u, 0, 255, 0}));

TEST(KestrinColour, RefOfNonRgbColourUsesItsRgbValue) {
    EXPECT_EQ(KestrinRef(QColor::fromHsv(120, 255, 255)), 65280u);
}

// ------------------------------------------------------------- rectangles

using Factory = std::function<QWidget*(QWidget* parent, int id, const QRect& rect)>;

struct ControlKind {
    const char* name;
    Factory make;
};

class KestrinRectangle : public ::testing::TestWithParam<ControlKind> {};

CKestrinControl* asControl(QWidget* w) { return dynamic_cast<CKestrinControl*>(w); }

TEST_P(KestrinRectangle, KeepsItsRectangleAndFollowsMoves) {
    QWidget parent;
    parent.resize(400, 300);
    QWidget* widget = GetParam().make(&parent, 1234, QRect(30, 20, 80, 25));
    CKestrinControl* control = asControl(widget);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->controlId(), 1234);
    KestrinRect r = control->controlRect();
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.width, 80);
    EXPECT_EQ(r.height, 25);
    EXPECT_EQ(widget->geometry(), QRect(30, 20, 80, 25));

    widget->setGeometry(50, 60, 90, 30);
    r = control->controlRect();
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.width, 90);
    EXPECT_EQ(r.height, 30);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, KestrinRectangle,
    ::testing::Values(
        ControlKind{"StaticEx", [](QWidget* p, int id, const QRect& r) { return new CStaticEx(p, id, r, "x"); }},
        ControlKind{"FrameEx", [](QWidget* p, int id, const QRect& r) { return new CStaticFrameEx(p, id, r, "Mode"); }},
        ControlKind{"MeterEx", [](QWidget* p, int id, const QRect& r) { return new CStaticMeterEx(p, id, r); }},
        ControlKind{"LedEx", [](QWidget* p, int id, const QRect& r) { return new CStaticLEDEx(p, id, r); }},
        ControlKind{"ButtonEx", [](QWidget* p, int id, const QRect& r) { return new CButtonEx(p, id, r, "MR"); }},
        ControlKind{"CButtonEx", [](QWidget* p, int id, const QRect& r) { return new CCButtonEx(p, id, r, "F"); }},
        ControlKind{"EditEx", [](QWidget* p, int id, const QRect& r) { return new CEditEx(p, id, r); }}),
    [](const auto& param) { return std::string(param.param.name); });

struct HitCase {
    int x, y;
    bool inside;
};

class KestrinHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(KestrinHitTest, ContainsIsHalfOpen) {
    const KestrinRect r{20, 30, 25, 80}; // top, left, height, width
    EXPECT_EQ(r.contains(GetParam().x, GetParam().y), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(Edges, KestrinHitTest,
                         ::testing::Values(HitCase{30, 20, true}, HitCase{109, 44, true},
                                           HitCase{110, 20, false}, HitCase{30, 45, false},
                                           HitCase{29, 30, false}, HitCase{50, 19, false}));

// ---------------------------------------------------------------- setters

struct SetterCase {
    const char* name;
    std::function<int(QWidget* parent)> call;
    bool succeeds;
};

class KestrinSetter : public ::testing::TestWithParam<SetterCase> {};

TEST_P(KestrinSetter, ReportsSuccessOrRefusal) {
    QWidget parent;
    const int result = GetParam().call(&parent);
    if (GetParam().succeeds) {
        EXPECT_NE(result, 0);
    } else {
        EXPECT_EQ(result, 0);
    }
}

const QRect kBox(0, 0, 60, 20);

INSTANTIATE_TEST_SUITE_P(
    All, KestrinSetter,
    ::testing::Values(
        SetterCase{"StaticTextSize", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetTextSize(17); }, true},
        SetterCase{"StaticTextSizeZero", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetTextSize(0); }, false},
        SetterCase{"StaticBold", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetTextBold(1); }, true},
        SetterCase{"StaticItalic", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetTextItalic(1); }, true},
        SetterCase{"StaticFace", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetCharType("Arial"); }, true},
        SetterCase{"StaticEmptyFace", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetCharType("  "); }, false},
        SetterCase{"StaticFore", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetForeColor(255); }, true},
        SetterCase{"StaticBack", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->SetBackColor(0); }, true},
        SetterCase{"StaticMissingIcon", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->LoadIcon(QString("/nonexistent/icon.png")); }, false},
        SetterCase{"StaticNullIcon", [](QWidget* p) { return (new CStaticEx(p, 1, kBox))->LoadIcon(QIcon()); }, false},
        SetterCase{"FrameTextSize", [](QWidget* p) { return (new CStaticFrameEx(p, 1, kBox))->SetTextSize(14); }, true},
        SetterCase{"FrameFore", [](QWidget* p) { return (new CStaticFrameEx(p, 1, kBox))->SetForeColor(0xFF0000); }, true},
        SetterCase{"FrameBack", [](QWidget* p) { return (new CStaticFrameEx(p, 1, kBox))->SetBackColor(0xC0C0C0); }, true},
        SetterCase{"MeterTextSize", [](QWidget* p) { return (new CStaticMeterEx(p, 1, kBox))->SetTextSize(12); }, true},
        SetterCase{"MeterBold", [](QWidget* p) { return (new CStaticMeterEx(p, 1, kBox))->SetTextBold(1); }, true},
        SetterCase{"MeterBack", [](QWidget* p) { return (new CStaticMeterEx(p, 1, kBox))->SetBackColor(0); }, true},
        SetterCase{"LedOn", [](QWidget* p) { return (new CStaticLEDEx(p, 1, kBox))->SetLEDON(1); }, true},
        SetterCase{"LedOnColour", [](QWidget* p) { return (new CStaticLEDEx(p, 1, kBox))->SetOnColor(65280); }, true},
        SetterCase{"LedOffColour", [](QWidget* p) { return (new CStaticLEDEx(p, 1, kBox))->SetOffColor(0); }, true},
        SetterCase{"LedNegativeCount", [](QWidget* p) { return (new CStaticLEDEx(p, 1, kBox))->SetTimerCount(-1); }, false},
        SetterCase{"ButtonFore", [](QWidget* p) { return (new CButtonEx(p, 1, kBox))->SetForeColor(255); }, true},
        SetterCase{"ButtonBack", [](QWidget* p) { return (new CButtonEx(p, 1, kBox))->SetBackColor(65280); }, true},
        SetterCase{"ButtonMissingIcon", [](QWidget* p) { return (new CButtonEx(p, 1, kBox))->LoadIcon(QString("/nonexistent.png")); }, false},
        SetterCase{"CButtonBack", [](QWidget* p) { return (new CCButtonEx(p, 1, kBox))->SetBackColor(255); }, true},
        SetterCase{"CButtonBold", [](QWidget* p) { return (new CCButtonEx(p, 1, kBox))->SetTextBold(1); }, true},
        SetterCase{"EditTextSize", [](QWidget* p) { return (new CEditEx(p, 1, kBox))->SetTextSize(15); }, true},
        SetterCase{"EditBold", [](QWidget* p) { return (new CEditEx(p, 1, kBox))->SetTextBold(1); }, true},
        SetterCase{"EditBack", [](QWidget* p) { return (new CEditEx(p, 1, kBox))->SetBackColor(0xFFFF); }, true}),
    [](const auto& param) { return std::string(param.param.name); });

// ------------------------------------------------------- labels and fonts

TEST(KestrinLabel, FontSettersChangeTheWidgetFont) {
    QWidget parent;
    auto* label = new CStaticEx(&parent, 1, QRect(0, 0, 200, 50), "14.195.000");
    label->SetTextSize(41);
    label->SetTextBold(1);
    label->SetTextItalic(1);
    label->SetCharType("Times New Roman");
    EXPECT_EQ(label->font().pixelSize(), 41);
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->font().italic());
    EXPECT_EQ(label->font().family(), "Times New Roman");
    label->SetTextBold(0);
    EXPECT_FALSE(label->font().bold());
}

TEST(KestrinLabel, BackColourFillsAndTextUsesForeColour) {
    QWidget parent;
    auto* label = new CStaticEx(&parent, 1, QRect(0, 0, 80, 30), "8888", Qt::AlignCenter);
    label->SetBackColor(0x00000080); // dark red
    label->SetForeColor(0x00FFFFFF);
    label->SetTextSize(24);
    label->SetTextBold(1);
    const QImage image = render(label);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0x80, 0, 0));
    int white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            white += image.pixelColor(x, y) == QColor(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(label->backColor(), 0x00000080u);
}

TEST(KestrinLabel, IconReplacesTheText) {
    QTemporaryDir dir;
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255));
    const QString path = dir.filePath("meter.png");
    ASSERT_TRUE(picture.save(path));
    QWidget parent;
    auto* label = new CStaticEx(&parent, 1, QRect(0, 0, 16, 16), "SWR");
    ASSERT_NE(label->LoadIcon(path), 0);
    EXPECT_EQ(render(label).pixelColor(8, 8), QColor(0, 0, 255));
}

TEST(KestrinFrame, LetsClicksThroughToTheControlsInside) {
    QWidget parent;
    auto* frame = new CStaticFrameEx(&parent, 1, QRect(0, 0, 100, 100), "Mode");
    EXPECT_TRUE(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(KestrinFrame, CaptionInterruptsTheTopEdge) {
    QWidget parent;
    parent.setStyleSheet({});
    auto* frame = new CStaticFrameEx(&parent, 1, QRect(0, 0, 160, 60), "Band");
    frame->SetForeColor(0x00FF0000); // blue caption
    frame->SetTextSize(14);
    const QImage image = render(frame);
    int blue = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 60; ++x) {
            const QColor c = image.pixelColor(x, y);
            blue += (c.blue() > 150 && c.red() < 100 && c.green() < 100) ? 1 : 0;
        }
    }
    EXPECT_GT(blue, 10);
    // The frame's bottom edge is drawn.
    bool edge = false;
    for (int y = 50; y < 60; ++y) {
        edge = edge || image.pixelColor(80, y) != QColor(Qt::magenta);
    }
    EXPECT_TRUE(edge);
}

// ---------------------------------------------------------------- buttons

TEST(KestrinButton, CreatePlacesAVisibleButton) {
    QWidget parent;
    CCButtonEx* button = CCButtonEx::Create("F.LOCK", QRect(10, 12, 60, 24), &parent, 1500);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parentWidget(), &parent);
    EXPECT_EQ(button->controlId(), 1500);
    EXPECT_EQ(button->text(), "F.LOCK");
    EXPECT_EQ(button->geometry(), QRect(10, 12, 60, 24));
    EXPECT_FALSE(button->isHidden());
}

TEST(KestrinButton, OwnerDrawnButtonPaintsItsBackground) {
    QWidget parent;
    auto* button = new CCButtonEx(&parent, 1, QRect(0, 0, 60, 24), "TX");
    button->SetBackColor(255);
    button->SetTextBold(1);
    EXPECT_TRUE(button->textBold());
    const QImage image = render(button);
    // Lower half of the face, clear of bevel and caption.
    EXPECT_EQ(image.pixelColor(5, 18), QColor(255, 0, 0));
    EXPECT_EQ(button->backColor(), 255u);
}

TEST(KestrinButton, ColouredPushButtonUsesItsColours) {
    QWidget parent;
    auto* button = new CButtonEx(&parent, 1, QRect(0, 0, 60, 24), "MR");
    button->SetBackColor(0x0000FFFF); // yellow
    const QImage image = render(button);
    const QColor face = image.pixelColor(30, 20);
    EXPECT_GT(face.red(), 180);
    EXPECT_GT(face.green(), 180);
    EXPECT_LT(face.blue(), 120);
}

int countPixels(const QImage& image, const std::function<bool(const QColor&)>& match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += match(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return n;
}

TEST(KestrinButton, DisabledButtonGreysItsColouredCaption) {
    QWidget parent;
    auto* button = new CButtonEx(&parent, 1, QRect(0, 0, 80, 26), "VOICE");
    button->SetForeColor(255);
    QFont big = button->font();
    big.setPixelSize(16);
    big.setBold(true);
    button->setFont(big);
    auto red = [](const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; };
    EXPECT_GT(countPixels(render(button), red), 10);
    button->setEnabled(false);
    EXPECT_EQ(countPixels(render(button), red), 0);
}

// Columns of a key's face (inside the 3-pixel bevel margin) that hold caption
// ink; a caption cut off at the caption area fills all of them.
int inkColumns(const QImage& image) {
    int first = -1;
    int last = -1;
    for (int x = 3; x < image.width() - 3; ++x) {
        for (int y = 4; y < image.height() - 4; ++y) {
            if (image.pixelColor(x, y).lightness() < 110) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

TEST(KestrinButton, LongCaptionShrinksToFitTheKey) {
    QWidget parent;
    for (const char* caption : {"MMMM", "WWWWW", "TUNE DOWN"}) {
        auto* owner = new CCButtonEx(&parent, 1, QRect(0, 0, 64, 24), caption);
        owner->SetBackColor(0x00FFFFFF);
        auto* push = new CButtonEx(&parent, 2, QRect(0, 0, 64, 24), caption);
        push->SetBackColor(0x00FFFFFF);
        for (QWidget* button : {static_cast<QWidget*>(owner), static_cast<QWidget*>(push)}) {
            QFont big = button->font();
            big.setPixelSize(16);
            button->setFont(big);
            const int ink = inkColumns(render(button));
            EXPECT_GT(ink, 20) << caption;
            EXPECT_LE(ink, 64 - 6 - 2) << caption << ": caption cut at the edges";
        }
    }
}

TEST(KestrinButton, ShortCaptionKeepsItsSize) {
    QWidget parent;
    auto* narrow = new CCButtonEx(&parent, 1, QRect(0, 0, 40, 24), "MMMM");
    auto* wide = new CCButtonEx(&parent, 2, QRect(0, 0, 160, 24), "MMMM");
    for (CCButtonEx* b : {narrow, wide}) {
        QFont big = b->font();
        big.setPixelSize(16);
        b->setFont(big);
        b->SetBackColor(0x00FFFFFF);
    }
    const int small = inkColumns(render(narrow));
    const int full = inkColumns(render(wide));
    EXPECT_LT(small, full);
    EXPECT_GT(full, 40); // four capitals at 16 pixels, unshrunk
}

TEST(KestrinButton, NoButtonIsADefaultButton) {
    // Enter in a window must never press a Kestrin button by itself.
    QWidget parent;
    auto* a = new CButtonEx(&parent, 1, kBox, "A");
    auto* b = new CCButtonEx(&parent, 2, kBox, "B");
    EXPECT_FALSE(a->autoDefault());
    EXPECT_FALSE(b->autoDefault());
}

TEST(KestrinEdit, BackColourAndFont) {
    QWidget parent;
    auto* edit = new CEditEx(&parent, 1, QRect(0, 0, 80, 22));
    edit->SetBackColor(0x00C0FFFF);
    edit->SetTextSize(15);
    EXPECT_EQ(edit->backColor(), 0x00C0FFFFu);
    EXPECT_EQ(edit->font().pixelSize(), 15);
}

} // namespace
