// SPDX-License-Identifier: GPL-3.0-or-later
// console_controls.cpp - builds the console's controls from the template.
#include "console_controls.h"

#include <QAbstractButton>

namespace {

Qt::Alignment labelAlignment(unsigned flags) {
    if ((flags & kCentre) != 0) {
        return Qt::AlignCenter;
    }
    if ((flags & kRight) != 0) {
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* create(QWidget* client, const ControlRow& row) {
    const QRect rect = row.rect.toRect();
    const QString caption = QString::fromLatin1(row.caption);
    switch (row.kind) {
    case ControlKind::Static:
        return new CStaticEx(client, row.id, rect, caption, labelAlignment(row.flags));
    case ControlKind::Button: {
        auto* button = new CButtonEx(client, row.id, rect, caption);
        button->setCheckable((row.flags & kCheckable) != 0);
        return button;
    }
    case ControlKind::CButton: {
        auto* button = new CCButtonEx(client, row.id, rect, caption);
        button->setCheckable((row.flags & kCheckable) != 0);
        return button;
    }
    case ControlKind::Frame:
        return new CStaticFrameEx(client, row.id, rect, caption);
    case ControlKind::Meter:
        return new CStaticMeterEx(client, row.id, rect);
    case ControlKind::Lamp:
        return new CStaticLEDEx(client, row.id, rect);
    case ControlKind::Edit: {
        auto* edit = new CEditEx(client, row.id, rect);
        // The display's text lines only show names and messages.
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        return edit;
    }
    case ControlKind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Horizontal, client);
        bar->setGeometry(rect);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::ComboBox: {
        auto* list = new QComboBox(client);
        list->setGeometry(rect);
        return list;
    }
    }
    return nullptr;
}

} // namespace

void ConsoleControls::build(QWidget* client, std::span<const ControlRow> rows) {
    deleteAll();
    for (const ControlRow& row : rows) {
        QWidget* widget = create(client, row);
        widget->setObjectName(QStringLiteral("idc%1").arg(row.id));
        widget->setProperty("controlId", row.id);
        widget->setVisible((row.flags & kHidden) == 0);
        m_widgets[row.id] = widget;
    }
}

void ConsoleControls::deleteAll() {
    for (auto& [id, widget] : m_widgets) {
        delete widget;
    }
    m_widgets.clear();
}

QWidget* ConsoleControls::widget(int id) const {
    const auto it = m_widgets.find(id);
    return it == m_widgets.end() ? nullptr : it->second;
}

std::vector<int> ConsoleControls::ids() const {
    std::vector<int> result;
    result.reserve(m_widgets.size());
    for (const auto& [id, widget] : m_widgets) {
        result.push_back(id);
    }
    return result;
}

QString ConsoleControls::caption(int id) const {
    QWidget* w = widget(id);
    if (auto* l = qobject_cast<CStaticEx*>(w)) {
        return l->text();
    }
    if (auto* f = qobject_cast<CStaticFrameEx*>(w)) {
        return f->text();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text();
    }
    return {};
}
