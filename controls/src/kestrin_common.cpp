// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_common.cpp - colours, the control base and shared drawing helpers.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>


#include <algorithm>

QColor KestrinColor(COLORREF ref) {
    return QColor(static_cast<int>(ref & 0xFFu), static_cast<int>((ref >> 8) & 0xFFu),
                  static_cast<int>((ref >> 16) & 0xFFu));
}

COLORREF KestrinRef(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<COLORREF>(rgb.red()) | (static_cast<COLORREF>(rgb.green()) << 8) |
           (static_cast<COLORREF>(rgb.blue()) << 16);
}


CKestrinControl::CKestrinControl(int id, const QRect& rect)
    : m_id(id), m_rect{rect.y(), rect.x(), rect.height(), rect.width()} {
    KestrinInstallAccessibility();
}

void CKestrinControl::SetAccessibleReading(std::function<QString()> reading) {
    m_reading = std::move(reading);
}

QString CKestrinControl::AccessibleReading() const { return m_reading ? m_reading() : QString(); }

int CKestrinColouredControl::SetForeColor(COLORREF color) {
    return kestrin_detail::setColor(m_self, m_fore, color);
}

int CKestrinColouredControl::SetBackColor(COLORREF color) {
    m_hasBack = true;
    return kestrin_detail::setColor(m_self, m_back, color);
}

COLORREF CKestrinColouredControl::foreColor() const { return KestrinRef(m_fore); }

void CKestrinControl::trackGeometry(QWidget* self) {
    m_self = self;
    self->setGeometry(m_rect.left, m_rect.top, m_rect.width, m_rect.height);
}

KestrinRect CKestrinControl::controlRect() const {
    if (m_self == nullptr) {
        return m_rect;
    }
    const QRect g = m_self->geometry();
    return KestrinRect{g.y(), g.x(), g.height(), g.width()};
}

namespace kestrin_detail {

int setColor(QWidget* widget, QColor& slot, COLORREF color) {
    slot = KestrinColor(color);
    widget->update();
    return 1;
}

QIcon iconFromPath(const QString& path) {
    if (path.isEmpty() || !QFile::exists(path)) {
        return {};
    }
    QIcon icon(path);
    if (icon.isNull() || icon.pixmap(QSize(32, 32)).isNull()) {
        return {};
    }
    return icon;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto blend = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()),
                  blend(a.blue(), b.blue()));
}

void drawBevel(QPainter& painter, const QRect& rect, const QColor& face, bool sunken) {
    const QColor light = mix(face, Qt::white, 0.65);
    const QColor shadow = mix(face, Qt::black, 0.45);
    const QColor dark = mix(face, Qt::black, 0.75);
    const QRect r = rect.adjusted(0, 0, -1, -1);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (r.width() > 4 && r.height() > 4) {
        const QRect inner = r.adjusted(1, 1, -1, -1);
        painter.setPen(sunken ? shadow : mix(face, Qt::white, 0.3));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(sunken ? mix(face, Qt::white, 0.3) : shadow);
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
    }
    painter.restore();
}

QFont fittedFont(const QFont& font, const QString& text, const QSize& room) {
    constexpr int kSmallest = 8;
    QFont fitted = font;
    int pixels = QFontInfo(font).pixelSize();
    for (;;) {
        const QSize needed = QFontMetrics(fitted).size(Qt::TextShowMnemonic, text);
        if ((needed.width() <= room.width() && needed.height() <= room.height()) || pixels <= kSmallest) {
            return fitted;
        }
        --pixels;
        fitted.setPixelSize(pixels);
    }
}

namespace {

// The widget's font with `change` made to it, shown at once; 1 as the
// setters return.
template <typename Change>
int changeFont(QWidget* widget, Change change) {
    QFont font = widget->font();
    change(font);
    widget->setFont(font);
    widget->update();
    return 1;
}

} // namespace

int setPixelHeight(QWidget* widget, unsigned pixelHeight) {
    if (pixelHeight == 0 || pixelHeight > 1000) {
        return 0;
    }
    return changeFont(widget, [pixelHeight](QFont& font) { font.setPixelSize(static_cast<int>(pixelHeight)); });
}

int setBold(QWidget* widget, bool on) {
    return changeFont(widget, [on](QFont& font) { font.setBold(on); });
}

int setItalic(QWidget* widget, bool on) {
    return changeFont(widget, [on](QFont& font) { font.setItalic(on); });
}

} // namespace kestrin_detail
