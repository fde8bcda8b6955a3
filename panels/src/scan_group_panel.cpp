// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_group_panel.h"

#include <corvan.h>

#include <QComboBox>

namespace pandor {

namespace {
constexpr int kGroupsTop = 38;
} // namespace

CScanGroupPanel::CScanGroupPanel(QWidget* parent) : CGroupPanel(kScanGroupTraits, parent) {}

void CScanGroupPanel::OnInitDialog() {
    m_types = new QComboBox(this);
    m_types->setObjectName(QStringLiteral("list%1").arg(kScanTypeId));
    m_types->setAccessibleName(QStringLiteral("Scan type"));
    m_types->setEditable(false);
    m_types->setGeometry(8, 6, 200, 26);
    m_types->addItems({QStringLiteral(" PROGRAM/VFO Scan"), QStringLiteral(" MEMORY Scan")});
    m_types->setCurrentIndex(0);
    // Only the operator's choice asks; a reported scan type is only shown.
    connect(m_types.data(), &QComboBox::activated, this,
            [this](int index) { AskForGroupsOf(static_cast<std::uint32_t>(index)); });
    BuildGroups(kGroupsTop);
}

std::uint32_t CScanGroupPanel::scanType() const {
    const int index = m_types != nullptr ? m_types->currentIndex() : 0;
    return index > 0 ? static_cast<std::uint32_t>(index) : 0;
}

void CScanGroupPanel::OnGroups(std::uint32_t scanType,
                               const std::array<std::uint32_t, kGroupCount>& values) {
    // A scan type the list does not hold selects nothing: the groups shown
    // then belong to no type that OK could write.
    if (m_types != nullptr) {
        m_types->setCurrentIndex(scanType <= kLastScanType ? static_cast<int>(scanType) : -1);
    }
    ApplyGroupValues(values);
}

void CScanGroupPanel::AskForGroups() {
    AskForGroupsOf(scanType());
}

void CScanGroupPanel::AskForGroupsOf(std::uint32_t type) {
    if (CCorvan* radio = link()) {
        radio->ConnSU("R", type, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
}

void CScanGroupPanel::OnOK() {
    if (m_types == nullptr || m_types->currentIndex() < 0) {
        return;
    }
    const auto on = OnStates();
    if (CCorvan* radio = link()) {
        radio->ConnSU("W", scanType(), on[0], on[1], on[2], on[3], on[4], on[5], on[6], on[7], on[8], on[9]);
    }
    EndPanel(QDialog::Accepted);
}

void CScanGroupPanel::OnCancel() {
    AskForGroupsOf(0);
    EndPanel(QDialog::Rejected);
}

} // namespace pandor
