// SPDX-License-Identifier: GPL-3.0-or-later
// The "Menu" window: the list of items, following the radio's item, the
// window's own reads one item at a time, and changing a value.
#include "menu_window.h"

#include <corvan.h>
#include <kestrin.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>

namespace orlint {

namespace {

enum ControlId {
    kMenuLabel = 27001,
    kSubLabel,
    kGo,
    kItemName,
    kValueLabel,
    kSet,
    kState,
    kStatus,
    kReadAll,
    kClose,
};

constexpr int kHelpContext = 191;
enum Column { kNumberColumn, kNameColumn, kValueColumn };

constexpr platform::SecondaryWindowDescription kDescription{"Menu", "Orlint", kHelpContext, 420, 372};

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Only the QR-7730 family answers a read of one menu item; the QX410 family
// reports its menu as a whole.
bool ReadsByItem() { return CCorvan::GetModelType() == corvan::kModelQR7730; }

} // namespace

CMenuWindow::CMenuWindow(QWidget* parent, RadioState& radio)
    : platform::SecondaryWindow(kDescription, parent), m_radio(radio) {}

void CMenuWindow::OnInitDialog() {
    m_ui.list = new QTreeWidget(this);
    m_ui.list->setGeometry(8, 8, 404, 226);
    m_ui.list->setColumnCount(3);
    m_ui.list->setHeaderLabels({QStringLiteral("No."), QStringLiteral("Item"), QStringLiteral("Value")});
    m_ui.list->setRootIsDecorated(false);
    m_ui.list->setUniformRowHeights(true);
    m_ui.list->setAllColumnsShowFocus(true);
    m_ui.list->header()->resizeSection(kNumberColumn, 64);
    m_ui.list->header()->resizeSection(kNameColumn, 210);
    m_ui.list->header()->setStretchLastSection(true);
    for (const CatalogueEntry& entry : Catalogue())
        rowOf(entry.item, true);
    for (const auto& [item, text] : m_radio.values) {
        (void)text;
        showValue(item);
    }

    new CStaticEx(this, kMenuLabel, QRect(8, 244, 40, 20), QStringLiteral("Menu"));
    m_ui.menu = new QSpinBox(this);
    m_ui.menu->setGeometry(48, 242, 60, 24);
    m_ui.menu->setRange(0, static_cast<int>(kMaxMenu));
    new CStaticEx(this, kSubLabel, QRect(116, 244, 30, 20), QStringLiteral("Sub"));
    m_ui.sub = new QSpinBox(this);
    m_ui.sub->setGeometry(146, 242, 56, 24);
    m_ui.sub->setRange(0, static_cast<int>(kMaxSub));
    m_ui.go = new CButtonEx(this, kGo, QRect(208, 242, 50, 24), QStringLiteral("&Go"));
    m_ui.itemName = new CStaticEx(this, kItemName, QRect(264, 244, 148, 20));

    new CStaticEx(this, kValueLabel, QRect(8, 278, 40, 20), QStringLiteral("Value"));
    m_ui.value = new QLineEdit(this);
    m_ui.value->setGeometry(48, 276, 282, 24);
    m_ui.value->setMaxLength(static_cast<int>(kMaxValueLength));
    m_ui.set = new CButtonEx(this, kSet, QRect(336, 276, 76, 24), QStringLiteral("&Set"));

    m_ui.state = new CStaticEx(this, kState, QRect(8, 306, 404, 20));
    m_ui.status = new CStaticEx(this, kStatus, QRect(8, 336, 228, 28));
    m_ui.readAll = new CButtonEx(this, kReadAll, QRect(242, 336, 84, 28), QStringLiteral("&Read all"));
    m_ui.close = new CButtonEx(this, kClose, QRect(332, 336, 80, 28), QStringLiteral("&Close"));
    for (CButtonEx* button : {m_ui.go, m_ui.set, m_ui.readAll, m_ui.close})
        button->setAutoDefault(false);

    m_readTimer = new QTimer(this);
    m_readTimer->setSingleShot(true);
    connect(m_readTimer, &QTimer::timeout, this, [this] { readAnswered(); });
    connect(m_ui.list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* row, int) { onRowClicked(row); });
    connect(m_ui.list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row, int) { onRowClicked(row); });
    connect(m_ui.go, &QPushButton::clicked, this, &CMenuWindow::onGo);
    connect(m_ui.set, &QPushButton::clicked, this, &CMenuWindow::onSet);
    connect(m_ui.value, &QLineEdit::returnPressed, this, &CMenuWindow::onSet);
    connect(m_ui.readAll, &QPushButton::clicked, this, [this] { readAll(); });
    connect(m_ui.close, &QPushButton::clicked, this, &CMenuWindow::reject);

    if (m_radio.current)
        select(*m_radio.current, true);
    OnStateChanged();
}

void CMenuWindow::View(bool created) {
    BringUp();
    // A new window learns the values it lists, unless the console reads them.
    if (created)
        readAll();
    OnStateChanged();
}

void CMenuWindow::reject() {
    CloseWindow();
}

QTreeWidgetItem* CMenuWindow::rowOf(const MenuItem& item, bool create) {
    if (const auto found = m_rows.find(item); found != m_rows.end())
        return found->second;
    if (!create || m_ui.list == nullptr)
        return nullptr;
    auto* row = new QTreeWidgetItem({Text(NumberOf(item)), Text(NameOf(item)), QString()});
    // Rows stay in menu order.
    const auto next = m_rows.upper_bound(item);
    if (next == m_rows.end())
        m_ui.list->addTopLevelItem(row);
    else
        m_ui.list->insertTopLevelItem(m_ui.list->indexOfTopLevelItem(next->second), row);
    m_rows.emplace(item, row);
    return row;
}

void CMenuWindow::showValue(const MenuItem& item) {
    QTreeWidgetItem* row = rowOf(item, true);
    if (row == nullptr)
        return;
    const auto value = m_radio.values.find(item);
    row->setText(kValueColumn, value == m_radio.values.end() ? QString() : Text(value->second));
}

void CMenuWindow::select(const MenuItem& item, bool fillValue) {
    m_selected = item;
    if (QTreeWidgetItem* row = rowOf(item, true)) {
        m_ui.list->setCurrentItem(row);
        m_ui.list->scrollToItem(row);
    }
    m_ui.menu->setValue(static_cast<int>(item.menu));
    m_ui.sub->setValue(static_cast<int>(item.sub));
    m_ui.itemName->setText(Text(NameOf(item)));
    if (fillValue) {
        const auto value = m_radio.values.find(item);
        m_ui.value->setText(value == m_radio.values.end() ? QString() : Text(value->second));
    }
}

void CMenuWindow::OnValue(const MenuItem& item) {
    showValue(item);
    if (m_waiting && *m_waiting == item) {
        m_readTimer->stop();
        readAnswered();
        if (m_selected && *m_selected == item)
            select(item, true);
        return;
    }
    // The window follows the radio's item, but not the console's reading nor
    // its own.
    if (m_radio.scrollLock || reading())
        return;
    const bool sameItem = m_selected && *m_selected == item;
    select(item, !sameItem || !m_ui.value->isModified());
    m_ui.value->setModified(false);
}

QString CMenuWindow::blockReason() const {
    if (!CCorvan::IsOpen())
        return QStringLiteral("Not connected");
    if (m_radio.terminal == 0 || CCorvan::IsDirectMode())
        return QStringLiteral("Terminal mode");
    if (m_radio.scrollLock)
        return QStringLiteral("The console reads the menu");
    if (m_radio.transmitting >= 0)
        return QStringLiteral("Transmitting");
    if (m_radio.scan > 0)
        return QStringLiteral("Scanning");
    if (m_radio.pct == 1)
        return QStringLiteral("P.C.T. on");
    return QString();
}

void CMenuWindow::OnStateChanged() {
    if (m_ui.state == nullptr)
        return;
    QStringList parts;
    if (m_radio.bank >= 0)
        parts << QStringLiteral("Bank %1").arg(m_radio.bank == 0 ? QStringLiteral("A") : QStringLiteral("B"));
    parts << (m_radio.transmitting == 0   ? QStringLiteral("TX main")
              : m_radio.transmitting == 1 ? QStringLiteral("TX sub")
                                          : QStringLiteral("RX"));
    if (m_radio.scan > 0)
        parts << QStringLiteral("Scan %1").arg(m_radio.scan);
    if (m_radio.terminal == 0)
        parts << QStringLiteral("TNC");
    if (m_radio.zul == 1 || m_radio.zul == 2 || m_radio.zul == 3) {
        static const char* const kZul[] = {"", "ZUL : CLIENT", "ZUL : COMMAND", "ZUL : T-PORTER"};
        parts << QString::fromLatin1(kZul[m_radio.zul]);
    }
    if (m_radio.repeater == 1 || m_radio.repeater == 2)
        parts << (m_radio.repeater == 1 ? QStringLiteral("REPEATER : LOCKED") : QStringLiteral("REPEATER : CROSS"));
    if (m_radio.remote == 1)
        parts << QStringLiteral("REMOTE CONTROL");
    m_ui.state->setText(parts.join(QStringLiteral("   ")));

    const QString blocked = blockReason();
    m_ui.set->setEnabled(blocked.isEmpty() && m_selected.has_value());
    m_ui.value->setEnabled(blocked.isEmpty());
    m_ui.readAll->setEnabled(CCorvan::IsOpen() && !CCorvan::IsDirectMode() && !reading());
    if (!blocked.isEmpty() && !reading())
        setStatus(blocked);
}

void CMenuWindow::OnScrollLock() {
    OnStateChanged();
    if (!m_radio.scrollLock) {
        setStatus(QString());
        pumpReads();
    }
}

// The other menu bank holds other values: they are read again.
void CMenuWindow::OnBankChanged() {
    for (const auto& [item, row] : m_rows) {
        (void)item;
        row->setText(kValueColumn, QString());
    }
    // The console reads the new bank's settings right after telling the
    // window of it; a read of the window's own must not clear the EX reply
    // the console starts from.
    readAll(false);
    OnStateChanged();
}

// Every listed item, one after another; the radio's item is asked for again
// at the end so that its last EX reply names it once more.
void CMenuWindow::readAll(bool now) {
    if (!CCorvan::IsOpen() || CCorvan::IsDirectMode() || !ReadsByItem())
        return;
    if (!reading())
        m_restore = m_radio.current;
    m_queue.clear();
    for (const auto& [item, row] : m_rows) {
        (void)row;
        m_queue.push_back(item);
    }
    setStatus(QStringLiteral("Reading the menu"));
    if (now)
        pumpReads();
    else
        QTimer::singleShot(1000, this, [this] { pumpReads(); });
    OnStateChanged();
}

void CMenuWindow::pumpReads() {
    // The console's own reading goes first.
    if (m_radio.scrollLock || m_waiting || link() == nullptr)
        return;
    while (!m_queue.empty()) {
        const MenuItem item = m_queue.front();
        m_queue.pop_front();
        if (ReadsByItem() && link()->ConnEX("R", item.menu, item.sub, item.a, item.b, "") == 1) {
            m_waiting = item;
            m_readTimer->start(kReadWaitMs);
            return;
        }
        // The link refused (closed, or terminal mode): nothing more to read.
        m_queue.clear();
        setStatus(QStringLiteral("Not read: %1").arg(blockReason()));
        OnStateChanged();
        return;
    }
    if (m_restore) {
        const MenuItem item = *m_restore;
        m_restore.reset();
        if (ReadsByItem())
            link()->ConnEX("R", item.menu, item.sub, item.a, item.b, "");
    }
    setStatus(QString());
    OnStateChanged();
}

// The answer came, or its wait ran out: on with the next item.
void CMenuWindow::readAnswered() {
    m_waiting.reset();
    pumpReads();
}

void CMenuWindow::onRowClicked(QTreeWidgetItem* row) {
    for (const auto& [item, candidate] : m_rows) {
        if (candidate != row)
            continue;
        select(item, true);
        m_ui.value->setModified(false);
        if (!reading() && !m_radio.scrollLock && link() != nullptr && ReadsByItem())
            link()->ConnEX("R", item.menu, item.sub, item.a, item.b, "");
        OnStateChanged();
        return;
    }
}

void CMenuWindow::onGo() {
    m_ui.menu->interpretText();
    m_ui.sub->interpretText();
    const MenuItem item{static_cast<std::uint32_t>(m_ui.menu->value()), static_cast<std::uint32_t>(m_ui.sub->value()),
                        0, 0};
    select(item, true);
    m_ui.value->setModified(false);
    if (link() != nullptr && !m_radio.scrollLock && !reading() && ReadsByItem() &&
        link()->ConnEX("R", item.menu, item.sub, 0, 0, "") != 1)
        setStatus(QStringLiteral("Not read: %1").arg(blockReason()));
    OnStateChanged();
}

void CMenuWindow::onSet() {
    if (!m_selected || link() == nullptr)
        return;
    const QString blocked = blockReason();
    if (!blocked.isEmpty()) {
        setStatus(blocked);
        return;
    }
    const std::string text = m_ui.value->text().toStdString();
    if (const auto problem = ValueProblem(text)) {
        setStatus(Text(*problem));
        return;
    }
    const MenuItem item = *m_selected;
    // The QX410 family takes the menu number and its value as a number.
    std::int32_t sent = 0;
    if (ReadsByItem()) {
        sent = link()->ConnEX("W", item.menu, item.sub, item.a, item.b, text.c_str());
    } else {
        const std::optional<std::uint32_t> number = NumericValue(text, kMaxValueQX410);
        if (!number) {
            setStatus(QStringLiteral("A number 0..%1 on this radio").arg(kMaxValueQX410));
            return;
        }
        sent = link()->ConnEX("W", item.menu, *number, 0, 0, "");
    }
    if (sent != 1) {
        setStatus(QStringLiteral("Not taken by the link"));
        return;
    }
    m_ui.value->setModified(false);
    setStatus(QStringLiteral("%1 set to %2").arg(Text(NumberOf(item)), Text(text)));
}

void CMenuWindow::setStatus(const QString& text) {
    if (m_ui.status != nullptr)
        m_ui.status->setText(text);
}

} // namespace orlint
