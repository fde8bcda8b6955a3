// SPDX-License-Identifier: GPL-3.0-or-later
#include "passband_view.h"

#include <QPainter>
#include <QPainterPath>

namespace dunmar {

PassbandView::PassbandView(QWidget* parent) : QWidget(parent) {
    // What a screen reader says of the picture.
    setAccessibleName(QStringLiteral("Receive passband"));
    setAccessibleDescription(tr("no filter reported"));
}

void PassbandView::setPassband(const Passband& band) {
    if (band.known == m_band.known && band.low == m_band.low && band.high == m_band.high &&
        band.axisLow == m_band.axisLow && band.axisHigh == m_band.axisHigh)
        return;
    m_band = band;
    setAccessibleDescription(band.known ? QStringLiteral("%1 Hz wide, %2 to %3 Hz")
                                              .arg(band.high - band.low)
                                              .arg(band.low)
                                              .arg(band.high)
                                        : tr("no filter reported"));
    update();
}

void PassbandView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    p.fillRect(area, QColor(16, 24, 32));
    p.setPen(QColor(70, 80, 90));
    p.drawRect(area);

    const int left = 8;
    const int right = width() - 8;
    const int baseline = height() - 16;
    const int top = 8;
    const double span = m_band.axisHigh - m_band.axisLow;
    const auto xOf = [&](int hz) { return left + (hz - m_band.axisLow) / span * (right - left); };

    // Axis with a tick every 500 Hz and a figure every 1000 Hz.
    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    for (int hz = m_band.axisLow; hz <= m_band.axisHigh; hz += 500) {
        const double x = xOf(hz);
        p.setPen(QColor(60, 70, 80));
        p.drawLine(QPointF(x, top), QPointF(x, baseline));
        if (hz % 1000 == 0) {
            p.setPen(QColor(150, 160, 170));
            p.drawText(QRectF(x - 20, baseline + 1, 40, 14), Qt::AlignCenter, hz == 0 ? QStringLiteral("0") : QString::number(hz / 1000.0, 'g', 2) + QStringLiteral("k"));
        }
    }
    p.setPen(QColor(150, 160, 170));
    p.drawLine(QPointF(left, baseline), QPointF(right, baseline));

    if (!m_band.known) {
        p.drawText(area.adjusted(0, 0, 0, -16), Qt::AlignCenter, tr("no filter reported"));
        return;
    }
    // The passband as a trapezoid: steep skirts, a flat top.
    const double x0 = xOf(m_band.low);
    const double x1 = xOf(m_band.high);
    const double skirt = std::min(6.0, (x1 - x0) / 4);
    QPainterPath shape;
    shape.moveTo(x0 - skirt, baseline);
    shape.lineTo(x0 + skirt, top + 4);
    shape.lineTo(x1 - skirt, top + 4);
    shape.lineTo(x1 + skirt, baseline);
    shape.closeSubpath();
    p.fillPath(shape, QColor(255, 192, 128, 170));
    p.setPen(QPen(QColor(255, 192, 128), 1.5));
    p.drawPath(shape);
    p.setPen(Qt::white);
    p.drawText(QRectF(x0, top + 6, std::max(60.0, x1 - x0), 14), Qt::AlignCenter,
               QStringLiteral("%1 Hz").arg(m_band.high - m_band.low));
}

} // namespace dunmar
