// SPDX-License-Identifier: GPL-3.0-or-later
#include "auto_mode_window.h"

#include "plugin_widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace trevan {

namespace {

constexpr platform::SecondaryWindowDescription kDescription{"Auto Mode Frequencies", "Trevan", 0, 400, 470};

const QString kSection = QStringLiteral("AutoModeFreq");

QString Mhz(std::int64_t hz) { return QString::fromStdString(FormatMegahertz(hz)); }

// "14.000 - 14.070 MHz CW", as the status line names a range.
QString RangeShown(const Range& r) {
    return QStringLiteral("%1 - %2 MHz %3").arg(Mhz(r.from), Mhz(r.to), QString::fromLatin1(ModeText(r.mode)));
}

using plugin_exports::PlainButton;

} // namespace

CAutoModeWindow::CAutoModeWindow(QWidget* parent) : platform::SecondaryWindow(kDescription, parent) {}

AutoModeTable CAutoModeWindow::LoadTable() {
    const int count = platform::GetProfileInt(kSection, QStringLiteral("Count"), -1);
    if (count < 0) {
        return AutoModeTable::Defaults();
    }
    AutoModeTable table;
    for (int i = 1; i <= count && static_cast<std::size_t>(i) <= kMaxRanges; ++i) {
        const QString text = platform::GetProfileString(kSection, QStringLiteral("Range%1").arg(i), QString());
        if (const std::optional<Range> range = ParseRangeText(text.toStdString())) {
            table.Add(*range); // refuses what does not fit the table
        }
    }
    return table;
}

// Rows first, then the count, so a table cut short by a failed write reads
// as the rows written before it.
void CAutoModeWindow::SaveTable(const AutoModeTable& table) {
    const auto& ranges = table.ranges();
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        platform::WriteProfileString(kSection, QStringLiteral("Range%1").arg(i + 1),
                                     QString::fromStdString(RangeText(ranges[i])));
    }
    platform::WriteProfileInt(kSection, QStringLiteral("Count"), static_cast<int>(ranges.size()));
}

void CAutoModeWindow::OnInitDialog() {
    m_table = LoadTable();
    auto* top = new QVBoxLayout(this);

    m_grid = new QTableWidget(0, kColumns, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("From (MHz)"), QStringLiteral("To (MHz)"),
                                       QStringLiteral("Mode")});
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(kFrom, 130);
    m_grid->setColumnWidth(kTo, 130);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    top->addWidget(m_grid, 1);

    auto* edit = new QGroupBox(QStringLiteral("Range"), this);
    auto* form = new QGridLayout(edit);
    m_from = new QLineEdit(edit);
    m_to = new QLineEdit(edit);
    m_from->setPlaceholderText(QStringLiteral("14.000"));
    m_to->setPlaceholderText(QStringLiteral("14.070"));
    m_mode = new QComboBox(edit);
    for (const ModeName& m : kModes) {
        m_mode->addItem(QString::fromLatin1(m.name), m.code);
    }
    form->addWidget(new QLabel(QStringLiteral("From"), edit), 0, 0);
    form->addWidget(m_from, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("To"), edit), 0, 2);
    form->addWidget(m_to, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("MHz"), edit), 0, 4);
    form->addWidget(new QLabel(QStringLiteral("Mode"), edit), 1, 0);
    form->addWidget(m_mode, 1, 1);
    auto* buttons = new QHBoxLayout;
    m_add = PlainButton(QStringLiteral("&Add"), edit);
    m_replace = PlainButton(QStringLiteral("&Change"), edit);
    m_delete = PlainButton(QStringLiteral("&Delete"), edit);
    m_defaults = PlainButton(QStringLiteral("De&faults"), edit);
    buttons->addWidget(m_add);
    buttons->addWidget(m_replace);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_defaults);
    form->addLayout(buttons, 2, 0, 1, 5);
    top->addWidget(edit);

    auto* look = new QHBoxLayout;
    look->addWidget(new QLabel(QStringLiteral("Mode at"), this));
    m_lookup = new QLineEdit(this);
    m_lookup->setPlaceholderText(QStringLiteral("MHz"));
    m_lookup->setMaximumWidth(110);
    m_lookupResult = new QLabel(this);
    look->addWidget(m_lookup);
    look->addWidget(m_lookupResult, 1);
    top->addLayout(look);

    m_status = plugin_exports::StatusLine(this, 30);
    top->addWidget(m_status);

    connect(m_add, &QPushButton::clicked, this, &CAutoModeWindow::AddRange);
    connect(m_replace, &QPushButton::clicked, this, &CAutoModeWindow::ReplaceRange);
    connect(m_delete, &QPushButton::clicked, this, &CAutoModeWindow::DeleteRange);
    connect(m_defaults, &QPushButton::clicked, this, &CAutoModeWindow::RestoreDefaults);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &CAutoModeWindow::rowChosen);
    connect(m_to, &QLineEdit::returnPressed, this, &CAutoModeWindow::AddRange);
    connect(m_lookup, &QLineEdit::textChanged, this, &CAutoModeWindow::lookUp);

    showTable(nullptr);
    setStatus(QStringLiteral("The radio's auto mode picks the mode of the range a frequency lies in."));
}

std::optional<Range> CAutoModeWindow::fieldsRange() {
    const std::optional<std::int64_t> from = ParseMegahertz(m_from->text().toStdString());
    const std::optional<std::int64_t> to = ParseMegahertz(m_to->text().toStdString());
    if (!from || !to) {
        setStatus(QStringLiteral("Enter both frequencies in MHz, such as 14.070 (at most six decimals)."), true);
        return std::nullopt;
    }
    return Range{*from, *to, m_mode->currentData().toInt()};
}

bool CAutoModeWindow::AddRange() {
    const std::optional<Range> range = fieldsRange();
    if (!range) {
        return false;
    }
    if (const std::string why = m_table.Check(*range); !why.empty()) {
        setStatus(QString::fromStdString(why), true);
        return false;
    }
    m_table.Add(*range);
    changed(&*range);
    setStatus(QStringLiteral("Added %1.").arg(RangeShown(*range)));
    return true;
}

int CAutoModeWindow::chosenRow(const char* action) {
    const int row = m_grid->currentRow();
    if (row < 0 || m_grid->selectedItems().isEmpty()) {
        setStatus(QStringLiteral("Choose the range to %1 in the table first.").arg(QLatin1String(action)), true);
        return -1;
    }
    return row;
}

bool CAutoModeWindow::ReplaceRange() {
    const int row = chosenRow("change");
    if (row < 0) {
        return false;
    }
    const std::optional<Range> range = fieldsRange();
    if (!range) {
        return false;
    }
    if (const std::string why = m_table.Check(*range, row); !why.empty()) {
        setStatus(QString::fromStdString(why), true);
        return false;
    }
    m_table.Replace(row, *range);
    changed(&*range);
    setStatus(QStringLiteral("Changed to %1.").arg(RangeShown(*range)));
    return true;
}

bool CAutoModeWindow::DeleteRange() {
    const int row = chosenRow("delete");
    if (row < 0) {
        return false;
    }
    const Range gone = m_table.ranges()[static_cast<std::size_t>(row)];
    m_table.Remove(row);
    changed(nullptr);
    setStatus(QStringLiteral("Deleted %1.").arg(RangeShown(gone)));
    return true;
}

void CAutoModeWindow::RestoreDefaults() {
    m_table = AutoModeTable::Defaults();
    changed(nullptr);
    setStatus(QStringLiteral("The band plan's ranges are back."));
}

void CAutoModeWindow::changed(const Range* select) {
    SaveTable(m_table);
    showTable(select);
    lookUp();
}

void CAutoModeWindow::showTable(const Range* select) {
    const QSignalBlocker block(m_grid);
    m_grid->clearSelection();
    const auto& ranges = m_table.ranges();
    m_grid->setRowCount(static_cast<int>(ranges.size()));
    for (int row = 0; row < static_cast<int>(ranges.size()); ++row) {
        const Range& r = ranges[static_cast<std::size_t>(row)];
        const QString texts[kColumns] = {Mhz(r.from), Mhz(r.to), QString::fromLatin1(ModeText(r.mode))};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(c == kMode ? (Qt::AlignLeft | Qt::AlignVCenter)
                                              : (Qt::AlignRight | Qt::AlignVCenter));
            m_grid->setItem(row, c, item);
        }
    }
    const int chosen = select != nullptr ? m_table.RowOf(*select) : -1;
    if (chosen >= 0) {
        m_grid->selectRow(chosen);
        m_grid->scrollToItem(m_grid->item(chosen, 0));
    } else {
        m_grid->setCurrentCell(-1, -1);
    }
    m_replace->setEnabled(chosen >= 0);
    m_delete->setEnabled(chosen >= 0);
}

void CAutoModeWindow::rowChosen() {
    const int row = m_grid->currentRow();
    const bool chosen = row >= 0 && !m_grid->selectedItems().isEmpty();
    m_replace->setEnabled(chosen);
    m_delete->setEnabled(chosen);
    if (!chosen) {
        return;
    }
    const Range& r = m_table.ranges()[static_cast<std::size_t>(row)];
    m_from->setText(Mhz(r.from));
    m_to->setText(Mhz(r.to));
    m_mode->setCurrentIndex(m_mode->findData(r.mode));
}

void CAutoModeWindow::lookUp() {
    const QString text = m_lookup->text();
    if (text.trimmed().isEmpty()) {
        m_lookupResult->clear();
        return;
    }
    const std::optional<std::int64_t> hz = ParseMegahertz(text.toStdString());
    if (!hz) {
        m_lookupResult->setText(QStringLiteral("not a frequency"));
        return;
    }
    const std::optional<int> mode = m_table.ModeAt(*hz);
    m_lookupResult->setText(mode ? QStringLiteral("%1 MHz: %2").arg(Mhz(*hz), QString::fromLatin1(ModeText(*mode)))
                                 : QStringLiteral("%1 MHz: in no range, the mode stays").arg(Mhz(*hz)));
}

void CAutoModeWindow::setStatus(const QString& text, bool fault) {
    m_status->setText(text);
    m_status->setStyleSheet(fault ? QStringLiteral("color: #c00000;") : QString());
}

QString CAutoModeWindow::status() const { return m_status != nullptr ? m_status->text() : QString(); }

} // namespace trevan
