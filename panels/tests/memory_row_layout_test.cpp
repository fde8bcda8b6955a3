// SPDX-License-Identifier: GPL-3.0-or-later
// The memory channel editor as the operator reads it: each frequency row,
// read from left to right on the screen, groups its digits in threes with a
// point between the groups ("145.500.000"), in both rows.
#include "memory_lists.h"
#include "test_helpers.h"

#include <kestrin.h>

#include <algorithm>
#include <map>
#include <vector>

namespace pandor::test {
namespace {

class MemoryRowLayout : public MemoryPanelTest {
protected:
    void Load(std::int64_t rx, std::int64_t tx) {
        PandorSetMemVal(static_cast<std::uint32_t>(rx), static_cast<std::uint32_t>(rx >> 32), 4, 9,
                        static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(tx >> 32), 4, 2, 600'000, 2, 1,
                        12, 13, 20, 2, 5, "RPT", 0);
        Deliver();
    }
    // The one-character fields of the panel (digits and points) on each
    // line of the screen, read left to right; lines from top to bottom.
    std::vector<QString> ScreenLines() const {
        std::map<int, std::vector<const CStaticEx*>> byLine;
        for (const CStaticEx* field : panel->findChildren<CStaticEx*>()) {
            if (field->text().size() == 1 && field->isVisibleTo(panel))
                byLine[field->geometry().center().y()].push_back(field);
        }
        std::vector<QString> lines;
        for (auto& [y, fields] : byLine) {
            std::sort(fields.begin(), fields.end(),
                      [](const CStaticEx* a, const CStaticEx* b) { return a->geometry().x() < b->geometry().x(); });
            QString line;
            for (const CStaticEx* field : fields)
                line += field->text();
            lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(MemoryRowLayout, BothRowsReadLeftToRightWithThePointsBetweenGroupsOfThree) {
    struct Case {
        std::int64_t rx, tx;
        const char* rxShown;
        const char* txShown;
    };
    for (const Case& c : {Case{145'500'000, 145'100'000, "   145.500.000", "   145.100.000"},
                          Case{1'296'123'456, 7'074'000, " 1.296.123.456", "     7.074.000"},
                          Case{99'999'999'999, 430'050'000, "99.999.999.999", "   430.050.000"}}) {
        SCOPED_TRACE(c.rxShown);
        Load(c.rx, c.tx);
        EXPECT_EQ(panel->RowText(CMemoryPanel::kRx), QString::fromLatin1(c.rxShown));
        const std::vector<QString> lines = ScreenLines();
        ASSERT_EQ(lines.size(), 2u) << "two frequency rows expected";
        EXPECT_EQ(lines[0], QString::fromLatin1(c.rxShown)) << "receive row as seen";
        EXPECT_EQ(lines[1], QString::fromLatin1(c.txShown)) << "transmit row as seen";
    }
}

} // namespace
} // namespace pandor::test
