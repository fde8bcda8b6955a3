// SPDX-License-Identifier: GPL-3.0-or-later
// console_accessibility.cpp - names, readings, Tab order, announcements and
// the speak key of the console.
#include "console_accessibility.h"

#include "console_dialog.h"
#include "console_ids.h"
#include "window_names.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <map>

namespace {

using namespace std::chrono_literals;

// Labels that only make up a larger reading (the digits behind a frequency,
// the marks behind a VFO, the scale and name printed with a meter) or only
// caption a control that carries the name itself: a reader skips them.
constexpr char kHiddenProperty[] = "accessibleHidden";
// A composite reading covers these client coordinates.
constexpr char kSpanProperty[] = "accessibleSpan";
// A display word that reads "off" while it shows nothing is not showing.
constexpr char kDarkProperty[] = "accessibleDarkWhenOff";

// The front panel's reading as a whole: its controls, without the labels
// that a composite reading stands for.
class PanelAccessible final : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::Pane) {}

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = Children();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(Children().indexOf(static_cast<QWidget*>(child->object())));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        // The last child drawn is the one on top.
        const QList<QWidget*> children = Children();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(*it);
            if (iface && iface->rect().contains(x, y) && !iface->state().invisible)
                return iface;
        }
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Front panel");
        return QAccessibleWidget::text(t);
    }

private:
    QList<QWidget*> Children() const {
        QList<QWidget*> out;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !child->property(kHiddenProperty).toBool())
                out.push_back(child);
        }
        return out;
    }
};

QAccessibleInterface* PanelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QWidget") && object != nullptr && object->isWidgetType() &&
        object->objectName() == QLatin1String("consoleClient"))
        return new PanelAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

// ---------------------------------------------------------------- names

struct Named {
    int id;
    const char* name;
};

// The display's status words and fields, named for what they tell.
constexpr Named kDisplayNames[] = {
    {idc::MainPtt, "Main PTT"},
    {idc::SubPtt, "Sub PTT"},
    {idc::MainCtrl, "Main control band"},
    {idc::SubCtrl, "Sub control band"},
    {idc::MainAtt, "Main attenuator"},
    {idc::SubAtt, "Sub attenuator"},
    {idc::MainPre, "Main preamplifier"},
    {idc::SubPre, "Sub preamplifier"},
    {idc::MainShift, "Main repeater shift"},
    {idc::SubShift, "Sub repeater shift"},
    {idc::MainReverse, "Main reverse"},
    {idc::SubReverse, "Sub reverse"},
    {idc::MainTone, "Main tone"},
    {idc::SubTone, "Sub tone"},
    {idc::MainTnc, "Main TNC"},
    {idc::SubTnc, "Sub TNC"},
    {idc::MainNr, "Main noise reduction"},
    {idc::SubNr, "Sub noise reduction"},
    {idc::MainBusy, "Main busy or on air"},
    {idc::SubBusy, "Sub busy or on air"},
    {idc::MainMode, "Main mode"},
    {idc::SubMode, "Sub mode"},
    {idc::Alt, "ALT indicator"},
    {idc::Auto, "AUTO indicator"},
    {idc::Agc, "AGC indicator"},
    {idc::Mbc, "M.B.C indicator"},
    {idc::Nb, "NB indicator"},
    {idc::Fine, "FINE indicator"},
    {idc::ANotch, "A.NOTCH indicator"},
    {idc::Eq, "EQ indicator"},
    {idc::TxEq, "Transmit equalizer"},
    {idc::RxEq, "Receive equalizer"},
    {idc::Trace, "TRACE indicator"},
    {idc::Pct, "P.C.T. indicator"},
    {idc::Split, "SPLIT indicator"},
    {idc::FLock, "F.LOCK indicator"},
    {idc::TfSet, "TF-SET indicator"},
    {idc::Trans, "TRANS indicator"},
    {idc::Ant, "ANT indicator"},
    {idc::AntNumber, "Antenna number"},
    {idc::TunerRx, "Tuner RX"},
    {idc::TunerAt, "Tuner AT"},
    {idc::TunerTx, "Tuner TX"},
    {idc::Ext, "EXT indicator"},
    {idc::Dcd, "DCD indicator"},
    {idc::Sta, "STA indicator"},
    {idc::Con, "CON indicator"},
    {idc::Pkt, "PKT indicator"},
    {idc::MainStar, "Main program scan mark"},
    {idc::SubStar, "Sub program scan mark"},
    {idc::ZulLine, "Radio status"},
    {idc::MainLockOut, "Main lock-out"},
    {idc::SubLockOut, "Sub lock-out"},
    {idc::DisplayBack, "Lit indicators"},
    {idc::MainDigit0, "Main frequency"},
    {idc::SubDigit0, "Sub frequency"},
    {idc::MainChDigit0, "Main memory channel"},
    {idc::SubChDigit0, "Sub memory channel"},
    {idc::VfoMark0, "Main VFO"},
    {idc::MainMeter, "Main meter"},
    {idc::SecondMeter, "Second meter"},
    {idc::SubMeter, "Sub meter"},
    {idc::ConnectLamp, "Connection lamp"},
    {idc::AuxLamp, "Auxiliary lamp"},
    {idc::MemoryLamp, "Memory lamp"},
    {idc::VoxLamp, "VOX lamp"},
    {idc::ProcLamp, "PROC lamp"},
    {idc::TuningDial, "Tuning dial"},
    {idc::MainText, "Main text line"},
    {idc::SubText, "Sub text line"},
};

// Controls whose caption is a sign, repeats another's or is missing.
constexpr Named kControlNames[] = {
    {idc::RitDown, "RIT down"},
    {idc::RitDownFast, "RIT down fast"},
    {idc::RitUp, "RIT up"},
    {idc::RitUpFast, "RIT up fast"},
    {idc::RitClear, "RIT clear"},
    {idc::SubButton, "Sub receiver"},
    {idc::QuickMr, "Quick memory MR"},
    {idc::QuickMemoryIn, "Quick memory M. IN"},
    {idc::SatMainSub, "Satellite M / S"},
    {idc::BcPointBar, "Beat cancel point"},
    {idc::RitBar, "RIT offset"},
    {idc::RfGainBar, "RF gain"},
    {idc::AfMainBar, "Main AF gain"},
    {idc::SqlMainBar, "Main squelch"},
    {idc::AfSubBar, "Sub AF gain"},
    {idc::SqlSubBar, "Sub squelch"},
    {idc::ScanSpeedBar, "Scan speed"},
    {idc::StepList, "Channel step, kHz"},
};

// Group frames without a caption of their own.
constexpr Named kFrameNames[] = {
    {idc::FramePower, "Power"},
    {idc::FrameTx, "Transmit"},
    {idc::FrameAntenna, "Antenna"},
    {idc::FrameVfo, "VFO"},
    {idc::FrameFrontEnd, "Front end"},
    {idc::FrameSubGain, "Sub"},
};

bool Between(int id, int first, int last) { return id >= first && id <= last; }

// The labels a composite reading or a named control stands for.
bool IsHidden(int id) {
    if (Between(id, idc::MainDigit0 + 1, idc::MainSep3) || Between(id, idc::SubDigit0 + 1, idc::SubSep3))
        return true;
    if (Between(id, idc::MainChDigit0 + 1, idc::MainMch) || Between(id, idc::SubChDigit0 + 1, idc::SubMch))
        return true;
    if (Between(id, idc::VfoMark0 + 1, idc::VfoMark8) || Between(id, idc::RitMinus, idc::BcPointCaption))
        return true;
    switch (id) {
    case idc::MainChPrefix:
    case idc::SubChPrefix:
    case idc::MainScale:
    case idc::MainMeterName:
    case idc::SecondScale:
    case idc::SecondMeterName:
    case idc::SubScale:
    case idc::SubMeterName:
    case idc::SecondMeterIcon:
    case idc::ClickEncIcon:
    case idc::BrandPlate:
    case idc::MainMeterOver:
    case idc::SubMeterOver:
        return true;
    default:
        return false;
    }
}

// The words of the display that light and go dark.
bool IsStatusWord(int id) {
    return Between(id, idc::MainPtt, idc::SubLockOut) && !Between(id, idc::VfoMark0, idc::VfoMark8);
}

// A menu title without its mnemonic: "File (&F)" reads "File".
QString MenuName(QString title) {
    static const QRegularExpression mnemonic(QStringLiteral("\\s*\\(&.\\)"));
    title.remove(mnemonic);
    title.remove(QLatin1Char('&'));
    return title.trimmed();
}

} // namespace

namespace accessible {

// The speak key's summary: a widget that paints nothing and takes no mouse,
// takes the focus on the speak key and reads the summary as its name. The
// next key gives the focus back to the control that had it.
class SpokenSummary final : public QWidget {
public:
    explicit SpokenSummary(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("spokenSummary"));
        // Reached by the speak key only, never by Tab or the mouse.
        setFocusPolicy(Qt::ClickFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(0, 0, 1, 1);
        setAccessibleName(QStringLiteral("Summary"));
        setAccessibleDescription(QStringLiteral("F2 reads frequency, mode and meter; Esc goes back"));
    }

    void Open(const QString& summary, QWidget* back) {
        if (back != this)
            m_back = back;
        setAccessibleName(summary);
        raise();
        setFocus(Qt::OtherFocusReason);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QWidget::event(event);
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* back = m_back && m_back->isVisible() && m_back->isEnabled() ? m_back.data() : nullptr;
        if (back)
            back->setFocus(Qt::OtherFocusReason);
        else
            clearFocus();
        switch (key->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Only back to where the operator was.
            return true;
        default:
            // Any other key goes where it would have gone.
            if (back) {
                QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                               key->count());
                QCoreApplication::sendEvent(back, &copy);
                return true;
            }
            key->ignore();
            return false;
        }
    }
    void paintEvent(QPaintEvent*) override {}

private:
    QPointer<QWidget> m_back;
};

// What changes goes out through a notification object: a screen reader
// speaks a notification as it shows, wherever the focus is. A window of its
// own, off the screen, that never takes the focus: inside the console a
// reader would speak the whole console around it each time. The texts of
// one turn of the event loop go out together.
class Announcer final : public QWidget {
public:
    Announcer() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
        setObjectName(QStringLiteral("announcement"));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(-100, -100, 1, 1);
        setAccessibleName(QStringLiteral("Announcements"));
        hide();
        m_flush.setSingleShot(true);
        m_flush.setInterval(0);
        QObject::connect(&m_flush, &QTimer::timeout, this, [this] { Flush(); });
    }

    void Say(const QString& text) {
        if (text.isEmpty())
            return;
        m_pending.removeAll(text);
        m_pending << text;
        m_flush.start();
    }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    void Flush() {
        if (m_pending.isEmpty())
            return;
        setAccessibleName(m_pending.join(QStringLiteral(", ")));
        m_pending.clear();
        // Shown again, it is spoken again. The toolkit tells nobody of a
        // tip window showing; this one says so itself.
        hide();
        show();
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }

    QStringList m_pending;
    QTimer m_flush;
};

namespace {

class SummaryAccessible final : public QAccessibleWidget {
public:
    explicit SummaryAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return widget()->accessibleName();
        return QAccessibleWidget::text(t);
    }
};

} // namespace

} // namespace accessible

namespace {

// A window made of a plain widget reads as a dialog (its title is then
// announced), not as a nameless filler.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
};

QAccessibleInterface* SpokenFactory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->isWindow() && widget->windowType() != Qt::ToolTip && widget->windowType() != Qt::Popup &&
        className == QLatin1String(object->metaObject()->className()) &&
        object->metaObject()->superClass() == &QWidget::staticMetaObject && !widget->windowTitle().isEmpty())
        return new WindowAccessible(widget);
    if (className != QLatin1String("QWidget"))
        return nullptr;
    if (object->objectName() == QLatin1String("spokenSummary"))
        return new accessible::SummaryAccessible(static_cast<QWidget*>(object), QAccessible::StaticText);
    if (object->objectName() == QLatin1String("announcement"))
        return new accessible::SummaryAccessible(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

// ------------------------------------------------------------- watches

struct ConsoleAccessibility::Watched {
    QPointer<QWidget> target;
    std::function<QString()> read;
    // What the notification says of the value.
    std::function<QString(const QString&)> say;
    QString last;
    accessible::AnnounceThrottle throttle{kAnnounceGap};
    QTimer timer;
};

void ConsoleAccessibility::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(PanelFactory);
        QAccessible::installFactory(SpokenFactory);
        return true;
    }();
    (void)installed;
}

ConsoleAccessibility::ConsoleAccessibility(ConsoleDialog& console) : QObject(&console), m_console(console) {
    setObjectName(QStringLiteral("consoleAccessibility"));
    NameControls();
    SetTabOrder();
    m_summary = new accessible::SpokenSummary(&console);
    m_announcer = new accessible::Announcer();
    WatchChanges();
    auto* speak = new QShortcut(QKeySequence(kSpeakKey), &console);
    speak->setContext(Qt::WindowShortcut);
    connect(speak, &QShortcut::activated, this, &ConsoleAccessibility::Speak);
    qApp->installEventFilter(this);
}

bool ConsoleAccessibility::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() && watched != &m_console) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            accessible::NameByCaptions(widget);
    }
    return false;
}

ConsoleAccessibility::~ConsoleAccessibility() { delete m_announcer; }

QWidget* ConsoleAccessibility::SummaryObject() const { return m_summary; }
QWidget* ConsoleAccessibility::AnnouncementObject() const { return m_announcer; }

QString ConsoleAccessibility::Text(int id) const {
    const ConsoleControls& controls = m_console.controls();
    if (const CEditEx* line = controls.edit(id))
        return line->text();
    return controls.caption(id);
}

// ------------------------------------------------------------ readings

QString ConsoleAccessibility::Frequency(int band) const {
    if (band == 1 && m_console.state().subShowsOffset)
        return OffsetReading();
    const int first = band == 1 ? idc::SubDigit0 : idc::MainDigit0;
    QString digits[11];
    for (int i = 0; i < 11; ++i)
        digits[i] = Text(first + i);
    return accessible::FrequencyReading(digits);
}

QString ConsoleAccessibility::SubDisplayName() const {
    const ConsoleState& s = m_console.state();
    if (s.subShowsOffset)
        return s.xitOn && !s.ritOn ? QStringLiteral("XIT offset")
                                   : (s.xitOn ? QStringLiteral("RIT and XIT offset") : QStringLiteral("RIT offset"));
    if (s.split && !s.subReceiver && !s.satelliteMode && s.controlBand == 0) {
        // In split the right display shows the other VFO: the one that
        // transmits, or while transmitting the one that receives.
        const bool receive = s.transmitting[0] && !s.tfSetActive;
        const int vfo = receive ? s.mainVfo : s.mainTransmitVfo;
        const QString letter = vfo == 0 ? QStringLiteral("A") : vfo == 1 ? QStringLiteral("B") : QString();
        QString name = receive ? QStringLiteral("Receive frequency") : QStringLiteral("Transmit frequency");
        if (!letter.isEmpty())
            name += QStringLiteral(", VFO ") + letter;
        return name;
    }
    return QStringLiteral("Sub frequency");
}

QString ConsoleAccessibility::OffsetReading() const {
    // Sign (blank for plus) and five digits: kilohertz to three places.
    QString shown;
    for (int i = 5; i < 11; ++i)
        shown += Text(idc::SubDigit0 + i);
    shown = shown.trimmed();
    const bool minus = shown.startsWith(QLatin1Char('-'));
    bool ok = false;
    const int hz = shown.mid(minus ? 1 : 0).trimmed().toInt(&ok);
    if (!ok)
        return shown;
    const QString value = QString::asprintf("%d.%03d kHz", hz / 1000, hz % 1000);
    if (hz == 0)
        return value;
    return (minus ? QStringLiteral("minus ") : QStringLiteral("plus ")) + value;
}

QString ConsoleAccessibility::Mode(int band) const {
    return Text(band == 1 ? idc::SubMode : idc::MainMode).trimmed();
}

QString ConsoleAccessibility::MeterReading(int band) const {
    const ConsoleControls& controls = m_console.controls();
    const bool sub = band == 1;
    const CStaticMeterEx* first = controls.meter(sub ? idc::SubMeter : idc::MainMeter);
    const CStaticMeterEx* over = controls.meter(sub ? idc::SubMeterOver : idc::MainMeterOver);
    if (!first || !over || first->isHidden())
        return {};
    const QString name = Text(sub ? idc::SubMeterName : idc::MainMeterName).trimmed();
    // The part above the split shows the level less 15.
    const int level = over->level() > 0 ? over->level() + 15 : first->level();
    if (name == QLatin1String("PWR"))
        return accessible::PowerReading(level, Text(sub ? idc::SubScale : idc::MainScale).endsWith(QLatin1Char('%')));
    if (name.isEmpty())
        return {};
    return accessible::SignalReading(level, m_console.state().radioIdentification == 19);
}

QString ConsoleAccessibility::Summary() const {
    QStringList parts;
    for (int band = 0; band < 2; ++band) {
        const QString frequency = Frequency(band);
        if (frequency.isEmpty()) {
            if (band == 0)
                parts << QStringLiteral("Main no frequency");
            continue;
        }
        const QString sub = SubDisplayName();
        QStringList said{(band == 0 ? QStringLiteral("Main ")
                                    : (sub == QLatin1String("Sub frequency") ? QStringLiteral("Sub ") : sub + QLatin1Char(' '))) +
                         frequency};
        if (const QString mode = Mode(band); !mode.isEmpty())
            said << mode;
        const bool onAir = Text(band == 1 ? idc::SubBusy : idc::MainBusy).trimmed() == QLatin1String("ONAIR");
        if (const QString meter = MeterReading(band); !meter.isEmpty())
            said << (onAir ? QStringLiteral("transmitting, power ") + meter : QStringLiteral("S meter ") + meter);
        else if (onAir)
            said << QStringLiteral("transmitting");
        parts << said.join(QStringLiteral(", "));
    }
    return parts.join(QStringLiteral("; "));
}

namespace {

// A status word's value: "off" while dark, "on" when it shows its own name,
// else what it shows.
QString StatusValue(const QString& shown, QString name) {
    const QString text = shown.trimmed();
    if (text.isEmpty())
        return QStringLiteral("off");
    name.remove(QRegularExpression(QStringLiteral(" indicator$")));
    if (text.compare(name, Qt::CaseInsensitive) == 0)
        return QStringLiteral("on");
    // The busy-or-on-air word: what it means.
    if (text == QLatin1String("ONAIR"))
        return QStringLiteral("on air");
    if (text == QLatin1String("BUSY"))
        return QStringLiteral("busy, signal received");
    return text;
}

// The VFO marks of the main band: the letter with "<" receives, the one
// with ">" transmits.
QString VfoReading(const std::function<QString(int)>& text) {
    auto letter = [&](int row) {
        const QString l = text(idc::VfoMark0 + row * 3 + 1).trimmed();
        return l == QLatin1String("M") ? QStringLiteral("memory") : l;
    };
    QString receive, transmit;
    QStringList shown;
    for (int row = 0; row < 3; ++row) {
        if (!text(idc::VfoMark0 + row * 3).trimmed().isEmpty())
            receive = letter(row);
        if (!text(idc::VfoMark0 + row * 3 + 2).trimmed().isEmpty())
            transmit = letter(row);
        if (!letter(row).isEmpty())
            shown << letter(row);
    }
    if (!receive.isEmpty() && (transmit.isEmpty() || transmit == receive))
        return receive;
    if (!receive.isEmpty())
        return QStringLiteral("receive %1, transmit %2").arg(receive, transmit);
    return shown.isEmpty() ? QStringLiteral("off") : shown.join(QStringLiteral(", "));
}

} // namespace

void ConsoleAccessibility::NameControls() {
    const ConsoleControls& controls = m_console.controls();
    auto text = [this](int id) { return Text(id); };
    for (const ControlRow& row : ConsoleTemplate()) {
        if (QWidget* widget = controls.widget(row.id); widget && IsHidden(row.id))
            widget->setProperty(kHiddenProperty, true);
    }
    for (const Named& n : kDisplayNames) {
        if (QWidget* widget = controls.widget(n.id))
            widget->setAccessibleName(QString::fromLatin1(n.name));
    }
    for (const Named& n : kControlNames) {
        if (QWidget* widget = controls.widget(n.id))
            widget->setAccessibleName(QString::fromLatin1(n.name));
    }
    for (const Named& n : kFrameNames) {
        if (QWidget* widget = controls.widget(n.id))
            widget->setAccessibleName(QString::fromLatin1(n.name));
    }

    // Status words read "off", "on" or what they show.
    for (const Named& n : kDisplayNames) {
        auto* label = dynamic_cast<CKestrinControl*>(controls.widget(n.id));
        if (!label || !controls.label(n.id) || !IsStatusWord(n.id))
            continue;
        const QString name = QString::fromLatin1(n.name);
        const int id = n.id;
        label->SetAccessibleReading([text, id, name] { return StatusValue(text(id), name); });
        controls.widget(n.id)->setProperty(kDarkProperty, true);
    }
    auto reading = [&controls](int id, std::function<QString()> read) {
        if (auto* control = dynamic_cast<CKestrinControl*>(controls.widget(id)))
            control->SetAccessibleReading(std::move(read));
    };
    auto orNone = [](const QString& value) { return value.isEmpty() ? QStringLiteral("none") : value; };
    for (int band = 0; band < 2; ++band) {
        const int digit0 = band == 1 ? idc::SubDigit0 : idc::MainDigit0;
        reading(digit0, [this, band, orNone] { return orNone(Frequency(band)); });
        reading(band == 1 ? idc::SubMode : idc::MainMode, [this, band, orNone] { return orNone(Mode(band)); });
        reading(band == 1 ? idc::SubMeter : idc::MainMeter, [this, band] {
            const QString value = MeterReading(band);
            return value.isEmpty() ? QStringLiteral("off") : value;
        });
        const int ch0 = band == 1 ? idc::SubChDigit0 : idc::MainChDigit0;
        const int mch = band == 1 ? idc::SubMch : idc::MainMch;
        reading(ch0, [text, ch0, mch] {
            QString number;
            for (int i = 0; i < 3; ++i)
                number += text(ch0 + i).trimmed();
            // The number reads while it shows, with or without "MCH" (the
            // satellite mode shows "0" without it).
            (void)mch;
            if (number.isEmpty())
                return QStringLiteral("off");
            return number.endsWith(QLatin1Char('C')) ? QStringLiteral("call") : number;
        });
        if (QWidget* widget = controls.widget(ch0))
            widget->setProperty(kDarkProperty, true);
        // A composite reading covers the labels it stands for.
        const int last = band == 1 ? idc::SubSep3 : idc::MainSep3;
        QRect span;
        for (int id = digit0; id <= last; ++id)
            if (const ControlRow* row = FindControlRow(id))
                span |= row->rect.toRect();
        if (QWidget* widget = controls.widget(digit0))
            widget->setProperty(kSpanProperty, span);
    }
    reading(idc::VfoMark0, [text] { return VfoReading(text); });
    reading(idc::SecondMeter, [text, &controls] {
        const CStaticMeterEx* meter = controls.meter(idc::SecondMeter);
        QString kind = text(idc::SecondMeterName).trimmed();
        if (kind.isEmpty() && text(idc::SecondScale).contains(QLatin1String("FILTER")))
            kind = QStringLiteral("FILTER");
        if (!meter || meter->isHidden() || kind.isEmpty())
            return QStringLiteral("off");
        return QStringLiteral("%1 level %2").arg(kind).arg(meter->level());
    });
    // The little lamps beside VOX and PROC are labels lit green.
    for (const int id : {idc::VoxLamp, idc::ProcLamp}) {
        reading(id, [&controls, id] {
            const CStaticEx* lamp = controls.label(id);
            return lamp && lamp->backColor() == 65280u ? QStringLiteral("on") : QStringLiteral("off");
        });
    }
    reading(idc::TuningDial, [this] {
        return m_console.state().mouseWheelSelection != 0 ? QStringLiteral("turning with the mouse")
                                                            : QStringLiteral("off");
    });
    // The lit words of the whole display at once.
    reading(idc::DisplayBack, [text] {
        QStringList lit;
        for (const Named& n : kDisplayNames) {
            if (!IsStatusWord(n.id) || n.id == idc::MainMode || n.id == idc::SubMode)
                continue;
            if (const QString shown = text(n.id).trimmed(); !shown.isEmpty())
                lit << (n.id == idc::AntNumber ? QStringLiteral("antenna ") + shown : shown);
        }
        return lit.isEmpty() ? QStringLiteral("none") : lit.join(QStringLiteral(", "));
    });

    // Each control tells its group; frames are named by caption or table.
    std::vector<std::pair<QRect, QString>> groups;
    for (const ControlRow& row : ConsoleTemplate()) {
        if (row.kind != ControlKind::Frame)
            continue;
        const CStaticFrameEx* frame = controls.frame(row.id);
        QString name = frame ? frame->accessibleName() : QString();
        if (name.isEmpty() && frame)
            name = frame->text().trimmed();
        groups.emplace_back(row.rect.toRect(), name);
    }
    for (const ControlRow& row : ConsoleTemplate()) {
        QWidget* widget = controls.widget(row.id);
        if (!widget || row.kind == ControlKind::Frame || (widget->focusPolicy() & Qt::TabFocus) == 0)
            continue;
        const QPoint centre = row.rect.toRect().center();
        for (const auto& [rect, name] : groups) {
            if (rect.contains(centre) && !name.isEmpty()) {
                widget->setAccessibleDescription(name + QStringLiteral(" group"));
                break;
            }
        }
    }

    if (QComboBox* steps = controls.comboBox(idc::StepList)) {
        // A drop-down reads its choice as its name on this desktop: the
        // description says what it is.
        steps->setAccessibleDescription(steps->accessibleName() + QStringLiteral(", ") +
                                        steps->accessibleDescription());
        steps->view()->setAccessibleName(QStringLiteral("Channel steps"));
    }
    m_console.client()->setAccessibleName(QStringLiteral("Front panel"));
    if (QMenuBar* bar = m_console.menuBar()) {
        bar->setAccessibleName(QStringLiteral("Menu bar"));
        for (QMenu* menu : bar->findChildren<QMenu*>())
            if (menu->accessibleName().isEmpty())
                menu->setAccessibleName(MenuName(menu->title()));
    }
}

void ConsoleAccessibility::SetTabOrder() {
    // The template lists the groups as they stand on the panel: the power
    // row, then mode, tune, band and VFO, DSP and the click encoder, the
    // keypad, memory and RIT, then the right-hand column top to bottom.
    QWidget* previous = nullptr;
    for (const ControlRow& row : ConsoleTemplate()) {
        QWidget* widget = m_console.controls().widget(row.id);
        if (!widget || (widget->focusPolicy() & Qt::TabFocus) == 0)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

// ---------------------------------------------------------- announcements

void ConsoleAccessibility::WatchChanges() {
    std::vector<int> mainDigits, subDigits;
    for (int id = idc::MainDigit0; id <= idc::MainSep3; ++id)
        mainDigits.push_back(id);
    for (int id = idc::SubDigit0; id <= idc::SubSep3; ++id)
        subDigits.push_back(id);
    auto plain = [](const QString& value) { return value; };
    auto sub = [](const QString& value) { return value.isEmpty() ? value : QStringLiteral("Sub ") + value; };
    Follow(idc::MainDigit0, mainDigits, [this] { return Frequency(0); }, plain);
    // The right display is named by what it shows.
    Follow(idc::SubDigit0, subDigits, [this] { return Frequency(1); }, [this](const QString& value) {
        const QString name = SubDisplayName();
        if (value.isEmpty())
            return value;
        return name == QLatin1String("Sub frequency") ? QStringLiteral("Sub ") + value : name + QLatin1Char(' ') + value;
    });
    for (const int id : subDigits)
        if (CStaticEx* label = m_console.controls().label(id))
            connect(label, &CStaticEx::textChanged, this, [this] {
                if (QWidget* display = m_console.controls().widget(idc::SubDigit0);
                    display && display->accessibleName() != SubDisplayName())
                    display->setAccessibleName(SubDisplayName());
            });
    Follow(idc::MainMode, {idc::MainMode}, [this] { return Mode(0); }, plain);
    Follow(idc::SubMode, {idc::SubMode}, [this] { return Mode(1); }, sub);
    // Transmit and receive: the on-air words of both bands.
    auto onAir = [this](int id) {
        return Text(id).trimmed() == QLatin1String("ONAIR") ? QStringLiteral("transmitting")
                                                             : QStringLiteral("receiving");
    };
    Follow(idc::MainBusy, {idc::MainBusy}, [onAir] { return onAir(idc::MainBusy); }, plain);
    Follow(idc::SubBusy, {idc::SubBusy}, [onAir] { return onAir(idc::SubBusy); }, sub);
}

void ConsoleAccessibility::Follow(int target, const std::vector<int>& sources, std::function<QString()> read,
                                  std::function<QString(const QString&)> say) {
    auto watched = std::make_unique<Watched>();
    watched->target = m_console.controls().widget(target);
    watched->read = std::move(read);
    watched->say = std::move(say);
    watched->last = watched->read();
    watched->timer.setSingleShot(true);
    Watched* w = watched.get();
    connect(&watched->timer, &QTimer::timeout, this, [this, w] { Announce(*w); });
    for (const int id : sources) {
        if (CStaticEx* label = m_console.controls().label(id))
            connect(label, &CStaticEx::textChanged, this, [this, w] { Schedule(*w); });
    }
    m_watches.push_back(std::move(watched));
}

void ConsoleAccessibility::Schedule(Watched& watched) {
    // Nothing listens without an assistive technology; a change waiting
    // already goes out with the latest value.
    if (!QAccessible::isActive() || watched.timer.isActive())
        return;
    // Even an immediate announcement waits for the event loop, so all the
    // labels of one display change before it is read.
    watched.timer.start(watched.throttle.WaitAt(accessible::AnnounceThrottle::Clock::now()));
}

void ConsoleAccessibility::Announce(Watched& watched) {
    if (!watched.target)
        return;
    const QString now = watched.read();
    if (now == watched.last)
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(watched.target.data());
    if (!iface)
        return;
    const QString spoken = iface->text(QAccessible::Value);
    QAccessibleTextUpdateEvent event(watched.target.data(), 0, watched.last, spoken);
    watched.last = now;
    watched.throttle.Announced(accessible::AnnounceThrottle::Clock::now());
    QAccessible::updateAccessibility(&event);
    // A reader passes over text changes away from the focus: the
    // notification is what it speaks.
    m_announcer->Say(watched.say(now));
}

// -------------------------------------------------------------- speak key

void ConsoleAccessibility::Speak() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == m_summary) {
        // Asked again where it stands: the summary as a notification.
        m_summary->setAccessibleName(Summary());
        m_announcer->Say(Summary());
        return;
    }
    if (focus && focus->window() != &m_console)
        focus = nullptr;
    m_summary->Open(Summary(), focus);
}
