// SPDX-License-Identifier: GPL-3.0-or-later
// dial_icon.h - the tuning dial beside the digit fields: a knob drawn in one
// of eight positions, or dark when the dial is off.
#pragma once

#include <QWidget>

namespace glimra {

class DialIcon : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOffIconId = 17048;

    explicit DialIcon(QWidget* parent = nullptr);
    // 0 = off, 1..8 = the knob's position.
    void setPosition(int position);
    int position() const { return m_position; }
    QSize sizeHint() const override { return {34, 34}; }

signals:
    void clicked();
    void doubleClicked();
    // A mouse move with the left (raise false) or right (raise true) button held.
    void moved(bool raise);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int m_position = 0;
};

} // namespace glimra
