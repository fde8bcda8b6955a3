// SPDX-License-Identifier: GPL-3.0-or-later
// The "RX Filter" window: its controls, what they send, and how it follows
// the values the console forwards.
#include "filter_window.h"

#include "passband_view.h"

#include <corvan.h>
#include <kestrin.h>

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

namespace dunmar {

namespace {

enum ControlId {
    kBandLabel = 26001,
    kBand,
    kModeLabel,
    kMode,
    kPresetLabel,
    kCutFrame,
    kLowLabel,
    kHighLabel,
    kWidthLabel,
    kShiftLabel,
    kShiftSet,
    kStatus,
    kClose,
};

constexpr int kHelpContext = 190;

constexpr platform::SecondaryWindowDescription kDescription{"RX Filter", "Dunmar", kHelpContext, 360, 262};

QString Hz(int value) { return QStringLiteral("%1 Hz").arg(value); }

// Selects the entry whose data is `value`; -1 (nothing shown) when none has it.
void SelectData(QComboBox* box, int value) {
    box->setCurrentIndex(value < 0 ? -1 : box->findData(value));
}

// Return in the shift field sends it.
class ReturnFilter final : public QObject {
public:
    ReturnFilter(QObject* parent, std::function<void()> action) : QObject(parent), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

} // namespace

CFilterWindow::CFilterWindow(QWidget* parent, const Reported& reported)
    : platform::SecondaryWindow(kDescription, parent), m_shown(reported) {}

void CFilterWindow::OnInitDialog() {
    new CStaticEx(this, kBandLabel, QRect(8, 8, 40, 20), QStringLiteral("Band"));
    m_ui.band = new CStaticEx(this, kBand, QRect(48, 8, 60, 20));
    m_ui.band->SetTextBold(1);
    new CStaticEx(this, kModeLabel, QRect(112, 8, 40, 20), QStringLiteral("Mode"));
    m_ui.mode = new CStaticEx(this, kMode, QRect(152, 8, 64, 20));
    m_ui.mode->SetTextBold(1);
    new CStaticEx(this, kPresetLabel, QRect(222, 8, 52, 20), QStringLiteral("Preset"));
    m_ui.preset = new QComboBox(this);
    m_ui.preset->setGeometry(276, 6, 76, 24);
    for (std::uint32_t p = 0; p < kPresets; ++p)
        m_ui.preset->addItem(QString::fromStdString(PresetName(p)), static_cast<int>(p));

    m_ui.passband = new PassbandView(this);
    m_ui.passband->setGeometry(8, 36, 344, 72);

    m_ui.cutFrame = new CStaticFrameEx(this, kCutFrame, QRect(8, 114, 344, 56), QStringLiteral("Cut-off"));
    new CStaticEx(this, kLowLabel, QRect(16, 138, 34, 20), QStringLiteral("Low"));
    m_ui.lowCut = new QComboBox(this);
    m_ui.lowCut->setGeometry(52, 136, 110, 24);
    new CStaticEx(this, kHighLabel, QRect(180, 138, 34, 20), QStringLiteral("High"));
    m_ui.highCut = new QComboBox(this);
    m_ui.highCut->setGeometry(216, 136, 128, 24);

    new CStaticEx(this, kWidthLabel, QRect(8, 182, 44, 20), QStringLiteral("Width"));
    m_ui.width = new QComboBox(this);
    m_ui.width->setGeometry(52, 180, 110, 24);
    new CStaticEx(this, kShiftLabel, QRect(172, 182, 40, 20), QStringLiteral("Shift"));
    m_ui.shift = new QSpinBox(this);
    m_ui.shift->setGeometry(212, 180, 82, 24);
    m_ui.shift->setRange(0, 9999);
    m_ui.shift->setSingleStep(10);
    m_ui.shift->setSuffix(QStringLiteral(" Hz"));
    m_ui.shift->installEventFilter(new ReturnFilter(this, [this] { onShift(); }));
    m_ui.shiftSet = new CButtonEx(this, kShiftSet, QRect(298, 180, 54, 24), QStringLiteral("&Set"));

    m_ui.status = new CStaticEx(this, kStatus, QRect(8, 224, 262, 28));
    m_ui.close = new CButtonEx(this, kClose, QRect(276, 224, 76, 28), QStringLiteral("&Close"));
    for (CButtonEx* button : {m_ui.shiftSet, m_ui.close})
        button->setAutoDefault(false);

    connect(m_ui.lowCut, &QComboBox::activated, this, &CFilterWindow::onLowCut);
    connect(m_ui.highCut, &QComboBox::activated, this, &CFilterWindow::onHighCut);
    connect(m_ui.width, &QComboBox::activated, this, &CFilterWindow::onWidth);
    connect(m_ui.preset, &QComboBox::activated, this, &CFilterWindow::onPreset);
    connect(m_ui.shiftSet, &QPushButton::clicked, this, &CFilterWindow::onShift);
    connect(m_ui.close, &QPushButton::clicked, this, &CFilterWindow::reject);
    refresh();
}

void CFilterWindow::View() {
    BringUp();
    setStatus(QString());
    requestValues();
}

void CFilterWindow::reject() {
    CloseWindow();
}

void CFilterWindow::Apply(const Reported& reported) {
    m_shown = reported;
    refresh();
}

// Asks for the filter values; the answers come back through the console.
void CFilterWindow::requestValues() {
    CCorvan* radio = link();
    if (radio == nullptr || !CCorvan::IsOpen() || CCorvan::IsDirectMode())
        return;
    radio->ConnSL("R", 0);
    radio->ConnSH("R", 0);
    radio->ConnFW("R", 0);
    radio->ConnIS("R", " ", 0);
}

void CFilterWindow::fillWidths() {
    const ModeClass mode = ClassOf(m_shown.mode < 0 ? 0 : static_cast<std::uint32_t>(m_shown.mode));
    const ModeClass list = UsesWidth(mode) && mode != ModeClass::None ? mode : ModeClass::Cw;
    if (list != m_widthClass || m_ui.width->count() == 0) {
        m_widthClass = list;
        m_ui.width->clear();
        for (const int width : WidthsFor(list)) {
            if (NarrowWide(list))
                m_ui.width->addItem(width == 0 ? QStringLiteral("Narrow") : QStringLiteral("Wide"), width);
            else
                m_ui.width->addItem(Hz(width), width);
        }
    }
    // A width the list does not hold is shown as the radio reported it.
    const int reported = m_shown.width;
    if (reported >= 0 && m_ui.width->findData(reported) < 0 && !NarrowWide(list)) {
        int at = 0;
        while (at < m_ui.width->count() && m_ui.width->itemData(at).toInt() < reported)
            ++at;
        m_ui.width->insertItem(at, Hz(reported), reported);
    }
    SelectData(m_ui.width, reported);
}

// The cut-off lists of the connected radio's family.
void CFilterWindow::fillCuts() {
    const std::uint32_t model = CCorvan::GetModelType();
    if (model == m_cutModel)
        return;
    m_cutModel = model;
    m_ui.lowCut->clear();
    m_ui.highCut->clear();
    for (std::uint32_t i = 0; i < CutStepsFor(model); ++i) {
        m_ui.lowCut->addItem(QString::fromStdString(CutLabel(false, i, model)), static_cast<int>(i));
        m_ui.highCut->addItem(QString::fromStdString(CutLabel(true, i, model)), static_cast<int>(i));
    }
}

void CFilterWindow::refresh() {
    if (m_ui.band == nullptr)
        return;
    m_filling = true;
    fillCuts();
    const std::uint32_t modeValue = m_shown.mode < 0 ? 0 : static_cast<std::uint32_t>(m_shown.mode);
    const ModeClass mode = ClassOf(modeValue);
    m_ui.band->setText(m_shown.controlBand == 1 ? QStringLiteral("Sub")
                       : m_shown.controlBand == 0 ? QStringLiteral("Main")
                                                  : QString());
    m_ui.mode->setText(QString::fromStdString(ModeName(modeValue)));

    SelectData(m_ui.preset, m_shown.preset);
    if (m_shown.preset >= static_cast<int>(kPresets)) {
        // A preset this window has no name for still shows.
        m_ui.preset->addItem(QString::fromStdString(PresetName(static_cast<std::uint32_t>(m_shown.preset))),
                             m_shown.preset);
        SelectData(m_ui.preset, m_shown.preset);
    }
    SelectData(m_ui.lowCut, m_shown.lowCut);
    SelectData(m_ui.highCut, m_shown.highCut);
    fillWidths();
    if (m_shown.shift >= 0 && !m_ui.shift->hasFocus())
        m_ui.shift->setValue(m_shown.shift);

    const bool cuts = UsesCuts(mode);
    m_ui.lowCut->setEnabled(cuts);
    m_ui.highCut->setEnabled(cuts);
    m_ui.width->setEnabled(UsesWidth(mode));
    m_ui.shift->setEnabled(UsesShift(mode));
    m_ui.shiftSet->setEnabled(UsesShift(mode));
    // Steps without known frequencies give no picture.
    const bool hz = CutsInHz(m_cutModel);
    m_ui.passband->setPassband(PassbandOf(mode, hz ? m_shown.lowCut : -1, hz ? m_shown.highCut : -1, m_shown.width,
                                          m_shown.shift));
    m_filling = false;
}

void CFilterWindow::setStatus(const QString& text) {
    if (m_ui.status != nullptr)
        m_ui.status->setText(text);
}

// After a set: the shown value stays until the radio reports it back; a set
// the link refused says so and the control returns to the radio's value.
void CFilterWindow::sent(bool ok, const QString& what) {
    if (ok) {
        setStatus(what);
        return;
    }
    setStatus(CCorvan::IsOpen() ? QStringLiteral("Not taken: %1").arg(what)
                                : QStringLiteral("Not connected to the radio"));
    refresh();
}

void CFilterWindow::sendChoice(QComboBox* list, int index, SetCommand command, int& shown, const QString& what) {
    if (m_filling || index < 0 || link() == nullptr)
        return;
    const int value = list->itemData(index).toInt();
    const bool ok = (link()->*command)("W", static_cast<std::uint32_t>(value)) == 1;
    if (ok)
        shown = value;
    sent(ok, QStringLiteral("%1 %2").arg(what, list->itemText(index)));
    refresh();
}

void CFilterWindow::onLowCut(int index) {
    sendChoice(m_ui.lowCut, index, &CCorvan::ConnSL, m_shown.lowCut, QStringLiteral("Low cut"));
}

void CFilterWindow::onHighCut(int index) {
    sendChoice(m_ui.highCut, index, &CCorvan::ConnSH, m_shown.highCut, QStringLiteral("High cut"));
}

void CFilterWindow::onWidth(int index) {
    sendChoice(m_ui.width, index, &CCorvan::ConnFW, m_shown.width, QStringLiteral("Width"));
}

void CFilterWindow::onShift() {
    if (m_filling || link() == nullptr || !m_ui.shift->isEnabled())
        return;
    m_ui.shift->interpretText();
    const int value = m_ui.shift->value();
    const bool ok = link()->ConnIS("W", " ", static_cast<std::uint32_t>(value)) == 1;
    if (ok)
        m_shown.shift = value;
    sent(ok, QStringLiteral("Shift %1").arg(Hz(value)));
    refresh();
}

void CFilterWindow::onPreset(int index) {
    if (m_filling || index < 0 || link() == nullptr)
        return;
    const int value = m_ui.preset->itemData(index).toInt();
    const QByteArray text = QByteArray::number(value);
    const bool ok = link()->ConnEX("W", 50, 1, 0, 0, text.constData()) == 1;
    if (ok)
        m_shown.preset = value;
    sent(ok, QStringLiteral("Preset %1").arg(m_ui.preset->itemText(index)));
    refresh();
    // The preset brings its own cut-offs, width and shift.
    if (ok)
        requestValues();
}

} // namespace dunmar
