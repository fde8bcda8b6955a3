// SPDX-License-Identifier: GPL-3.0-or-later
// Window messages, pumping with its limit, posting from other threads, the
// link target, the main-window handle and the timer table.
#include <platform.h>

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct Received {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// Records every window message it receives.
class Recorder : public QObject {
public:
    std::vector<Received> received;
    std::function<void(const Received&)> onMessage;

protected:
    bool event(QEvent* e) override {
        if (auto* m = dynamic_cast<platform::WindowMessage*>(e)) {
            received.push_back({m->message(), m->wParam(), m->lParam()});
            if (onMessage) {
                onMessage(received.back());
            }
            return true;
        }
        return QObject::event(e);
    }
};

// Pumps until nothing more arrives (bounded, so a fault cannot hang the test).
void drain() {
    for (int i = 0; i < 1000 && platform::PumpMessages(100) > 0; ++i) {
    }
}

// Checks that `r` received `count` messages, their wParam 0, 1, 2, ... in order.
void ExpectNumberedInOrder(const Recorder& r, std::size_t count) {
    ASSERT_EQ(r.received.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(r.received[i].wParam, i);
    }
}

class PlatformMessages : public ::testing::Test {
protected:
    void SetUp() override { drain(); }
    void TearDown() override { drain(); }
};

TEST_F(PlatformMessages, PostedMessageArrivesWithItsNumberAndParameters) {
    Recorder r;
    ASSERT_TRUE(platform::PostMessage(&r, 4116, 7, -9));
    ASSERT_TRUE(platform::PostMessage(&r, platform::kUmVscanClosed));
    EXPECT_TRUE(r.received.empty()); // queued, not sent
    EXPECT_EQ(platform::PumpMessages(), 2);
    ASSERT_EQ(r.received.size(), 2u);
    EXPECT_EQ(r.received[0].message, 4116u);
    EXPECT_EQ(r.received[0].wParam, 7u);
    EXPECT_EQ(r.received[0].lParam, -9);
    EXPECT_EQ(r.received[1].message, 0x1150u);
}

// The wait the tests, tools and benchmarks share: it delivers what other
// threads post while it waits, ends as soon as its condition holds, and says
// so; a condition that never holds ends it at its limit, not before.
TEST_F(PlatformMessages, PumpUntilDeliversWhileItWaitsAndEndsWhenDone) {
    Recorder r;
    std::thread poster([&r] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        platform::PostMessage(&r, 4116, 1);
    });
    const auto start = std::chrono::steady_clock::now();
    const bool arrived = platform::PumpUntil([&r] { return !r.received.empty(); }, std::chrono::seconds(10));
    const auto waited = std::chrono::steady_clock::now() - start;
    poster.join();
    EXPECT_TRUE(arrived);
    ASSERT_EQ(r.received.size(), 1u);
    EXPECT_EQ(r.received[0].message, 4116u);
    EXPECT_LT(waited, std::chrono::seconds(5)) << "it waited on after its condition held";

    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::PumpUntil([] { return false; }, std::chrono::milliseconds(60)));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(60));
}

// A condition that already holds still gets one pass: what was queued when
// the wait began (the answer to a click just made) is delivered first.
TEST_F(PlatformMessages, PumpUntilMakesOnePassEvenWithItsConditionMet) {
    Recorder r;
    ASSERT_TRUE(platform::PostMessage(&r, 4116));
    EXPECT_TRUE(platform::PumpUntil([] { return true; }));
    EXPECT_EQ(r.received.size(), 1u);
}

TEST_F(PlatformMessages, EventTypeIsTheMessageNumber) {
    const platform::WindowMessage m(0x1200, 1, 2);
    EXPECT_EQ(static_cast<int>(m.type()), 0x1200);
}

TEST_F(PlatformMessages, RefusesNullTargetAndNumbersOutsideTheUserRange) {
    Recorder r;
    EXPECT_FALSE(platform::PostMessage(nullptr, 4096));
    EXPECT_FALSE(platform::PostMessage(&r, 12));    // would be a Qt event of its own
    EXPECT_FALSE(platform::PostMessage(&r, 70000)); // beyond Qt's event types
    drain();
    EXPECT_TRUE(r.received.empty());
}

TEST_F(PlatformMessages, PumpDispatchesAtMostTheLimitAndKeepsTheRestInOrder) {
    Recorder r;
    for (std::uintptr_t i = 0; i < 250; ++i) {
        platform::PostMessage(&r, 4096 + static_cast<unsigned>(i % 100), i);
    }
    EXPECT_EQ(platform::PumpMessages(100), 100);
    EXPECT_EQ(r.received.size(), 100u);
    EXPECT_EQ(platform::PumpMessages(100), 100);
    EXPECT_EQ(platform::PumpMessages(100), 50);
    EXPECT_EQ(platform::PumpMessages(100), 0);
    ExpectNumberedInOrder(r, 250);
}

TEST_F(PlatformMessages, HeldBackMessagesStayAheadOfNewerOnes) {
    Recorder r;
    for (std::uintptr_t i = 0; i < 5; ++i) {
        platform::PostMessage(&r, 4100, i);
    }
    EXPECT_EQ(platform::PumpMessages(2), 2);
    platform::PostMessage(&r, 4100, 5);
    drain();
    ExpectNumberedInOrder(r, 6);
}

TEST_F(PlatformMessages, OtherEventsAreDeliveredEvenWithAZeroLimit) {
    Recorder r;
    bool called = false;
    platform::PostMessage(&r, 4096);
    QMetaObject::invokeMethod(&r, [&called] { called = true; }, Qt::QueuedConnection);
    EXPECT_EQ(platform::PumpMessages(0), 0);
    EXPECT_TRUE(called);
    EXPECT_TRUE(r.received.empty());
    EXPECT_EQ(platform::PumpMessages(), 1);
}

TEST_F(PlatformMessages, NestedPumpCountsItsOwnMessages) {
    // A handler that waits (and pumps) inside a pump, as the console's wait
    // loops do.
    Recorder r;
    int inner = -1;
    r.onMessage = [&](const Received& m) {
        if (m.wParam == 0) {
            inner = platform::PumpMessages(3);
        }
    };
    for (std::uintptr_t i = 0; i < 10; ++i) {
        platform::PostMessage(&r, 4096, i);
    }
    const int outer = platform::PumpMessages(5);
    EXPECT_EQ(inner, 3);
    EXPECT_EQ(outer, 5);
    EXPECT_EQ(r.received.size(), 8u);
    drain();
    ExpectNumberedInOrder(r, 10);
}

TEST_F(PlatformMessages, MessagesFromAnotherThreadAllArriveInOrder) {
    Recorder r;
    platform::QtLinkTarget target(&r);
    constexpr int kCount = 2000;
    std::thread reader([&target] {
        for (int i = 0; i < kCount; ++i) {
            target.post(4116, static_cast<std::uintptr_t>(i), 0);
        }
    });
    reader.join();
    drain();
    ExpectNumberedInOrder(r, kCount);
}

TEST_F(PlatformMessages, LinkTargetPostsNothingOnceTheReceiverIsGone) {
    auto* r = new Recorder;
    platform::QtLinkTarget target(r);
    target.post(4096, 1, 0);
    delete r; // its queued message dies with it
    target.post(4096, 2, 0);
    EXPECT_EQ(platform::PumpMessages(), 0);
}

TEST_F(PlatformMessages, LinkTargetSurvivesReceiverDestroyedWhilePosting) {
    // The read thread keeps posting while the window goes away.
    for (int round = 0; round < 20; ++round) {
        auto* r = new Recorder;
        auto target = std::make_shared<platform::QtLinkTarget>(r);
        std::atomic<bool> stop{false};
        std::thread reader([target, &stop] {
            while (!stop.load()) {
                target->post(4116, 1, 0);
            }
        });
        platform::PumpMessages(50);
        delete r;
        stop = true;
        reader.join();
        drain();
    }
    SUCCEED();
}

TEST_F(PlatformMessages, LinkTargetFollowsANewReceiver) {
    Recorder a;
    Recorder b;
    platform::QtLinkTarget target(&a);
    target.post(4096, 1, 0);
    target.setReceiver(&b);
    target.post(4097, 2, 0);
    target.setReceiver(nullptr);
    target.post(4098, 3, 0);
    drain();
    ASSERT_EQ(a.received.size(), 1u);
    ASSERT_EQ(b.received.size(), 1u);
    EXPECT_EQ(b.received[0].message, 4097u);
}

TEST_F(PlatformMessages, MainWindowReceivesUntilDestroyed) {
    auto* window = new QWidget;
    bool got = false;
    struct Catcher : QObject {
        bool* flag;
        explicit Catcher(bool* f) : flag(f) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == static_cast<QEvent::Type>(platform::kUmRadioReset)) {
                *flag = true;
            }
            return false;
        }
    } catcher(&got);
    window->installEventFilter(&catcher);
    platform::SetMainWindow(window);
    EXPECT_EQ(platform::MainWindow(), window);
    std::thread other([] { EXPECT_TRUE(platform::PostToMainWindow(platform::kUmRadioReset)); });
    other.join();
    drain();
    EXPECT_TRUE(got);
    delete window;
    EXPECT_EQ(platform::MainWindow(), nullptr);
    EXPECT_FALSE(platform::PostToMainWindow(platform::kUmRadioReset));
}

// ------------------------------------------------------------------ timers

// Runs the event loop until `done` or a generous bound; the bound only keeps
// a broken timer from hanging the run, it is not what the test measures.
template <typename Pred>
bool runUntil(Pred done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

TEST(PlatformTimers, TableKeepsOneTimerPerId) {
    platform::TimerTable table([](int) {});
    table.SetTimer(1001, 500);
    table.SetTimer(1002, 1000);
    EXPECT_TRUE(table.IsRunning(1001));
    EXPECT_EQ(table.Interval(1002), 1000);
    table.SetTimer(1001, 200); // restarts with the new period
    EXPECT_EQ(table.Interval(1001), 200);
    table.KillTimer(1001);
    EXPECT_FALSE(table.IsRunning(1001));
    EXPECT_EQ(table.Interval(1001), 0);
    table.KillTimer(1009); // unknown id: nothing happens
    EXPECT_TRUE(table.IsRunning(1002));
    table.KillAll();
    EXPECT_FALSE(table.IsRunning(1002));
}

TEST(PlatformTimers, CallbackGetsTheIdAndMayKillItsOwnTimer) {
    std::vector<int> fired;
    platform::TimerTable* self = nullptr;
    platform::TimerTable table([&](int id) {
        fired.push_back(id);
        self->KillTimer(id);
    });
    self = &table;
    table.SetTimer(1004, 1);
    table.SetTimer(1007, 2);
    ASSERT_TRUE(runUntil([&] { return fired.size() >= 2; }));
    EXPECT_FALSE(table.IsRunning(1004));
    EXPECT_FALSE(table.IsRunning(1007));
    std::sort(fired.begin(), fired.end());
    EXPECT_EQ(fired, (std::vector<int>{1004, 1007}));
}

TEST(PlatformTimers, KilledTimerNeverFires) {
    int fired = 0;
    platform::TimerTable table([&](int) { ++fired; });
    table.SetTimer(1003, 1);
    table.KillTimer(1003);
    int marker = 0;
    platform::TimerTable later([&](int) { ++marker; });
    later.SetTimer(1, 5);
    ASSERT_TRUE(runUntil([&] { return marker > 0; }));
    EXPECT_EQ(fired, 0);
}

} // namespace
