// SPDX-License-Identifier: GPL-3.0-or-later
// mem_group_panel.h - the memory group panel ("Memory Group Use").
//
// Which of the ten memory groups the radio uses, for the control band named
// in the title. OK writes the groups (MU) when at least one is ON and stays
// open otherwise; Cancel asks the radio for its groups again.
#pragma once

#include "group_panel.h"

namespace pandor {

class CMemGroupPanel final : public CGroupPanel {
    Q_OBJECT
public:
    explicit CMemGroupPanel(QWidget* parent);

    void OnGroups(const std::array<std::uint32_t, kGroupCount>& values);

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void AskForGroups() override;
};

} // namespace pandor
