// SPDX-License-Identifier: GPL-3.0-or-later
// The response plot as it appears in the window: the black curve must run
// where the taps' true response (computed independently) puts it.
#include "reference_design.h"
#include "window_helpers.h"

#include <QDir>
#include <QImage>

#include <cstdlib>

namespace {

using namespace testing_tonwell;
using reference::ld;

struct PlotCase {
    const char* name;
    int typeButton;
    int f1, f2, attenuation; // scroll positions
};

std::ostream& operator<<(std::ostream& os, const PlotCase& c) { return os << c.name; }

class PlotTest : public DesignWindowTest, public ::testing::WithParamInterface<PlotCase> {
protected:
    // Plot geometry of the 351 x 205 area at (8, 110): origin (28, 120),
    // 306 x 160 pixels, 40 dB over the height.
    static constexpr int kX0 = 28;
    static constexpr int kY0 = 120;
    static constexpr int kW = 306;

    ld LevelAt(const std::vector<ld>& h, ld x) const {
        const ld f = (x - kX0) * reference::kFs / (2 * kW);
        return 20 * std::log10(reference::RefMagnitude(h, f)) + 40;
    }
    static ld YOf(ld level) { return kY0 + 160 - level * 4; }
    static bool Dark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }
};

TEST_P(PlotTest, CurveFollowsTheTrueResponse) {
    const PlotCase& c = GetParam();
    Radio(c.typeButton)->click();
    if (c.f2 > 0) Bar(tonwell::kIdF2Bar)->setValue(c.f2);
    Bar(tonwell::kIdF1Bar)->setValue(c.f1);
    Bar(tonwell::kIdAttenuationBar)->setValue(c.attenuation);
    ASSERT_EQ(window->design().f1 * 1000, c.f1);

    const auto h = reference::Reference(window->design().type, window->design().f1, window->design().f2,
                                        window->design().attenuation);
    const QImage shown = window->client()->grab().toImage();

    if (const char* dir = std::getenv("TONWELL_PNG_DIR")) {
        window->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("design-%1.png").arg(c.name)));
    }

    // The background inside the plot area is the light orange.
    EXPECT_EQ(shown.pixel(kX0 + kW + 10, kY0 + 5) & 0xFFFFFF, 0xFF'C0'80u);

    int checked = 0;
    for (int x = kX0 + 3; x < kX0 + kW - 2; ++x) {
        if ((x - kX0) % (kW / 6) <= 2 || (x - kX0) % (kW / 6) >= kW / 6 - 2) continue; // vertical grid lines
        const ld level = LevelAt(h, x);
        if (level < 2 || level > 38) continue; // outside the grid or too close to its edges
        ld lowest = level, highest = level;
        for (ld dx : {-1.5L, -0.75L, 0.75L, 1.5L}) {
            lowest = std::min(lowest, LevelAt(h, x + dx));
            highest = std::max(highest, LevelAt(h, x + dx));
        }
        const ld expected = YOf(level);
        bool near = false;
        for (int y = static_cast<int>(expected) - 2; y <= static_cast<int>(expected) + 3; ++y)
            near = near || Dark(shown.pixel(x, y));
        EXPECT_TRUE(near) << "no curve near y " << static_cast<double>(expected) << " at x " << x;
        // Nothing else dark in this column, apart from the horizontal grid.
        for (int y = kY0 + 1; y < kY0 + 160; ++y) {
            if ((y - kY0) % 20 == 0) continue;
            if (y >= YOf(highest) - 3 && y <= YOf(lowest) + 3) continue;
            EXPECT_FALSE(Dark(shown.pixel(x, y))) << "stray ink at (" << x << ", " << y << ")";
        }
        ++checked;
    }
    EXPECT_GT(checked, 8);
}

INSTANTIATE_TEST_SUITE_P(Designs, PlotTest,
                         ::testing::Values(PlotCase{"DefaultLowPass", tonwell::kIdLpf, 300, 0, 20},
                                           PlotCase{"LowPass", tonwell::kIdLpf, 1800, 0, 35},
                                           PlotCase{"HighPass", tonwell::kIdHpf, 2500, 0, 50},
                                           PlotCase{"BandPass", tonwell::kIdBpf, 1000, 3000, 40},
                                           PlotCase{"BandStop", tonwell::kIdBef, 2000, 4000, 30}),
                         [](const auto& tc) { return std::string(tc.param.name); });

TEST_F(DesignWindowTest, AxisLabelsAndGridAreDrawn) {
    const QImage shown = window->client()->grab().toImage();
    // Grid corners.
    EXPECT_EQ(shown.pixel(28, 280) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(334, 120) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(181, 200) & 0xFFFFFF, 0u); // middle vertical line
    // Some ink in the "0" and "6000" label boxes under the grid.
    auto inkIn = [&shown](QRect box) {
        int ink = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ink += qGray(shown.pixel(x, y)) < 100;
        return ink;
    };
    EXPECT_GT(inkIn(QRect(28, 290, 10, 14)), 5);
    EXPECT_GT(inkIn(QRect(320, 290, 30, 14)), 20);
    EXPECT_EQ(inkIn(QRect(60, 290, 200, 14)), 0);
}

} // namespace
