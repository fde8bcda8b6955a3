// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_plot.cpp - drawing the response curve of the designed taps.
#include "eqs_plot.h"

#include <kestrin.h>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace tonwell {

namespace {
constexpr int kColumns = 6;
constexpr int kRows = 8;
constexpr QPoint kLabelZero{28, 289};
constexpr QPoint kLabelEnd{320, 289};
constexpr int kLabelHeight = 15;
} // namespace

void PaintResponse(QImage& surface, const QRect& plotRect, const Coefficients& h) {
    QPainter painter(&surface);
    painter.fillRect(plotRect, KestrinColor(kPlotBackground));

    const PlotFrame frame = PlotFrameFor(plotRect.left(), plotRect.top(), plotRect.width(), plotRect.height());
    painter.setPen(QPen(Qt::black, 0));
    for (int i = 0; i <= kColumns; ++i) {
        const int x = frame.x0 + i * frame.width / kColumns;
        painter.drawLine(x, frame.y0, x, frame.y0 + frame.height);
    }
    for (int j = 0; j <= kRows; ++j) {
        const int y = frame.y0 + j * frame.height / kRows;
        painter.drawLine(frame.x0, y, frame.x0 + frame.width, y);
    }

    painter.save();
    painter.setClipRect(plotRect);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto& stroke : ResponseStrokes(h, frame)) {
        if (stroke.size() < 2) {
            continue; // a lone point only moves the pen
        }
        QPainterPath path(QPointF(stroke.front().x, stroke.front().y));
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            path.lineTo(stroke[i].x, stroke[i].y);
        }
        painter.drawPath(path);
    }
    painter.restore();

    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(kLabelHeight);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int textHeight = painter.fontMetrics().height();
    painter.drawText(QRect(kLabelZero, QSize(40, textHeight)), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("0"));
    painter.drawText(QRect(kLabelEnd, QSize(60, textHeight)), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("6000"));
}

CPlotArea::CPlotArea(QWidget* parent, const QRect& rect) : QFrame(parent) {
    setGeometry(rect);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, KestrinColor(kPlotBackground));
    setPalette(palette);
}

void CPlotArea::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void CPlotArea::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.drawImage(QPoint(kPlotInset, kPlotInset), m_picture);
    }
    QFrame::paintEvent(event);
}

} // namespace tonwell
