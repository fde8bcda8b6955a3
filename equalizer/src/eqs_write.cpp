// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_write.cpp - loading the designed taps into the radio's equaliser.
#include "eqs_window.h"

#include <corvan.h>
#include <platform.h>

#include <QRadioButton>

namespace tonwell {

void CEqsWindow::WriteToRadio() {
    const int answer = platform::MessageBox(QStringLiteral("Write to Radio. OK?"), QStringLiteral("Write to Radio"),
                                            platform::MbOkCancel | platform::MbIconQuestion, this);
    if (answer != platform::IdOk) {
        return;
    }
    const std::string text = TapText(m_h);
    if (m_rx->isChecked()) {
        link()->ConnUR(text.c_str());
    } else {
        link()->ConnUT(text.c_str());
    }
}

void CEqsWindow::WriteFromMenu(bool receive) {
    QRadioButton* button = receive ? m_rx : m_tx;
    button->setChecked(true);
    button->setFocus();
    WriteToRadio();
}

} // namespace tonwell
