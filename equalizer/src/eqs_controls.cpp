// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_controls.cpp - the design window's type buttons, scroll bars and the
// design they drive.
#include "eqs_window.h"

#include "eqs_plot.h"

#include <kestrin.h>

#include <QEvent>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tonwell {

void CEqsWindow::SelectType(int type) {
    if (!IsValidType(type)) {
        return;
    }
    m_typeButtons[type - kLpf]->setChecked(true);
    const int previous = m_design.type;
    if (!UsesSecondCutoff(type)) {
        EnableSecondCutoff(false);
        if (type != previous) {
            m_design.type = type;
            Redesign();
        }
        return;
    }
    EnableSecondCutoff(true);
    if (!UsesSecondCutoff(previous)) {
        SetBarPosition(kF1, 2000);
        SetBarPosition(kF2, 4000);
        m_design.f1 = 2.0;
        m_design.f2 = 4.0;
    }
    m_design.type = type;
    Redesign();
}

void CEqsWindow::EnableSecondCutoff(bool on) {
    m_bars[kF2]->setEnabled(on);
    m_values[kF2]->setEnabled(on);
}

void CEqsWindow::SetBarPosition(Bar bar, int position) {
    m_settingBars = true;
    m_bars[bar]->setValue(position);
    m_settingBars = false;
    m_values[bar]->setText(QString::number(position));
}

// A band's lower edge stays below its upper edge while either is scrolled.
int CEqsWindow::HeldPosition(Bar bar, int position) const {
    if (!UsesSecondCutoff(m_design.type)) {
        return position;
    }
    if (bar == kF1) {
        return std::min(position, static_cast<int>(std::lround(m_design.f2 * 1000.0)) - 1);
    }
    if (bar == kF2) {
        return std::max(position, static_cast<int>(std::lround(m_design.f1 * 1000.0)) + 1);
    }
    return position;
}

void CEqsWindow::OnBarValue(Bar bar, int position) {
    if (m_settingBars) {
        return;
    }
    const int held = HeldPosition(bar, position);
    if (held != position) {
        SetBarPosition(bar, held);
    }
    m_values[bar]->setText(QString::number(m_bars[bar]->value()));
    // The design follows when the scroll action ends: at once for keys and
    // the wheel, on release for the mouse.
    if (!m_barPressed[bar] && !m_bars[bar]->isSliderDown()) {
        CommitBar(bar);
    }
}

void CEqsWindow::CommitBar(Bar bar) {
    const int position = m_bars[bar]->value();
    double& stored = bar == kF1 ? m_design.f1 : bar == kF2 ? m_design.f2 : m_design.attenuation;
    const double value = bar == kAttenuation ? position : position / 1000.0;
    if (value != stored) {
        stored = value;
        Redesign();
    }
}

bool CEqsWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find(m_bars.begin(), m_bars.end(), watched);
    if (it != m_bars.end()) {
        const Bar bar = static_cast<Bar>(it - m_bars.begin());
        if (event->type() == QEvent::MouseButtonPress) {
            m_barPressed[bar] = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_barPressed[bar] = false;
            CommitBar(bar);
        }
    }
    return CEqWindow::eventFilter(watched, event);
}

void CEqsWindow::Redesign() {
    if (!m_ready) {
        return;
    }
    m_h = DesignFilter(m_design);
    DrawResponse();
}

void CEqsWindow::DrawResponse() {
    PaintResponse(m_surface, kPlotRect, m_h);
    m_plot->setPicture(m_surface.copy(kPlotRect.adjusted(kPlotInset, kPlotInset, -kPlotInset, -kPlotInset)));
}

} // namespace tonwell
