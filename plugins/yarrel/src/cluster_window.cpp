// SPDX-License-Identifier: GPL-3.0-or-later
#include "cluster_window.h"

#include "plugin_lamp.h"

#include <corvan.h>
#include <kestrin.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace yarrel {

namespace {

constexpr platform::SecondaryWindowDescription kDescription{"Packet Cluster", "Yarrel", 0, 470, 330};

constexpr int kRowRole = Qt::UserRole + 1;

QString Text(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

bool CClusterWindow::Tunable(const Spot& spot) const {
    // The band check keeps out what a half-read frequency text turns into
    // (a few hertz, far below anything the receiver covers).
    CCorvan* radio = link();
    return spot.tunable() && radio != nullptr && radio->GetRcvBand(0, spot.hz) != 0;
}

CClusterWindow::CClusterWindow(SpotList& spots, QWidget* parent)
    : platform::SecondaryWindow(kDescription, parent), m_spots(spots) {}

void CClusterWindow::OnInitDialog() {
    auto* top = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    m_lamp = plugin_exports::StateLamp(this);
    m_pct = new QLabel(this);
    m_count = new QLabel(this);
    m_clear = new QPushButton(QStringLiteral("&Clear list"), this);
    m_clear->setAutoDefault(false);
    head->addWidget(m_lamp);
    head->addWidget(m_pct);
    head->addStretch(1);
    head->addWidget(m_count);
    head->addWidget(m_clear);
    top->addLayout(head);

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(kColumns);
    m_list->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("kHz"), QStringLiteral("Call"),
                             QStringLiteral("Comment")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(kTime, 52);
    m_list->setColumnWidth(kFrequency, 82);
    m_list->setColumnWidth(kCall, 100);
    top->addWidget(m_list, 1);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    top->addWidget(m_status);

    // A click tunes; Enter on the current spot does the same. Activation is
    // not used: where the desktop activates on a single click it would tune
    // twice.
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { activated(item); });
    m_list->installEventFilter(this);
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_spots.Clear();
        Refresh();
        setStatus(QString());
    });
    setStatus(QStringLiteral("Click a spot to tune the main band to it."));
    MsgCM(m_cm);
    Refresh();
}

void CClusterWindow::MsgCM(std::uint32_t cm) {
    m_cm = cm;
    if (m_lamp == nullptr) {
        return;
    }
    m_lamp->SetLEDON(cm != 0 ? 1 : 0);
    m_pct->setText(cm != 0 ? QStringLiteral("P.C.T. on") : QStringLiteral("P.C.T. off"));
}

void CClusterWindow::Refresh() {
    if (m_list == nullptr) {
        return;
    }
    m_list->clear();
    int row = 0;
    for (const Spot& spot : m_spots.spots()) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(kTime, Text(spot.time));
        item->setText(kCall, Text(spot.call));
        item->setText(kComment, Text(spot.comment));
        item->setData(kTime, kRowRole, row++);
        item->setTextAlignment(kFrequency, Qt::AlignRight | Qt::AlignVCenter);
        if (Tunable(spot)) {
            item->setText(kFrequency, Text(FormatKilohertz(spot.hz)));
            item->setToolTip(kFrequency, QStringLiteral("Click to tune the main band here"));
        } else {
            item->setText(kFrequency, QStringLiteral("?"));
            for (int c = 0; c < kColumns; ++c) {
                item->setForeground(c, QColor(0x80, 0x80, 0x80));
                item->setToolTip(c, QStringLiteral("The spot's frequency could not be read"));
            }
        }
    }
    const auto n = m_spots.spots().size();
    m_count->setText(n == 1 ? QStringLiteral("1 spot") : QStringLiteral("%1 spots").arg(n));
    m_clear->setEnabled(n > 0);
}

bool CClusterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            activated(m_list->currentItem());
            return true;
        }
    }
    return platform::SecondaryWindow::eventFilter(watched, event);
}

void CClusterWindow::activated(QTreeWidgetItem* item) {
    if (item != nullptr) {
        Tune(item->data(kTime, kRowRole).toInt());
    }
}

bool CClusterWindow::Tune(int row) {
    const auto& spots = m_spots.spots();
    if (row < 0 || static_cast<std::size_t>(row) >= spots.size()) {
        return false;
    }
    const Spot& spot = spots[static_cast<std::size_t>(row)];
    if (!Tunable(spot)) {
        setStatus(QStringLiteral("Not tuned: the spot of %1 has no readable frequency.").arg(Text(spot.call)), true);
        return false;
    }
    char frequency[24];
    std::snprintf(frequency, sizeof frequency, "%011lld", static_cast<long long>(spot.hz));
    CCorvan* radio = link();
    if (radio == nullptr || radio->ConnFA("W", frequency) != 1) {
        setStatus(QStringLiteral("Not tuned: the radio is not connected."), true);
        return false;
    }
    setStatus(QStringLiteral("Main band tuned to %1 kHz (%2).")
                  .arg(Text(FormatKilohertz(spot.hz)), Text(spot.call)));
    return true;
}

void CClusterWindow::setStatus(const QString& text, bool fault) {
    m_status->setText(text);
    m_status->setStyleSheet(fault ? QStringLiteral("color: #c00000;") : QString());
}

QString CClusterWindow::status() const { return m_status != nullptr ? m_status->text() : QString(); }

} // namespace yarrel
