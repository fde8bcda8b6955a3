// SPDX-License-Identifier: GPL-3.0-or-later
// A panel test with the virtual transceiver on a pseudo-terminal: the link
// connected to it, the commands it received, and a way to know that what a
// panel sent has arrived.
#pragma once

#include "test_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QComboBox>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace pandor::test {

using namespace std::chrono_literals;

class RadioPanelTest : public PanelTest {
protected:
    void TearDown() override {
        PanelTest::TearDown();
        link.Close();
        if (radio) {
            radio->stop();
        }
    }

    void StartRadio(qxsim::Options options = {}) {
        radio = std::make_unique<qxsim::Radio>(options);
        ASSERT_TRUE(radio->start()) << radio->lastError();
        ASSERT_EQ(link.Conn("QR-7730", radio->devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
        Clear();
    }

    // Asks for the radio's type and waits until it is stored (version type).
    void StoreType() {
        ASSERT_EQ(link.ConnTY(), 1);
        std::uint32_t b[9] = {};
        const auto stored = [&] {
            return link.RcvDataTY(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &b[8]) == 1;
        };
        for (int i = 0; i < 300 && !stored(); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_TRUE(stored());
        Clear();
    }

    // Commands go out in order: once a later FA query (which no panel
    // sends) has reached the radio, everything sent before it has too.
    void Flush() {
        ++m_flushes;
        const std::size_t expected = m_flushes;
        ASSERT_EQ(link.ConnFA("R", ""), 1);
        ASSERT_TRUE(radio->waitFor(
            [expected](const std::vector<qxsim::Received>& received) {
                std::size_t marks = 0;
                for (const auto& command : received) {
                    marks += command.text == "FA" ? 1 : 0;
                }
                return marks >= expected;
            },
            5s));
    }

    // What the radio received since the last Clear, without Flush's queries.
    std::vector<std::string> Sent() {
        Flush();
        std::vector<std::string> texts;
        for (const auto& command : radio->received()) {
            if (command.text != "FA") {
                texts.push_back(command.text);
            }
        }
        return texts;
    }

    // Forgets what the radio received so far (once it has all arrived).
    void Clear() {
        Flush();
        radio->clearReceived();
        m_flushes = 0;
    }

    bool Received(const std::string& text) {
        for (const std::string& command : Sent()) {
            if (command == text) {
                return true;
            }
        }
        return false;
    }

    std::size_t CountOf(const std::string& text) {
        std::size_t n = 0;
        for (const std::string& command : Sent()) {
            n += command == text ? 1 : 0;
        }
        return n;
    }

    // The operator picks entry `index` of a drop-down list.
    static void Choose(QComboBox* box, int index) {
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isEnabled());
        ASSERT_LT(index, box->count());
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    static QStringList Entries(const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) {
            texts.append(box->itemText(i));
        }
        return texts;
    }

    std::unique_ptr<qxsim::Radio> radio;
    CCorvan link;

private:
    std::size_t m_flushes = 0;
};

} // namespace pandor::test
