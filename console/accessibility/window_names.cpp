// SPDX-License-Identifier: GPL-3.0-or-later
// window_names.cpp - names from captions for the secondary windows.
#include "window_names.h"

#include "accessible_readings.h"

#include <kestrin.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPointer>
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
    QWidget* widget = nullptr; // the label that shows it
};

// Where the caption of a drop-down shows, the drop-down keeps it.
constexpr char kCaptionWidgetProperty[] = "accessibleCaptionWidget";

// A label that stands in for a painted caption as the drop-down's buddy
// label: where the caption shows, with its text, painting nothing (the
// caption paints itself) and taking no mouse.
class CaptionStandIn final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {}
};

QString Clean(QString text) {
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

// Units printed after a value: they caption nothing.
bool IsUnit(const QString& text) {
    static const QStringList units{QStringLiteral("Hz"),  QStringLiteral("kHz"), QStringLiteral("MHz"),
                                   QStringLiteral("ms"),  QStringLiteral("s"),   QStringLiteral("dB"),
                                   QStringLiteral("W"),   QStringLiteral("%"),   QStringLiteral("bps"),
                                   QStringLiteral("ch"),  QStringLiteral("sec"), QStringLiteral("min")};
    return units.contains(text.trimmed());
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
        if (text.size() < 2 || std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); }) ||
            IsUnit(text))
            continue;
        out.push_back({InWindow(widget, window), text, widget});
    }
    return out;
}

// The caption nearest to the left on the same row, else nearest above.
const Caption* CaptionNear(const QRect& control, const std::vector<Caption>& captions) {
    const Caption* best = nullptr;
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
            best = &c;
        }
    }
    return best;
}

QString CaptionFor(const QRect& control, const std::vector<Caption>& captions) {
    const Caption* c = CaptionNear(control, captions);
    return c ? c->text : QString();
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

// A row of single characters side by side (the digits of a frequency and
// the dots between them) reads as one value: the first label reads the row,
// named after its caption; the rest and the unit after it are not showing.
// Returns the rows' names by their rectangles, for the buttons beside them.
std::vector<Caption> JoinDigitRows(QWidget* window, const std::vector<Caption>& captions) {
    std::vector<CStaticEx*> cells;
    for (CStaticEx* label : window->findChildren<CStaticEx*>()) {
        if (label->isHidden() || label->hasIcon() || label->text().trimmed().size() > 1 || label->width() > 24)
            continue;
        cells.push_back(label);
    }
    std::sort(cells.begin(), cells.end(), [window](CStaticEx* a, CStaticEx* b) {
        const QRect ra = InWindow(a, window), rb = InWindow(b, window);
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    std::vector<Caption> rows;
    std::size_t i = 0;
    while (i < cells.size()) {
        std::size_t j = i + 1;
        while (j < cells.size()) {
            const QRect prev = InWindow(cells[j - 1], window), next = InWindow(cells[j], window);
            if (next.top() != prev.top() || next.height() != prev.height() || next.left() - prev.right() > 3 ||
                next.left() <= prev.left())
                break;
            ++j;
        }
        if (j - i < 8) {
            i = j;
            continue;
        }
        std::vector<CStaticEx*> row(cells.begin() + static_cast<long>(i), cells.begin() + static_cast<long>(j));
        i = j;
        int widest = 0;
        QRect span;
        for (CStaticEx* cell : row) {
            widest = std::max(widest, cell->width());
            span |= InWindow(cell, window);
        }
        // The dots are the narrower cells.
        std::vector<QPointer<CStaticEx>> digits;
        for (CStaticEx* cell : row)
            if (cell->width() == widest)
                digits.emplace_back(cell);
        // The unit printed right after the row goes with it.
        for (CStaticEx* label : window->findChildren<CStaticEx*>()) {
            const QRect r = InWindow(label, window);
            if (!label->isHidden() && IsUnit(label->text()) && r.left() >= span.right() &&
                r.left() - span.right() <= 10 && r.center().y() >= span.top() && r.center().y() <= span.bottom()) {
                label->setProperty("accessibleHidden", true);
                span |= r;
            }
        }
        // Named after the caption beside it, or the group's when the caption
        // beside it only repeats a part of the group's ("Freq." in "RX / Open
        // Freq.").
        QString name = CaptionFor(span, captions);
        const QString group = FrameAround(row.front(), window);
        if (name.isEmpty() || (!group.isEmpty() && group.contains(name)))
            name = group;
        if (name.isEmpty())
            name = QStringLiteral("Frequency");
        CStaticEx* first = row.front();
        for (CStaticEx* cell : row)
            if (cell != first)
                cell->setProperty("accessibleHidden", true);
        first->setAccessibleName(name);
        first->setProperty("accessibleSpan", QRect(first->parentWidget()->mapFrom(window, span.topLeft()), span.size()));
        first->SetAccessibleReading([digits] {
            QString texts[11];
            QString plain;
            for (std::size_t k = 0; k < digits.size(); ++k) {
                const QString text = digits[k] ? digits[k]->text() : QString();
                if (digits.size() == 11)
                    texts[k] = text;
                plain += text.trimmed();
            }
            const QString value = digits.size() == 11 ? FrequencyReading(texts) : plain;
            return value.isEmpty() ? QStringLiteral("none") : value;
        });
        rows.push_back({span, name});
    }
    return rows;
}

// An empty label right after a list or field: where its unit goes.
bool IsUnitSlot(const QWidget* label, QWidget* window) {
    const QRect r = InWindow(label, window);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QComboBox*>(control) && !qobject_cast<QAbstractSpinBox*>(control) &&
            !qobject_cast<QLineEdit*>(control))
            continue;
        const QRect c = InWindow(control, window);
        if (r.left() >= c.right() - kSlack && r.left() - c.right() <= 10 && r.center().y() >= c.top() &&
            r.center().y() <= c.bottom())
            return true;
    }
    return false;
}

bool WantsName(QWidget* widget) {
    if (widget->property("accessibleHidden").toBool())
        return false;
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
    const std::vector<Caption> digitRows = JoinDigitRows(window, captions);
    // A button on a row of digits that says only what it does ("Ent") is
    // named for its row.
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString text = Clean(button->text());
        if (text.size() > 5 || !button->accessibleName().isEmpty() && button->accessibleName() != text)
            continue;
        const QRect r = InWindow(button, window);
        for (const Caption& row : digitRows)
            if (r.center().y() >= row.rect.top() && r.center().y() <= row.rect.bottom() && r.left() >= row.rect.right() &&
                r.left() - row.rect.right() <= 40)
                button->setAccessibleName(text + QLatin1Char(' ') + row.text);
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!WantsName(widget))
            continue;
        // A drop-down's list is named after the drop-down, below.
        if (qobject_cast<QAbstractItemView*>(widget) && qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        if (widget->window() != window && !window->isAncestorOf(widget))
            continue;
        const Caption* caption = CaptionNear(InWindow(widget, window), captions);
        QString name = caption ? caption->text : QString();
        if (caption && caption->widget && qobject_cast<QComboBox*>(widget))
            widget->setProperty(kCaptionWidgetProperty, QVariant::fromValue<QObject*>(caption->widget));
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
        if (auto* label = qobject_cast<CStaticEx*>(widget); label && IsUnitSlot(label, window)) {
            // The empty place of a unit after a list: nothing while empty.
            label->setProperty("accessibleHiddenWhileEmpty", true);
            label->setAccessibleName(name.isEmpty() ? QStringLiteral("Unit") : name + QStringLiteral(" unit"));
            label->SetAccessibleReading([label] {
                return label->text().trimmed().isEmpty() ? QStringLiteral("none") : QString();
            });
            continue;
        }
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
        if (name.isEmpty() && qobject_cast<QProgressBar*>(widget))
            name = Clean(window->windowTitle()) + QStringLiteral(" progress");
        if (name.isEmpty())
            name = Clean(widget->toolTip());
        if (name.isEmpty())
            continue;
        widget->setAccessibleName(name);
        // A drop-down reads its choice as its name on this desktop; without
        // a caption that shows, its caption goes with it as the description.
        if (qobject_cast<QComboBox*>(widget) && widget->accessibleDescription().isEmpty() &&
            !widget->property(kCaptionWidgetProperty).isValid())
            widget->setAccessibleDescription(name);
    }
    // A picture that only describes itself (a dial): its description is
    // what it is called.
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty() || widget->metaObject()->superClass() != &QWidget::staticMetaObject)
            continue;
        const QString said = widget->accessibleDescription().isEmpty() ? Clean(widget->toolTip())
                                                                        : widget->accessibleDescription();
        if (!said.isEmpty())
            widget->setAccessibleName(said);
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
        // On this desktop a drop-down reads its choice as its name and takes
        // its caption from the label that names it as its buddy; without
        // one a reader guesses from the nearest text (a unit). A label that
        // is never shown carries the caption.
        QString caption = combo->accessibleDescription();
        if (caption.isEmpty())
            caption = combo->accessibleName();
        auto* shown = qobject_cast<QWidget*>(combo->property(kCaptionWidgetProperty).value<QObject*>());
        if (!caption.isEmpty() && combo->parentWidget()) {
            QLabel* buddy = nullptr;
            for (QLabel* label : combo->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                if (label->buddy() == combo)
                    buddy = label;
            // A caption that is a label of its own becomes the buddy.
            if (auto* label = qobject_cast<QLabel*>(shown);
                !buddy && label && label->parentWidget() == combo->parentWidget() && !label->buddy()) {
                label->setBuddy(combo);
                buddy = label;
            }
            if (!buddy) {
                // The caption that shows beside the drop-down is its label,
                // showing where the caption does; a reader then says the
                // caption as the label and the choice as the value. Without
                // one, a label that never shows carries the caption.
                buddy = shown ? new CaptionStandIn(combo->parentWidget()) : new QLabel(combo->parentWidget());
                buddy->setObjectName(QStringLiteral("accessibleCaption"));
                buddy->setBuddy(combo);
                if (shown) {
                    buddy->setAttribute(Qt::WA_TransparentForMouseEvents);
                    buddy->setGeometry(QRect(combo->parentWidget()->mapFrom(window, InWindow(shown, window).topLeft()),
                                             shown->size()));
                    buddy->show();
                    // Read once: the stand-in, not the painted caption too.
                    shown->setProperty("accessibleHidden", true);
                } else {
                    buddy->hide();
                }
            }
            if (buddy->objectName() == QLatin1String("accessibleCaption"))
                buddy->setText(caption);
        }
        QAbstractItemView* list = combo->view();
        if (list && list->accessibleName().isEmpty()) {
            const QString name = combo->accessibleName();
            list->setAccessibleName(name.isEmpty() ? QStringLiteral("Choices") : name + QStringLiteral(" choices"));
        }
    }
}

} // namespace accessible
