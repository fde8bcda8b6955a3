// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin.h - the display controls every Zephyra window draws with.
//
// Seven control classes, each a Qt widget placed at a fixed rectangle of its
// parent. Colours are 0x00BBGGRR numbers (65280 green, 255 red), converted
// here. Setters return non-zero on success and show from the next repaint.
// Every control remembers its rectangle (top, left, height, width) in the
// parent's client coordinates for the windows' press-and-hold hit tests.
//
// Threading: UI thread only.
#pragma once

#include <QColor>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

using COLORREF = std::uint32_t;

// 0x00BBGGRR to QColor and back.
QColor KestrinColor(COLORREF ref);
COLORREF KestrinRef(const QColor& color);

// The rectangle of a control in its parent's client coordinates.
struct KestrinRect {
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t height = 0;
    std::int32_t width = 0;
    bool contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

// What all seven classes share: an id, a rectangle, colours and a font.
class CKestrinControl {
public:
    virtual ~CKestrinControl() = default;
    int controlId() const { return m_id; }
    // Where the control is now (the window may move or resize it later).
    KestrinRect controlRect() const;

    // What a screen reader reads as the control's value when the painting
    // alone shows it: a meter's reading, a display drawn by several labels.
    // Asked each time a reader reads the control. Without one a label that
    // has an accessible name reads its text as the value, a lamp "on" or
    // "off" and a meter its level. The accessible name and description are
    // the widget's own (setAccessibleName, setAccessibleDescription).
    void SetAccessibleReading(std::function<QString()> reading);
    // The reading now; empty when none is set.
    QString AccessibleReading() const;
    bool HasAccessibleReading() const { return static_cast<bool>(m_reading); }

protected:
    CKestrinControl(int id, const QRect& rect);
    // Places `self` at the rectangle given to the constructor; from then on
    // controlRect() reads the widget's geometry.
    void trackGeometry(QWidget* self);
    int m_id;
    KestrinRect m_rect;
    QWidget* m_self = nullptr;
    std::function<QString()> m_reading;
};

// A control with a text colour and, once one is set, a face colour of its
// own (labels, group frames and push buttons). Until then the widget's
// palette shows through.
class CKestrinColouredControl : public CKestrinControl {
public:
    int SetForeColor(COLORREF color);
    int SetBackColor(COLORREF color);
    COLORREF foreColor() const;

protected:
    using CKestrinControl::CKestrinControl;
    // The face colour set, or `fallback` (the palette's) until one is.
    QColor faceOr(const QColor& fallback) const { return m_hasBack ? m_back : fallback; }
    QColor m_fore{Qt::black};
    QColor m_back;
    bool m_hasBack = false;
};

// Installs the accessibility of the display controls (a screen reader reads
// labels, frames, meters and lamps by name and value). Every control's
// constructor calls it; it runs once.
void KestrinInstallAccessibility();

// Text or icon label.
class CStaticEx : public QWidget, public CKestrinColouredControl {
    Q_OBJECT
public:
    CStaticEx(QWidget* parent, int id, const QRect& rect, const QString& text = {},
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    int SetTextSize(unsigned pixelHeight);
    int SetTextBold(int on);
    int SetTextItalic(int on);
    int SetCharType(const QString& face);
    int LoadIcon(const QIcon& icon); // shows the icon instead of the text
    int LoadIcon(const QString& resourcePath);
    void setText(const QString& text);
    QString text() const { return m_text; }
    bool hasIcon() const { return !m_icon.isNull(); }
    void setAlignment(Qt::Alignment alignment);
    COLORREF backColor() const;
    QSize sizeHint() const override;

signals:
    // The text changed (what is painted changes with it).
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Qt::Alignment m_alignment;
    QIcon m_icon;
};

// Framed group label: a frame with its caption in the top edge.
class CStaticFrameEx : public QWidget, public CKestrinColouredControl {
    Q_OBJECT
public:
    CStaticFrameEx(QWidget* parent, int id, const QRect& rect, const QString& caption = {});
    int SetTextSize(unsigned pixelHeight);
    void setText(const QString& caption);
    QString text() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

// Segmented bar meter with peak hold.
class CStaticMeterEx : public QWidget, public CKestrinControl {
    Q_OBJECT
public:
    static constexpr int kDefaultSegments = 30;
    CStaticMeterEx(QWidget* parent, int id, const QRect& rect);
    int SetMaxValue(int segments);
    int ViewMeter(int level);
    // Squelch display on: marks the squelch point at `level`, the bar keeps
    // its level. Off: removes the mark and shows `level` as ViewMeter does.
    int ViewSMeterSql(int squelchDisplay, int level);
    int ResetMeter();
    int SetTimerCount(int milliseconds); // peak hold time; 0 holds no peak
    // The bar draws no text; the font is kept for windows that ask for it.
    int SetTextSize(unsigned pixelHeight);
    int SetTextBold(int on);
    int SetForeColor(COLORREF color);
    int SetBackColor(COLORREF color);
    int maxValue() const { return m_segments; }
    int level() const { return m_level; }
    int peak() const { return m_peak; }
    bool squelchDisplay() const { return m_squelch; }
    int squelchLevel() const { return m_squelchLevel; }
    int holdTime() const { return m_holdMs; }
    COLORREF foreColor() const;
    COLORREF backColor() const;
    // The running peak-hold timer (0 when no peak is held); tests deliver
    // its QTimerEvent instead of waiting for it.
    int peakTimerId() const { return m_peakTimer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void setLevel(int level);
    int m_segments = kDefaultSegments;
    int m_level = 0;
    int m_peak = 0;
    int m_holdMs = 0;
    int m_peakTimer = 0;
    bool m_squelch = false;
    int m_squelchLevel = 0;
    QColor m_fore{0, 255, 0};
    QColor m_back{Qt::black};
    QFont m_font;
};

// Indicator lamp.
class CStaticLEDEx : public QWidget, public CKestrinControl {
    Q_OBJECT
public:
    CStaticLEDEx(QWidget* parent, int id, const QRect& rect);
    int SetLEDON(int on);
    int SetOnColor(COLORREF color);
    int SetOffColor(COLORREF color);
    int SetTimerCount(int milliseconds); // 0 steady; otherwise blinks while on
    bool isOn() const { return m_on; }
    // What the lamp shows now: on and, when blinking, in its lit phase.
    bool isLit() const { return m_on && m_blinkPhase; }
    int blinkInterval() const { return m_blinkMs; }
    int blinkTimerId() const { return m_blinkTimer; }
    COLORREF onColor() const;
    COLORREF offColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool m_on = false;
    bool m_blinkPhase = true;
    int m_blinkMs = 0;
    int m_blinkTimer = 0;
    QColor m_onColor{0, 255, 0};
    QColor m_offColor{Qt::black};
};

// Push button with icon and colours.
class CButtonEx : public QPushButton, public CKestrinColouredControl {
    Q_OBJECT
public:
    CButtonEx(QWidget* parent, int id, const QRect& rect, const QString& caption = {});
    int LoadIcon(const QIcon& icon); // shows the icon instead of the caption
    int LoadIcon(const QString& resourcePath);
    COLORREF backColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Owner-drawn coloured button.
class CCButtonEx : public QPushButton, public CKestrinControl {
    Q_OBJECT
public:
    CCButtonEx(QWidget* parent, int id, const QRect& rect, const QString& caption = {});
    // Creates the button in place: caption, rectangle, parent, id.
    static CCButtonEx* Create(const QString& caption, const QRect& rect, QWidget* parent, int id);
    int SetBackColor(COLORREF color);
    int SetTextBold(int on);
    COLORREF backColor() const;
    bool textBold() const { return m_bold; }

protected:
    void paintEvent(QPaintEvent* event) override; // DrawItem
    void DrawItem(QPainter& painter);

private:
    QColor m_back{0xC0, 0xC0, 0xC0};
    bool m_bold = false;
};

// Edit field.
class CEditEx : public QLineEdit, public CKestrinControl {
    Q_OBJECT
public:
    CEditEx(QWidget* parent, int id, const QRect& rect);
    int SetTextSize(unsigned pixelHeight);
    int SetTextBold(int on);
    int SetBackColor(COLORREF color);
    COLORREF backColor() const;
};
