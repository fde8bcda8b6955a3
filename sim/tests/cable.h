// SPDX-License-Identifier: GPL-3.0-or-later
// cable.h - a cable between a program and the simulated radio that can be
// pulled and plugged in again, the way a USB serial adapter behaves.
//
// The program opens the cable's lasting name (as /dev/serial/by-id gives
// one), a link to the radio's pseudo-terminal. Pulling the cable takes the
// device away: the radio's side closes and the name goes, so the program
// sees its device vanish. The radio itself stays on the desk with its whole
// state: a transmission goes on through the pull. Plugging the cable in
// makes a new device (a new pseudo-terminal) behind the same name.
//
// Header only, no Qt: for the simulator's tests and the program's.
#pragma once

#include <qxsim.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace qxsim_test {

class Cable {
public:
    // `path`: the lasting name to make (its folder must exist). The radio
    // is started if it does not run; the cable starts plugged in.
    Cable(qxsim::Radio& radio, std::string path) : m_radio(radio), m_path(std::move(path)) {
        m_radio.start();
        Relink();
    }
    ~Cable() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    Cable(const Cable&) = delete;
    Cable& operator=(const Cable&) = delete;

    const std::string& Path() const { return m_path; }
    bool Plugged() const { return m_radio.running(); }

    // Makes the name lead to the radio's device now.
    void Relink() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        std::filesystem::create_symlink(m_radio.devicePath(), m_path);
    }
    // The device goes; the radio keeps its state.
    void Pull() {
        m_radio.stop();
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        ++m_pulls;
    }
    // A new device behind the same name. False when no pseudo-terminal was had.
    bool Plug() {
        if (!m_radio.start())
            return false;
        Relink();
        return true;
    }
    int Pulls() const { return m_pulls; }

private:
    qxsim::Radio& m_radio;
    std::string m_path;
    int m_pulls = 0;
};

} // namespace qxsim_test
