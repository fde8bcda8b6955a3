// SPDX-License-Identifier: GPL-3.0-or-later
// menu_window.h - the "Menu" window and the radio state it follows.
#pragma once

#include "menu_catalogue.h"

#include <platform.h>

#include <QString>

#include <deque>
#include <map>
#include <optional>

class CButtonEx;
class CStaticEx;
class QLineEdit;
class QSpinBox;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace orlint {

// What the console told the library; kept while no window exists.
struct RadioState {
    std::uint32_t zul = 0;
    std::uint32_t repeater = 0;
    std::uint32_t remote = 0;
    bool scrollLock = false;
    int pct = -1;          // CM
    int transmitting = -1; // the band that transmits, -1 while receiving
    int scan = 0;          // SC
    int terminal = -1;     // TC: 0 terminal mode, 1 command mode
    int bank = -1;         // MF
    MenuValues values;
    std::optional<MenuItem> current; // the item the radio last reported
};

class CMenuWindow final : public platform::SecondaryWindow {
    Q_OBJECT
public:
    // How long a read of the window's own waits for its answer.
    static constexpr int kReadWaitMs = 500;

    struct Controls {
        QTreeWidget* list = nullptr;
        QSpinBox* menu = nullptr;
        QSpinBox* sub = nullptr;
        CButtonEx* go = nullptr;
        CStaticEx* itemName = nullptr;
        QLineEdit* value = nullptr;
        CButtonEx* set = nullptr;
        CStaticEx* state = nullptr;
        CStaticEx* status = nullptr;
        CButtonEx* readAll = nullptr;
        CButtonEx* close = nullptr;
    };

    CMenuWindow(QWidget* parent, RadioState& radio);

    void View(bool created);
    // After the library stored the value of `item`.
    void OnValue(const MenuItem& item);
    // After a change of the transmit, scan, terminal, P.C.T. or ZUL values.
    void OnStateChanged();
    void OnScrollLock();
    void OnBankChanged();

    const Controls& controls() const { return m_ui; }
    std::optional<MenuItem> selected() const { return m_selected; }
    bool reading() const { return m_waiting.has_value() || !m_queue.empty(); }
    // Why changes are not offered now; empty when they are.
    QString blockReason() const;

protected:
    void OnInitDialog() override;
    void reject() override;

private:
    QTreeWidgetItem* rowOf(const MenuItem& item, bool create);
    void showValue(const MenuItem& item);
    void select(const MenuItem& item, bool fillValue);
    // `now` false: the reads wait for the console's reading to end (or a
    // second, when it does not read).
    void readAll(bool now = true);
    void pumpReads();
    void readAnswered();
    void onRowClicked(QTreeWidgetItem* row);
    void onGo();
    void onSet();
    void setStatus(const QString& text);

    Controls m_ui;
    RadioState& m_radio;
    std::map<MenuItem, QTreeWidgetItem*> m_rows;
    std::optional<MenuItem> m_selected;
    std::deque<MenuItem> m_queue;
    std::optional<MenuItem> m_waiting;
    std::optional<MenuItem> m_restore; // the radio's item before a read of all
    QTimer* m_readTimer = nullptr;
};

} // namespace orlint
