// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_led.cpp - the indicator lamp, steady or blinking while on.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimerEvent>

using kestrin_detail::mix;

CStaticLEDEx::CStaticLEDEx(QWidget* parent, int id, const QRect& rect)
    : QWidget(parent), CKestrinControl(id, rect) {
    trackGeometry(this);
}

int CStaticLEDEx::SetLEDON(int on) {
    const bool lit = on != 0;
    if (lit == m_on) {
        return 1;
    }
    m_on = lit;
    m_blinkPhase = true;
    if (m_blinkTimer != 0) {
        killTimer(m_blinkTimer);
        m_blinkTimer = 0;
    }
    if (m_on && m_blinkMs > 0) {
        m_blinkTimer = startTimer(m_blinkMs);
    }
    update();
    return 1;
}

int CStaticLEDEx::SetOnColor(COLORREF color) {
    return kestrin_detail::setColor(this, m_onColor, color);
}

int CStaticLEDEx::SetOffColor(COLORREF color) {
    return kestrin_detail::setColor(this, m_offColor, color);
}

int CStaticLEDEx::SetTimerCount(int milliseconds) {
    if (milliseconds < 0) {
        return 0;
    }
    m_blinkMs = milliseconds;
    if (m_blinkTimer != 0) {
        killTimer(m_blinkTimer);
        m_blinkTimer = 0;
    }
    m_blinkPhase = true;
    if (m_on && m_blinkMs > 0) {
        m_blinkTimer = startTimer(m_blinkMs);
    }
    update();
    return 1;
}

COLORREF CStaticLEDEx::onColor() const { return KestrinRef(m_onColor); }

COLORREF CStaticLEDEx::offColor() const { return KestrinRef(m_offColor); }

void CStaticLEDEx::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_blinkTimer || m_blinkTimer == 0) {
        QWidget::timerEvent(event);
        return;
    }
    m_blinkPhase = !m_blinkPhase;
    update();
}

void CStaticLEDEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool lit = m_on && m_blinkPhase;
    const QColor body = lit ? m_onColor : m_offColor;
    const QRectF lamp = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min(lamp.width(), lamp.height()) / 4.0;
    // A lamp window: a dark bezel, the lens in the lamp's colour with a soft
    // highlight along its top edge.
    painter.setPen(QPen(mix(body, Qt::black, 0.6), 1.0));
    QLinearGradient lens(lamp.topLeft(), lamp.bottomLeft());
    lens.setColorAt(0.0, mix(body, Qt::white, lit ? 0.45 : 0.18));
    lens.setColorAt(0.45, body);
    lens.setColorAt(1.0, mix(body, Qt::black, lit ? 0.15 : 0.3));
    painter.setBrush(lens);
    painter.drawRoundedRect(lamp, radius, radius);
    if (!lit) {
        // An unlit lamp still shows its outline against a dark panel.
        painter.setPen(QPen(mix(body, Qt::white, 0.3), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(lamp.adjusted(1, 1, -1, -1), radius, radius);
    }
}
