// SPDX-License-Identifier: GPL-3.0-or-later
// sat_name_panel.h - the satellite memory name panel ("Satellite Memory Name").
//
// One name field (at most 8 characters) and the stored name; OK and Cancel
// tell the console through UM_SAT_NAME_END (wParam 1 and 0). Every change
// of the field is checked: a text the radio cannot take (a control
// character, ";", a character beyond its set) puts the last good name back.
#pragma once

#include "panel_base.h"

#include <kestrin.h>

#include <QByteArray>
#include <QPointer>

#include <cstddef>
#include <cstdint>

namespace pandor {

class CSatNamePanel final : public CPanelBase {
    Q_OBJECT
public:
    static constexpr int kFieldLimit = 8;
    static constexpr std::size_t kNameLimit = 9; // characters kept and copied

    explicit CSatNamePanel(QWidget* parent);

    // Stores the text, shows it in the field, focuses the field and puts the
    // caret at its end.
    void SetName(const char* text);
    // The field's text, at most 9 characters, zero-terminated into `buffer`
    // (at least 10 bytes).
    void CopyName(char* buffer) const;

    QByteArray storedName() const { return m_storedName; }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void CheckName();

    QPointer<CEditEx> m_field;
    QByteArray m_storedName;
};

// Characters from the blank to 0x7F without ";"; up to 0xFF for version
// types 5 to 9.
bool IsValidSatelliteName(const QString& text, std::uint32_t versionType);

} // namespace pandor
