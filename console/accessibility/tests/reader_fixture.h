// SPDX-License-Identifier: GPL-3.0-or-later
// reader_fixture.h - the console on the built-in simulator with an ear on
// the accessibility events it raises: what the in-process reader tests share.
#pragma once

#include "accessibility/console_accessibility.h"
#include "display_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace reader_test {

// An event the console raised, with what the object read at that moment.
struct Heard {
    QAccessible::Event type;
    QObject* object;
    QString value;
    QString description;
    QString name;
};

inline std::vector<Heard>* g_heard = nullptr;

inline void Listen(QAccessibleEvent* event) {
    if (!g_heard)
        return;
    QAccessibleInterface* iface = event->accessibleInterface();
    g_heard->push_back({event->type(), event->object(), iface ? iface->text(QAccessible::Value) : QString(),
                        iface ? iface->text(QAccessible::Description) : QString(),
                        iface ? iface->text(QAccessible::Name) : QString()});
}

inline bool Contains(const std::vector<std::string>& said, const std::string& part) {
    return std::any_of(said.begin(), said.end(),
                       [&](const std::string& s) { return s.find(part) != std::string::npos; });
}

inline std::string Joined(const std::vector<std::string>& said) {
    std::string out;
    for (const std::string& s : said)
        out += "[" + s + "] ";
    return out;
}

class ReaderTest : public display_test::DisplayTest {
protected:
    void TearDown() override {
        StopListening();
        display_test::DisplayTest::TearDown();
    }
    // Every event from now on goes into `heard`.
    void StartListening() {
        g_heard = &heard;
        QAccessible::installUpdateHandler(Listen);
    }
    void StopListening() {
        QAccessible::installUpdateHandler(nullptr);
        g_heard = nullptr;
    }
    QAccessibleInterface* Of(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }
    QAccessibleInterface* Of(int id) { return Of(controls().widget(id)); }
    std::string Value(int id) { return Of(id)->text(QAccessible::Value).toStdString(); }
    ConsoleAccessibility& accessibility() {
        return *console->findChild<ConsoleAccessibility*>(QStringLiteral("consoleAccessibility"));
    }
    // What the notification object said (a reader speaks it as it shows)
    // since `from`.
    std::vector<std::string> Notified(std::size_t from = 0) {
        std::vector<std::string> out;
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].type == QAccessible::ObjectShow && accessibility().IsAnnouncement(heard[i].object))
                out.push_back(heard[i].name.toStdString());
        return out;
    }
    std::vector<Heard> heard;
};

} // namespace reader_test
