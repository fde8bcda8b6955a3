// SPDX-License-Identifier: GPL-3.0-or-later
// about_dialog.cpp - the About box.
#include "about_dialog.h"

#include "pictures.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

AboutDialog::AboutDialog(const QPixmap& picture, QWidget* parent)
    : QDialog(parent), m_picture(new QLabel(this)), m_ok(new QPushButton(QStringLiteral("&OK"), this)),
      m_version(new QLabel(QStringLiteral("Zephyra " ZEPHYRA_VERSION), this)),
      m_licence(new QLabel(QStringLiteral("Licence: GPL-3.0-or-later"), this)) {
    setWindowTitle(QStringLiteral("About Zephyra"));
    setFixedSize(603, 263);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    m_picture->setPixmap(picture);
    m_picture->setGeometry(3, 0, kSplashSize.width(), kSplashSize.height());
    m_ok->setGeometry(263, 228, 75, 25);
    m_ok->setDefault(true);
    // The button keeps the ordinary button colours on the black window.
    m_ok->setPalette(QPalette());
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // The two lines in the picture's silver on the black below it.
    QPalette silver = palette();
    silver.setColor(QPalette::WindowText, QColor(0xd8, 0xdc, 0xe2));
    m_version->setPalette(silver);
    m_licence->setPalette(silver);
    m_version->setGeometry(12, 228, 240, 25);
    m_licence->setGeometry(350, 228, 243, 25);
    m_version->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_licence->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_licence->setToolTip(QStringLiteral("The GNU General Public License, version 3 or any later version"));
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    // The help key does nothing here.
    if (event->key() == Qt::Key_F1) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
