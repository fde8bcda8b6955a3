// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_plot.h - the response plot: drawn on the window's off-screen surface,
// then shown by the sunken plot area.
#pragma once

#include "design.h"

#include <QFrame>
#include <QImage>
#include <QRect>

#include <cstdint>

namespace tonwell {

// Light orange (red 255, green 192, blue 128) as 0x00BBGGRR.
inline constexpr std::uint32_t kPlotBackground = 8438015;
// The plot area is shown from this far inside its rectangle.
inline constexpr int kPlotInset = 4;

// Fills `plotRect` of `surface` (client coordinates), draws the 6 x 8 grid,
// the response curve of `h` and the axis labels "0" and "6000".
void PaintResponse(QImage& surface, const QRect& plotRect, const Coefficients& h);

// The sunken plot area: shows the part of the surface it was given.
class CPlotArea : public QFrame {
    Q_OBJECT
public:
    CPlotArea(QWidget* parent, const QRect& rect);
    // The picture of the area inset by kPlotInset on each side.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace tonwell
