// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of a full Control > ON, from opening the port to the end of
// the initial read, compared with the radio's fixed reading order.
#include "harness.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

namespace zephyra::test {
namespace {

using Commands_t = std::vector<std::string>;

Commands_t operator+(Commands_t a, const Commands_t& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Opening the port (the link's own probe), ControlOn up to the power read,
// and the power-on answer.
const Commands_t kConnect19 = {"ID", "TC 1", "ID", "PS", "KY", "RM"};
// The 1 family has no terminal command.
const Commands_t kConnect18 = {"ID", "ID", "PS", "KY", "RM"};

const Commands_t kExtendedMenuAll = {
    "EX0040000", "EX0050000", "EX0060100", "EX0060200", "EX0180000", "EX0190100",
    "EX0200000", "EX0210000", "EX0230000", "EX0250000", "EX0440000", "EX0460000",
    "EX0500100", "EX0610100", "EX0610500", "EX0620500",
    // the item shown before the reading (none yet) is asked again
    "EX0000000"};

// Steps 5 to 15 for the 3 family.
const Commands_t kBody19 = {
    "FW", "SC",                                                  // 5
    "AC", "AN", "RG", "BC", "TO",                                // 6
    "DQ", "CT", "CA", "FS", "GT",                                // 7
    "LK", "NB", "NR", "NT", "PA", "PR", "RA", "VX",              // 8
    "AG0", "SQ0", "BP", "BY", "CN", "GT",                        // 9
    "KS", "MG", "PC", "SD", "TN", "VD", "VG",                    // 10
    "AR0", "AM", "CM", "AG1", "SQ1", "ST", "RA",                 // 11
    "AL", "CG", "DQ", "ML", "NL", "OF", "OS", "PA",              // 12
    "PL", "RL", "QC", "LT", "LM", "PM", "PB",                    // 13
    "QR", "TI", "SH", "SL",                                      // 14
    "IS", "TS"};                                                 // 15

// Steps 17 to 21 for the 3 family.
const Commands_t kTail19 = {"MC", "FR", "FT", "RT", "XT", "AI2", "AI",
                            "RM", "SA", "SM0", "SM1", "SB"};

// The same steps as the 1 family's builders send them: its commands carry
// no receiver digit and the codes it lacks are not sent at all.
const Commands_t kBody18 = {
    "FW", "SC",
    "AC", "AN", "RG", "BC", "TO",
    "CT", "CA", "FS", "GT",
    "LK", "NB", "NR", "PA", "PR", "RA", "VX",
    "AG", "SQ", "BY", "CN", "GT",
    "KS", "MG", "PC", "SD", "TN", "VD", "VG",
    "AM", "AG", "SQ", "RA",
    "PA",
    "LM", "PB",
    "SH", "SL",
    "IS"};
const Commands_t kTail18 = {"MC", "FR", "FT", "RT", "XT", "AI2", "AI", "RM", "SM", "SM"};

struct SequenceCase {
    const char* name;
    int identity;
    std::function<void(qxsim::State&)> setup;
    Commands_t expected;
};

// Test names and failure messages show the row by its name.
void PrintTo(const SequenceCase& row, std::ostream* out) { *out << row.name; }

std::string CaseName(const testing::TestParamInfo<SequenceCase>& row) {
    return row.param.name;
}

class ConnectSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(ConnectSequence, FollowsTheReadingOrder) {
    const SequenceCase& c = GetParam();
    qxsim::Options options;
    options.identity = c.identity;
    Bench bench(options);
    if (c.setup)
        bench.radio.modify(c.setup);

    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_EQ(bench.settingsReads, 1);
    EXPECT_EQ(bench.link->State().radioIdentification, c.identity);

    // The radio records on its own thread: let it catch up with the last one.
    bench.radio.waitFor(
        [&](const std::vector<qxsim::Received>& received) {
            std::size_t count = 0;
            for (const qxsim::Received& r : received)
                count += r.text.empty() ? 0 : 1;
            return count >= c.expected.size();
        },
        std::chrono::seconds(2));
    const Commands_t got = Commands(bench.radio);
    EXPECT_EQ(got, c.expected) << "got:      " << Joined(got)
                               << "\nexpected: " << Joined(c.expected);

    // Connected and synchronised: menu, lamp and pictures follow.
    ExpectSurfaceOf(bench, true);
    EXPECT_TRUE(bench.surface.live);
    // Every notification also reaches the console's own handlers.
    EXPECT_GE(bench.forwarded[corvan::MessageOf("FW")], 1);
    EXPECT_GE(bench.forwarded[corvan::MessageOf("PS")], 1);
}

INSTANTIATE_TEST_SUITE_P(
    Identities, ConnectSequence,
    testing::Values(
        SequenceCase{"Identity19", 19, nullptr,
                     kConnect19 + Commands_t{"LK", "AI2", "TY"} + kExtendedMenuAll +
                         Commands_t{"LK21", "CM", "MF", "DC"} + kBody19 + Commands_t{"DC00"} +
                         // Control > ON holds the guard the read runs in: the
                         // lock comes back when ON ends.
                         kTail19 + Commands_t{"EX0000000", "LK00"}},
        SequenceCase{"Identity18", 18, nullptr,
                     kConnect18 + Commands_t{"LK", "AI2"} + kBody18 + kTail18 +
                         Commands_t{"EX"}},
        // Repeater locked and the sub band in control: the remote modes are
        // switched off for the read and only the repeater comes back; the
        // read runs with the control band on main and ends with it on sub.
        SequenceCase{"Identity19RepeaterOnSubControl", 19,
                     [](qxsim::State& s) {
                         s.menu["0610100"] = "1";
                         s.controlBand = 1;
                     },
                     kConnect19 + Commands_t{"LK", "AI2", "TY"} + kExtendedMenuAll +
                         Commands_t{"LK21", "EX06101000", "EX0610100", "EX06105000",
                                    "EX0610500", "EX06205000", "EX0620500", "CM0", "MF",
                                    "DC", "DC00", "DC"} +
                         kBody19 + Commands_t{"DC01"} + kTail19 +
                         Commands_t{"EX06101001", "EX0610100", "LK00"}}),
    CaseName);

} // namespace
} // namespace zephyra::test
