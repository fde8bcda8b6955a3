// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets the outside windows build alike.
#pragma once

#include <QLabel>
#include <QPushButton>

namespace plugin_exports {

// A push button that is never the default: Enter belongs to the line being
// edited, never to a default button.
inline QPushButton* PlainButton(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// The status line at the foot of a window: wrapped text from the top left,
// at least `minimumHeight` high so that a second line does not move the rest.
inline QLabel* StatusLine(QWidget* parent, int minimumHeight) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setMinimumHeight(minimumHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace plugin_exports
