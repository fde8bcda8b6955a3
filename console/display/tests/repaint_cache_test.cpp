// SPDX-License-Identifier: GPL-3.0-or-later
// repaint_cache_test.cpp - the console shown on the simulator, switched OFF
// and ON again and again and painted whole after each round: the coloured
// keys must hand the style the same palettes every time. The style keeps the
// bevels it draws in the pixmap cache under keys made from those palettes;
// a new palette each paint is a new copy of every bevel each round, and the
// program grew by about a megabyte a reconnect that way.
#include "display_fixture.h"

#include "console_menu.h"

#include <kestrin.h>

#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <set>

namespace {

using display_test::PumpUntil;

// The usual desktop style, noting every palette it is handed for a key.
class PaletteWatch : public QProxyStyle {
public:
    PaletteWatch() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel)
            keys.insert(option->palette.cacheKey());
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::set<qint64> keys;
};

class RepaintCache : public display_test::DisplayTest {
protected:
    // Declared after the console's fixture: the keys are gone before it is.
    PaletteWatch style;

    void Round() {
        console->OnCommand(cmd::ControlOffCmd);
        console->OnCommand(cmd::ControlOnCmd);
        ASSERT_TRUE(
            PumpUntil([&] { return state().consoleReady == 1 && state().initialReadDone == 1; },
                      std::chrono::seconds(30)));
        display_test::PumpFor(std::chrono::milliseconds(100));
        (void)console->grab();
    }
};

TEST_F(RepaintCache, ReconnectsHandTheStyleNoNewPalettes) {
    for (CButtonEx* key : console->findChildren<CButtonEx*>())
        key->setStyle(&style);
    console->setModal(false);
    console->show();
    Connect();
    (void)console->grab();
    Round();
    const std::size_t settled = style.keys.size();
    ASSERT_GT(settled, 0u);
    for (int round = 0; round < 2; ++round)
        Round();
    EXPECT_EQ(style.keys.size(), settled) << "palettes handed to the style after the rounds";
}

} // namespace
