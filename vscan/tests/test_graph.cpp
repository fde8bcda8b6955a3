// SPDX-License-Identifier: GPL-3.0-or-later
// The graph's pixels: bar geometry per span, the colours above and below
// S9, the three graph modes, and bars left out.
#include "graph_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <vector>

namespace glimra {
namespace {

const QColor kBackground(255, 192, 128);
const QColor kBlue(0, 0, 240);
const QColor kRed(240, 0, 0);

QColor At(const GraphWidget& g, int x, int y) {
    return g.bitmap().pixelColor(x, y);
}

struct PixelCase {
    int span;
    int mode;
    int channel;
    int level;
};

class VscanGraphPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(VscanGraphPixels, BarStandsWhereTheGeometrySays) {
    const auto& c = GetParam();
    GraphWidget graph;
    graph.setSpan(c.span);
    graph.setMode(c.mode);
    graph.setLevel(c.channel, c.level);

    // Computed here from the table: left edge, width, 301 - 9 * level.
    const int left = c.span == 31 ? 40 : c.span == 61 ? 43 : c.span == 91 ? 44 : 45;
    const int width = c.span == 31 ? 12 : c.span == 61 ? 6 : c.span == 91 ? 4 : 2;
    const int x0 = left + c.channel * width;
    const int top = 301 - 9 * c.level;
    const int inner = c.mode == 1 ? width - 1 : width;
    const int bottom = c.mode == 3 ? top + 9 : 310;

    for (int x = x0; x < x0 + inner; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (y == 166 && c.mode != 3) {
                continue; // the S9 line crosses the bar
            }
            EXPECT_EQ(At(graph, x, y), y < 166 ? kRed : kBlue) << x << "," << y;
        }
    }
    // Above the bar, and beside it, the background (or a grid line).
    if (top - 2 > 31) {
        EXPECT_NE(At(graph, x0, top - 2), kBlue);
        EXPECT_NE(At(graph, x0, top - 2), kRed);
    }
    if (c.mode == 1) {
        EXPECT_EQ(At(graph, x0 + width - 1, 300), kBackground); // the gap
    } else if (c.mode == 3 && bottom < 300) {
        EXPECT_EQ(At(graph, x0, 300), kBackground); // only the segment
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanGraphPixels,
    ::testing::Values(PixelCase{31, 1, 0, 20}, PixelCase{31, 2, 30, 30}, PixelCase{61, 1, 10, 12},
                      PixelCase{61, 2, 60, 16}, PixelCase{61, 3, 30, 25}, PixelCase{91, 1, 45, 0},
                      PixelCase{91, 3, 90, 10}, PixelCase{181, 2, 180, 29},
                      PixelCase{181, 1, 90, 15}));

TEST(VscanGraph, LevelsOutsideTheScaleDrawNothing) {
    GraphWidget graph;
    graph.setSpan(61);
    graph.setMode(2);
    const QImage empty = graph.bitmap();
    graph.setLevel(5, -1);
    graph.setLevel(6, 31);
    graph.setLevel(7, 1000);
    EXPECT_EQ(graph.bitmap(), empty);
    graph.setLevel(8, 0);
    EXPECT_NE(graph.bitmap(), empty);
}

TEST(VscanGraph, ABarLeftOutKeepsItsNeighboursInPlace) {
    GraphWidget graph;
    graph.setSpan(31);
    graph.setMode(2);
    graph.setLevel(0, 5);
    graph.setLevel(1, -1);
    graph.setLevel(2, 5);
    EXPECT_EQ(At(graph, 40 + 6, 290), kBlue);
    EXPECT_EQ(At(graph, 52 + 6, 290), kBackground);
    EXPECT_EQ(At(graph, 64 + 6, 290), kBlue);
}

TEST(VscanGraph, ClearingRemovesEveryBar) {
    GraphWidget graph;
    const QImage empty = graph.bitmap();
    for (int i = 0; i < 61; ++i) {
        graph.setLevel(i, i % 31);
    }
    graph.clearLevels();
    EXPECT_EQ(graph.bitmap(), empty);
}

TEST(VscanGraph, AClickOnABarNamesItsChannel) {
    GraphWidget graph;
    graph.setSpan(91);
    std::vector<int> clicked;
    QObject::connect(&graph, &GraphWidget::barClicked, [&](int channel) { clicked.push_back(channel); });
    QMouseEvent onBar(QEvent::MouseButtonPress, QPointF(44 + 4 * 50 + 1, 200), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&graph, &onBar);
    QMouseEvent outside(QEvent::MouseButtonPress, QPointF(20, 200), QPointF(), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&graph, &outside);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], 50);
}

} // namespace
} // namespace glimra
