// SPDX-License-Identifier: GPL-3.0-or-later
// scan_group_panel.h - the scan group panel ("Scan Group Set").
//
// Which of the ten groups a scan type (program/VFO scan or memory scan)
// goes through, for the control band named in the title. Choosing a scan
// type asks for its groups; OK writes them (SU) with the scan type; Cancel
// asks for the groups of the program/VFO scan again.
#pragma once

#include "group_panel.h"

class QComboBox;

namespace pandor {

class CScanGroupPanel final : public CGroupPanel {
    Q_OBJECT
public:
    static constexpr int kScanTypeId = 24123;
    static constexpr std::uint32_t kLastScanType = 1;

    explicit CScanGroupPanel(QWidget* parent);

    void OnGroups(std::uint32_t scanType, const std::array<std::uint32_t, kGroupCount>& values);

    // 0 program/VFO scan, 1 memory scan: the type selected in the list (0
    // while none is; OK then writes nothing and the panel stays open).
    std::uint32_t scanType() const;
    QComboBox* scanTypeList() const { return m_types.data(); }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void AskForGroups() override;

private:
    void AskForGroupsOf(std::uint32_t scanType);

    QPointer<QComboBox> m_types;
};

} // namespace pandor
