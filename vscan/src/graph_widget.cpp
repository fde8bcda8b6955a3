// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph_widget.h"

#include <kestrin.h>

#include <QMouseEvent>
#include <QPainter>

namespace glimra {

namespace {

constexpr COLORREF kBackground = 0x0080C0FF; // RGB 255, 192, 128
constexpr COLORREF kBlue = 0x00F00000;       // RGB 0, 0, 240
constexpr COLORREF kRed = 0x000000F0;        // RGB 240, 0, 0
constexpr COLORREF kGrid = 0x00808080;
constexpr COLORREF kBlack = 0x00000000;

struct ScaleLabel {
    const char* text;
    int y;
};
// "S" heads the scale; the numbers stand at their grid lines.
constexpr std::array<ScaleLabel, 9> kScale{{{"S", 14},
                                            {"60", kGraphTop},
                                            {"40", 76},
                                            {"20", 121},
                                            {"9", 166},
                                            {"7", 193},
                                            {"5", 220},
                                            {"3", 247},
                                            {"1", 274}}};

} // namespace

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent) {
    m_levels.fill(-1);
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    compose();
}

void GraphWidget::setSpan(int span) {
    recompose(m_span, span);
}

void GraphWidget::setMode(int mode) {
    recompose(m_mode, mode);
}

void GraphWidget::recompose(int& setting, int value) {
    if (value == setting) {
        return;
    }
    setting = value;
    compose();
    update();
}

void GraphWidget::setLevel(int channel, int level, bool show) {
    if (channel < 0 || channel >= kMaxSpan) {
        return;
    }
    if (m_levels[static_cast<std::size_t>(channel)] == level) {
        return;
    }
    m_levels[static_cast<std::size_t>(channel)] = level;
    compose();
    if (show) {
        update();
    }
}

void GraphWidget::clearLevels() {
    m_levels.fill(-1);
    compose();
    update();
}

int GraphWidget::level(int channel) const {
    if (channel < 0 || channel >= kMaxSpan) {
        return -1;
    }
    return m_levels[static_cast<std::size_t>(channel)];
}

void GraphWidget::compose() {
    if (m_bitmap.size() != QSize(kWidth, kHeight)) {
        m_bitmap = QImage(kWidth, kHeight, QImage::Format_RGB32);
    }
    m_bitmap.fill(KestrinColor(kBackground));
    QPainter p(&m_bitmap);
    const BarGeometry g = GeometryForSpan(m_span);

    // Grid lines under the bars; S9 drawn solid.
    for (int y : kGridLines) {
        QPen pen(KestrinColor(y == kS9Line ? kBlack : kGrid));
        pen.setStyle(y == kS9Line ? Qt::SolidLine : Qt::DotLine);
        p.setPen(pen);
        p.drawLine(g.left, y, g.right - 1, y);
    }

    for (int i = 0; i < m_span && i < kMaxSpan; ++i) {
        const int level = m_levels[static_cast<std::size_t>(i)];
        const auto bar = BarFor(m_span, i, level, m_mode);
        if (!bar || bar->x1 <= bar->x0) {
            continue;
        }
        const int w = bar->x1 - bar->x0;
        const int blueTop = std::max(bar->top, kS9Line);
        if (bar->bottom > blueTop) {
            p.fillRect(bar->x0, blueTop, w, bar->bottom - blueTop, KestrinColor(kBlue));
        }
        if (bar->top < kS9Line) {
            const int redBottom = std::min(bar->bottom, kS9Line);
            p.fillRect(bar->x0, bar->top, w, redBottom - bar->top, KestrinColor(kRed));
        }
    }

    // The frame around the drawing area.
    p.setPen(KestrinColor(kBlack));
    p.drawRect(g.left - 1, kGraphTop - 1, g.right - g.left + 1, kGraphBottom - kGraphTop + 1);

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    p.setFont(font);
    for (const ScaleLabel& label : kScale) {
        p.drawText(QRect(0, label.y - 7, 34, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(label.text));
    }
}

void GraphWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_bitmap);
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (at.y() < kGraphTop || at.y() >= kGraphBottom) {
        return;
    }
    if (const auto channel = ChannelAt(m_span, at.x())) {
        emit barClicked(*channel);
    }
}

} // namespace glimra
