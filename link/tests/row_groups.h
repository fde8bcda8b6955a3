// SPDX-License-Identifier: GPL-3.0-or-later
// Table rows grouped by a key (a code, a type reply), so that one test runs
// the rows of one key: failures still name the row through SCOPED_TRACE.
#pragma once

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

template <class Row>
struct RowGroup {
    std::string key;
    std::vector<Row> rows;
    friend void PrintTo(const RowGroup& g, std::ostream* os) { *os << g.key; }
};

// Rows with the same key form one group, in the order the keys first appear.
template <class Row, class Container, class KeyOf>
std::vector<RowGroup<Row>> GroupRows(const Container& rows, KeyOf keyOf)
{
    std::vector<RowGroup<Row>> groups;
    for (const Row& row : rows) {
        const std::string key = keyOf(row);
        auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.key == key; });
        if (it == groups.end())
            it = groups.insert(groups.end(), RowGroup<Row>{key, {}});
        it->rows.push_back(row);
    }
    return groups;
}

// The part of a row name before its first "_".
inline std::string NamePrefix(const std::string& name) { return name.substr(0, name.find('_')); }

template <class Row>
std::string GroupName(const ::testing::TestParamInfo<RowGroup<Row>>& info)
{
    std::string name;
    for (char c : info.param.key)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name.empty() ? "none" : name;
}
