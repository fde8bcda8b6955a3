// SPDX-License-Identifier: GPL-3.0-or-later
// The setup panel's transverter rows: the digits shown, a digit pressed and
// held, and a frequency typed after Ent.
#include "setup_panel.h"

#include <kestrin.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace pandor {

// ------------------------------------------------------------ rows

std::int64_t CSetupPanel::frequency(int row) const {
    return row >= 0 && row < kRows ? m_rows[static_cast<std::size_t>(row)].hz : 0;
}

std::string CSetupPanel::rowShown(int row) const {
    if (row < 0 || row >= kRows) {
        return {};
    }
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    RowText text;
    for (int i = 0; i < kRowDigits; ++i) {
        const CStaticEx* digit = r.digits[static_cast<std::size_t>(i)];
        text.digits[static_cast<std::size_t>(i)] = digit != nullptr && !digit->text().isEmpty()
                                                       ? digit->text().at(0).toLatin1()
                                                       : '?';
    }
    for (std::size_t d = 0; d < r.dots.size(); ++d) {
        const CStaticEx* dot = r.dots[d];
        text.dots[d] = dot != nullptr && !dot->text().isEmpty() ? dot->text().at(0).toLatin1() : '?';
    }
    return text.shown();
}

void CSetupPanel::ShowText(int row, const RowText& text) {
    Row& r = m_rows[static_cast<std::size_t>(row)];
    for (int i = 0; i < kRowDigits; ++i) {
        if (CStaticEx* digit = r.digits[static_cast<std::size_t>(i)]) {
            digit->setText(QString(QLatin1Char(text.digits[static_cast<std::size_t>(i)])));
        }
    }
    for (std::size_t d = 0; d < r.dots.size(); ++d) {
        if (CStaticEx* dot = r.dots[d]) {
            dot->setText(QString(QLatin1Char(text.dots[d])));
        }
    }
}

void CSetupPanel::ShowRow(int row) {
    ShowText(row, ShowFrequency(m_rows[static_cast<std::size_t>(row)].hz));
}

void CSetupPanel::PressDigit(int row, int digit, bool up) {
    if (inEntry() || row < 0 || row >= kRows || digit < 0 || digit >= kRowDigits) {
        return;
    }
    Row& r = m_rows[static_cast<std::size_t>(row)];
    r.stepDigit = digit;
    r.stepUp = up;
    r.hz = StepFrequency(r.hz, digit, up);
    ShowRow(row);
    if (m_timers) {
        m_timers->SetTimer(row + 1, kFirstDelayMs);
    }
}

void CSetupPanel::OnStepTimer(int row) {
    if (row < 0 || row >= kRows || !m_timers || !m_timers->IsRunning(row + 1)) {
        return;
    }
    Row& r = m_rows[static_cast<std::size_t>(row)];
    r.hz = StepFrequency(r.hz, r.stepDigit, r.stepUp);
    ShowRow(row);
    if (m_timers->Interval(row + 1) != kRepeatMs) {
        m_timers->SetTimer(row + 1, kRepeatMs);
    }
}

void CSetupPanel::ReleaseDigits() {
    if (m_timers) {
        m_timers->KillAll();
    }
}

bool CSetupPanel::stepTimerRunning(int row) const {
    return m_timers && m_timers->IsRunning(row + 1);
}

int CSetupPanel::stepTimerInterval(int row) const {
    return m_timers ? m_timers->Interval(row + 1) : 0;
}

bool CSetupPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        // A quick second click is a press like the first.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
            for (int r = 0; r < kRows; ++r) {
                const auto& digits = m_rows[static_cast<std::size_t>(r)].digits;
                for (int i = 0; i < kRowDigits; ++i) {
                    if (digits[static_cast<std::size_t>(i)] == watched) {
                        PressDigit(r, kRowDigits - 1 - i, mouse->button() == Qt::RightButton);
                        return true;
                    }
                }
            }
        }
    } else if (type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
            ReleaseDigits();
        }
    }
    return CPanelBase::eventFilter(watched, event);
}

// ------------------------------------------------------------ entry

void CSetupPanel::PressEnt(int row) {
    if (row < 0 || row >= kRows) {
        return;
    }
    if (!inEntry()) {
        StartEntry(row);
    } else if (row == m_entryRow) {
        EndEntry(m_entry.count() > 0);
    }
}

void CSetupPanel::StartEntry(int row) {
    ReleaseDigits();
    m_entryRow = row;
    m_entry.Start();
    ApplyEnabling();
    ShowText(row, m_entry.text());
    if (CButtonEx* ent = m_rows[static_cast<std::size_t>(row)].ent) {
        ent->setFocus(Qt::OtherFocusReason);
    }
}

void CSetupPanel::EndEntry(bool takeValue) {
    const int row = m_entryRow;
    if (row < 0) {
        return;
    }
    if (takeValue) {
        m_rows[static_cast<std::size_t>(row)].hz = m_entry.Value();
    }
    m_entryRow = -1;
    ApplyEnabling();
    ShowRow(row);
}

void CSetupPanel::ApplyEnabling() {
    const bool idle = !inEntry();
    for (int r = 0; r < kRows; ++r) {
        if (CButtonEx* ent = m_rows[static_cast<std::size_t>(r)].ent) {
            ent->setEnabled(idle || r == m_entryRow);
        }
    }
    for (QWidget* control : std::initializer_list<QWidget*>{m_ok, m_cancel, m_port, m_baud, m_dialWait}) {
        if (control != nullptr) {
            control->setEnabled(idle);
        }
    }
    // The reset buttons come back only while the radio is on.
    for (CButtonEx* reset : {m_resetAll.data(), m_resetVfo.data()}) {
        if (reset != nullptr) {
            reset->setEnabled(idle && m_powerOn);
        }
    }
}

void CSetupPanel::keyPressEvent(QKeyEvent* event) {
    if (inEntry()) {
        const int key = event->key();
        const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && key >= Qt::Key_0 && key <= Qt::Key_9) {
            event->accept();
            if (m_entry.TypeDigit(key - Qt::Key_0)) {
                EndEntry(true);
            } else {
                ShowText(m_entryRow, m_entry.text());
            }
            return;
        }
        if (plain && (key == Qt::Key_Period || (keypad && key == Qt::Key_Comma))) {
            event->accept();
            m_entry.TypePeriod();
            ShowText(m_entryRow, m_entry.text());
            return;
        }
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape && key != Qt::Key_F1) {
            event->accept(); // nothing else acts while a frequency is typed
            return;
        }
    }
    CPanelBase::keyPressEvent(event);
}

void CSetupPanel::OnEnterKey() {
    if (inEntry()) {
        PressEnt(m_entryRow);
        return;
    }
    OnOK();
}

void CSetupPanel::OnEscapeKey() {
    if (inEntry()) {
        EndEntry(false);
        return;
    }
    OnCancel();
}

} // namespace pandor
