// SPDX-License-Identifier: GPL-3.0-or-later
#include "eqg_picture.h"

#include "eqs_plot.h"

#include <kestrin.h>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tonwell {

namespace {

const QColor kGrid(176, 112, 64);
const QColor kZeroLine(128, 72, 32);

struct Tick {
    double hz;
    const char* label; // nullptr: a grid line without label
};

std::vector<Tick> TicksFor(const PictureAxes& axes) {
    if (!axes.logarithmic) {
        return {{0, "0"}, {1000, "1k"}, {2000, "2k"}, {3000, "3k"}, {4000, "4k"}, {5000, "5k"}};
    }
    std::vector<Tick> ticks;
    for (double decade = 10; decade < axes.highHz; decade *= 10) {
        for (int m = 1; m <= 9 && decade * m <= axes.highHz; ++m) {
            const char* label = nullptr;
            if (m == 1) {
                label = decade == 10 ? "10" : decade == 100 ? "100" : "1k";
            }
            ticks.push_back({decade * m, label});
        }
    }
    ticks.push_back({axes.highHz, "5k"});
    return ticks;
}

QFont LabelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    return font;
}

} // namespace

QImage SamplePicture(std::string_view tapText, int type) {
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
    picture.fill(KestrinColor(kPlotBackground));
    const PictureAxes axes = PictureAxesFor(type);
    const QRectF area(axes.left, axes.top, axes.width, axes.height);

    QPainter painter(&picture);
    painter.setFont(LabelFont());
    const QFontMetrics metrics(painter.font());

    // Level grid every 10 dB, labelled every 20 dB; 0 dB a little darker.
    for (int db = 0; db >= axes.bottomDb; db -= 10) {
        const double y = axes.top + LevelY(axes, db);
        painter.setPen(QPen(db == 0 ? kZeroLine : kGrid, 0));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        if (db % 20 == 0) {
            painter.setPen(Qt::black);
            const QString text = QString::number(db);
            painter.drawText(QRectF(0, y - 7, axes.left - 3, 14), Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    // Frequency grid and its labels below the curve's area.
    for (const Tick& tick : TicksFor(axes)) {
        const double x = axes.left + PositionOf(axes, tick.hz);
        painter.setPen(QPen(kGrid, 0));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        if (tick.label != nullptr) {
            painter.setPen(Qt::black);
            const QString text = QString::fromLatin1(tick.label);
            const double half = metrics.horizontalAdvance(text) / 2.0;
            const double left = std::clamp(x - half, 0.0, kPictureWidth - 2 * half - 1);
            painter.drawText(QRectF(left, area.bottom() + 2, 2 * half + 1, 13), Qt::AlignCenter, text);
        }
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(area);

    const std::optional<WireTaps> taps = DecodeTapText(tapText);
    if (!taps) {
        return picture;
    }
    // One point per half pixel across the area; levels beyond it are held
    // at its edges, so a deep notch runs along the bottom.
    QPainterPath curve;
    const int steps = 2 * axes.width;
    for (int i = 0; i <= steps; ++i) {
        const double x = i / 2.0;
        const double db = TapResponseDb(*taps, FrequencyAt(axes, x));
        const double y = std::clamp(LevelY(axes, db), 0.0, static_cast<double>(axes.height));
        const QPointF point(axes.left + x, axes.top + y);
        if (i == 0) {
            curve.moveTo(point);
        } else {
            curve.lineTo(point);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(curve);
    return picture;
}

} // namespace tonwell
