// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_window.cpp - the design window's controls, menu and opening.
#include "eqs_window.h"

#include "eqs_plot.h"

#include <kestrin.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tonwell {

namespace {

constexpr unsigned kLabelTextSize = 15;

struct ControlDef {
    int id;
    const char* caption;
    QRect rect; // client coordinates
};

// The window's template: frames first, so they lie beneath their contents.
constexpr ControlDef kTypeFrame{kIdTypeFrame, "Type", {366, 4, 90, 108}};
constexpr ControlDef kParamFrame{kIdParamFrame, "Filter &Params", {8, 4, 351, 102}};
constexpr ControlDef kSetFrame{kIdSetFrame, "Set", {366, 118, 90, 64}};
constexpr std::array<ControlDef, 4> kTypeButtons{{
    {kIdLpf, "&LPF", {378, 24, 70, 20}},
    {kIdHpf, "&HPF", {378, 46, 70, 20}},
    {kIdBpf, "&BPF", {378, 68, 70, 20}},
    {kIdBef, "B&EF", {378, 90, 70, 20}},
}};
constexpr ControlDef kCutoffLabel{kIdCutoffLabel, "Cutoff Freq.", {14, 24, 114, 18}};
constexpr ControlDef kAttenuationLabel{kIdAttenuationLabel, "Attenuation", {14, 78, 114, 18}};
constexpr std::array<ControlDef, 3> kBars{{
    {kIdF1Bar, "", {130, 25, 168, 17}},
    {kIdF2Bar, "", {130, 49, 168, 17}},
    {kIdAttenuationBar, "", {130, 79, 168, 17}},
}};
constexpr std::array<ControlDef, 3> kValues{{
    {kIdF1Value, "", {302, 24, 50, 18}},
    {kIdF2Value, "", {302, 48, 50, 18}},
    {kIdAttenuationValue, "", {302, 78, 50, 18}},
}};
constexpr ControlDef kRx{kIdRx, "&RX", {378, 136, 70, 20}};
constexpr ControlDef kTx{kIdTx, "&TX", {378, 158, 70, 20}};
constexpr ControlDef kWrite{kIdWrite, "&Write", {366, 240, 90, 28}};
constexpr ControlDef kClose{kIdClose, "&Close", {366, 280, 90, 28}};

QString Caption(const ControlDef& def) {
    return QString::fromLatin1(def.caption);
}

template <class Widget>
Widget* Place(Widget* widget, const ControlDef& def) {
    widget->setObjectName(QString::number(def.id));
    widget->setGeometry(def.rect);
    return widget;
}

CStaticEx* MakeLabel(QWidget* parent, const ControlDef& def, Qt::Alignment alignment) {
    auto* label = new CStaticEx(parent, def.id, def.rect, Caption(def), alignment);
    label->setObjectName(QString::number(def.id));
    label->SetTextSize(kLabelTextSize);
    label->SetTextBold(1);
    return label;
}

} // namespace

CEqsWindow::CEqsWindow(QWidget* parent) : CEqWindow(kDesignWindow, parent) {}

CEqsWindow::~CEqsWindow() = default;

void CEqsWindow::OnInitDialog() {
    m_surface = QImage(kDesignWindow.width, kDesignWindow.height, QImage::Format_RGB32);
    m_surface.fill(KestrinColor(kPlotBackground));
    CreateMenu();
    CreateControls();
    SetDefaults();
    m_h = Coefficients{};
    m_ready = true;
    Redesign();
}

void CEqsWindow::CreateControls() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menu);
    layout->addWidget(m_client);

    Place(new QGroupBox(Caption(kTypeFrame), m_client), kTypeFrame);
    Place(new QGroupBox(Caption(kParamFrame), m_client), kParamFrame);
    Place(new QGroupBox(Caption(kSetFrame), m_client), kSetFrame);

    m_types = new QButtonGroup(this);
    for (std::size_t i = 0; i < kTypeButtons.size(); ++i) {
        m_typeButtons[i] = Place(new QRadioButton(Caption(kTypeButtons[i]), m_client), kTypeButtons[i]);
        m_types->addButton(m_typeButtons[i], static_cast<int>(i) + kLpf);
    }
    connect(m_types, &QButtonGroup::idClicked, this, &CEqsWindow::SelectType);

    m_cutoffLabel = MakeLabel(m_client, kCutoffLabel, Qt::AlignLeft | Qt::AlignVCenter);
    m_attenuationLabel = MakeLabel(m_client, kAttenuationLabel, Qt::AlignLeft | Qt::AlignVCenter);
    for (std::size_t i = 0; i < kBars.size(); ++i) {
        auto* bar = Place(new QScrollBar(Qt::Horizontal, m_client), kBars[i]);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->installEventFilter(this);
        const Bar which = static_cast<Bar>(i);
        connect(bar, &QScrollBar::valueChanged, this, [this, which](int value) { OnBarValue(which, value); });
        connect(bar, &QScrollBar::sliderReleased, this, [this, which] { CommitBar(which); });
        m_bars[i] = bar;
        m_values[i] = MakeLabel(m_client, kValues[i], Qt::AlignRight | Qt::AlignVCenter);
    }

    auto* sets = new QButtonGroup(this);
    m_rx = Place(new QRadioButton(Caption(kRx), m_client), kRx);
    m_tx = Place(new QRadioButton(Caption(kTx), m_client), kTx);
    sets->addButton(m_rx);
    sets->addButton(m_tx);

    m_write = Place(new QPushButton(Caption(kWrite), m_client), kWrite);
    m_close = Place(new QPushButton(Caption(kClose), m_client), kClose);
    // Enter is the window's to handle (OnEnterKey), not the buttons'.
    for (QPushButton* button : {m_write, m_close}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_write, &QPushButton::clicked, this, &CEqsWindow::WriteToRadio);
    connect(m_close, &QPushButton::clicked, this, &CEqsWindow::CloseWindow);

    m_plot = new CPlotArea(m_client, kPlotRect);
    m_plot->setObjectName(QString::number(kIdPlot));
}

void CEqsWindow::CreateMenu() {
    m_menu = new QMenuBar(this);
    QMenu* file = m_menu->addMenu(QStringLiteral("File (&F)"));
    file->addAction(QStringLiteral("Open (&O)"), this, &CEqsWindow::OnFileOpen);
    file->addAction(QStringLiteral("Save (&S)"), this, &CEqsWindow::OnFileSave);
    file->addAction(QStringLiteral("Exit (&X)"), this, &CEqsWindow::CloseWindow);

    QMenu* design = m_menu->addMenu(QStringLiteral("Design (&D)"));
    QMenu* type = design->addMenu(QStringLiteral("Filter Type (&T)"));
    const std::array<const char*, 4> typeItems{"LPF (&L)", "HPF (&H)", "BPF (&P)", "BEF (&E)"};
    for (std::size_t i = 0; i < typeItems.size(); ++i) {
        const int id = static_cast<int>(i) + kLpf;
        type->addAction(QString::fromLatin1(typeItems[i]), this, [this, id] { SelectType(id); });
    }
    design->addAction(QStringLiteral("Cutoff Freq.1 (&C)"), this, [this] { m_bars[kF1]->setFocus(); });
    design->addAction(QStringLiteral("Cutoff Freq.2 (&F)"), this, [this] { m_bars[kF2]->setFocus(); });
    design->addAction(QStringLiteral("Attenuation (&A)"), this, [this] { m_bars[kAttenuation]->setFocus(); });

    QMenu* set = m_menu->addMenu(QStringLiteral("Set (&S)"));
    QMenu* write = set->addMenu(QStringLiteral("Write to Radio (&W)"));
    write->addAction(QStringLiteral("RX EQ. (&R)"), this, [this] { WriteFromMenu(true); });
    write->addAction(QStringLiteral("TX EQ. (&T)"), this, [this] { WriteFromMenu(false); });
}

void CEqsWindow::SetDefaults() {
    m_settingBars = true;
    m_bars[kF1]->setRange(1, 5999);
    m_bars[kF2]->setRange(1, 5999);
    m_bars[kAttenuation]->setRange(1, 99);
    m_settingBars = false;
    SetBarPosition(kF1, 300);
    SetBarPosition(kF2, 3000);
    SetBarPosition(kAttenuation, 20);
    m_design = DesignParams{kLpf, 0.3, 0.0, 20.0};
    m_typeButtons[0]->setChecked(true);
    m_rx->setChecked(true);
    EnableSecondCutoff(false);
}

void CEqsWindow::OnEnterKey() {
    QWidget* focus = focusWidget();
    if (focus == m_write) {
        WriteToRadio();
    } else if (focus == m_close) {
        CloseWindow();
    }
}

} // namespace tonwell
