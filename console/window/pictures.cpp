// SPDX-License-Identifier: GPL-3.0-or-later
// pictures.cpp - the console's pictures in the radio's front-panel look.
#include "pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const QColor kPanelTop(0x4a, 0x4e, 0x55);
const QColor kPanelBottom(0x1d, 0x1f, 0x23);
const QColor kAmber(255, 192, 128);
const QColor kAmberDark(0x8a, 0x52, 0x1c);
const QColor kInk(0x1a, 0x12, 0x08);
const QColor kSilver(0xd8, 0xdc, 0xe2);

QPixmap transparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A transparent picture of `size` drawn by `paint` with an antialiasing painter.
template <typename Paint>
QPixmap Painted(QSize size, Paint paint) {
    QPixmap pixmap = transparentPixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    paint(p);
    return pixmap;
}

QFont pixelFont(const QString& family, int pixels, bool bold = false, bool italic = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// `area` with corners of `radius`, shaded from `top` down to `bottom`; its
// outline comes back.
QPainterPath fillShaded(QPainter& p, const QRectF& area, qreal radius, const QColor& top,
                        const QColor& bottom) {
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0.0, top);
    shade.setColorAt(1.0, bottom);
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    p.fillPath(path, shade);
    return path;
}

// A brushed front-panel plate filling `area`.
void paintPanel(QPainter& p, const QRectF& area, qreal radius) {
    const QPainterPath path = fillShaded(p, area, radius, kPanelTop, kPanelBottom);
    // fine horizontal brushing
    p.save();
    p.setClipPath(path);
    for (int y = static_cast<int>(area.top()); y < area.bottom(); y += 3) {
        p.setPen(QColor(255, 255, 255, (y % 2 == 0) ? 10 : 5));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawPath(path);
}

// The amber display window with its dark bezel.
void paintDisplayWindow(QPainter& p, const QRectF& area) {
    QPainterPath bezel;
    bezel.addRoundedRect(area.adjusted(-4, -4, 4, 4), 6, 6);
    p.fillPath(bezel, QColor(0x0c, 0x0c, 0x0e));
    fillShaded(p, area, 3, kAmber.lighter(108), kAmber.darker(112));
}

// A tuning knob with grip and a marker at `angle` degrees (0 = top,
// clockwise); a null angle draws no marker.
void paintKnob(QPainter& p, const QPointF& centre, qreal radius, const double* angle, bool lit) {
    QRadialGradient body(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.4);
    body.setColorAt(0.0, QColor(0x70, 0x74, 0x7a));
    body.setColorAt(0.6, QColor(0x2a, 0x2c, 0x30));
    body.setColorAt(1.0, QColor(0x10, 0x11, 0x13));
    if (lit) {
        p.setPen(QPen(kAmber, std::max(1.0, radius * 0.12)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, radius * 1.02, radius * 1.02);
    }
    p.setPen(QPen(QColor(0, 0, 0, 180), 1));
    p.setBrush(body);
    p.drawEllipse(centre, radius * 0.92, radius * 0.92);
    // grip ridges around the rim
    const int ridges = radius > 20 ? 48 : 16;
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int i = 0; i < ridges; ++i) {
        const double a = 2.0 * std::numbers::pi * i / ridges;
        const QPointF outer = centre + QPointF(std::sin(a), -std::cos(a)) * radius * 0.9;
        const QPointF inner = centre + QPointF(std::sin(a), -std::cos(a)) * radius * 0.78;
        p.drawLine(inner, outer);
    }
    QRadialGradient cap(centre - QPointF(radius * 0.15, radius * 0.2), radius * 0.8);
    cap.setColorAt(0.0, QColor(0x58, 0x5c, 0x62));
    cap.setColorAt(1.0, QColor(0x22, 0x24, 0x27));
    p.setBrush(cap);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius * 0.7, radius * 0.7);
    if (angle != nullptr) {
        const double a = *angle * std::numbers::pi / 180.0;
        const QPointF dot = centre + QPointF(std::sin(a), -std::cos(a)) * radius * 0.5;
        p.setBrush(lit ? kAmber : kSilver);
        p.drawEllipse(dot, std::max(1.5, radius * 0.12), std::max(1.5, radius * 0.12));
    }
}

void paintLed(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour, bool on) {
    QRadialGradient glow(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    glow.setColorAt(0.0, on ? colour.lighter(170) : colour.darker(120));
    glow.setColorAt(1.0, on ? colour : colour.darker(300));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

// A rounded key cap shaded from `top` down to `bottom`, outlined in `edge`.
void paintCap(QPainter& p, const QRectF& area, qreal radius, const QColor& top, const QColor& bottom,
              const QColor& edge) {
    const QPainterPath path = fillShaded(p, area, radius, top, bottom);
    p.setPen(QPen(edge, 1));
    p.drawPath(path);
}

// A small key cap of the front panel with its legend.
void paintKey(QPainter& p, const QRectF& area, const QString& legend) {
    paintCap(p, area, 2.5, QColor(0x5a, 0x5e, 0x64), QColor(0x2c, 0x2e, 0x32), QColor(0, 0, 0, 200));
    p.setPen(kSilver);
    p.setFont(pixelFont(QStringLiteral("Arial"), 8, true));
    p.drawText(area, Qt::AlignCenter, legend);
}

} // namespace

QPixmap DrawSplashPicture() {
    return Painted(kSplashSize, [&](QPainter& p) {
        p.setRenderHint(QPainter::TextAntialiasing, true);
        const QRectF whole(0, 0, kSplashSize.width(), kSplashSize.height());
        p.fillRect(whole, Qt::black);
        paintPanel(p, whole.adjusted(1, 1, -1, -1), 10);

        // maker, model and program name
        p.setPen(kSilver);
        p.setFont(pixelFont(QStringLiteral("Arial"), 13, true));
        p.drawText(QRectF(22, 10, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("BRAVELL"));
        p.setFont(pixelFont(QStringLiteral("Arial"), 22, true, true));
        p.drawText(QRectF(22, 26, 260, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QX-9000"));
        p.setFont(pixelFont(QStringLiteral("Arial"), 10, true));
        p.setPen(QColor(0xa8, 0xac, 0xb2));
        p.drawText(QRectF(130, 30, 250, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("HF/VHF/UHF ALL MODE TRANSCEIVER"));

        // the display window with a frequency and a signal bar
        const QRectF lcd(26, 60, 352, 96);
        paintDisplayWindow(p, lcd);
        p.setPen(kInk);
        p.setFont(pixelFont(QStringLiteral("Arial"), 11, true));
        p.drawText(QRectF(lcd.left() + 8, lcd.top() + 4, 60, 14), Qt::AlignLeft, QStringLiteral("MAIN"));
        p.drawText(QRectF(lcd.left() + 50, lcd.top() + 4, 60, 14), Qt::AlignLeft, QStringLiteral("USB"));
        p.drawText(QRectF(lcd.right() - 70, lcd.top() + 4, 62, 14), Qt::AlignRight, QStringLiteral("M.CH 012"));
        p.setFont(pixelFont(QStringLiteral("Arial"), 46, true, true));
        p.drawText(QRectF(lcd.left() + 6, lcd.top() + 14, lcd.width() - 20, 52), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("14.195.000"));
        // S meter: 30 segments, the first 18 lit
        p.setFont(pixelFont(QStringLiteral("Arial"), 9, true));
        p.drawText(QRectF(lcd.left() + 8, lcd.bottom() - 26, 14, 12), Qt::AlignLeft, QStringLiteral("S"));
        for (int i = 0; i < 30; ++i) {
            const QRectF seg(lcd.left() + 24 + i * 10.5, lcd.bottom() - 24, 8, 9);
            p.fillRect(seg, i < 18 ? (i < 15 ? kInk : QColor(0xb0, 0x10, 0x10)) : kAmberDark.lighter(150));
        }
        p.drawText(QRectF(lcd.left() + 24, lcd.bottom() - 13, 320, 11), Qt::AlignLeft,
                   QStringLiteral("1    3    5    7    9    +20    +40    +60dB"));

        // keys below the display
        const char* legends[] = {"LSB", "USB", "CW", "FM", "AM", "A=B", "SPLIT", "MR"};
        for (int i = 0; i < 8; ++i) {
            paintKey(p, QRectF(26 + i * 44.5, 170, 40, 16), QString::fromLatin1(legends[i]));
        }
        p.setPen(kSilver);
        p.setFont(pixelFont(QStringLiteral("Times New Roman"), 15, true, true));
        p.drawText(QRectF(22, 194, 380, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Radio Control Program for QX-9000/QB9000"));

        // the main dial with its scale
        const QPointF centre(486, 112);
        p.setPen(QPen(QColor(0xa8, 0xac, 0xb2), 1.2));
        for (int i = 0; i < 36; ++i) {
            const double a = 2.0 * std::numbers::pi * i / 36.0;
            const double inner = i % 3 == 0 ? 80 : 84;
            p.drawLine(centre + QPointF(std::sin(a), -std::cos(a)) * inner,
                       centre + QPointF(std::sin(a), -std::cos(a)) * 89);
        }
        const double marker = 35.0;
        paintKnob(p, centre, 74, &marker, false);
        paintLed(p, QPointF(404, 200), 5, QColor(0, 220, 0), true);
        p.setFont(pixelFont(QStringLiteral("Arial"), 9, true));
        p.setPen(kSilver);
        p.drawText(QRectF(413, 194, 60, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CONTROL"));
        p.setFont(pixelFont(QStringLiteral("Arial"), 20, true, true));
        p.drawText(QRectF(480, 190, 100, 26), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Zephyra"));
    });
}

namespace {

// The dark rounded key cap behind the POWER and CONTROL legends.
void paintButtonCap(QPainter& p, const QSize& size) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area(0.5, 0.5, size.width() - 1, size.height() - 1);
    paintCap(p, area, 3, QColor(0x5c, 0x60, 0x66), QColor(0x25, 0x27, 0x2a), Qt::black);
}

} // namespace

QPixmap DrawPowerImage(bool on) {
    QPixmap pixmap = transparentPixmap(kPowerImageSize);
    QPainter p(&pixmap);
    paintButtonCap(p, kPowerImageSize);
    paintLed(p, QPointF(11, 11.5), 4.5, on ? QColor(40, 230, 40) : QColor(150, 30, 30), on);
    p.setPen(on ? QColor(Qt::white) : kSilver);
    p.setFont(pixelFont(QStringLiteral("Arial"), 12, true));
    p.drawText(QRectF(20, 0, 54, kPowerImageSize.height()), Qt::AlignCenter, QStringLiteral("POWER"));
    return pixmap;
}

QPixmap DrawControlImage(bool connected) {
    QPixmap pixmap = transparentPixmap(kControlImageSize);
    QPainter p(&pixmap);
    paintButtonCap(p, kControlImageSize);
    p.setPen(connected ? QColor(Qt::white) : kSilver);
    // The legend is squeezed to the cap's width rather than shrunk.
    const QFont font = pixelFont(QStringLiteral("Arial"), 11, true);
    p.setFont(font);
    const QString legend = QStringLiteral("CONTROL");
    const qreal advance = QFontMetricsF(font).horizontalAdvance(legend);
    const qreal room = kControlImageSize.width() - 5.0;
    p.save();
    p.translate(2.5, 0);
    p.scale(std::min(1.0, room / advance), 1.0);
    p.drawText(QRectF(0, 0.5, std::max(advance, room), 12), Qt::AlignCenter, legend);
    p.restore();
    // the link lamp strip: green while connected, dark red otherwise
    const QRectF lamp(7, 14, kControlImageSize.width() - 14, 4);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(connected ? QColor(40, 230, 40) : QColor(0x70, 0x22, 0x22));
    p.drawRoundedRect(lamp, 2, 2);
    return pixmap;
}

QPixmap DrawMeterIcon(bool swr) {
    return Painted(kMeterIconSize, [&](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        if (swr) {
            // a standing wave
            QPainterPath wave;
            wave.moveTo(1, 4.5);
            for (int x = 1; x <= 17; ++x) {
                wave.lineTo(x, 4.5 - 3.2 * std::sin((x - 1) * std::numbers::pi / 5.0));
            }
            p.drawPath(wave);
        } else {
            // a needle meter
            p.drawArc(QRectF(2, 1, 14, 14), 30 * 16, 120 * 16);
            p.drawLine(QPointF(9, 8), QPointF(13, 2.5));
            p.drawLine(QPointF(2, 8.5), QPointF(16, 8.5));
        }
    });
}

QPixmap DrawDialPicture(int selection) {
    const QSize size(30, 35);
    return Painted(size, [&](QPainter& p) {
        const QPointF centre(15, 16);
        if (selection <= 0) {
            paintKnob(p, centre, 13, nullptr, false);
        } else {
            const double angle = (selection - 1) * 45.0;
            paintKnob(p, centre, 13, &angle, true);
        }
        // the "turn me" arrows under the knob
        p.setPen(QPen(selection > 0 ? QColor(0xd0, 0x70, 0x10) : QColor(0x50, 0x50, 0x50), 1.2));
        p.drawArc(QRectF(5, 22, 20, 11), 200 * 16, 140 * 16);
    });
}

QPixmap DrawClickEncoderPicture() {
    const QSize size(18, 13);
    return Painted(size, [&](QPainter& p) {
        const double angle = 300.0;
        paintKnob(p, QPointF(9, 6.5), 6.2, &angle, false);
    });
}

QPixmap DrawBrandPlate(QSize size) {
    return Painted(size, [&](QPainter& p) {
        const QRectF area(0.5, 0.5, size.width() - 1, size.height() - 1);
        paintPanel(p, area, 4);
        p.setPen(kSilver);
        p.setFont(pixelFont(QStringLiteral("Arial"), 20, true, true));
        p.drawText(QRectF(8, 0, 110, size.height()), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QX-9000"));
        p.setFont(pixelFont(QStringLiteral("Arial"), 9, true));
        p.setPen(QColor(0xb8, 0xbc, 0xc2));
        p.drawText(QRectF(112, 4, size.width() - 118, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("HF/VHF/UHF"));
        p.drawText(QRectF(100, 18, size.width() - 106, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("ALL MODE TRANSCEIVER"));
    });
}

QIcon DrawArrowIcon(bool up) {
    const QSize size(16, 12);
    return QIcon(Painted(size, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x20, 0x20));
        for (int i = 0; i < 2; ++i) {
            const qreal x = 1 + i * 7;
            QPolygonF triangle;
            if (up) {
                triangle << QPointF(x, 1) << QPointF(x + 7, 6) << QPointF(x, 11);
            } else {
                triangle << QPointF(x + 7, 1) << QPointF(x, 6) << QPointF(x + 7, 11);
            }
            p.drawPolygon(triangle);
        }
    }));
}

QIcon DrawAppIcon() {
    QIcon icon;
    for (const int side : {16, 32, 48, 64}) {
        icon.addPixmap(Painted(QSize(side, side), [&](QPainter& p) {
            const qreal s = side / 64.0;
            paintPanel(p, QRectF(1 * s, 6 * s, 62 * s, 52 * s), 6 * s);
            paintDisplayWindow(p, QRectF(7 * s, 13 * s, 30 * s, 16 * s));
            p.setPen(kInk);
            p.setFont(pixelFont(QStringLiteral("Arial"), std::max(5, static_cast<int>(11 * s)), true, true));
            p.drawText(QRectF(7 * s, 13 * s, 30 * s, 16 * s), Qt::AlignCenter, QStringLiteral("14.1"));
            const double angle = 40.0;
            paintKnob(p, QPointF(47 * s, 32 * s), 13 * s, &angle, false);
            for (int i = 0; i < 3; ++i) {
                p.fillRect(QRectF((7 + i * 11) * s, 38 * s, 8 * s, 6 * s), QColor(0x60, 0x64, 0x6a));
            }
        }));
    }
    return icon;
}

ConsolePictures ConsolePictures::Draw() {
    ConsolePictures pictures;
    pictures.splash = DrawSplashPicture();
    pictures.power = {DrawPowerImage(false), DrawPowerImage(true)};
    pictures.meterIcons = {DrawMeterIcon(true), DrawMeterIcon(false)};
    pictures.control = {DrawControlImage(true), DrawControlImage(false)};
    for (int i = 0; i < kDialPictures; ++i) {
        pictures.dial[static_cast<std::size_t>(i)] = DrawDialPicture(i);
    }
    pictures.clickEncoder = DrawClickEncoderPicture();
    pictures.brandPlate = DrawBrandPlate(QSize(223, 37));
    pictures.arrowDownFast = DrawArrowIcon(false);
    pictures.arrowUpFast = DrawArrowIcon(true);
    pictures.appIcon = DrawAppIcon();
    return pictures;
}
