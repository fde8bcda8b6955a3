// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory_panel.h"

#include "memory_lists.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QMouseEvent>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace pandor {

namespace {
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr std::uint32_t kToneTypeDcs = 3;

constexpr int kToneListId = 24020;
constexpr int kCtcssListId = 24022;
constexpr int kDcsListId = 24026;
constexpr int kOffsetListId = 24028;
constexpr int kRxModeId = 24057;
constexpr int kRxStepId = 24059;
constexpr int kTxModeId = 24064;
constexpr int kTxStepId = 24067;
constexpr int kShiftListId = 24095;
constexpr int kReverseListId = 24097;
constexpr int kNameFieldId = 24105;
constexpr int kLockoutId = 24107;
constexpr int kGroupListId = 24110;

// Layout of a frequency row: digit and dot cells from the left.
constexpr int kDigitLeft = 60;
constexpr int kDigitWidth = 17;
constexpr int kDotWidth = 7;
constexpr int kDigitHeight = 28;
constexpr unsigned kDigitTextSize = 22;
constexpr unsigned kLabelTextSize = 16;

CStaticEx* FieldLabel(QWidget* parent, const QRect& rect, const QString& text) {
    auto* label = new CStaticEx(parent, -1, rect, text);
    label->SetTextSize(kLabelTextSize);
    label->SetTextBold(1);
    return label;
}

// Powers of ten up to 10 GHz.
std::int64_t PowerOfTen(int exponent) {
    std::int64_t value = 1;
    for (int i = 0; i < exponent; ++i) {
        value *= 10;
    }
    return value;
}
} // namespace

std::int64_t JoinWords(std::uint32_t low, std::uint32_t high) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

void CopyName(char* destination, std::size_t size, const char* source) {
    if (destination == nullptr || size == 0) {
        return;
    }
    std::size_t n = 0;
    if (source != nullptr) {
        while (n + 1 < size && source[n] != '\0') {
            destination[n] = source[n];
            ++n;
        }
    }
    destination[n] = '\0';
}

CMemoryPanel::CMemoryPanel(QWidget* parent) : CPanelBase(kMemoryTraits, parent) {}

QComboBox* CMemoryPanel::AddList(int id, const QRect& rect, const QStringList& entries) {
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("list%1").arg(id));
    list->setGeometry(rect);
    list->addItems(entries);
    list->setMaxVisibleItems(12);
    return list;
}

void CMemoryPanel::BuildRow(Row row, int top, int modeId, int stepId, const QString& caption) {
    DigitRow& r = m_rows[row];
    r.frame = new CStaticFrameEx(this, -1, QRect(6, top, 510, 62));
    const int y = top + 22;
    r.labels[0] = FieldLabel(this, QRect(14, y + 2, 44, 24), QStringLiteral("Freq."));
    int x = kDigitLeft;
    std::size_t dot = 0;
    for (std::size_t i = 0; i < r.digits.size(); ++i) {
        auto* digit = new CStaticEx(this, -1, QRect(x, y, kDigitWidth, kDigitHeight), {},
                                    Qt::AlignCenter);
        digit->SetCharType(QStringLiteral("Arial"));
        digit->SetTextSize(kDigitTextSize);
        digit->SetTextBold(1);
        digit->installEventFilter(this);
        digit->setCursor(Qt::PointingHandCursor);
        r.digits[i] = digit;
        x += kDigitWidth;
        if (i == 1 || i == 4 || i == 7) {
            auto* dotLabel = new CStaticEx(this, -1, QRect(x, y, kDotWidth, kDigitHeight), {},
                                           Qt::AlignCenter);
            dotLabel->SetCharType(QStringLiteral("Arial"));
            dotLabel->SetTextSize(kDigitTextSize);
            dotLabel->SetTextBold(1);
            r.dots[dot++] = dotLabel;
            x += kDotWidth;
        }
    }
    r.labels[1] = FieldLabel(this, QRect(x + 4, y + 2, 26, 24), QStringLiteral("Hz"));
    r.labels[2] = FieldLabel(this, QRect(302, y + 2, 40, 24), QStringLiteral("Mode"));
    m_mode[row] = AddList(modeId, QRect(342, y, 72, 26), MemoryModeTexts());
    r.labels[3] = FieldLabel(this, QRect(416, y + 2, 34, 24), QStringLiteral("Step"));
    m_step[row] = AddList(stepId, QRect(450, y, 62, 26), StepTexts(1));

    QChar marked;
    r.frame->setText(StripMnemonic(caption, &marked));
    if (!marked.isNull()) {
        QComboBox* buddy = m_mode[row];
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + marked.toUpper()), this);
        connect(shortcut, &QShortcut::activated, buddy, [buddy] { buddy->setFocus(Qt::ShortcutFocusReason); });
    }

    r.repeat = new QTimer(this);
    connect(r.repeat, &QTimer::timeout, this, [this, row] { RepeatTick(row); });
    connect(m_mode[row], &QComboBox::currentIndexChanged, this, [this, row](int index) { OnModeChosen(row, index); });
    connect(m_step[row], &QComboBox::currentIndexChanged, this, [this, row](int index) {
        if (!m_loading && index >= 0) {
            (row == kRx ? m_channel.rxStep : m_channel.txStep) = static_cast<std::uint32_t>(index);
        }
    });
}

void CMemoryPanel::OnInitDialog() {
    m_channel = MemoryChannel{};
    BuildRow(kRx, 4, kRxModeId, kRxStepId, QStringLiteral("&RX / Open Freq."));
    BuildRow(kTx, 70, kTxModeId, kTxStepId, QStringLiteral("T&X / Close Freq."));

    auto* common = new CStaticFrameEx(this, -1, QRect(6, 136, 250, 106), QStringLiteral("Common Params"));
    (void)common;
    auto* offsetLabel = FieldLabel(this, QRect(14, 156, 62, 24), {});
    m_offset = AddList(kOffsetListId, QRect(80, 156, 112, 26), OffsetTexts());
    FieldLabel(this, QRect(196, 158, 26, 24), QStringLiteral("Hz"));
    AttachMnemonic(offsetLabel, QStringLiteral("Offs&et"), m_offset);
    auto* shiftLabel = FieldLabel(this, QRect(14, 184, 62, 24), {});
    m_shift = AddList(kShiftListId, QRect(80, 184, 80, 26), ShiftTexts());
    AttachMnemonic(shiftLabel, QStringLiteral("S&hift"), m_shift);
    auto* reverseLabel = FieldLabel(this, QRect(14, 212, 62, 24), {});
    m_reverse = AddList(kReverseListId, QRect(80, 212, 80, 26), ReverseTexts());
    AttachMnemonic(reverseLabel, QStringLiteral("Re&verse"), m_reverse);

    new CStaticFrameEx(this, -1, QRect(262, 136, 254, 106), QStringLiteral("TONE / CTCSS / DCS"));
    m_toneType = new QButtonGroup(this);
    const char* const captions[] = {"O&FF", "&TONE", "CTC&SS", "&DCS"};
    const int lefts[] = {270, 326, 392, 462};
    const int widths[] = {54, 64, 68, 52};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(captions[i]), this);
        button->setGeometry(lefts[i], 154, widths[i], 22);
        m_toneType->addButton(button, i);
    }
    m_toneType->button(0)->setChecked(true);
    m_tone = AddList(kToneListId, QRect(270, 182, 92, 26), ToneTexts());
    FieldLabel(this, QRect(364, 184, 24, 24), QStringLiteral("Hz"));
    m_ctcss = AddList(kCtcssListId, QRect(392, 182, 92, 26), CtcssTexts());
    FieldLabel(this, QRect(486, 184, 24, 24), QStringLiteral("Hz"));
    m_dcs = AddList(kDcsListId, QRect(270, 212, 92, 26), DcsTexts());
    // A screen reader's names: the three lists share one group's caption.
    m_tone->setAccessibleName(QStringLiteral("TONE frequency"));
    m_ctcss->setAccessibleName(QStringLiteral("CTCSS frequency"));
    m_dcs->setAccessibleName(QStringLiteral("DCS code"));

    auto* nameLabel = FieldLabel(this, QRect(10, 254, 112, 24), {});
    m_name = new CEditEx(this, kNameFieldId, QRect(124, 252, 120, 28));
    m_name->setMaxLength(kNameFieldLimit);
    AttachMnemonic(nameLabel, QStringLiteral("Memory &Name"), m_name);
    m_lockout = new QCheckBox(QStringLiteral("&Lock Out"), this);
    m_lockout->setObjectName(QStringLiteral("check%1").arg(kLockoutId));
    m_lockout->setGeometry(262, 254, 100, 24);
    auto* groupLabel = FieldLabel(this, QRect(10, 288, 112, 24), {});
    m_group = AddList(kGroupListId, QRect(124, 286, 64, 26), GroupTexts());
    AttachMnemonic(groupLabel, QStringLiteral("Memory &Group"), m_group);

    auto* ok = new CButtonEx(this, kOkId, QRect(338, 316, 84, 28), QStringLiteral("OK"));
    auto* cancel = new CButtonEx(this, kCancelId, QRect(430, 316, 84, 28), QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });

    // The operator's changes go into the channel; loading writes it whole.
    const auto keep = [this](QComboBox* list, std::uint32_t MemoryChannel::*field, std::uint32_t scale) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, field, scale](int index) {
            if (!m_loading && index >= 0) {
                m_channel.*field = static_cast<std::uint32_t>(index) * scale;
            }
        });
    };
    keep(m_offset, &MemoryChannel::offset, kOffsetStepHz);
    keep(m_shift, &MemoryChannel::shift, 1);
    keep(m_reverse, &MemoryChannel::reverse, 1);
    keep(m_dcs, &MemoryChannel::dcsCode, 1);
    keep(m_group, &MemoryChannel::group, 1);
    connect(m_tone, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0) {
            m_channel.toneNumber = static_cast<std::uint32_t>(index) + 1;
        }
    });
    connect(m_ctcss, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0) {
            m_channel.ctcssNumber = static_cast<std::uint32_t>(index) + 1;
        }
    });
    connect(m_toneType, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!m_loading && checked) {
            m_channel.toneType = static_cast<std::uint32_t>(id);
        }
    });
    connect(m_lockout, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading) {
            m_channel.lockout = on ? 1 : 0;
        }
    });
    connect(m_name, &QLineEdit::textChanged, this, [this] { OnNameChanged(); });

    SetChannel(MemoryChannel{});
}

void CMemoryPanel::Select(QComboBox* list, std::int64_t index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? static_cast<int>(index) : -1);
}

void CMemoryPanel::FillSteps(Row row, std::uint32_t modeCode, int keepIndex) {
    QComboBox* list = m_step[row];
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(StepTexts(modeCode));
    if (keepIndex >= list->count()) {
        keepIndex = list->count() - 1;
    }
    list->setCurrentIndex(keepIndex);
}

void CMemoryPanel::SetChannel(const MemoryChannel& channel) {
    m_channel = channel;
    // A tone type the four buttons cannot show checks OFF.
    if (m_channel.toneType > kToneTypeDcs) {
        m_channel.toneType = 0;
    }
    // A mode code the list lacks shows its first entry; what OK hands back
    // is what the list shows.
    m_channel.rxMode = ModeCodeAt(ModeIndexOf(m_channel.rxMode));
    m_channel.txMode = ModeCodeAt(ModeIndexOf(m_channel.txMode));
    m_channel.name.back() = '\0';
    if (m_name == nullptr) {
        return;
    }
    m_loading = true;
    ShowRow(kRx);
    FillSteps(kRx, m_channel.rxMode, -1);
    {
        const QSignalBlocker block(m_mode[kRx]);
        m_mode[kRx]->setCurrentIndex(ModeIndexOf(m_channel.rxMode));
    }
    ShowRow(kTx);
    FillSteps(kTx, m_channel.txMode, -1);
    {
        const QSignalBlocker block(m_mode[kTx]);
        m_mode[kTx]->setCurrentIndex(ModeIndexOf(m_channel.txMode));
    }
    Select(m_step[kRx], m_channel.rxStep);
    Select(m_step[kTx], m_channel.txStep);
    // An offset between two entries leaves the list empty rather than
    // showing the entry below it.
    Select(m_offset, m_channel.offset % kOffsetStepHz == 0 ? m_channel.offset / kOffsetStepHz : -1);
    Select(m_shift, m_channel.shift);
    Select(m_reverse, m_channel.reverse);
    Select(m_tone, static_cast<std::int64_t>(m_channel.toneNumber) - 1);
    Select(m_ctcss, static_cast<std::int64_t>(m_channel.ctcssNumber) - 1);
    Select(m_dcs, m_channel.dcsCode);
    for (QAbstractButton* button : m_toneType->buttons()) {
        button->setChecked(false);
    }
    m_toneType->button(static_cast<int>(m_channel.toneType))->setChecked(true);
    Select(m_group, m_channel.group);
    m_name->setText(QString::fromLatin1(m_channel.name.data()));
    m_lockout->setChecked(m_channel.lockout != 0);
    EnableTransmitRow(m_channel.txFreq != 0);
    m_loading = false;
}

std::int64_t& CMemoryPanel::RowFrequency(Row row) {
    return row == kRx ? m_channel.rxFreq : m_channel.txFreq;
}

void CMemoryPanel::ShowRow(Row row) {
    DigitRow& r = m_rows[row];
    if (r.frame == nullptr) {
        return;
    }
    const FrequencyDigits shown = ShowFrequency(RowFrequency(row), row == kTx);
    for (std::size_t i = 0; i < r.digits.size(); ++i) {
        r.digits[i]->setText(QString(QLatin1Char(shown.digits[i])));
    }
    for (std::size_t i = 0; i < r.dots.size(); ++i) {
        r.dots[i]->setText(shown.dots[i] ? QStringLiteral(".") : QStringLiteral(" "));
    }
}

QString CMemoryPanel::RowText(Row row) const {
    const DigitRow& r = m_rows[row];
    QString text;
    std::size_t dot = 0;
    for (std::size_t i = 0; i < r.digits.size(); ++i) {
        text += r.digits[i]->text();
        if (i == 1 || i == 4 || i == 7) {
            text += r.dots[dot++]->text();
        }
    }
    return text;
}

void CMemoryPanel::EnableTransmitRow(bool enabled) {
    DigitRow& r = m_rows[kTx];
    r.frame->setEnabled(enabled);
    for (CStaticEx* digit : r.digits) {
        digit->setEnabled(enabled);
    }
    for (CStaticEx* dotLabel : r.dots) {
        dotLabel->setEnabled(enabled);
    }
    for (CStaticEx* label : r.labels) {
        label->setEnabled(enabled);
    }
    m_mode[kTx]->setEnabled(enabled);
    m_step[kTx]->setEnabled(enabled);
}

bool CMemoryPanel::RowEnabled(Row row) const {
    return m_mode[row]->isEnabled();
}

void CMemoryPanel::OnModeChosen(Row row, int index) {
    if (m_loading || index < 0) {
        return;
    }
    const std::uint32_t code = ModeCodeAt(index);
    (row == kRx ? m_channel.rxMode : m_channel.txMode) = code;
    FillSteps(row, code, m_step[row]->currentIndex());
    (row == kRx ? m_channel.rxStep : m_channel.txStep) =
        static_cast<std::uint32_t>(std::max(0, m_step[row]->currentIndex()));
}

void CMemoryPanel::PressDigit(Row row, int digit, Qt::MouseButton button) {
    if (digit < 0 || digit >= kMemoryDigits) {
        return;
    }
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        return;
    }
    DigitRow& r = m_rows[row];
    const std::int64_t amount = PowerOfTen(digit);
    r.stepAmount = button == Qt::LeftButton ? -amount : amount;
    ApplyStep(row);
    r.repeat->start(kFirstRepeatMs);
}

void CMemoryPanel::ReleaseButtons() {
    for (DigitRow& r : m_rows) {
        if (r.repeat != nullptr) {
            r.repeat->stop();
        }
    }
}

void CMemoryPanel::RepeatTick(Row row) {
    DigitRow& r = m_rows[row];
    if (r.repeat->interval() != kRepeatMs) {
        r.repeat->start(kRepeatMs);
    }
    ApplyStep(row);
}

bool CMemoryPanel::Repeating(Row row) const {
    return m_rows[row].repeat != nullptr && m_rows[row].repeat->isActive();
}

void CMemoryPanel::ApplyStep(Row row) {
    std::int64_t& hz = RowFrequency(row);
    if (row == kTx && hz == 0) {
        return;
    }
    hz = StepFrequency(hz, m_rows[row].stepAmount);
    ShowRow(row);
}

bool CMemoryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int row = kRx; row <= kTx; ++row) {
            const auto& digits = m_rows[static_cast<std::size_t>(row)].digits;
            for (std::size_t i = 0; i < digits.size(); ++i) {
                if (digits[i] == watched) {
                    if (!digits[i]->isEnabled()) {
                        return true;
                    }
                    const auto* mouse = static_cast<QMouseEvent*>(event);
                    PressDigit(static_cast<Row>(row), static_cast<int>(digits.size() - 1 - i), mouse->button());
                    return true;
                }
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
            ReleaseButtons();
        }
    }
    return CPanelBase::eventFilter(watched, event);
}

void CMemoryPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        ReleaseButtons();
    }
    CPanelBase::mouseReleaseEvent(event);
}

QByteArray CMemoryPanel::storedName() const {
    return QByteArray(m_channel.name.data());
}

void CMemoryPanel::OnNameChanged() {
    if (m_loading) {
        return;
    }
    const QByteArray text = m_name->text().toLatin1().left(static_cast<int>(MemoryChannel::kNameSize) - 1);
    if (text == storedName()) {
        return;
    }
    // Characters outside Latin-1 arrive as "?" from toLatin1; check the text itself.
    bool representable = true;
    for (QChar c : m_name->text()) {
        if (c.unicode() > 0xFF) {
            representable = false;
        }
    }
    const std::uint32_t version = link() != nullptr ? link()->GetType() : 0;
    if (representable && NameAllowed(text, version)) {
        CopyName(m_channel.name.data(), m_channel.name.size(), text.constData());
        return;
    }
    const QSignalBlocker block(m_name);
    m_name->setText(QString::fromLatin1(storedName()));
    m_name->setCursorPosition(static_cast<int>(m_name->text().size()));
}

bool CMemoryPanel::Receivable(std::int64_t hz) const {
    CCorvan* radio = link();
    if (radio == nullptr) {
        return true;
    }
    for (std::uint32_t selector = 0; selector <= 2; ++selector) {
        if (radio->GetRcvBand(selector, hz) != 0) {
            return true;
        }
    }
    return false;
}

void CMemoryPanel::OnOK() {
    // A frequency the radio has no band for is not handed back: the radio
    // would refuse the channel, or hold what it cannot use. An empty record
    // (no frequency) goes back as it is; the console never writes one.
    if ((m_channel.rxFreq != 0 && !Receivable(m_channel.rxFreq)) ||
        (m_channel.txFreq != 0 && !Receivable(m_channel.txFreq))) {
        platform::MessageBox(QStringLiteral("Invalid Frequency.\nPlease check and try again."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    // A list left empty (a value it has no entry for) would hand back a
    // value the operator never saw: ask for one. Tone lists count only
    // for the tone type in use.
    const std::pair<QComboBox*, const char*> lists[] = {
        {m_step[kRx], "RX Step"}, {m_channel.txFreq != 0 ? m_step[kTx] : nullptr, "TX Step"},
        {m_offset, "Offset"}, {m_shift, "Shift"}, {m_reverse, "Reverse"},
        {m_channel.toneType == 1 ? m_tone : nullptr, "Tone"},
        {m_channel.toneType == 2 ? m_ctcss : nullptr, "CTCSS"},
        {m_channel.toneType == 3 ? m_dcs : nullptr, "DCS"}, {m_group, "Memory Group"}};
    for (const auto& [list, field] : lists) {
        if (list != nullptr && list->currentIndex() < 0) {
            platform::MessageBox(QStringLiteral("The channel's %1 is not in the list.\nPlease choose a value.")
                                     .arg(QLatin1String(field)),
                                 QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
            list->setFocus();
            return;
        }
    }
    if (m_name != nullptr) {
        const QByteArray text = m_name->text().toLatin1();
        CopyName(m_channel.name.data(), m_channel.name.size(), text.constData());
    }
    EndEdit(platform::kUmMemoryEditEnd, true);
}

void CMemoryPanel::OnCancel() {
    EndEdit(platform::kUmMemoryEditEnd, false);
}

} // namespace pandor
