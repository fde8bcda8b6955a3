// SPDX-License-Identifier: GPL-3.0-or-later
// The extended-menu reader: which items it asks, that only the answer to the
// asked item ends a wait, and which item it asks again at the end.
#include "harness.h"

#include <platform.h>

#include <gtest/gtest.h>

#include <ostream>

#include <atomic>
#include <cstring>
#include <thread>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;

class ExtendedMenu : public ConnectedConsole {
protected:
    void SetUp() override {
        ASSERT_NE(bench, nullptr);
        bench->radio.setFaults(qxsim::Faults{});
        bench->Drain();
        // The identity answer of the drain is handled before a test starts.
        platform::PumpMessages(100);
        // Every test starts from the simulator's own type information.
        Hear("TY000", [] { return TypeDigitIs(0); });
        bench->radio.clearReceived();
    }

    static bool TypeDigitIs(std::uint32_t expected) {
        std::uint32_t bits[8], digit = 9;
        return bench->link->Link().RcvDataTY(&bits[0], &bits[1], &bits[2], &bits[3], &bits[4],
                                             &bits[5], &bits[6], &bits[7], &digit) == 1 &&
               digit == expected && bits[7] == 0;
    }

    // Sends `reply` as if the radio had said it, and lets the console handle it.
    static void Hear(const std::string& reply, const std::function<bool()>& stored) {
        bench->radio.inject(reply + ";");
        ASSERT_TRUE(PumpUntil(stored, 2s)) << reply;
        platform::PumpMessages(100);
    }

    static std::vector<std::string> MenuRequests() {
        std::vector<std::string> out;
        for (const std::string& c : bench->SentBeforeMarker())
            if (c.size() == 9 && c.rfind("EX", 0) == 0)
                out.push_back(c);
        return out;
    }
};

TEST_F(ExtendedMenu, AnswerForAnotherItemDoesNotEndTheWait) {
    qxsim::Faults silent;
    silent.silent = true;
    bench->radio.setFaults(silent);

    std::atomic<bool> stop{false};
    std::atomic<long> askedEarly{-1};
    // Plays the radio: answers every menu request, but the first one is
    // preceded by the answer for another item, and the right answer comes
    // only a while later.
    std::thread radio([&] {
        std::size_t seen = 0;
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!stop && std::chrono::steady_clock::now() < deadline) {
            const auto received = bench->radio.received();
            for (; seen < received.size(); ++seen) {
                const std::string& text = received[seen].text;
                if (text.size() != 9 || text.rfind("EX", 0) != 0)
                    continue;
                if (text == "EX0040000") {
                    bench->radio.inject("EX01901001;");
                    std::this_thread::sleep_for(300ms);
                    askedEarly = static_cast<long>(bench->radio.countOf("EX0050000"));
                }
                bench->radio.inject(text + "0;");
            }
            std::this_thread::sleep_for(1ms);
        }
    });
    bench->link->ReadExtendedMenu();
    stop = true;
    radio.join();

    EXPECT_EQ(askedEarly, 0) << "the next item was asked before its predecessor's answer";
    const std::vector<std::string> expected = {
        "EX0040000", "EX0050000", "EX0060100", "EX0060200", "EX0180000", "EX0190100",
        "EX0200000", "EX0210000", "EX0230000", "EX0250000", "EX0440000", "EX0460000",
        "EX0500100", "EX0610100", "EX0610500", "EX0620500", "EX0000000"};
    const auto requests = MenuRequests();
    EXPECT_EQ(requests, expected) << Joined(requests);
}

TEST_F(ExtendedMenu, ChangedMenuBankIsReadAgainTheSameBankIsNot) {
    const int before = bench->link->State().menuBank;
    ASSERT_GE(before, 0) << "the initial read reports the menu bank";
    bench->radio.setValue("MF", {before == 0 ? 1 : 0});
    ASSERT_TRUE(PumpUntil([] { return bench->radio.countOf("EX0620500") >= 1; }, 5s));
    PumpUntil([] { return bench->link->State().busy == 0; }, 2s);
    EXPECT_EQ(MenuRequests().size(), 17u);

    // The same bank reported again changes nothing.
    bench->Drain();
    bench->radio.inject(before == 0 ? "MF1;" : "MF0;");
    PumpFor(300ms);
    EXPECT_TRUE(MenuRequests().empty());
}

struct LastItemCase {
    const char* name;
    std::string before; // the EX answer the console heard last
    std::string asked;  // the request that ends the reading
};

// Test names and failure messages show the row by its name.
void PrintTo(const LastItemCase& row, std::ostream* out) { *out << row.name; }

class ExtendedMenuLastItem : public ExtendedMenu,
                             public testing::WithParamInterface<LastItemCase> {};

TEST_P(ExtendedMenuLastItem, IsAskedAgainAtTheEnd) {
    const LastItemCase& c = GetParam();
    Hear(c.before, [&] {
        std::uint32_t m = 0, s = 0, a = 0, b = 0;
        char text[corvan::kNameTextSize] = {};
        const std::string key = c.before.substr(2, 7);
        char got[16];
        if (bench->link->Link().RcvDataEX(&m, &s, &a, &b, text) != 1)
            return false;
        std::snprintf(got, sizeof got, "%03u%02u%01u%01u", m, s, a, b);
        return key == got;
    });
    bench->link->ReadExtendedMenu();
    const auto requests = MenuRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), c.asked) << Joined(requests);
}

INSTANTIATE_TEST_SUITE_P(
    Items, ExtendedMenuLastItem,
    testing::Values(LastItemCase{"Menu45Sub1FourthBecomes0", "EX04501035", "EX0450100"},
                    LastItemCase{"Menu45Sub2Kept", "EX04502035", "EX0450203"},
                    LastItemCase{"OtherItemKept", "EX03001022", "EX0300102"}),
    [](const testing::TestParamInfo<LastItemCase>& row) { return row.param.name; });

struct TypeCase {
    const char* name;
    std::string type; // the TY answer
    int items;        // menu items read (without the final request)
};

// Test names and failure messages show the row by its name.
void PrintTo(const TypeCase& row, std::ostream* out) { *out << row.name; }

class ExtendedMenuItems : public ExtendedMenu, public testing::WithParamInterface<TypeCase> {};

TEST_P(ExtendedMenuItems, FollowTheTypeInformation) {
    const TypeCase& c = GetParam();
    Hear(c.type, [&] {
        std::uint32_t bits[8], digit = 9;
        return bench->link->Link().RcvDataTY(&bits[0], &bits[1], &bits[2], &bits[3], &bits[4],
                                             &bits[5], &bits[6], &bits[7], &digit) == 1 &&
               digit == static_cast<std::uint32_t>(c.type[4] - '0') &&
               bits[7] == (c.type[2] >= '8' ? 1u : 0u);
    });
    EXPECT_EQ(bench->link->State().extendedOptions, c.type[2] >= '8' ? 0 : 1);
    bench->link->ReadExtendedMenu();
    const auto requests = MenuRequests();
    ASSERT_EQ(static_cast<int>(requests.size()), c.items + 1) << Joined(requests);
    EXPECT_EQ(requests[12], "EX0500100");
    if (c.items >= 14) {
        EXPECT_EQ(requests[13], "EX0610100");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, ExtendedMenuItems,
    testing::Values(TypeCase{"ExtendedOptions", "TY000", 16},
                    TypeCase{"ExtendedOptionsVersion10", "TY001", 14},
                    TypeCase{"NoExtendedOptions", "TY800", 13}),
    [](const testing::TestParamInfo<TypeCase>& row) { return row.param.name; });

} // namespace
} // namespace zephyra::test
