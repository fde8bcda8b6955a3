// SPDX-License-Identifier: GPL-3.0-or-later
// display_texts.cpp - helpers for the display area as a whole.
#include "console_dialog.h"

#include "console_ids.h"

// Every label, mark and text line of the display starts empty; the radio's
// replies fill them.
void ConsoleDialog::ClearDisplayTexts() {
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (!IsDisplayControl(entry)) {
            continue;
        }
        if (CStaticEx* label = m_controls.label(entry.id)) {
            label->setText(QString());
        } else if (CEditEx* edit = m_controls.edit(entry.id)) {
            edit->clear();
        }
    }
}

// While the radio is off the display is a dark window: its live parts are
// hidden and the background is black. Powered on, they show on the display
// colour.
void ConsoleDialog::ShowLiveDisplay(bool on) {
    for (const ControlRow& entry : ConsoleTemplate()) {
        if (IsDisplayControl(entry)) {
            if (QWidget* w = m_controls.widget(entry.id)) {
                w->setVisible(on);
            }
        }
    }
    if (CStaticEx* back = m_controls.label(idc::DisplayBack))
        back->SetBackColor(on ? kDisplayColour : 0x000000);
}
