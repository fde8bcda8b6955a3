// SPDX-License-Identifier: GPL-3.0-or-later
// depth_count.h - counts one running sequence (or settings read) for as long
// as the counter lives: the link's files share it.
#pragma once

namespace zephyra {

class DepthCount {
public:
    explicit DepthCount(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthCount() { --m_depth; }
    DepthCount(const DepthCount&) = delete;
    DepthCount& operator=(const DepthCount&) = delete;

private:
    int& m_depth;
};

} // namespace zephyra
