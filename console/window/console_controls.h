// SPDX-License-Identifier: GPL-3.0-or-later
// console_controls.h - the console's control objects, built from the
// template and reached by identifier.
#pragma once

#include "console_template.h"

#include <kestrin.h>

#include <QComboBox>
#include <QScrollBar>
#include <QWidget>

#include <map>
#include <span>
#include <vector>

class ConsoleControls {
public:
    // Creates one control per template row as a child of `client`, in the
    // table's order (later rows stack above earlier ones).
    void build(QWidget* client, std::span<const ControlRow> rows);
    // Deletes every control object; afterwards the container is empty.
    void deleteAll();

    int size() const { return static_cast<int>(m_widgets.size()); }
    bool empty() const { return m_widgets.empty(); }
    QWidget* widget(int id) const;
    std::vector<int> ids() const;

    CStaticEx* label(int id) const { return qobject_cast<CStaticEx*>(widget(id)); }
    CStaticFrameEx* frame(int id) const { return qobject_cast<CStaticFrameEx*>(widget(id)); }
    CStaticMeterEx* meter(int id) const { return qobject_cast<CStaticMeterEx*>(widget(id)); }
    CStaticLEDEx* lamp(int id) const { return qobject_cast<CStaticLEDEx*>(widget(id)); }
    CButtonEx* button(int id) const { return qobject_cast<CButtonEx*>(widget(id)); }
    CCButtonEx* cbutton(int id) const { return qobject_cast<CCButtonEx*>(widget(id)); }
    CEditEx* edit(int id) const { return qobject_cast<CEditEx*>(widget(id)); }
    QScrollBar* scrollBar(int id) const { return qobject_cast<QScrollBar*>(widget(id)); }
    QComboBox* comboBox(int id) const { return qobject_cast<QComboBox*>(widget(id)); }
    // Caption of a label, frame or button; empty for the others.
    QString caption(int id) const;

private:
    std::map<int, QWidget*> m_widgets;
};
