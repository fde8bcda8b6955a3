// SPDX-License-Identifier: GPL-3.0-or-later
// A control painted into an image, on magenta where it paints nothing.
#pragma once

#include <QImage>
#include <QWidget>

inline QImage render(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    widget->render(&image);
    return image;
}
