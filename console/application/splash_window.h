// SPDX-License-Identifier: GPL-3.0-or-later
// splash_window.h - the start-up picture shown while the console starts.
#pragma once

#include <QLabel>
#include <QWidget>

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // A frameless window exactly the picture's size (594 x 225), centred on
    // the desktop, owned by `owner`.
    SplashWindow(const QPixmap& picture, QWidget* owner);
    QLabel* picture() const { return m_picture; }

private:
    QLabel* m_picture;
};
