// SPDX-License-Identifier: GPL-3.0-or-later
// The digit fields: keyboard entry, clicks that step a decimal place, and
// the tuning dial.
#include "vscan_window.h"

#include "dial_icon.h"

#include <kestrin.h>
#include <platform.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

namespace glimra {

namespace {

constexpr int kFirstRepeatMs = 300;
constexpr int kRepeatMs = 100;

void ShowFields(const CVisualScanDlg::Controls& ui, const DigitFields& fields) {
    for (int i = 0; i < kDigits; ++i) {
        ui.digits[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(fields.digits[static_cast<std::size_t>(i)]));
    }
    for (int i = 0; i < 3; ++i) {
        ui.separators[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(fields.separators[static_cast<std::size_t>(i)]));
    }
}

} // namespace

void CVisualScanDlg::setEntered(std::int64_t hz) {
    m_entered = hz;
    if (!m_entry.active()) {
        showEntered();
    }
}

void CVisualScanDlg::showEntered() {
    ShowFields(m_ui, ShowFrequency(m_entered));
}

void CVisualScanDlg::showEntryFields() {
    ShowFields(m_ui, m_entry.show());
}

void CVisualScanDlg::EntToggle() {
    if (m_entry.active()) {
        endEntry();
        return;
    }
    m_entry.begin();
    // Entry mode shows "-" in every field and "." in the separators.
    for (CStaticEx* digit : m_ui.digits) {
        digit->setText(QStringLiteral("-"));
    }
    for (CStaticEx* sep : m_ui.separators) {
        sep->setText(QStringLiteral("."));
    }
}

void CVisualScanDlg::endEntry() {
    const std::int64_t value = m_entry.end();
    if (value != 0 && inBand(value)) {
        m_entered = value;
    }
    showEntered();
}

void CVisualScanDlg::cancelEntry() {
    m_entry.end();
    showEntered();
}

bool CVisualScanDlg::HandleKey(int key, const QString& text) {
    if (m_entry.active()) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            if (m_entry.typeDigit(key - Qt::Key_0)) {
                endEntry(); // the eleventh digit ends the entry
            } else {
                showEntryFields();
            }
            return true;
        }
        if (key == Qt::Key_Period || key == Qt::Key_Comma || text == QStringLiteral(".")) {
            m_entry.typePoint();
            showEntryFields();
            return true;
        }
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            endEntry();
            return true;
        }
        return false;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter acts on the focused button.
        for (CButtonEx* button : {m_ui.bandDown, m_ui.bandUp, m_ui.ent, m_ui.set, m_ui.reset,
                                  m_ui.start, m_ui.pause, m_ui.stop, m_ui.close}) {
            if (button->hasFocus() && button->isEnabled()) {
                button->click();
                return true;
            }
        }
    }
    return false;
}

// ---------------------------------------------------------- digit clicks

void CVisualScanDlg::DigitPressed(int fieldFromRight, bool raise) {
    if (m_entry.active()) {
        return;
    }
    m_heldField = fieldFromRight;
    m_heldRaise = raise;
    setEntered(ClickChange(m_entered, fieldFromRight, raise, m_control.selector.load(), stepListValue()));
    m_repeatTimer->start(kFirstRepeatMs);
}

void CVisualScanDlg::repeatDigit() {
    if (m_heldField < 0) {
        m_repeatTimer->stop();
        return;
    }
    if (m_repeatTimer->interval() != kRepeatMs) {
        m_repeatTimer->setInterval(kRepeatMs);
    }
    setEntered(ClickChange(m_entered, m_heldField, m_heldRaise, m_control.selector.load(), stepListValue()));
}

void CVisualScanDlg::DigitReleased() {
    m_heldField = -1;
    m_repeatTimer->stop();
}

// --------------------------------------------------------------- the dial

void CVisualScanDlg::DialClicked() {
    if (m_dial.on()) {
        m_dial.switchOff();
    } else {
        m_dial.switchOn(platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 5));
    }
    m_ui.dial->setPosition(m_dial.position());
}

void CVisualScanDlg::DialDoubleClicked() {
    m_dial.switchOff();
    m_ui.dial->setPosition(0);
}

void CVisualScanDlg::DialMove(bool raise) {
    if (!m_dial.move(raise)) {
        return;
    }
    const std::int64_t step = stepListValue();
    if (step > 0) {
        setEntered(DialChange(m_entered, raise, step));
    }
    m_ui.dial->setPosition(m_dial.position());
}

// ------------------------------------------------------ events of children

bool CVisualScanDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key->key(), key->text())) {
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    for (int i = 0; i < kDigits; ++i) {
        if (watched != m_ui.digits[static_cast<std::size_t>(i)]) {
            continue;
        }
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
                DigitPressed(kDigits - 1 - i, mouse->button() == Qt::RightButton);
                return true;
            }
        } else if (type == QEvent::MouseButtonRelease) {
            DigitReleased();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVisualScanDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event->key(), event->text())) {
        QWidget::keyPressEvent(event);
    }
}

void CVisualScanDlg::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CVisualScanDlg::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::RightButton) {
        DialMove(true);
    } else if (event->buttons() & Qt::LeftButton) {
        DialMove(false);
    }
}

} // namespace glimra
