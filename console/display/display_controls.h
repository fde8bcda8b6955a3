// SPDX-License-Identifier: GPL-3.0-or-later
// display_controls.h - the small steps every display topic takes on the
// console's controls and state: a text put on a label or text line, a word
// lit on black, a button checked, the RIT and XIT offsets. Private to the
// display topic files.
#pragma once

#include "console_controls.h"
#include "console_display.h"

#include <console_state.h>
#include <corvan.h>

#include <QAbstractButton>
#include <QAction>
#include <QString>

#include <cstdint>

namespace display_controls {

inline constexpr std::uint32_t kBlack = 0;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// The text of a label, a button or a text line; other controls are left.
inline void SetText(const ConsoleControls& controls, int id, const QString& text) {
    if (CStaticEx* label = controls.label(id))
        label->setText(text);
    else if (CEditEx* line = controls.edit(id))
        line->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(controls.widget(id)))
        button->setText(text);
}

// What a label, frame, button or text line shows.
inline QString TextOf(const ConsoleControls& controls, int id) {
    if (const CEditEx* line = controls.edit(id))
        return line->text();
    return controls.caption(id);
}

// A word on background colour 0 while shown (in white, so that it reads),
// empty on the display colour.
inline void SetLit(const ConsoleControls& controls, int id, bool on, const QString& text) {
    if (CStaticEx* label = controls.label(id)) {
        label->setText(on ? text : QString());
        label->SetBackColor(on ? kBlack : ConsoleDisplay::kDisplayColour);
        if (on)
            label->SetForeColor(kWhite);
    }
}

// A word in black on the display colour (a label that is lit on black at
// other times, as "PTT" in satellite mode).
inline void SetOnDisplay(const ConsoleControls& controls, int id, const QString& text) {
    if (CStaticEx* label = controls.label(id)) {
        label->setText(text);
        label->SetBackColor(ConsoleDisplay::kDisplayColour);
        label->SetForeColor(kBlack);
    }
}

// A text line emptied (other controls are left).
inline void ClearEdit(const ConsoleControls& controls, int id) {
    if (CEditEx* edit = controls.edit(id))
        edit->clear();
}

// A checkable button's state (a button that is not checkable keeps none).
inline void SetChecked(const ConsoleControls& controls, int id, bool on) {
    if (CButtonEx* button = controls.button(id))
        button->setChecked(on);
}

inline void SetEnabled(const ConsoleControls& controls, int id, bool on) {
    if (QWidget* widget = controls.widget(id))
        widget->setEnabled(on);
}

// A menu command greyed or made available.
inline void SetCommandEnabled(const DisplayHost& host, int command, bool on) {
    if (!host.menuAction)
        return;
    if (QAction* action = host.menuAction(command))
        action->setEnabled(on);
}

// A VFO of the main band taken (0 A, 1 B, 2 memory, 3 call): the last VFO
// and the last place outside the call channel follow it.
inline void NoteMainVfo(zephyra::ConsoleState& s, int vfo) {
    if (vfo < 2)
        s.lastVfo[0] = vfo;
    if (vfo != 3)
        s.nonCallVfo = vfo;
}

// VFO A's or B's frequency asked for (`vfo` 0 or 1).
inline void AskVfoFrequency(CCorvan& link, int vfo) {
    if (vfo == 0)
        link.ConnFA("R", "");
    else
        link.ConnFB("R", "");
}

// The RIT/XIT offset the radio reports fits "%+06d".
inline constexpr int kMaxRitXitOffset = 99'999;

inline bool RitOrXit(const zephyra::ConsoleState& s) { return s.ritOn == 1 || s.xitOn == 1; }
inline std::int64_t Rit(const zephyra::ConsoleState& s) { return s.ritOn == 1 ? s.ritXitOffset : 0; }
inline std::int64_t Xit(const zephyra::ConsoleState& s) { return s.xitOn == 1 ? s.ritXitOffset : 0; }

} // namespace display_controls
