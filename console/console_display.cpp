// console_display.cpp - helpers for the display area as a whole.
#include "console_dialog.h"

#include "console_ids.h"

// Every label, mark and text line of the display starts empty; the radio's
// replies fill them.
void ConsoleDialog::ClearDisplayTexts() {
    for (const ControlSpec& spec : ConsoleTemplate()) {
        if (!IsDisplayControl(spec)) {
            continue;
        }
        if (CStaticEx* label = m_controls.label(spec.id)) {
            label->setText(QString());
        } else if (CEditEx* edit = m_controls.edit(spec.id)) {
            edit->clear();
        }
    }
}

// While the radio is off the display is a dark window: its live parts are
// hidden and the background is black. Powered on, they show on the display
// colour.
void ConsoleDialog::ShowLiveDisplay(bool on) {
    for (const ControlSpec& spec : ConsoleTemplate()) {
        if (IsDisplayControl(spec)) {
            if (QWidget* w = m_controls.widget(spec.id)) {
                w->setVisible(on);
            }
        }
    }
    m_controls.label(idc::DisplayBack)->SetBackColor(on ? kDisplayColour : 0x000000);
}
