// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_load_test.cpp - fifty line-protocol clients of a thousand commands
// each against the console on the simulator, while the console runs
// operations of its own: every command answered, in the right shape, none
// inside an operation, and no deadlock.
#include "sharing_fixture.h"

#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <thread>

namespace {

using namespace sharing_test;

constexpr int kClients = 50;
constexpr int kCommands = 1000;

// The answer a command must get, by its shape.
bool LooksRight(const std::string& command, const std::string& answer) {
    auto isNumberLine = [](const std::string& s) {
        if (s.size() < 2 || s.back() != '\n')
            return false;
        for (std::size_t i = 0; i + 1 < s.size(); ++i)
            if (!(std::isdigit(static_cast<unsigned char>(s[i])) || (i == 0 && s[i] == '-') || s[i] == '.'))
                return false;
        return true;
    };
    if (command[0] == 'F')
        return answer == "RPRT 0\n";
    if (command == "m")
        return answer.find('\n') != std::string::npos && answer.find("RPRT") == std::string::npos;
    if (command == "v")
        return answer == "VFOA\n";
    if (command == "s")
        return answer == "0\nVFOA\n";
    if (command == "+f")
        return answer.rfind("get_freq:\nFrequency: ", 0) == 0 && answer.size() > 30 &&
               answer.compare(answer.size() - 7, 7, "RPRT 0\n") == 0;
    return isNumberLine(answer); // f, t, j, l AF
}

struct Command {
    std::string line;
    int lines;
    bool extended;
};

Command CommandFor(int client, int i) {
    if (i % 100 == 50)
        return {"F " + std::to_string(7'000'000 + client * 1000 + i), 1, false};
    static const Command kGets[] = {{"f", 1, false}, {"m", 2, false}, {"t", 1, false}, {"v", 1, false},
                                    {"s", 2, false}, {"j", 1, false}, {"l AF", 1, false}, {"+f", 3, true}};
    return kGets[static_cast<std::size_t>((client + i) % 8)];
}

class SharingLoad : public SharingTest {};

// The console's own event loop, as the program runs it between operations.
void RunEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST_F(SharingLoad, FiftyClientsOfAThousandCommandsInterleavedWithConsoleOperations) {
    std::atomic<int> insideOperation{0};
    sharing().Queue().SetObserver([&] {
        if (console->OperationRunning())
            ++insideOperation;
    });
    std::atomic<int> answered{0}, wrong{0}, lost{0}, finished{0};
    std::vector<std::thread> clients;
    for (int k = 0; k < kClients; ++k) {
        clients.emplace_back([&, k] {
            LineClient c;
            if (!c.Connect(rigctlPort)) {
                lost += kCommands;
                ++finished;
                return;
            }
            for (int i = 0; i < kCommands; ++i) {
                const Command command = CommandFor(k, i);
                if (!c.Send(command.line + "\n")) {
                    lost += kCommands - i;
                    break;
                }
                const std::string answer = command.extended ? c.ReadReport(std::chrono::seconds(60))
                                                            : c.ReadLines(command.lines, std::chrono::seconds(60));
                if (answer.empty()) {
                    lost += kCommands - i;
                    break;
                }
                ++answered;
                if (!LooksRight(command.line, answer) && ++wrong < 5)
                    ADD_FAILURE() << command.line << " -> " << answer;
            }
            ++finished;
        });
    }
    // The console goes on with its own operations meanwhile.
    int operations = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
    while (finished < kClients && std::chrono::steady_clock::now() < deadline) {
        RunEventLoop(40);
        if (operations == 10)
            console->connection()->Refresh(); // a whole settings read, between its steps too
        {
            const zephyra::OperationGuard guard(*console->connection());
            display_test::PumpFor(std::chrono::milliseconds(10)); // an operation waits by pumping
        }
        ++operations;
    }
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(finished.load(), kClients) << "clients still waiting: a deadlock";
    EXPECT_EQ(lost.load(), 0);
    EXPECT_EQ(answered.load(), kClients * kCommands);
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(insideOperation.load(), 0) << "a request ran inside a console operation";
    EXPECT_GT(operations, 5);
    EXPECT_GT(sharing().Queue().Deferred(), 0u);
    // The last frequency a client set is the radio's, and the console's.
    EXPECT_TRUE(display_test::PumpUntil([&] { return state().mainFrequency == radio().state().vfoA; }));
    std::printf("%d commands answered, %d console operations\n", answered.load(), operations);
}

} // namespace
