// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_meter.cpp - the segmented bar meter with peak hold and squelch mark.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

using kestrin_detail::mix;

namespace {
constexpr int kMaxSegments = 200;
const QColor kSquelchMark(255, 255, 255);
} // namespace

CStaticMeterEx::CStaticMeterEx(QWidget* parent, int id, const QRect& rect)
    : QWidget(parent), CKestrinControl(id, rect) {
    m_font = font();
    trackGeometry(this);
}

int CStaticMeterEx::SetMaxValue(int segments) {
    if (segments < 1 || segments > kMaxSegments) {
        return 0;
    }
    m_segments = segments;
    m_level = std::min(m_level, m_segments);
    m_peak = std::min(m_peak, m_segments);
    m_squelchLevel = std::min(m_squelchLevel, m_segments);
    update();
    return 1;
}

void CStaticMeterEx::setLevel(int level) {
    level = std::clamp(level, 0, m_segments);
    const int oldLevel = m_level;
    const int oldPeak = m_peak;
    m_level = level;
    if (m_holdMs <= 0) {
        m_peak = level;
    } else if (level >= m_peak) {
        m_peak = level;
        if (m_peakTimer != 0) {
            killTimer(m_peakTimer);
            m_peakTimer = 0;
        }
        if (level > 0) {
            m_peakTimer = startTimer(m_holdMs);
        }
    } else if (m_peakTimer == 0) {
        // A fall below a peak whose hold has already run out (the level
        // stood at the peak meanwhile): the peak is held once more, then
        // follows the level down.
        m_peakTimer = startTimer(m_holdMs);
    }
    if (oldLevel != m_level || oldPeak != m_peak) {
        update();
    }
}

int CStaticMeterEx::ViewMeter(int level) {
    setLevel(level);
    return 1;
}

int CStaticMeterEx::ViewSMeterSql(int squelchDisplay, int level) {
    if (squelchDisplay != 0) {
        const int mark = std::clamp(level, 0, m_segments);
        if (!m_squelch || mark != m_squelchLevel) {
            m_squelch = true;
            m_squelchLevel = mark;
            update();
        }
        return 1;
    }
    if (m_squelch) {
        m_squelch = false;
        m_squelchLevel = 0;
        update();
    }
    setLevel(level);
    return 1;
}

int CStaticMeterEx::ResetMeter() {
    if (m_peakTimer != 0) {
        killTimer(m_peakTimer);
        m_peakTimer = 0;
    }
    m_level = 0;
    m_peak = 0;
    update();
    return 1;
}

int CStaticMeterEx::SetTimerCount(int milliseconds) {
    if (milliseconds < 0) {
        return 0;
    }
    m_holdMs = milliseconds;
    if (m_holdMs == 0) {
        if (m_peakTimer != 0) {
            killTimer(m_peakTimer);
            m_peakTimer = 0;
        }
        m_peak = m_level;
        update();
    }
    return 1;
}

int CStaticMeterEx::SetTextSize(unsigned pixelHeight) {
    if (pixelHeight == 0 || pixelHeight > 1000) {
        return 0;
    }
    m_font.setPixelSize(static_cast<int>(pixelHeight));
    update();
    return 1;
}

int CStaticMeterEx::SetTextBold(int on) {
    m_font.setBold(on != 0);
    update();
    return 1;
}

int CStaticMeterEx::SetForeColor(COLORREF color) {
    return kestrin_detail::setColor(this, m_fore, color);
}

int CStaticMeterEx::SetBackColor(COLORREF color) {
    return kestrin_detail::setColor(this, m_back, color);
}

COLORREF CStaticMeterEx::foreColor() const { return KestrinRef(m_fore); }

COLORREF CStaticMeterEx::backColor() const { return KestrinRef(m_back); }

void CStaticMeterEx::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_peakTimer || m_peakTimer == 0) {
        QWidget::timerEvent(event);
        return;
    }
    killTimer(m_peakTimer);
    m_peakTimer = 0;
    if (m_peak != m_level) {
        m_peak = m_level;
        update();
    }
}

void CStaticMeterEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_back);
    if (m_segments <= 0 || width() < 2 || height() < 2) {
        return;
    }
    const QColor unlit = mix(m_back, m_fore, 0.16);
    const QColor peakColour = mix(m_fore, Qt::white, 0.35);
    const int margin = height() >= 8 ? 1 : 0;
    const int top = margin;
    const int barHeight = height() - 2 * margin;
    const double step = static_cast<double>(width()) / m_segments;
    const int gap = step >= 3.0 ? 1 : 0;
    for (int i = 0; i < m_segments; ++i) {
        const int x0 = static_cast<int>(i * step + 0.5);
        const int x1 = static_cast<int>((i + 1) * step + 0.5);
        const QRect segment(x0 + gap, top, std::max(1, x1 - x0 - gap), barHeight);
        const int number = i + 1; // segments count from 1
        QColor colour = unlit;
        if (number <= m_level) {
            colour = m_fore;
        } else if (number == m_peak) {
            colour = peakColour;
        }
        painter.fillRect(segment, colour);
    }
    if (m_squelch && m_squelchLevel > 0) {
        // The squelch point: a bright post at the end of its segment and a
        // notch below it.
        const int x = std::min(width() - 2, static_cast<int>(m_squelchLevel * step + 0.5) - 1);
        painter.fillRect(QRect(x - 1, 0, 2, height()), kSquelchMark);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSquelchMark);
        const int h = std::max(3, height() / 3);
        const QPointF notch[3] = {QPointF(x - h, height()), QPointF(x + h, height()),
                                  QPointF(x, height() - h)};
        painter.drawPolygon(notch, 3);
    }
}
