// window_names.cpp - names from captions for the secondary windows.
#include "window_names.h"

#include <kestrin.h>

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <vector>

namespace accessible {

namespace {

constexpr int kLeftReach = 160; // how far to the left a caption may stand
constexpr int kAboveReach = 40; // how far above
constexpr int kSlack = 6;       // captions may overlap their control a little

struct Caption {
    QRect rect; // in window coordinates
    QString text;
};

QString Clean(QString text) {
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

QRect InWindow(const QWidget* widget, const QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

std::vector<Caption> CaptionsOf(QWidget* window) {
    std::vector<Caption> out;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isHidden())
            continue;
        QString text;
        if (const auto* kestrin = qobject_cast<CStaticEx*>(widget))
            text = kestrin->text();
        else if (const auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        text = Clean(text);
        // Numbers, frequencies and lone signs are values, not captions.
        if (text.size() < 2 || std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); }))
            continue;
        out.push_back({InWindow(widget, window), text});
    }
    return out;
}

// The caption nearest to the left on the same row, else nearest above.
QString CaptionFor(const QRect& control, const std::vector<Caption>& captions) {
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const Caption& c : captions) {
        if (c.rect.intersects(control.adjusted(kSlack, kSlack, -kSlack, -kSlack)))
            continue;
        const int centre = c.rect.center().y();
        int distance = std::numeric_limits<int>::max();
        if (c.rect.right() <= control.left() + kSlack && centre >= control.top() - kSlack &&
            centre <= control.bottom() + kSlack) {
            const int gap = control.left() - c.rect.right();
            if (gap <= kLeftReach)
                distance = gap;
        } else if (c.rect.bottom() <= control.top() + kSlack && c.rect.right() >= control.left() &&
                   c.rect.left() <= control.right()) {
            const int gap = control.top() - c.rect.bottom();
            if (gap <= kAboveReach)
                distance = gap + 20; // a caption beside wins over one above
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = c.text;
        }
    }
    return best;
}

// The caption of the group frame the control stands in.
QString FrameAround(const QWidget* widget, QWidget* window) {
    const QPoint centre = InWindow(widget, window).center();
    for (const CStaticFrameEx* frame : window->findChildren<CStaticFrameEx*>()) {
        const QString caption = Clean(frame->text());
        if (!caption.isEmpty() && InWindow(frame, window).contains(centre))
            return caption;
    }
    return {};
}

bool WantsName(QWidget* widget) {
    if (!widget->accessibleName().isEmpty())
        return false;
    if (const auto* label = qobject_cast<CStaticEx*>(widget))
        return label->text().trimmed().isEmpty() && !label->hasIcon();
    if (qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
        qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<CStaticMeterEx*>(widget) ||
        qobject_cast<CStaticLEDEx*>(widget) || qobject_cast<QProgressBar*>(widget))
        return true;
    if (const auto* line = qobject_cast<QLineEdit*>(widget))
        // A spin box's own text field goes with the spin box.
        return !qobject_cast<QAbstractSpinBox*>(line->parentWidget());
    if (qobject_cast<QAbstractItemView*>(widget))
        return true;
    return false;
}

} // namespace

void NameByCaptions(QWidget* window) {
    if (window == nullptr)
        return;
    const std::vector<Caption> captions = CaptionsOf(window);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!WantsName(widget))
            continue;
        // A drop-down's list is named after the drop-down, below.
        if (qobject_cast<QAbstractItemView*>(widget) && qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        if (widget->window() != window && !window->isAncestorOf(widget))
            continue;
        QString name = CaptionFor(InWindow(widget, window), captions);
        if (name.isEmpty()) {
            // Inside a titled group the group's title says what it is.
            for (QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
                if (const auto* group = qobject_cast<QGroupBox*>(up); group && !group->title().isEmpty()) {
                    name = Clean(group->title());
                    break;
                }
        }
        if (name.isEmpty())
            name = FrameAround(widget, window);
        if (auto* label = qobject_cast<CStaticEx*>(widget)) {
            // A value field: named by its caption when it has one; while
            // empty it reads "blank".
            label->SetAccessibleReading([label] {
                return label->text().trimmed().isEmpty() ? QStringLiteral("blank") : QString();
            });
            if (!name.isEmpty())
                widget->setAccessibleName(name);
            continue;
        }
        if (name.isEmpty() && qobject_cast<QAbstractItemView*>(widget))
            name = Clean(window->windowTitle());
        if (name.isEmpty())
            name = Clean(widget->toolTip());
        if (name.isEmpty())
            continue;
        widget->setAccessibleName(name);
        // A drop-down reads its choice as its name on this desktop; its
        // caption goes with it as the description.
        if (qobject_cast<QComboBox*>(widget) && widget->accessibleDescription().isEmpty())
            widget->setAccessibleDescription(name);
    }
    // A group frame without a caption of its own: named after its first
    // caption inside.
    for (CStaticFrameEx* frame : window->findChildren<CStaticFrameEx*>()) {
        if (!frame->accessibleName().isEmpty() || !frame->text().trimmed().isEmpty())
            continue;
        const QRect area = InWindow(frame, window);
        for (const Caption& c : captions)
            if (area.contains(c.rect)) {
                frame->setAccessibleName(c.text);
                break;
            }
    }
    for (QComboBox* combo : window->findChildren<QComboBox*>()) {
        QAbstractItemView* list = combo->view();
        if (list && list->accessibleName().isEmpty()) {
            const QString name = combo->accessibleName();
            list->setAccessibleName(name.isEmpty() ? QStringLiteral("Choices") : name + QStringLiteral(" choices"));
        }
    }
}

} // namespace accessible
