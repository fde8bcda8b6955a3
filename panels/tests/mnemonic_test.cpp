// SPDX-License-Identifier: GPL-3.0-or-later
// Label captions with a marked letter, as the panels' templates write them.
#include "panel_base.h"

#include <gtest/gtest.h>

namespace pandor::test {
namespace {

struct Caption {
    const char* caption;
    const char* shown;
    char marked; // 0: none
};

class Mnemonic : public ::testing::TestWithParam<Caption> {};

TEST_P(Mnemonic, ShowsTheCaptionWithoutItsMarker) {
    QChar marked;
    EXPECT_EQ(StripMnemonic(QString::fromLatin1(GetParam().caption), &marked),
              QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(marked, QChar::fromLatin1(GetParam().marked)) << GetParam().caption;
}

INSTANTIATE_TEST_SUITE_P(Captions, Mnemonic,
                         ::testing::Values(Caption{"Memory &Name", "Memory Name", 'N'},
                                           Caption{"&ALL", "ALL", 'A'},
                                           Caption{"Dial &Wait", "Dial Wait", 'W'},
                                           Caption{"A&&B", "A&B", 0},
                                           Caption{"&&x &y", "&x y", 'y'},
                                           Caption{"&a&b", "ab", 'a'},
                                           Caption{"End&", "End&", 0},
                                           Caption{"", "", 0}));

} // namespace
} // namespace pandor::test
