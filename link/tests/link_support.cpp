// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers the link's tests share.
#include "link_support.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <utility>
#include <unistd.h>

termios TermiosOf(const std::string& path)
{
    termios t{};
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ::tcgetattr(fd, &t);
    ::close(fd);
    return t;
}

MessageBoxes::MessageBoxes()
{
    CCorvan::SetMessageBoxHandler([this](const char* text) { shown.push_back(text); });
}

MessageBoxes::~MessageBoxes() { CCorvan::SetMessageBoxHandler(nullptr); }

TempFile::TempFile(std::string pattern) : m_path(std::move(pattern))
{
    const int fd = ::mkstemp(m_path.data());
    m_made = fd >= 0;
    if (m_made)
        ::close(fd);
}

TempFile::~TempFile()
{
    if (m_made)
        ::unlink(m_path.c_str());
}

std::string TempFile::text() const
{
    std::ifstream in(m_path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}
