// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as a table, the lists, creation and destruction.
#include "vscan_window.h"

#include "dial_icon.h"
#include "graph_widget.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QComboBox>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace glimra {

namespace {

constexpr int kIdGraph = 17010;
constexpr int kIdLow = 17012;
constexpr int kIdCentre = 17013;
constexpr int kIdHigh = 17014;
constexpr int kIdFirstDigit = 17020;
constexpr int kIdFirstSeparator = 17031;
constexpr int kIdFrameFrequency = 17035;
constexpr int kIdFrameRepeat = 17036;
constexpr int kIdFrameBand = 17037;
constexpr int kIdCaptionFirst = 17060;

enum class Kind { Button, Label, Frame };

struct ControlRow {
    int id;
    Kind kind;
    const char* caption;
    QRect rect;
    CButtonEx* CVisualScanDlg::Controls::*button;
};

using C = CVisualScanDlg::Controls;

// The buttons and frames of the window: the template as data.
const ControlRow kButtons[] = {
    {17040, Kind::Button, "Ent", {236, 370, 40, 26}, &C::ent},
    {17041, Kind::Button, "Set", {322, 370, 56, 26}, &C::set},
    {17042, Kind::Button, "Reset", {384, 370, 62, 26}, &C::reset},
    {17043, Kind::Button, "DOWN", {188, 474, 50, 22}, &C::bandDown},
    {17044, Kind::Button, "UP", {244, 474, 50, 22}, &C::bandUp},
    {17045, Kind::Button, "Start", {14, 506, 102, 28}, &C::start},
    {17046, Kind::Button, "Pause", {124, 506, 102, 28}, &C::pause},
    {17047, Kind::Button, "Stop", {234, 506, 102, 28}, &C::stop},
    {17049, Kind::Button, "Close", {344, 506, 102, 28}, &C::close},
};

struct ListRow {
    const char* caption;
    QRect captionRect;
    QRect listRect;
    QComboBox* CVisualScanDlg::Controls::*list;
};

const ListRow kLists[] = {
    {"Graph", {16, 410, 50, 16}, {16, 426, 48, 24}, &C::graphList},
    {"Step(Hz)", {72, 410, 90, 16}, {72, 426, 90, 24}, &C::stepList},
    {"Span(ch)", {170, 410, 62, 16}, {170, 426, 62, 24}, &C::spanList},
    {"Interval(ms)", {240, 410, 80, 16}, {240, 426, 80, 24}, &C::intervalList},
    {"Band", {328, 410, 118, 16}, {328, 426, 118, 24}, &C::bandList},
};

// Digit fields: 11 digits with separators after the 2nd, 5th and 8th.
constexpr int kDigitLeft = 18;
constexpr int kDigitTop = 368;
constexpr int kDigitWidth = 17;
constexpr int kSeparatorWidth = 7;
constexpr int kDigitHeight = 30;

constexpr COLORREF kDisplayBack = 0x00000000;
constexpr COLORREF kDisplayFore = 65280;

} // namespace

CVisualScanDlg::CVisualScanDlg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Dialog), m_link(std::make_unique<CCorvan>()) {
    setWindowTitle(QStringLiteral("Visual Scan"));
    setFixedSize(kWidth, kHeight);
    if (parent != nullptr) {
        setFont(parent->font()); // the console's font
    }
    buildControls();
    platform::RestoreWindowPos(QStringLiteral("Vs"), this);

    readInitialState();
    SweepSink& sink = *this;
    m_engine = std::make_unique<SweepEngine>(m_control, sink);
    m_engine->start();

    fillLists();
    connectControls();
    m_ui.pause->setEnabled(false);
    m_ui.repeatOn->setChecked(true);
    m_control.repeat = 1;
    saveAndClearMenu015();
    Reset();
}

CVisualScanDlg::~CVisualScanDlg() {
    platform::SaveWindowPos(QStringLiteral("Vs"), this);
    if (m_repeatTimer != nullptr) {
        m_repeatTimer->stop();
    }
    // Destroyed while open (the console ends, or its terminal mode takes
    // the line): a running sweep tunes back to its centre and the radio gets
    // back what the window changed, while the link is still open.
    Stop();
    if (m_open) {
        m_open = false;
        if (!m_menu015Given) {
            restoreMenu015(); // owed to the radio when the link is closed
        }
    }
    restoreRadioStep();
    m_engine->shutdown();
    m_engine.reset();
    m_link.reset();
}

void CVisualScanDlg::buildControls() {
    m_ui.graph = new GraphWidget(this);
    m_ui.graph->setObjectName(QString::number(kIdGraph));
    m_ui.graph->setAccessibleName(QStringLiteral("Signal strength over the span"));
    m_ui.graph->move(14, 2);

    const BarGeometry g = GeometryForSpan(61);
    m_ui.slider = new QSlider(Qt::Horizontal, this);
    m_ui.slider->setGeometry(14 + g.left - 6, 322, g.right - g.left + 12, 20);
    m_ui.slider->setFocusPolicy(Qt::StrongFocus);
    m_ui.slider->setAccessibleName(QStringLiteral("Channel in the span"));

    m_ui.lowLabel = new CStaticEx(this, kIdLow, {20, 344, 140, 18}, {}, Qt::AlignLeft | Qt::AlignVCenter);
    m_ui.centreLabel = new CStaticEx(this, kIdCentre, {160, 344, 140, 18}, {}, Qt::AlignCenter);
    m_ui.highLabel = new CStaticEx(this, kIdHigh, {300, 344, 140, 18}, {}, Qt::AlignRight | Qt::AlignVCenter);

    auto* frame = new CStaticFrameEx(this, kIdFrameFrequency, {12, 362, 218, 42});
    frame->setAccessibleName(QStringLiteral("Frequency"));
    frame->SetBackColor(kDisplayBack);
    // A digit or a point of the frequency display, `width` wide at `x`.
    const auto displayCell = [this](int id, int x, int width, const QString& text) {
        auto* cell = new CStaticEx(this, id, {x, kDigitTop, width, kDigitHeight}, text, Qt::AlignCenter);
        cell->SetCharType(QStringLiteral("Arial"));
        cell->SetTextSize(22);
        cell->SetTextBold(1);
        cell->SetForeColor(kDisplayFore);
        cell->SetBackColor(kDisplayBack);
        return cell;
    };
    int x = kDigitLeft;
    int separator = 0;
    for (int i = 0; i < kDigits; ++i) {
        auto* digit = displayCell(kIdFirstDigit + i, x, kDigitWidth, QStringLiteral("-"));
        digit->setCursor(Qt::PointingHandCursor);
        digit->installEventFilter(this);
        m_ui.digits[static_cast<std::size_t>(i)] = digit;
        x += kDigitWidth;
        if (i == 1 || i == 4 || i == 7) {
            m_ui.separators[static_cast<std::size_t>(separator)] =
                displayCell(kIdFirstSeparator + separator, x, kSeparatorWidth, QStringLiteral("."));
            ++separator;
            x += kSeparatorWidth;
        }
    }

    m_ui.dial = new DialIcon(this);
    m_ui.dial->setGeometry(282, 366, 34, 34);

    for (const ControlRow& row : kButtons) {
        auto* button = new CButtonEx(this, row.id, row.rect, QString::fromLatin1(row.caption));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        m_ui.*(row.button) = button;
    }

    int captionId = kIdCaptionFirst;
    for (const ListRow& row : kLists) {
        new CStaticEx(this, captionId++, row.captionRect, QString::fromLatin1(row.caption));
        auto* list = new QComboBox(this);
        list->setGeometry(row.listRect);
        list->setMaxVisibleItems(20);
        list->installEventFilter(this);
        m_ui.*(row.list) = list;
    }

    new CStaticFrameEx(this, kIdFrameRepeat, {14, 458, 160, 42}, QStringLiteral("Repeat"));
    m_ui.repeatOn = new QRadioButton(QStringLiteral("On"), this);
    m_ui.repeatOn->setGeometry(32, 474, 56, 22);
    m_ui.repeatOff = new QRadioButton(QStringLiteral("Off"), this);
    m_ui.repeatOff->setGeometry(100, 474, 56, 22);
    new CStaticFrameEx(this, kIdFrameBand, {180, 458, 122, 42}, QStringLiteral("Band"));

    m_repeatTimer = new QTimer(this);
    m_repeatTimer->setSingleShot(false);
    connect(m_repeatTimer, &QTimer::timeout, this, [this] { repeatDigit(); });
}

void CVisualScanDlg::fillLists() {
    m_quietLists = true;
    for (const char* mode : {"1", "2", "3"}) {
        m_ui.graphList->addItem(QString::fromLatin1(mode));
    }
    m_ui.graphList->setCurrentIndex(0);
    fillStepList(m_band, -1);
    for (const std::string& span : SpanTexts()) {
        m_ui.spanList->addItem(QString::fromStdString(span));
    }
    m_ui.spanList->setCurrentIndex(kSpanInitialIndex);
    for (const std::string& interval : IntervalTexts()) {
        m_ui.intervalList->addItem(QString::fromStdString(interval));
    }
    m_ui.intervalList->setCurrentIndex(0);
    m_ui.bandList->addItem(QStringLiteral(" Main Band"));
    m_ui.bandList->addItem(QStringLiteral(" Sub Band"));
    m_ui.bandList->setCurrentIndex(m_band);
    m_quietLists = false;

    m_control.span = std::stoi(SpanTexts()[kSpanInitialIndex]);
    m_control.interval = 100;
    m_control.step = ParseStepText(m_ui.stepList->currentText().toStdString());
    setSliderRange(m_control.span.load());
}

void CVisualScanDlg::fillStepList(int band, int selection) {
    const bool quiet = m_quietLists;
    m_quietLists = true;
    m_ui.stepList->clear();
    m_listBand = band;
    const auto& texts = band == 1 ? SubStepTexts() : MainStepTexts();
    for (const std::string& text : texts) {
        m_ui.stepList->addItem(QString::fromStdString(text));
    }
    m_ui.stepList->setCurrentIndex(selection < 0 ? 0 : std::min(selection, m_ui.stepList->count() - 1));
    m_quietLists = quiet;
}

void CVisualScanDlg::connectControls() {
    connect(m_ui.start, &QPushButton::clicked, this, [this] { Start(); });
    connect(m_ui.pause, &QPushButton::clicked, this, [this] { Pause(); });
    connect(m_ui.stop, &QPushButton::clicked, this, [this] { Stop(); });
    connect(m_ui.close, &QPushButton::clicked, this, [this] { OnClose(); });
    connect(m_ui.reset, &QPushButton::clicked, this, [this] { Reset(); });
    connect(m_ui.set, &QPushButton::clicked, this, [this] { Set(); });
    connect(m_ui.ent, &QPushButton::clicked, this, [this] { EntToggle(); });
    connect(m_ui.bandDown, &QPushButton::clicked, this, [this] { BandDown(); });
    connect(m_ui.bandUp, &QPushButton::clicked, this, [this] { BandUp(); });

    const auto onList = [this](QComboBox* list, void (CVisualScanDlg::*handler)(int)) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, handler](int index) {
            if (!m_quietLists) {
                (this->*handler)(index);
            }
        });
    };
    onList(m_ui.graphList, &CVisualScanDlg::GraphChanged);
    onList(m_ui.stepList, &CVisualScanDlg::StepChanged);
    onList(m_ui.spanList, &CVisualScanDlg::SpanChanged);
    onList(m_ui.intervalList, &CVisualScanDlg::IntervalChanged);
    onList(m_ui.bandList, &CVisualScanDlg::BandChanged);

    connect(m_ui.repeatOn, &QRadioButton::toggled, this, [this](bool on) { RepeatChanged(on); });
    connect(m_ui.slider, &QSlider::valueChanged, this, [this](int position) { SliderMoved(position); });
    connect(m_ui.graph, &GraphWidget::barClicked, this, [this](int channel) { BarClicked(channel); });
    connect(m_ui.dial, &DialIcon::clicked, this, [this] { DialClicked(); });
    connect(m_ui.dial, &DialIcon::doubleClicked, this, [this] { DialDoubleClicked(); });
    connect(m_ui.dial, &DialIcon::moved, this, [this](bool raise) { DialMove(raise); });
}

void CVisualScanDlg::setSweepControls(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui.graphList, m_ui.stepList, m_ui.spanList, m_ui.intervalList, m_ui.bandList,
             m_ui.bandDown, m_ui.bandUp, m_ui.set, m_ui.reset, m_ui.start, m_ui.close,
             m_ui.slider}) {
        w->setEnabled(enabled);
    }
    m_ui.pause->setEnabled(!enabled);
}

} // namespace glimra
