// SPDX-License-Identifier: GPL-3.0-or-later
// splash_window.cpp - the start-up picture.
#include "splash_window.h"

#include "pictures.h"

#include <platform.h>

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(new QLabel(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_picture->setPixmap(picture);
    m_picture->setGeometry(0, 0, kSplashSize.width(), kSplashSize.height());
    setFixedSize(kSplashSize);
    const QRect desktop = platform::DesktopRect();
    move(desktop.center() - QPoint(kSplashSize.width() / 2, kSplashSize.height() / 2));
}
