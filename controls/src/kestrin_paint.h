// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_paint.h - drawing and font helpers shared by the control classes.
#pragma once

#include "kestrin.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QRect>
#include <QWidget>

namespace kestrin_detail {

// A colour between `a` and `b`; t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, double t);

// A raised (or, when `sunken`, pressed) bevel around `rect` in `face`'s tones.
void drawBevel(QPainter& painter, const QRect& rect, const QColor& face, bool sunken);

// `font`, made smaller (down to 8 pixels) until `text` fits `room`.
QFont fittedFont(const QFont& font, const QString& text, const QSize& room);

// Font edits of a widget; each returns 1 (the setters' success value).
int setPixelHeight(QWidget* widget, unsigned pixelHeight);
int setBold(QWidget* widget, bool on);
int setItalic(QWidget* widget, bool on);

// Stores `color` in a widget's colour `slot` and repaints it; returns 1 (the
// setters' success value).
int setColor(QWidget* widget, QColor& slot, COLORREF color);

// A loadable icon from a file or resource path, or a null icon.
QIcon iconFromPath(const QString& path);

} // namespace kestrin_detail
