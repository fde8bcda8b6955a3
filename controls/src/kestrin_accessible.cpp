// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_accessible.cpp - what a screen reader reads of the display
// controls.
//
// The labels, frames, meters and lamps paint everything they show, so the
// toolkit alone would expose them as nameless panes. Each gets an interface
// that reads its name (the widget's accessible name, else the text it
// shows) and its value (the control's reading, else what it shows), and
// offers that text through the text interface, as a reader expects of a
// label. Buttons and edit fields keep the toolkit's own interfaces.
#include "kestrin.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <algorithm>

namespace {

enum class Kind { Label, Frame, Meter, Lamp };

class KestrinAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    KestrinAccessible(QWidget* widget, Kind kind)
        : QAccessibleWidget(widget, RoleOf(widget, kind)), m_kind(kind) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: {
            const QString name = widget()->accessibleName();
            if (!name.isEmpty())
                return name;
            // An unnamed meter or lamp has nothing to say but its state.
            return m_kind == Kind::Label || m_kind == Kind::Frame ? Shown() : QString();
        }
        case QAccessible::Value:
            return Value();
        case QAccessible::Description:
            return widget()->accessibleDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    // What a reader leaves out of what it says of the window, as the eye
    // does, reads as not showing: a label that another's reading stands for
    // (property "accessibleHidden"), a word of a display that is dark and
    // reads "off" (property "accessibleDarkWhenOff"), an empty place
    // (property "accessibleHiddenWhileEmpty").
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const QWidget* w = widget();
        if (w->property("accessibleHidden").toBool())
            s.invisible = true;
        if (m_kind == Kind::Label && Shown().isEmpty() &&
            (w->property("accessibleHiddenWhileEmpty").toBool() ||
             (w->property("accessibleDarkWhenOff").toBool() && Value() == QLatin1String("off"))))
            s.invisible = true;
        return s;
    }

    // A control whose reading stands for several (a display of digit
    // labels) covers them all: the property "accessibleSpan" holds that
    // rectangle in the parent's coordinates.
    QRect rect() const override {
        const QRect span = widget()->property("accessibleSpan").toRect();
        if (span.isValid() && widget()->parentWidget() && widget()->isVisible())
            return QRect(widget()->parentWidget()->mapToGlobal(span.topLeft()), span.size());
        return QAccessibleWidget::rect();
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && m_kind != Kind::Frame)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // ---- the text interface: the spoken text, read-only, no caret
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        const QString all = Spoken();
        if (startOffset < 0)
            startOffset = 0;
        if (endOffset < 0 || endOffset > all.size())
            endOffset = static_cast<int>(all.size());
        return startOffset >= endOffset ? QString() : all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Spoken().size()); }
    QRect characterRect(int offset) const override {
        const QString all = Spoken();
        if (offset < 0 || offset >= all.size())
            return {};
        // The text need not be what is painted (a reading), so each
        // character gets an equal share of the control.
        const QRect whole = rect();
        const int width = std::max(1, whole.width() / static_cast<int>(all.size()));
        return QRect(whole.x() + offset * width, whole.y(), width, whole.height());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QString all = Spoken();
        const QRect whole = rect();
        if (all.isEmpty() || !whole.contains(point))
            return -1;
        const int width = std::max(1, whole.width() / static_cast<int>(all.size()));
        return std::min(static_cast<int>(all.size()) - 1, (point.x() - whole.x()) / width);
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

private:
    static QAccessible::Role RoleOf(QWidget* widget, Kind kind) {
        switch (kind) {
        case Kind::Frame:
            return QAccessible::Grouping;
        case Kind::Label: {
            const auto* label = qobject_cast<CStaticEx*>(widget);
            return label && label->hasIcon() && label->text().isEmpty() ? QAccessible::Graphic
                                                                          : QAccessible::StaticText;
        }
        case Kind::Meter:
        case Kind::Lamp:
            break;
        }
        return QAccessible::StaticText;
    }

    // What the control paints as text, blanks at either end dropped.
    QString Shown() const {
        if (const auto* label = qobject_cast<CStaticEx*>(widget()))
            return label->text().trimmed();
        if (const auto* frame = qobject_cast<CStaticFrameEx*>(widget()))
            return frame->text().trimmed();
        return {};
    }

    QString Value() const {
        if (const auto* control = dynamic_cast<const CKestrinControl*>(widget());
            control && control->HasAccessibleReading())
            return control->AccessibleReading();
        switch (m_kind) {
        case Kind::Label:
            // A named label reads what it shows as its value; an unnamed
            // one already says it as its name.
            return widget()->accessibleName().isEmpty() ? QString() : Shown();
        case Kind::Frame:
            return {};
        case Kind::Meter:
            return QString::number(static_cast<const CStaticMeterEx*>(widget())->level());
        case Kind::Lamp:
            return static_cast<const CStaticLEDEx*>(widget())->isOn() ? QStringLiteral("on")
                                                                       : QStringLiteral("off");
        }
        return {};
    }

    // The text a reader speaks: the value, else the name.
    QString Spoken() const {
        const QString value = Value();
        return value.isEmpty() ? text(QAccessible::Name) : value;
    }

    Kind m_kind;
};

QAccessibleInterface* KestrinFactory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("CStaticEx"))
        return new KestrinAccessible(widget, Kind::Label);
    if (className == QLatin1String("CStaticFrameEx"))
        return new KestrinAccessible(widget, Kind::Frame);
    if (className == QLatin1String("CStaticMeterEx"))
        return new KestrinAccessible(widget, Kind::Meter);
    if (className == QLatin1String("CStaticLEDEx"))
        return new KestrinAccessible(widget, Kind::Lamp);
    return nullptr;
}

} // namespace

void KestrinInstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(KestrinFactory);
        return true;
    }();
    (void)installed;
}
