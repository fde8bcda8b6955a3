// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window as the operator sees it: its buttons and
// table, a channel's cells, the write preview, and the keys and close.
#include "memory_table_parts.h"

#include <platform.h>

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace memory_table {

QString Q(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

std::string Upper(const QString& text) {
    return text.trimmed().toUpper().toStdString();
}

QString RadioModeName(int mode) {
    switch (mode) {
    case 6: return QStringLiteral("FSK");
    case 7: return QStringLiteral("CW-R");
    case 9: return QStringLiteral("FSK-R");
    default: return Q(mc::ModeName(mode));
    }
}

QString Megahertz(std::int64_t hz) {
    return hz == 0 ? QString() : Q(mc::FormatMegahertz(hz));
}

QString Describe(const Channel& c) {
    if (c.empty()) {
        return QStringLiteral("(empty)");
    }
    const auto step = [](int mode, int index) {
        const bool listed = index >= 0 && index < static_cast<int>(mc::StepHundredths(mode).size());
        return listed ? Q(mc::StepText(mode, index)) : QStringLiteral("#%1").arg(index);
    };
    const auto value = [](const std::string& text, int number) {
        return text.empty() ? QStringLiteral("#%1").arg(number) : Q(text);
    };
    QString text = QStringLiteral("%1 %2 step %3").arg(Megahertz(c.rxFrequency), RadioModeName(c.rxMode),
                                                       step(c.rxMode, c.rxStep));
    if (c.txFrequency != 0) {
        text += QStringLiteral(" / TX %1 %2 step %3")
                    .arg(Megahertz(c.txFrequency), RadioModeName(c.txMode), step(c.txMode, c.txStep));
    } else {
        text += QStringLiteral(" / TX none");
    }
    text += QStringLiteral(" | %1 (tone %2, CTCSS %3, DCS %4)")
                .arg(QLatin1String(kToneTypes[std::clamp(c.toneType, 0, 3)]),
                     value(mc::ToneText(c.toneNumber), c.toneNumber), value(mc::ToneText(c.ctcssNumber), c.ctcssNumber),
                     value(mc::DcsText(c.dcsCode), c.dcsCode));
    text += QStringLiteral(" | shift %1 offset %2")
                .arg(QLatin1String(kShifts[std::clamp(c.shift, 0, 3)]), Q(mc::FormatMegahertz(c.offset)));
    text += QStringLiteral(" | REV %1 | grp %2 | L.OUT %3 | \"%4\"")
                .arg(c.reverse ? QStringLiteral("ON") : QStringLiteral("OFF"))
                .arg(c.group)
                .arg(c.lockout ? QStringLiteral("ON") : QStringLiteral("OFF"))
                .arg(Q(c.name));
    return text;
}

QString ChangeLine(const Channel& before, const Channel& after) {
    return QStringLiteral("%1: %2  ->  %3").arg(Q(mc::ChannelLabel(after.number)), Describe(before), Describe(after));
}

QString NumberList(const std::vector<int>& numbers) {
    QStringList labels;
    for (int number : numbers) {
        labels << Q(mc::ChannelLabel(number));
    }
    return labels.isEmpty() ? QStringLiteral("none") : labels.join(QStringLiteral(", "));
}

namespace {

QString ToneValueText(const Channel& c) {
    switch (c.toneType) {
    case 1: return Q(mc::ToneText(c.toneNumber));
    case 2: return Q(mc::ToneText(c.ctcssNumber));
    case 3: return Q(mc::DcsText(c.dcsCode));
    default: return {};
    }
}

} // namespace

MemoryTableWindow::MemoryTableWindow(ConsoleHooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks)), m_data(std::make_unique<Data>()) {
    setWindowTitle(QStringLiteral("Memory Channels"));
    setObjectName(QStringLiteral("MemoryChannels"));
    setModal(false);
    m_backupFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/memory-backups");
    const int count = ChannelCount();
    m_data->radio.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        m_data->radio[static_cast<std::size_t>(row)].number = row == mc::kChannelCount ? mc::kCallChannel : row;
    }
    m_data->edited = m_data->radio;
    BuildWindow();
    ShowAll();
    UpdateButtons();
}

MemoryTableWindow::~MemoryTableWindow() = default;

void MemoryTableWindow::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_readButton = new QPushButton(QStringLiteral("&Read from radio"), this);
    m_writeButton = new QPushButton(QStringLiteral("&Write to radio"), this);
    m_importButton = new QPushButton(QStringLiteral("&Import CSV..."), this);
    m_exportButton = new QPushButton(QStringLiteral("&Export CSV..."), this);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {m_readButton, m_writeButton, m_importButton, m_exportButton, m_cancelButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    buttons->addWidget(m_progress, 1);
    layout->addLayout(buttons);

    m_table = new QTableWidget(ChannelCount(), kColumnCount, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Channel"), QStringLiteral("RX MHz"), QStringLiteral("TX MHz"),
                                        QStringLiteral("Mode"), QStringLiteral("Tone"), QStringLiteral("Tone value"),
                                        QStringLiteral("Shift"), QStringLiteral("Offset MHz"),
                                        QStringLiteral("Reverse"), QStringLiteral("Step kHz"),
                                        QStringLiteral("Group"), QStringLiteral("Lock-out"), QStringLiteral("Name")});
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The arrows walk the cells; Tab goes on to the buttons (3913 cells that
    // wrap round would keep the keyboard in the table for good).
    m_table->setTabKeyNavigation(false);
    layout->addWidget(m_table, 1);
    m_status = new QLabel(QStringLiteral("Read the radio's channels to begin."), this);
    layout->addWidget(m_status);

    const int widths[kColumnCount] = {58, 96, 96, 58, 58, 74, 46, 84, 60, 66, 46, 62, 90};
    for (int column = 0; column < kColumnCount; ++column) {
        m_table->setColumnWidth(column, widths[column]);
    }
    resize(960, 560);

    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    connect(m_stepTimer, &QTimer::timeout, this, [this] { Step(); });
    connect(m_readButton, &QPushButton::clicked, this, [this] { ReadFromRadio(); });
    connect(m_writeButton, &QPushButton::clicked, this, [this] { WriteToRadio(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { CancelActivity(); });
    connect(m_importButton, &QPushButton::clicked, this, [this] {
        platform::FileDialogRequest request;
        request.title = QStringLiteral("Import channels");
        request.filter = QStringLiteral("Channel lists (*.csv);;All files (*)");
        if (const auto path = platform::FileDialog(request, this)) {
            ImportCsv(*path);
        }
    });
    connect(m_exportButton, &QPushButton::clicked, this, [this] {
        platform::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Export channels");
        request.fileName = QStringLiteral("channels.csv");
        request.filter = QStringLiteral("Channel lists (*.csv)");
        request.defaultSuffix = QStringLiteral("csv");
        if (const auto path = platform::FileDialog(request, this)) {
            ExportCsv(*path);
        }
    });
    connect(m_table, &QTableWidget::cellChanged, this, [this](int row, int column) { OnCellChanged(row, column); });
}

QString MemoryTableWindow::statusText() const {
    return m_status->text();
}

void MemoryTableWindow::ShowChannel(int row) {
    const Channel& c = m_data->edited[static_cast<std::size_t>(row)];
    const Channel& radio = m_data->radio[static_cast<std::size_t>(row)];
    const bool showing = m_showing;
    m_showing = true;
    QStringList texts(kColumnCount);
    texts[kChannel] = Q(mc::ChannelLabel(c.number));
    if (!c.empty()) {
        texts[kRxFreq] = Megahertz(c.rxFrequency);
        texts[kTxFreq] = Megahertz(c.txFrequency);
        texts[kMode] = RadioModeName(c.rxMode);
        texts[kToneType] = QLatin1String(kToneTypes[std::clamp(c.toneType, 0, 3)]);
        texts[kToneValue] = ToneValueText(c);
        texts[kShift] = QLatin1String(kShifts[std::clamp(c.shift, 0, 3)]);
        texts[kOffset] = c.offset == 0 ? QStringLiteral("0.000000") : Megahertz(c.offset);
        texts[kReverse] = c.reverse ? QStringLiteral("ON") : QStringLiteral("OFF");
        texts[kStep] = Q(mc::StepText(c.rxMode, c.rxStep));
        texts[kGroup] = QString::number(c.group);
        texts[kLockout] = c.lockout ? QStringLiteral("ON") : QStringLiteral("OFF");
        texts[kName] = QString::fromLatin1(c.name.c_str());
    }
    const bool changed = m_read && !(c == radio);
    for (int column = 0; column < kColumnCount; ++column) {
        QTableWidgetItem* item = m_table->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            m_table->setItem(row, column, item);
        }
        item->setText(texts[column]);
        // A reader says an empty cell is empty instead of nothing.
        item->setData(Qt::AccessibleTextRole, texts[column].isEmpty() ? QVariant(QStringLiteral("empty")) : QVariant());
        if (column == kRxFreq || column == kTxFreq || column == kOffset || column == kStep || column == kToneValue) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column != kChannel && m_read && m_activity == Activity::Idle) {
            flags |= Qt::ItemIsEditable;
        }
        item->setFlags(flags);
        item->setBackground(changed ? QBrush(QColor(0xFF, 0xF0, 0xA0)) : QBrush());
    }
    m_showing = showing;
}

void MemoryTableWindow::ShowAll() {
    for (int row = 0; row < m_table->rowCount(); ++row) {
        ShowChannel(row);
    }
}

void MemoryTableWindow::UpdateButtons() {
    const bool idle = m_activity == Activity::Idle;
    m_readButton->setEnabled(idle);
    m_writeButton->setEnabled(idle && m_read);
    m_importButton->setEnabled(idle && m_read);
    m_exportButton->setEnabled(idle && m_read);
    m_cancelButton->setEnabled(!idle);
}

void MemoryTableWindow::ShowPending() {
    const std::size_t changed = ChangedChannels().size();
    m_status->setText(changed == 0 ? QStringLiteral("The table holds what the radio holds.")
                                   : QStringLiteral("%1 channels changed, not yet written to the radio.").arg(changed));
}

void MemoryTableWindow::OnCellChanged(int row, int column) {
    if (m_showing) {
        return;
    }
    QTableWidgetItem* item = m_table->item(row, column);
    EditCell(row, static_cast<Column>(column), item != nullptr ? item->text() : QString());
}

std::unique_ptr<QDialog> MakeWritePreview(const QString& changes, const QString& backupPath, QWidget* parent) {
    auto preview = std::make_unique<QDialog>(parent);
    preview->setWindowTitle(QStringLiteral("Write to radio"));
    auto* layout = new QVBoxLayout(preview.get());
    const QStringList lines = changes.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    layout->addWidget(new QLabel(QStringLiteral("%1 channels will be written.\n"
                                                "A backup of the old channels goes to:\n%2")
                                     .arg(lines.size())
                                     .arg(backupPath),
                                 preview.get()));
    // One row a channel: its number, what the radio holds now, what it will hold.
    auto* list = new QTableWidget(static_cast<int>(lines.size()), 3, preview.get());
    list->setHorizontalHeaderLabels(
        {QStringLiteral("Channel"), QStringLiteral("In the radio now"), QStringLiteral("Will be written")});
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    list->verticalHeader()->setVisible(false);
    // Every field of both halves must be readable: cells wrap, never elide,
    // and each row grows to its text.
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(QStringLiteral(": "));
        const QString rest = colon >= 0 ? lines[i].mid(colon + 2) : lines[i];
        const qsizetype arrow = rest.indexOf(QStringLiteral("  ->  "));
        const QString cells[3] = {colon >= 0 ? lines[i].left(colon) : QString(),
                                  arrow >= 0 ? rest.left(arrow) : rest,
                                  arrow >= 0 ? rest.mid(arrow + 6) : QString()};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsEnabled);
            list->setItem(i, column, item);
        }
    }
    list->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(list, 1);
    auto* row = new QHBoxLayout;
    auto* write = new QPushButton(QStringLiteral("Write"), preview.get());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), preview.get());
    cancel->setDefault(true);
    row->addStretch(1);
    row->addWidget(write);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(write, &QPushButton::clicked, preview.get(), &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, preview.get(), &QDialog::reject);
    preview->resize(900, 420);
    return preview;
}

// Esc: the window goes as with Close, and so does a running read or write.
void MemoryTableWindow::reject() {
    if (m_activity != Activity::Idle) {
        m_data->cancelRequested = true;
        Step();
    }
    QDialog::reject();
}

void MemoryTableWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        // The buttons are no default buttons (Enter in the table must not
        // start a read), so the dialog's own Enter would do nothing.
        auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (button != nullptr && button->window() == this && button->isEnabled() && button->isVisible()) {
            button->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void MemoryTableWindow::closeEvent(QCloseEvent* event) {
    // Closing ends a running read or write between two channels.
    if (m_activity != Activity::Idle) {
        m_data->cancelRequested = true;
        Step();
    }
    event->accept();
}

} // namespace memory_table
