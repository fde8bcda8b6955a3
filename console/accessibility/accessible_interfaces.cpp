// SPDX-License-Identifier: GPL-3.0-or-later
// accessible_interfaces.cpp - how the toolkit reads the console's own
// objects: the front panel without the labels a reading stands for, plain
// windows as dialogs, drop-downs by their choice, the summary and the
// notifications.
#include "accessibility_private.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace accessible {

namespace {

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

class SummaryAccessible final : public QAccessibleWidget {
public:
    explicit SummaryAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return widget()->accessibleName();
        return QAccessibleWidget::text(t);
    }
};

// A window made of a plain widget reads as a dialog (its title is then
// announced), not as a nameless filler.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
};

// A drop-down that shows its choice as text: a reader takes a closed
// drop-down's value from its text (or from a selection its list does not
// offer on this desktop), and would otherwise say only the caption.
class ChoiceAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ChoiceAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        // The choice is the name on this desktop (the caption is the label
        // relation) and the value.
        if (t == QAccessible::Name || t == QAccessible::Value) {
            const QString choice = Choice();
            if (!choice.isEmpty())
                return choice;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Combo()->view() && Combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    // The open list is the one child.
    int childCount() const override { return Combo()->view() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && Combo()->view() ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && Combo()->view() && child->object() == Combo()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

    // The choice as read-only text.
    QString text(int start, int end) const override { return Choice().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Choice().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString Choice() const { return Combo()->currentText(); }
};

} // namespace

QAccessibleInterface* PanelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QWidget") && object != nullptr && object->isWidgetType() &&
        object->objectName() == QLatin1String("consoleClient"))
        return new PanelAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

QAccessibleInterface* SpokenFactory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* combo = qobject_cast<QComboBox*>(object); combo && !combo->isEditable())
        return new ChoiceAccessible(combo);
    if (widget->isWindow() && widget->windowType() != Qt::ToolTip && widget->windowType() != Qt::Popup &&
        className == QLatin1String(object->metaObject()->className()) &&
        object->metaObject()->superClass() == &QWidget::staticMetaObject && !widget->windowTitle().isEmpty())
        return new WindowAccessible(widget);
    if (className != QLatin1String("QWidget"))
        return nullptr;
    if (object->objectName() == QLatin1String("spokenSummary"))
        return new SummaryAccessible(static_cast<QWidget*>(object), QAccessible::StaticText);
    if (object->objectName() == QLatin1String("announcement"))
        return new SummaryAccessible(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace accessible

void ConsoleAccessibility::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(accessible::PanelFactory);
        QAccessible::installFactory(accessible::SpokenFactory);
        return true;
    }();
    (void)installed;
}
