// SPDX-License-Identifier: GPL-3.0-or-later
#include "eqg_window.h"

#include "eqg_picture.h"
#include "samples.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>
#include <QRadioButton>
#include <QShortcut>

#include <functional>
#include <string>

namespace tonwell {

namespace {

// The five picture buttons: three across the top, two below them; the
// type list, the equaliser choice and the buttons in the sixth place.
constexpr int kButtonWidth = kPictureWidth + 12;
constexpr int kButtonHeight = kPictureHeight + 12;
constexpr std::array<QPoint, 5> kSamplePlaces{{{6, 6}, {238, 6}, {470, 6}, {6, 151}, {238, 151}}};
constexpr QRect kTypeFrame{470, 151, 228, 56};
constexpr QRect kTypeList{482, 173, 204, 24};
constexpr QRect kEqFrame{470, 211, 228, 54};
constexpr QRect kRxButton{484, 233, 96, 22};
constexpr QRect kTxButton{592, 233, 96, 22};
constexpr QRect kWriteButton{470, 275, 110, 32};
constexpr QRect kCloseButton{588, 275, 110, 32};

// The selected picture button stands out by its frame.
constexpr COLORREF kSelectedFrame = 0x00800000; // navy
constexpr COLORREF kPlainFrame = 0x00C0C0C0;

template <class Widget>
Widget* Named(Widget* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

// A frame's caption such as "&Type": the letter marked by "&" focuses `target`.
CStaticFrameEx* MarkedFrame(QWidget* parent, int id, const QRect& rect, const QString& caption,
                            const std::function<void()>& focus) {
    QString shown;
    QChar marked;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            marked = caption[++i];
        }
        shown.append(caption[i]);
    }
    auto* frame = Named(new CStaticFrameEx(parent, id, rect, shown), id);
    frame->SetTextSize(15);
    if (!marked.isNull()) {
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + marked.toUpper()), parent);
        QObject::connect(shortcut, &QShortcut::activated, parent, focus);
    }
    return frame;
}

} // namespace

CEqgWindow::CEqgWindow(QWidget* parent) : CEqWindow(kSamplesWindow, parent) {}

CEqgWindow::~CEqgWindow() = default;

void CEqgWindow::OnInitDialog() {
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < kSamplesPerType; ++i) {
        const QRect rect(kSamplePlaces[static_cast<std::size_t>(i)], QSize(kButtonWidth, kButtonHeight));
        auto* button = Named(new CButtonEx(this, kIdSample1 + i, rect, QStringLiteral("SAMPLE %1").arg(i + 1)),
                             kIdSample1 + i);
        button->setCheckable(true);
        button->SetBackColor(kPlainFrame);
        m_group->addButton(button, i + 1);
        m_samples[static_cast<std::size_t>(i)] = button;
        connect(button, &QPushButton::toggled, button, [button](bool on) {
            button->SetBackColor(on ? kSelectedFrame : kPlainFrame);
        });
    }

    MarkedFrame(this, kIdSampleTypeFrame, kTypeFrame, QStringLiteral("&Type"), [this] {
        if (m_types) m_types->setFocus(Qt::ShortcutFocusReason);
    });
    m_types = Named(new QComboBox(this), kIdSampleTypeList);
    m_types->setGeometry(kTypeList);

    MarkedFrame(this, kIdSampleEqFrame, kEqFrame, QStringLiteral("&Set"), [this] {
        QRadioButton* on = m_tx && m_tx->isChecked() ? m_tx.data() : m_rx.data();
        if (on) on->setFocus(Qt::ShortcutFocusReason);
    });
    m_rx = Named(new QRadioButton(QStringLiteral("RX EQ."), this), kIdSampleRx);
    m_rx->setGeometry(kRxButton);
    m_tx = Named(new QRadioButton(QStringLiteral("TX EQ."), this), kIdSampleTx);
    m_tx->setGeometry(kTxButton);

    m_write = Named(new CButtonEx(this, kIdSampleWrite, kWriteButton, QStringLiteral("&Write")), kIdSampleWrite);
    m_close = Named(new CButtonEx(this, kIdSampleClose, kCloseButton, QStringLiteral("&Close")), kIdSampleClose);
    connect(m_write, &QPushButton::clicked, this, [this] { WriteToRadio(); });
    connect(m_close, &QPushButton::clicked, this, [this] { CloseWindow(); });

    m_rx->setChecked(true);
    SelectSample(1);
    for (std::string_view name : kSampleTypeNames) {
        m_types->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_types->setCurrentIndex(0);
    LoadPictures();
    connect(m_types, &QComboBox::currentIndexChanged, this, [this] {
        LoadPictures();
        SelectSample(1);
    });
}

int CEqgWindow::type() const {
    return m_types ? m_types->currentIndex() + 1 : 0;
}

int CEqgWindow::sample() const {
    const int id = m_group != nullptr ? m_group->checkedId() : -1;
    return id >= 1 && id <= kSamplesPerType ? id : 0;
}

void CEqgWindow::SelectType(int type) {
    if (m_types && type >= 1 && type <= kSampleTypes) {
        m_types->setCurrentIndex(type - 1);
    }
}

void CEqgWindow::SelectSample(int sample) {
    if (sample >= 1 && sample <= kSamplesPerType && m_samples[static_cast<std::size_t>(sample - 1)]) {
        m_samples[static_cast<std::size_t>(sample - 1)]->setChecked(true);
    }
}

void CEqgWindow::LoadPictures() {
    const int current = type();
    for (int i = 0; i < kSamplesPerType; ++i) {
        CButtonEx* button = m_samples[static_cast<std::size_t>(i)];
        m_pictureIds[static_cast<std::size_t>(i)] = SamplePictureId(current, i + 1);
        if (button == nullptr) {
            continue;
        }
        const QImage picture = SamplePicture(SampleTapText(current, i + 1), current);
        button->LoadIcon(QIcon(QPixmap::fromImage(picture)));
        button->setIconSize(picture.size());
    }
}

void CEqgWindow::WriteToRadio() {
    const bool transmit = m_tx && m_tx->isChecked();
    // The question runs an event loop of its own, in which the console may
    // destroy this window: nothing of it is touched after that.
    const QPointer<CEqgWindow> alive(this);
    const int answer = platform::MessageBox(
        transmit ? QStringLiteral("Set to TX Filter OK?") : QStringLiteral("Set to RX Filter OK?"),
        QStringLiteral("Audio Editor Sample"), platform::MbOkCancel | platform::MbIconQuestion | platform::MbDefButton2,
        this);
    if (alive.isNull() || answer != platform::IdOk || link() == nullptr) {
        return;
    }
    const std::string_view text = SampleTapText(type(), sample());
    if (text.empty()) {
        return; // no sample selected
    }
    const std::string taps(text);
    if (transmit) {
        link()->ConnUT(taps.c_str());
    } else {
        link()->ConnUR(taps.c_str());
    }
}

void CEqgWindow::OnEnterKey() {
    if (m_close && focusWidget() == m_close) {
        CloseWindow();
        return;
    }
    WriteToRadio();
}

} // namespace tonwell
