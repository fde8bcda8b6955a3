// SPDX-License-Identifier: GPL-3.0-or-later
#include "mem_group_panel.h"

#include <corvan.h>

namespace pandor {

namespace {
constexpr int kGroupsTop = 4;
} // namespace

CMemGroupPanel::CMemGroupPanel(QWidget* parent) : CGroupPanel(kMemGroupTraits, parent) {}

void CMemGroupPanel::OnInitDialog() {
    BuildGroups(kGroupsTop);
}

void CMemGroupPanel::OnGroups(const std::array<std::uint32_t, kGroupCount>& values) {
    ApplyGroupValues(values);
}

void CMemGroupPanel::AskForGroups() {
    if (CCorvan* radio = link()) {
        radio->ConnMU("R", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
}

void CMemGroupPanel::OnOK() {
    const auto on = OnStates();
    bool any = false;
    for (std::uint32_t state : on) {
        any = any || state == 1;
    }
    // The radio needs at least one group in use: stay open until there is.
    if (!any) {
        return;
    }
    if (CCorvan* radio = link()) {
        radio->ConnMU("W", on[0], on[1], on[2], on[3], on[4], on[5], on[6], on[7], on[8], on[9]);
    }
    EndPanel(QDialog::Accepted);
}

void CMemGroupPanel::OnCancel() {
    AskForGroups();
    EndPanel(QDialog::Rejected);
}

} // namespace pandor
