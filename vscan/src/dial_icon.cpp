// SPDX-License-Identifier: GPL-3.0-or-later
#include "dial_icon.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace glimra {

DialIcon::DialIcon(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Dial"));
}

void DialIcon::setPosition(int position) {
    if (position == m_position) {
        return;
    }
    m_position = position;
    update();
}

void DialIcon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(2, 2, -2, -2);
    const bool on = m_position != 0;
    QRadialGradient shade(box.center() - QPointF(4, 4), box.width() * 0.7);
    shade.setColorAt(0, on ? QColor(235, 235, 235) : QColor(170, 170, 170));
    shade.setColorAt(1, on ? QColor(120, 120, 120) : QColor(80, 80, 80));
    p.setBrush(shade);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawEllipse(box);
    // The finger dimple: one of eight positions, starting at the top.
    const int step = on ? m_position - 1 : 0;
    const double angle = qDegreesToRadians(-90.0 + 45.0 * step);
    const double r = box.width() * 0.30;
    const QPointF dimple = box.center() + QPointF(r * std::cos(angle), r * std::sin(angle));
    p.setBrush(on ? QColor(200, 30, 30) : QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(dimple, 3.5, 3.5);
}

void DialIcon::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    event->accept();
}

void DialIcon::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    event->accept();
}

void DialIcon::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::RightButton) {
        emit moved(true);
    } else if (event->buttons() & Qt::LeftButton) {
        emit moved(false);
    }
}

} // namespace glimra
