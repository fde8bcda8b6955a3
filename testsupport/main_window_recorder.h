// SPDX-License-Identifier: GPL-3.0-or-later
// main_window_recorder.h - the console's main window, as a window's tests
// stand it in: registered as the main window, it records the window messages
// posted to it.
#pragma once

#include <platform.h>

#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace testsupport {

struct Posted {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Posted&) const = default;
};

class MainWindowRecorder : public QWidget {
public:
    // Records the messages numbered `first` to `last` (every message by
    // default) and takes them out of delivery; other events reach the widget.
    explicit MainWindowRecorder(unsigned first = QEvent::User, unsigned last = QEvent::MaxUser)
        : m_first(first), m_last(last) {}

    std::vector<Posted> received;

    // The numbers of the messages received, in order.
    std::vector<unsigned> messages() const {
        std::vector<unsigned> numbers;
        for (const Posted& posted : received) {
            numbers.push_back(posted.message);
        }
        return numbers;
    }

protected:
    bool event(QEvent* event) override {
        const auto type = static_cast<unsigned>(event->type());
        if (type < m_first || type > m_last) {
            return QWidget::event(event);
        }
        if (const auto* message = dynamic_cast<const platform::WindowMessage*>(event)) {
            received.push_back({message->message(), message->wParam(), message->lParam()});
        } else {
            received.push_back({type, 0, 0});
        }
        return true;
    }

private:
    unsigned m_first;
    unsigned m_last;
};

} // namespace testsupport
