// SPDX-License-Identifier: GPL-3.0-or-later
// about_dialog.h - Help > About Zephyra.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // The start-up picture at (3, 0), an "&OK" button at (263, 228) of
    // 75 x 25, window 603 x 263 on black; left of the button the program's
    // version, right of it its licence.
    AboutDialog(const QPixmap& picture, QWidget* parent);
    QLabel* picture() const { return m_picture; }
    QPushButton* okButton() const { return m_ok; }
    QLabel* version() const { return m_version; }
    QLabel* licence() const { return m_licence; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_picture;
    QPushButton* m_ok;
    QLabel* m_version;
    QLabel* m_licence;
};
