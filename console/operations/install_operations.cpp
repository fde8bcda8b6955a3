// SPDX-License-Identifier: GPL-3.0-or-later
// install_operations.cpp - puts the operator's side of the console
// in place: the control handlers, the menu items that act on the radio and
// the pre-filter that every key and pointer event passes first.
#include "console_dialog.h"

#include "console_ids.h"
#include "display/console_display.h"
#include "operations/console_operations.h"
#include "operations/menu_commands.h"

#include <console_link.h>

#include <QEvent>
#include <QIcon>

namespace {

// Hands every event of the console and its controls to the pre-filter.
class InputFilter final : public QObject {
public:
    explicit InputFilter(ConsoleOperations& operations) : m_operations(operations) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return m_operations.PreFilter(watched, event);
    }

private:
    ConsoleOperations& m_operations;
};

} // namespace

void ConsoleDialog::InstallOperations() {
    OperationsHost host;
    host.window = this;
    host.pump = [this] { return PumpMessages(); };
    host.running = [this] { return OperationRunning(); };
    host.command = [this](int id) { OnCommand(id); };
    host.faceColour = m_faceColour;
    host.showDial = [this](int selection) {
        if (selection < 0 || selection >= kDialPictures)
            return;
        if (CStaticEx* dial = m_controls.label(idc::TuningDial))
            dial->LoadIcon(QIcon(m_pictures.dial[static_cast<std::size_t>(selection)]));
    };
    m_operations = std::make_unique<ConsoleOperations>(m_state, m_controls, *m_link, *m_windows,
                                                       *m_connection, *m_display, std::move(host));
    m_operations->Install();
    InstallMenuCommands(*m_operations, [this](int command, std::function<void()> handler) {
        SetCommandHandler(command, std::move(handler));
    });

    m_inputFilter = std::make_unique<InputFilter>(*m_operations);
    installEventFilter(m_inputFilter.get());
    m_client->installEventFilter(m_inputFilter.get());
    for (const int id : m_controls.ids()) {
        if (QWidget* control = m_controls.widget(id)) {
            control->setProperty("consoleControl", id);
            // The pre-filter sees each press once: a control's events stay its own.
            control->setAttribute(Qt::WA_NoMousePropagation);
            control->installEventFilter(m_inputFilter.get());
        }
    }
    // A held button stops repeating when the link closes.
    connect(m_connection.get(), &zephyra::ConsoleLink::connectionChanged, this, [this](bool connected) {
        if (!connected && m_operations)
            m_operations->StopRepeats();
    });
}
