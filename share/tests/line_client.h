// SPDX-License-Identifier: GPL-3.0-or-later
// line_client.h - a plain TCP client over POSIX sockets for the sharing
// tests and the bench, and the XML-RPC requests their clients send. It never
// runs an event loop of its own: a caller on the server's thread passes a
// pump that keeps the server going while it waits (the load test's threads
// pass none).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace share_test {

class LineClient {
public:
    using Pump = std::function<void()>;

    LineClient() = default;
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;
    ~LineClient() { Close(); }

    bool Connect(std::uint16_t port, const char* address = "127.0.0.1") {
        Close();
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_fd < 0)
            return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &to.sin_addr);
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            Close();
            return false;
        }
        return true;
    }
    void Close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_pending.clear();
    }
    bool Open() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    bool Send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    // Reads until `complete(received)` holds, the peer closes, or the time
    // runs out. Returns what was received for this answer; the rest stays.
    std::string ReadUntil(const std::function<std::size_t(const std::string&)>& complete,
                          std::chrono::milliseconds timeout, const Pump& pump = {}) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const std::size_t n = complete(m_pending); n > 0) {
                std::string out = m_pending.substr(0, n);
                m_pending.erase(0, n);
                return out;
            }
            if (std::chrono::steady_clock::now() >= end || m_fd < 0)
                break;
            if (pump)
                pump();
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, pump ? 1 : 20) > 0) {
                char buffer[4096];
                const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    m_closed = true;
                    break;
                }
                m_pending.append(buffer, static_cast<std::size_t>(n));
            }
        }
        std::string out;
        out.swap(m_pending);
        return out;
    }

    // Everything up to and with the first `marker` ("</methodResponse>").
    std::string ReadThrough(const std::string& marker, std::chrono::milliseconds timeout, const Pump& pump = {}) {
        return ReadUntil(
            [&marker](const std::string& s) {
                const auto end = s.find(marker);
                return end == std::string::npos ? 0 : end + marker.size();
            },
            timeout, pump);
    }
    // One whole HTTP response: its header and the body its Content-Length
    // gives.
    std::string ReadHttpResponse(std::chrono::milliseconds timeout, const Pump& pump = {}) {
        return ReadUntil(
            [](const std::string& s) {
                const auto end = s.find("\r\n\r\n");
                if (end == std::string::npos)
                    return std::size_t{0};
                const auto at = s.find("Content-Length: ");
                const std::size_t length = at == std::string::npos ? 0 : std::stoul(s.substr(at + 16));
                return s.size() >= end + 4 + length ? end + 4 + length : 0;
            },
            timeout, pump);
    }
    // One line ending in "\n" (with it).
    std::string ReadLine(std::chrono::milliseconds timeout, const Pump& pump = {}) {
        return ReadUntil([](const std::string& s) { const auto n = s.find('\n'); return n == std::string::npos ? 0 : n + 1; },
                         timeout, pump);
    }
    // An answer of `lines` lines.
    std::string ReadLines(int lines, std::chrono::milliseconds timeout, const Pump& pump = {}) {
        return ReadUntil([lines](const std::string& s) { return LinesEnd(s, lines); }, timeout, pump);
    }
    // An answer that ends with a line starting "RPRT ".
    std::string ReadReport(std::chrono::milliseconds timeout, const Pump& pump = {}) {
        return ReadUntil(
            [](const std::string& s) {
                std::size_t at = 0;
                for (;;) {
                    const auto n = s.find('\n', at);
                    if (n == std::string::npos)
                        return std::size_t{0};
                    if (s.compare(at, 5, "RPRT ") == 0)
                        return n + 1;
                    at = n + 1;
                }
            },
            timeout, pump);
    }
    // Sends `line` and its newline, then reads a plain answer: a get's
    // `lines` value lines, or one "RPRT" line when the first line is one.
    std::string Ask(const std::string& line, int lines, std::chrono::milliseconds timeout,
                    const Pump& pump = {}) {
        if (!Send(line + "\n"))
            return {};
        return ReadUntil(
            [lines](const std::string& s) {
                return LinesEnd(s, s.compare(0, 5, "RPRT ") == 0 ? 1 : lines);
            },
            timeout, pump);
    }
    // True once the peer has closed the connection.
    bool WaitClosed(std::chrono::milliseconds timeout, const Pump& pump = {}) {
        ReadUntil([](const std::string&) { return std::size_t{0}; }, timeout, pump);
        return m_closed;
    }

    // Where the `lines` lines of `s` from `from` on end; 0 while they have
    // not all come.
    static std::size_t LinesEnd(const std::string& s, int lines, std::size_t from = 0) {
        std::size_t at = from;
        for (int i = 0; i < lines; ++i) {
            const auto n = s.find('\n', at);
            if (n == std::string::npos)
                return 0;
            at = n + 1;
        }
        return at;
    }

private:
    int m_fd = -1;
    bool m_closed = false;
    std::string m_pending;
};

// The lines of an answer, without their ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The body of an XML-RPC call of `method` with `params` (its <param>
// elements).
inline std::string XmlRpcCall(const std::string& method, const std::string& params = "") {
    return "<?xml version=\"1.0\"?><methodCall><methodName>" + method + "</methodName><params>" + params +
           "</params></methodCall>";
}

// One <param> of `type` ("int", "string", ...) holding `value`.
inline std::string XmlRpcParam(const std::string& type, const std::string& value) {
    return "<param><value><" + type + ">" + value + "</" + type + "></value></param>";
}

// `body` posted to the XML-RPC server, with `connection` as the Connection
// header (none when null).
inline std::string XmlRpcPost(const std::string& body, const char* connection = "keep-alive") {
    return "POST /RPC2 HTTP/1.1\r\nHost: localhost\r\nContent-Type: text/xml\r\n" +
           (connection ? "Connection: " + std::string(connection) + "\r\n" : std::string()) +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The first group of each match of `pattern` in `text`, in order.
inline std::vector<std::string> Captures(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> out;
    const std::sregex_iterator end;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != end; ++it)
        out.push_back((*it)[1]);
    return out;
}

} // namespace share_test
