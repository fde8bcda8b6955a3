// SPDX-License-Identifier: GPL-3.0-or-later
// auto_mode_window.h - the "Auto Mode Frequencies" window: the table, the
// fields to add, change and delete a range, and a look-up of one frequency.
#pragma once

#include "auto_mode_table.h"

#include <platform.h>

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace trevan {

class CAutoModeWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    enum Column { kFrom, kTo, kMode, kColumns };

    explicit CAutoModeWindow(QWidget* parent);

    // The profile's table, or the band plan when it holds none.
    static AutoModeTable LoadTable();
    static void SaveTable(const AutoModeTable& table);

    // What the buttons do, with the fields as they stand.
    bool AddRange();
    bool ReplaceRange();
    bool DeleteRange();
    void RestoreDefaults();

    const AutoModeTable& table() const { return m_table; }
    QTableWidget* grid() const { return m_grid; }
    QLineEdit* fromLine() const { return m_from; }
    QLineEdit* toLine() const { return m_to; }
    QComboBox* modeList() const { return m_mode; }
    QLineEdit* lookupLine() const { return m_lookup; }
    QLabel* lookupResult() const { return m_lookupResult; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* replaceButton() const { return m_replace; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* defaultsButton() const { return m_defaults; }
    QString status() const;

protected:
    void OnInitDialog() override;
    void reject() override { CloseWindow(); }

private:
    // The range in the fields; nothing (and the reason in the status line)
    // when a field does not read.
    std::optional<Range> fieldsRange();
    // The table's chosen row, or -1 with the status asking to choose the
    // range to `action` first.
    int chosenRow(const char* action);
    void changed(const Range* select);
    void showTable(const Range* select);
    void rowChosen();
    void lookUp();
    void setStatus(const QString& text, bool fault = false);

    AutoModeTable m_table;
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QComboBox* m_mode = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_defaults = nullptr;
    QLineEdit* m_lookup = nullptr;
    QLabel* m_lookupResult = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace trevan
