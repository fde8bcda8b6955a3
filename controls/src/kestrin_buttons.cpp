// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_buttons.cpp - push buttons with colours and icons, and the
// owner-drawn coloured button.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QHash>
#include <QPainter>
#include <QPair>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

using kestrin_detail::mix;

namespace {

// Black or white, whichever reads better on `back`.
QColor contrastingText(const QColor& back) {
    const double luminance = 0.299 * back.red() + 0.587 * back.green() + 0.114 * back.blue();
    return luminance >= 128.0 ? QColor(Qt::black) : QColor(Qt::white);
}

// The style keeps every bevel it draws in the pixmap cache under a key made
// from, among others, the identity of the palette it was handed. A palette
// made afresh in each paint is a new identity each time: every repaint of a
// coloured key then added another copy of the same bevel to the cache (about
// a megabyte each time the console was repainted whole, as on every
// reconnect). So each face colour gets one palette, made once for each
// palette the keys inherit, and every paint hands the style that same one.
const QPalette& facePalette(const QPalette& base, const QColor& face) {
    constexpr qsizetype kMostFaces = 64; // a few colours on a few palettes
    static QHash<QPair<qint64, QRgb>, QPalette> faces;
    const QPair<qint64, QRgb> key(base.cacheKey(), face.rgba());
    auto it = faces.find(key);
    if (it == faces.end()) {
        if (faces.size() >= kMostFaces) {
            faces.clear();
        }
        QPalette made = base;
        made.setColor(QPalette::Button, face);
        made.setColor(QPalette::Window, face);
        it = faces.insert(key, made);
    }
    return *it;
}

} // namespace

// ------------------------------------------------------------- CButtonEx

CButtonEx::CButtonEx(QWidget* parent, int id, const QRect& rect, const QString& caption)
    : QPushButton(caption, parent), CKestrinColouredControl(id, rect) {
    setAutoDefault(false);
    setDefault(false);
    trackGeometry(this);
}

int CButtonEx::LoadIcon(const QIcon& icon) {
    if (icon.isNull()) {
        return 0;
    }
    setIcon(icon);
    const int side = std::max(8, std::min(width(), height()) - 6);
    setIconSize(QSize(side, side));
    update();
    return 1;
}

int CButtonEx::LoadIcon(const QString& resourcePath) {
    return LoadIcon(kestrin_detail::iconFromPath(resourcePath));
}

COLORREF CButtonEx::backColor() const {
    return KestrinRef(faceOr(palette().color(QPalette::Button)));
}

void CButtonEx::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QColor face = faceOr(option.palette.color(QPalette::Active, QPalette::Button));
    if (m_hasBack) {
        option.palette = facePalette(option.palette, m_back);
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // The label is drawn here rather than by the style, which keeps wide
    // margins: a front-panel key uses its whole face for the caption.
    QRect area = rect().adjusted(3, 2, -3, -2);
    if (isDown() || isChecked()) {
        area.translate(1, 1);
    }
    if (!icon().isNull()) {
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        QRect place(QPoint(0, 0), iconSize().boundedTo(area.size()));
        place.moveCenter(area.center());
        icon().paint(&painter, place, Qt::AlignCenter, mode);
        return;
    }
    // A disabled key keeps a greyed caption whatever its colour.
    painter.setPen(isEnabled() ? m_fore : mix(face, QColor(Qt::gray), 0.85));
    // Two pixels of air each side of the widest caption.
    painter.setFont(kestrin_detail::fittedFont(font(), text(), area.size() - QSize(4, 0)));
    painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

// ------------------------------------------------------------ CCButtonEx

CCButtonEx::CCButtonEx(QWidget* parent, int id, const QRect& rect, const QString& caption)
    : QPushButton(caption, parent), CKestrinControl(id, rect) {
    setAutoDefault(false);
    setDefault(false);
    trackGeometry(this);
}

CCButtonEx* CCButtonEx::Create(const QString& caption, const QRect& rect, QWidget* parent, int id) {
    auto* button = new CCButtonEx(parent, id, rect, caption);
    button->show();
    return button;
}

int CCButtonEx::SetBackColor(COLORREF color) {
    return kestrin_detail::setColor(this, m_back, color);
}

int CCButtonEx::SetTextBold(int on) {
    m_bold = on != 0;
    update();
    return 1;
}

COLORREF CCButtonEx::backColor() const { return KestrinRef(m_back); }

void CCButtonEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawItem(painter);
}

void CCButtonEx::DrawItem(QPainter& painter) {
    const bool pressed = isDown() || isChecked();
    const QRect area = rect();
    painter.fillRect(area, m_back);
    // A slight vertical sheen keeps a flat colour looking like a key cap.
    painter.fillRect(QRect(area.left() + 2, area.top() + 2, area.width() - 4, area.height() / 2 - 2),
                     mix(m_back, Qt::white, pressed ? 0.0 : 0.12));
    kestrin_detail::drawBevel(painter, area, m_back, pressed);

    QRect textArea = area.adjusted(3, 2, -3, -2);
    QFont captionFont = font();
    captionFont.setBold(m_bold);
    painter.setFont(kestrin_detail::fittedFont(captionFont, text(), textArea.size() - QSize(4, 0)));
    QColor textColour = contrastingText(m_back);
    if (!isEnabled()) {
        textColour = mix(m_back, textColour, 0.35);
    }
    painter.setPen(textColour);
    if (pressed) {
        textArea.translate(1, 1);
    }
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QPen focusPen(mix(m_back, textColour, 0.6), 1, Qt::DotLine);
        painter.setPen(focusPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}
