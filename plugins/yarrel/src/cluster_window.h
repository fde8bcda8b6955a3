// SPDX-License-Identifier: GPL-3.0-or-later
// cluster_window.h - the "Packet Cluster" window: the spot list, the P.C.T.
// state and what the last click did.
#pragma once

#include "spot_list.h"

#include <platform.h>

#include <QString>

#include <cstdint>

class CStaticLEDEx;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace yarrel {

class CClusterWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    enum Column { kTime, kFrequency, kCall, kComment, kColumns };

    // `spots` is the library's list; the window shows it and clears it.
    CClusterWindow(SpotList& spots, QWidget* parent);

    void MsgCM(std::uint32_t cm);
    // The list changed: shows it again, newest first.
    void Refresh();
    // Tunes the main band to the spot in `row` (0 = newest). False when the
    // spot has no usable frequency or the link refused.
    bool Tune(int row);

    // A spot the main receiver can be tuned to: a usable frequency in one of
    // its bands.
    bool Tunable(const Spot& spot) const;

    QTreeWidget* list() const { return m_list; }
    QString status() const;
    QPushButton* clearButton() const { return m_clear; }

protected:
    void OnInitDialog() override;
    void reject() override { CloseWindow(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setStatus(const QString& text, bool fault = false);
    void activated(QTreeWidgetItem* item);

    SpotList& m_spots;
    std::uint32_t m_cm = 0;
    QTreeWidget* m_list = nullptr;
    CStaticLEDEx* m_lamp = nullptr;
    QLabel* m_pct = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_clear = nullptr;
};

} // namespace yarrel
