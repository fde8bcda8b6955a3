// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_labels.cpp - text and icon labels and framed group labels.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

using kestrin_detail::mix;

// ------------------------------------------------------------- CStaticEx

CStaticEx::CStaticEx(QWidget* parent, int id, const QRect& rect, const QString& text,
                     Qt::Alignment alignment)
    : QWidget(parent), CKestrinColouredControl(id, rect), m_text(text), m_alignment(alignment) {
    trackGeometry(this);
}

int CStaticEx::SetTextSize(unsigned pixelHeight) {
    return kestrin_detail::setPixelHeight(this, pixelHeight);
}

int CStaticEx::SetTextBold(int on) { return kestrin_detail::setBold(this, on != 0); }

int CStaticEx::SetTextItalic(int on) { return kestrin_detail::setItalic(this, on != 0); }

int CStaticEx::SetCharType(const QString& face) {
    if (face.trimmed().isEmpty()) {
        return 0;
    }
    QFont f = font();
    f.setFamilies({face});
    setFont(f);
    update();
    return 1;
}

int CStaticEx::LoadIcon(const QIcon& icon) {
    if (icon.isNull()) {
        return 0;
    }
    m_icon = icon;
    update();
    return 1;
}

int CStaticEx::LoadIcon(const QString& resourcePath) {
    return LoadIcon(kestrin_detail::iconFromPath(resourcePath));
}

void CStaticEx::setText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    update();
    emit textChanged(m_text);
}

void CStaticEx::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

COLORREF CStaticEx::backColor() const {
    return KestrinRef(faceOr(palette().color(QPalette::Window)));
}

QSize CStaticEx::sizeHint() const {
    if (!m_icon.isNull()) {
        return QSize(32, 32);
    }
    const QFontMetrics fm(font());
    return fm.size(0, m_text) + QSize(4, 2);
}

void CStaticEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_hasBack) {
        painter.fillRect(rect(), m_back);
    }
    if (!m_icon.isNull()) {
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        m_icon.paint(&painter, rect(), Qt::AlignCenter, mode);
        return;
    }
    if (m_text.isEmpty()) {
        return;
    }
    QColor fore = m_fore;
    if (!isEnabled()) {
        fore = mix(m_fore, faceOr(palette().color(QPalette::Window)), 0.6);
    }
    painter.setPen(fore);
    painter.setFont(font());
    painter.drawText(rect().adjusted(1, 0, -1, 0), static_cast<int>(m_alignment), m_text);
}

// -------------------------------------------------------- CStaticFrameEx

CStaticFrameEx::CStaticFrameEx(QWidget* parent, int id, const QRect& rect, const QString& caption)
    : QWidget(parent), CKestrinColouredControl(id, rect), m_caption(caption) {
    // A group frame only decorates: clicks go to the controls inside it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    trackGeometry(this);
}

int CStaticFrameEx::SetTextSize(unsigned pixelHeight) {
    return kestrin_detail::setPixelHeight(this, pixelHeight);
}

void CStaticFrameEx::setText(const QString& caption) {
    m_caption = caption;
    update();
}

void CStaticFrameEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor face = faceOr(palette().color(QPalette::Window));
    const QFontMetrics fm(font());
    const int captionHeight = m_caption.isEmpty() ? 0 : fm.height();
    const qreal top = captionHeight / 2 + 0.5;
    const QRectF box(0.5, top, width() - 1.0, height() - top - 0.5);
    if (m_hasBack) {
        QPainterPath inside;
        inside.addRoundedRect(box, 4, 4);
        painter.fillPath(inside, m_back);
    }
    // An etched line: a dark groove with a light edge below and right of it.
    painter.setPen(QPen(mix(face, Qt::white, 0.7), 1.0));
    painter.drawRoundedRect(box.translated(1, 1).adjusted(0, 0, -1, -1), 4, 4);
    painter.setPen(QPen(mix(face, Qt::black, 0.4), 1.0));
    painter.drawRoundedRect(box.adjusted(0, 0, -1, -1), 4, 4);
    if (captionHeight == 0) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int textWidth = fm.horizontalAdvance(m_caption);
    const QRect captionRect(8, 0, qMin(textWidth + 6, width() - 12), captionHeight);
    painter.fillRect(captionRect, face);
    painter.setPen(isEnabled() ? m_fore : mix(m_fore, face, 0.6));
    painter.setFont(font());
    painter.drawText(captionRect.adjusted(3, 0, -3, 0),
                     static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter), m_caption);
}
