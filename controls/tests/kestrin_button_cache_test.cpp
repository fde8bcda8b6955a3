// SPDX-License-Identifier: GPL-3.0-or-later
// A coloured push button and the style's pixmap cache. The style caches what
// it draws under keys made from the palette it is handed; a button that hands
// it a new palette on every paint fills the cache with copies of one bevel,
// and the program grows with every full repaint (as on every reconnect).
#include <kestrin.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <set>

namespace {

// The style every test here paints with: the usual desktop style, noting
// every palette it is handed for a push-button bevel.
class PaletteWatch : public QProxyStyle {
public:
    PaletteWatch() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel) {
            keys.insert(option->palette.cacheKey());
            last = option->palette;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    mutable std::set<qint64> keys;
    mutable QPalette last;
};

void paint(QWidget* w) {
    QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    w->render(&image);
}

// Every test paints its keys on one parent with the watching style.
class KestrinButtonCache : public ::testing::Test {
protected:
    CButtonEx* Key(int id, const QRect& rect, const char* caption) {
        auto* key = new CButtonEx(&parent, id, rect, caption);
        key->setStyle(&style);
        return key;
    }

    PaletteWatch style; // outlives the keys that paint with it
    QWidget parent;
};

TEST_F(KestrinButtonCache, RepaintsOfAColouredKeyHandTheStyleOnePalette) {
    auto* key = Key(1, QRect(0, 0, 64, 24), "TF-SET");
    key->SetBackColor(0x0000FFFF);
    for (int i = 0; i < 40; ++i) {
        paint(key);
    }
    EXPECT_EQ(style.keys.size(), 1u);
    // The colour the style is handed is still the key's own.
    EXPECT_EQ(style.last.color(QPalette::Button), QColor(255, 255, 0));
    EXPECT_EQ(style.last.color(QPalette::Window), QColor(255, 255, 0));
}

TEST_F(KestrinButtonCache, AKeyLitAndPutOutAgainUsesOnePalettePerColour) {
    auto* lamp = Key(1, QRect(0, 0, 64, 24), "SPLIT");
    auto* other = Key(2, QRect(70, 0, 64, 24), "A=B");
    other->SetBackColor(0x000000FF);
    std::size_t settled = 0;
    for (int i = 0; i < 30; ++i) {
        lamp->SetBackColor(i % 2 ? 0x000000FF : 0x00C0C0C0); // grey, red, grey ...
        paint(lamp);
        EXPECT_EQ(style.last.color(QPalette::Button),
                  i % 2 ? QColor(255, 0, 0) : QColor(0xC0, 0xC0, 0xC0));
        paint(other);
        if (i == 1) {
            settled = style.keys.size();
        }
    }
    // Each key in each of its colours once; no more for lighting it again.
    EXPECT_LE(settled, 3u);
    EXPECT_EQ(style.keys.size(), settled);
}

TEST_F(KestrinButtonCache, AKeyFollowsAChangeOfItsParentsPalette) {
    auto* key = Key(1, QRect(0, 0, 64, 24), "VOX");
    key->SetBackColor(0x00FF0000); // blue
    paint(key);
    QPalette changed = parent.palette();
    changed.setColor(QPalette::Light, QColor(1, 2, 3));
    parent.setPalette(changed);
    paint(key);
    paint(key);
    EXPECT_EQ(style.keys.size(), 2u);
    EXPECT_EQ(style.last.color(QPalette::Light), QColor(1, 2, 3));
    EXPECT_EQ(style.last.color(QPalette::Button), QColor(0, 0, 255));
}

TEST_F(KestrinButtonCache, AnUncolouredKeyHandsTheStyleItsOwnPalette) {
    auto* key = Key(1, QRect(0, 0, 64, 24), "MR");
    for (int i = 0; i < 10; ++i) {
        paint(key);
    }
    EXPECT_EQ(style.keys.size(), 1u);
    EXPECT_EQ(style.last.cacheKey(), key->palette().cacheKey());
}

} // namespace
