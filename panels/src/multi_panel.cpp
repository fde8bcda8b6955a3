// SPDX-License-Identifier: GPL-3.0-or-later
#include "multi_panel.h"

#include <corvan.h>
#include <kestrin.h>

#include <QComboBox>
#include <QFont>
#include <QKeyEvent>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace pandor {

namespace {

constexpr int kCloseId = 24007;
constexpr int kFineStepMenu = 23;
constexpr int kReadAttempts = 10;
constexpr auto kMenuWait = std::chrono::milliseconds(200);
constexpr auto kMenuPoll = std::chrono::milliseconds(10);

// Where each list stands: four columns, five rows of framed lists; the
// Close button takes the last place of the last row.
struct Place {
    MultiList list;
    int column;
    int row;
};
constexpr Place kPlaces[] = {
    {MultiList::VG, 0, 0},    {MultiList::VD, 1, 0},   {MultiList::MG, 2, 0},  {MultiList::PC, 3, 0},
    {MultiList::PLIn, 0, 1},  {MultiList::PLOut, 1, 1}, {MultiList::CG, 2, 1}, {MultiList::ML, 3, 1},
    {MultiList::KS, 0, 2},    {MultiList::SD, 1, 2},   {MultiList::RL, 2, 2},  {MultiList::AL, 3, 2},
    {MultiList::NL, 0, 3},    {MultiList::TN, 1, 3},   {MultiList::CN, 2, 3},  {MultiList::QC, 3, 3},
    {MultiList::OF, 0, 4},
};
constexpr int kColumnLeft = 6;
constexpr int kColumnPitch = 140;
constexpr int kRowTop = 3;
constexpr int kRowPitch = 60;
constexpr int kFrameWidth = 136;
constexpr int kFrameHeight = 56;
constexpr int kListLeft = 6;
constexpr int kListTop = 22;
constexpr int kListWidth = 102;
constexpr int kListHeight = 26;
constexpr int kUnitLeft = 110;
constexpr int kUnitWidth = 24;
constexpr int kOffsetExtraWidth = 40;
constexpr int kFirstFrameId = 24200; // frame and unit label ids of this panel
constexpr int kFirstUnitId = 24250;
constexpr unsigned kUnitTextSize = 14;
constexpr int kListTextSize = 13;

// The order in which the lists are filled at open.
constexpr MultiList kFillOrder[] = {
    MultiList::AL, MultiList::CG, MultiList::CN, MultiList::KS, MultiList::MG, MultiList::ML,
    MultiList::NL, MultiList::OF, MultiList::PC, MultiList::PLIn, MultiList::PLOut, MultiList::QC,
    MultiList::SD, MultiList::TN, MultiList::VD, MultiList::VG,
};

std::size_t Slot(MultiList which) {
    return static_cast<std::size_t>(which);
}

// The list a single-value reply moves.
std::optional<MultiList> ListOfReply(MultiReply reply) {
    switch (reply) {
    case MultiReply::AL: return MultiList::AL;
    case MultiReply::CG: return MultiList::CG;
    case MultiReply::CN: return MultiList::CN;
    case MultiReply::KS: return MultiList::KS;
    case MultiReply::MG: return MultiList::MG;
    case MultiReply::ML: return MultiList::ML;
    case MultiReply::NL: return MultiList::NL;
    case MultiReply::OF: return MultiList::OF;
    case MultiReply::PC: return MultiList::PC;
    case MultiReply::QC: return MultiList::QC;
    case MultiReply::RL: return MultiList::RL;
    case MultiReply::SD: return MultiList::SD;
    case MultiReply::TN: return MultiList::TN;
    case MultiReply::VD: return MultiList::VD;
    case MultiReply::VG: return MultiList::VG;
    default: return std::nullopt;
    }
}

// Writes one level with the command of its list.
void WriteLevel(CCorvan& radio, MultiList which, std::uint32_t value) {
    switch (which) {
    case MultiList::VG: radio.ConnVG("W", value); break;
    case MultiList::VD: radio.ConnVD("W", value); break;
    case MultiList::RL: radio.ConnRL("W", value); break;
    case MultiList::AL: radio.ConnAL("W", value); break;
    case MultiList::TN: radio.ConnTN("W", value); break;
    case MultiList::CN: radio.ConnCN("W", value); break;
    case MultiList::NL: radio.ConnNL("W", value); break;
    case MultiList::QC: radio.ConnQC("W", value); break;
    case MultiList::OF: radio.ConnOF("W", value); break;
    case MultiList::MG: radio.ConnMG("W", value); break;
    case MultiList::PC: radio.ConnPC("W", value); break;
    case MultiList::KS: radio.ConnKS("W", value); break;
    case MultiList::ML: radio.ConnML("W", value); break;
    case MultiList::CG: radio.ConnCG("W", value); break;
    case MultiList::SD: radio.ConnSD("W", value); break;
    case MultiList::PLIn:
    case MultiList::PLOut:
    case MultiList::Count:
        break;
    }
}

} // namespace

CMultiPanel::CMultiPanel(QWidget* parent) : CPanelBase(kMultiTraits, parent) {}

void CMultiPanel::OnInitDialog() {
    BuildControls();
    m_flagA = false;
    m_flagB = false;
    ReadVersionFlags();
    ReadFineStep();
    ReadMode();
    m_limits = ComputePowerLimits(CurrentPowerInputs());
    for (MultiList which : kFillOrder) {
        FillList(which);
    }
    Refresh();
}

void CMultiPanel::BuildControls() {
    // Fixed-pitch entries keep their right-aligned digits in one column.
    QFont listFont(QStringLiteral("Liberation Mono"));
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPixelSize(kListTextSize);
    for (const Place& place : kPlaces) {
        const MultiListSpec& spec = SpecOf(place.list);
        const int left = kColumnLeft + place.column * kColumnPitch;
        const int top = kRowTop + place.row * kRowPitch;
        const int n = static_cast<int>(Slot(place.list));
        // The offset's ten characters need a wider list; it has the row to itself.
        const int extra = place.list == MultiList::OF ? kOffsetExtraWidth : 0;
        new CStaticFrameEx(this, kFirstFrameId + n, QRect(left, top, kFrameWidth + extra, kFrameHeight),
                           QString::fromLatin1(spec.frame));
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("list%1").arg(spec.id));
        list->setEditable(false);
        list->setFont(listFont);
        list->setMaxVisibleItems(12);
        // A scrolled list of twelve entries rather than a column the height
        // of the screen (the offset list holds 1200).
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        list->setGeometry(left + kListLeft, top + kListTop, kListWidth + extra, kListHeight);
        connect(list, &QComboBox::activated, this, [this, which = place.list](int index) { OnChosen(which, index); });
        m_lists[Slot(place.list)] = list;
        auto* unit = new CStaticEx(this, kFirstUnitId + n,
                                   QRect(left + kUnitLeft + extra, top + kListTop, kUnitWidth, kListHeight),
                                   QString::fromLatin1(spec.unit));
        unit->SetTextSize(kUnitTextSize);
        m_units[Slot(place.list)] = unit;
    }
    const int closeLeft = kColumnLeft + 3 * kColumnPitch + 28;
    const int closeTop = kRowTop + 4 * kRowPitch + 20;
    auto* close = new CButtonEx(this, kCloseId, QRect(closeLeft, closeTop, 80, 28), QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, [this] { OnOK(); });
}

void CMultiPanel::ReadVersionFlags() {
    CCorvan* radio = link();
    if (radio == nullptr || radio->GetType() != 10) {
        return;
    }
    std::uint32_t bits[8] = {};
    std::uint32_t digit = 0;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (radio->RcvDataTY(&bits[0], &bits[1], &bits[2], &bits[3], &bits[4], &bits[5], &bits[6], &bits[7],
                             &digit) != 0) {
            m_flagA = bits[3] == 0;
            m_flagB = bits[4] == 0;
            return;
        }
    }
}

void CMultiPanel::ReadFineStep() {
    CCorvan* radio = link();
    if (radio == nullptr) {
        return;
    }
    std::uint32_t menu = 0, sub = 0, a = 0, b = 0;
    char text[corvan::kNameTextSize] = {};
    const auto storedForMenu = [&] {
        return radio->RcvDataEX(&menu, &sub, &a, &b, text) != 0 && menu == kFineStepMenu;
    };
    // The answer usually comes well within the pause: stop waiting then.
    if (radio->ConnEX("R", kFineStepMenu, 0, 0, 0, "") != 0) {
        const auto until = std::chrono::steady_clock::now() + kMenuWait;
        while (!storedForMenu() && CCorvan::IsOpen() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(kMenuPoll);
        }
    }
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (storedForMenu()) {
            long number = 0;
            m_fineStep = ParseMenuNumber(text, &number) && number == 1;
            return;
        }
    }
}

void CMultiPanel::ReadMode() {
    CCorvan* radio = link();
    if (radio == nullptr) {
        return;
    }
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t mode = 0;
        if (radio->RcvDataMD(&mode) != 0) {
            m_mode = mode;
            return;
        }
    }
}

PowerInputs CMultiPanel::CurrentPowerInputs() {
    PowerInputs in;
    in.versionType = link() != nullptr ? link()->GetType() : 0;
    in.bandClass = m_bandClass;
    in.mode = m_mode;
    in.fineStep = m_fineStep;
    in.flagA = m_flagA;
    in.flagB = m_flagB;
    return in;
}

void CMultiPanel::FillList(MultiList which) {
    if (which == MultiList::PC) {
        RebuildPowerList();
        return;
    }
    QComboBox* box = list(which);
    if (box == nullptr) {
        return;
    }
    box->clear();
    box->addItems(FixedEntries(which));
    box->setCurrentIndex(-1);
}

void CMultiPanel::RebuildPowerList() {
    if (QComboBox* box = list(MultiList::PC)) {
        box->clear();
        box->addItems(PowerEntries(m_limits, m_bandClass, m_mode));
        box->setCurrentIndex(-1);
    }
    if (CCorvan* radio = link()) {
        radio->ConnPC("R", 0);
    }
}

void CMultiPanel::UpdatePower(bool force) {
    const PowerLimits limits = ComputePowerLimits(CurrentPowerInputs());
    if (!force && limits == m_limits) {
        return;
    }
    m_limits = limits;
    RebuildPowerList();
}

void CMultiPanel::RebuildNoiseReductionList(std::uint32_t state) {
    const std::optional<NoiseReductionList> levels = NoiseReductionEntries(state);
    QComboBox* box = list(MultiList::RL);
    if (!levels || box == nullptr) {
        return;
    }
    m_noiseReductionState = state;
    const int previous = box->currentIndex();
    box->clear();
    box->addItems(levels->entries);
    if (levels->forceFirst) {
        box->setCurrentIndex(0);
    } else {
        box->setCurrentIndex(previous < box->count() ? previous : -1);
        // A radio of another identity has no level to set.
        box->setEnabled(!m_identity || *m_identity == kFullIdentity);
    }
    if (CStaticEx* unit = unitLabel(MultiList::RL)) {
        unit->setText(levels->unit);
    }
}

void CMultiPanel::ApplyIdentity(std::uint32_t identity) {
    m_identity = identity;
    for (const MultiListSpec& spec : MultiListSpecs()) {
        if (spec.identity19) {
            if (QComboBox* box = list(spec.list)) {
                box->setEnabled(identity == kFullIdentity);
            }
        }
    }
}

void CMultiPanel::Select(MultiList which, int index) {
    if (QComboBox* box = list(which)) {
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    }
}

void CMultiPanel::OnChosen(MultiList which, int index) {
    CCorvan* radio = link();
    if (radio == nullptr || index < 0) {
        return;
    }
    switch (which) {
    case MultiList::PLIn:
    case MultiList::PLOut: {
        const int input = list(MultiList::PLIn)->currentIndex();
        const int output = list(MultiList::PLOut)->currentIndex();
        // Both levels travel together: without the other one known there is
        // nothing sound to send.
        if (input < 0 || output < 0) {
            list(which)->setCurrentIndex(-1);
            return;
        }
        radio->ConnPL("W", static_cast<std::uint32_t>(input), static_cast<std::uint32_t>(output));
        return;
    }
    case MultiList::PC:
        if (const std::optional<std::uint32_t> watts = PowerValueOf(index, m_limits)) {
            radio->ConnPC("W", *watts);
        }
        return;
    case MultiList::RL:
        // "N.R. OFF" only says that noise reduction is off: no level to write.
        if (m_noiseReductionState.value_or(0) == 0) {
            return;
        }
        break;
    default:
        break;
    }
    WriteLevel(*radio, which, ValueOfIndex(which, index));
}

void CMultiPanel::Refresh() {
    CCorvan* radio = link();
    if (radio == nullptr) {
        return;
    }
    radio->ConnAL("R", 0);
    radio->ConnCG("R", 0);
    radio->ConnCN("R", 0);
    radio->ConnID();
    radio->ConnKS("R", 0);
    radio->ConnMD("R", 0);
    radio->ConnMG("R", 0);
    radio->ConnML("R", 0);
    radio->ConnNL("R", 0);
    radio->ConnOF("R", 0);
    radio->ConnPC("R", 0);
    radio->ConnPL("R", 0, 0);
    radio->ConnQC("R", 0);
    radio->ConnNR("R", 0);
    radio->ConnSD("R", 0);
    radio->ConnTN("R", 0);
    radio->ConnVD("R", 0);
    radio->ConnVG("R", 0);
}

void CMultiPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        event->accept();
        Refresh();
        return;
    }
    CPanelBase::keyPressEvent(event);
}

QComboBox* CMultiPanel::list(MultiList which) const {
    return Slot(which) < kMultiListCount ? m_lists[Slot(which)].data() : nullptr;
}

CStaticEx* CMultiPanel::unitLabel(MultiList which) const {
    return Slot(which) < kMultiListCount ? m_units[Slot(which)].data() : nullptr;
}

void CMultiPanel::OnReply(MultiReply which, std::uint32_t value) {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= static_cast<int>(MultiReply::Count)) {
        return;
    }
    m_replies[static_cast<std::size_t>(index)] = value;
    switch (which) {
    case MultiReply::ID:
        ApplyIdentity(value);
        return;
    case MultiReply::NR:
        RebuildNoiseReductionList(value);
        if (CCorvan* radio = link()) {
            radio->ConnRL("R", 0);
        }
        return;
    case MultiReply::PC: {
        QComboBox* box = list(MultiList::PC);
        if (box != nullptr) {
            Select(MultiList::PC, PowerIndexOf(value, m_limits, box->count()));
        }
        return;
    }
    default:
        break;
    }
    if (const std::optional<MultiList> target = ListOfReply(which)) {
        if (QComboBox* box = list(*target)) {
            Select(*target, IndexOfReply(*target, value, box->count()));
        }
    }
}

std::optional<std::uint32_t> CMultiPanel::reply(MultiReply which) const {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= static_cast<int>(MultiReply::Count)) {
        return std::nullopt;
    }
    return m_replies[static_cast<std::size_t>(index)];
}

void CMultiPanel::OnProcLevels(std::uint32_t input, std::uint32_t output) {
    m_procLevels = std::make_pair(input, output);
    if (QComboBox* box = list(MultiList::PLIn)) {
        Select(MultiList::PLIn, IndexOfReply(MultiList::PLIn, input, box->count()));
    }
    if (QComboBox* box = list(MultiList::PLOut)) {
        Select(MultiList::PLOut, IndexOfReply(MultiList::PLOut, output, box->count()));
    }
}

void CMultiPanel::OnMode(std::uint32_t mode) {
    m_mode = mode;
    UpdatePower(false);
}

void CMultiPanel::OnBand(std::uint32_t band) {
    m_band = band;
    const int bandClass = BandClass(band, link() != nullptr ? link()->GetType() : 0);
    if (bandClass == m_bandClass) {
        return;
    }
    m_bandClass = bandClass;
    UpdatePower(false);
}

void CMultiPanel::OnMenuText(const char* text) {
    long number = 0;
    const bool fineStep = ParseMenuNumber(text, &number) && number == 1;
    if (fineStep == m_fineStep) {
        return;
    }
    m_fineStep = fineStep;
    UpdatePower(true);
}

bool ParseMenuNumber(const char* text, long* number) {
    if (text == nullptr || number == nullptr) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE) {
        return false;
    }
    *number = value;
    return true;
}

} // namespace pandor
