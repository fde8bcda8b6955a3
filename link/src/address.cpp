// SPDX-License-Identifier: GPL-3.0-or-later
// Port addresses: device paths and network servers, parsed and written back.
#include <corvan.h>

#include <arpa/inet.h>
#include <cctype>
#include <cstring>
#include <netinet/in.h>

namespace corvan {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Fail(std::string* error, std::string text)
{
    if (error != nullptr)
        *error = std::move(text);
    return false;
}

// A host name: letters, digits, '-', '.', '_' (some local names use it).
bool ValidName(std::string_view host)
{
    if (host.empty() || host.size() > 253)
        return false;
    for (const char c : host) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_'))
            return false;
    }
    return true;
}

bool ValidIpv6(const std::string& host)
{
    in6_addr a{};
    return ::inet_pton(AF_INET6, host.c_str(), &a) == 1;
}

bool ParsePortNumber(std::string_view text, std::uint16_t& out, std::string* error, std::string_view whole)
{
    if (text.empty())
        return Fail(error, "No port number in \"" + std::string(whole) + "\" (write HOST:PORT)");
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return Fail(error, "The port \"" + std::string(text) + "\" is not a number from 1 to 65535");
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (value > 65535)
            return Fail(error, "The port " + std::string(text) + " is out of range (1 to 65535)");
    }
    if (value == 0)
        return Fail(error, "The port 0 is out of range (1 to 65535)");
    out = static_cast<std::uint16_t>(value);
    return true;
}

bool ParseNetwork(std::string_view rest, std::string_view whole, PortAddress& a, std::string* error)
{
    if (!rest.empty() && rest.back() == '/')
        rest.remove_suffix(1); // "tcp://host:2000/" is still clear enough
    if (rest.find('/') != std::string_view::npos || rest.find('@') != std::string_view::npos ||
        rest.find('?') != std::string_view::npos)
        return Fail(error, "Only HOST:PORT may follow the scheme in \"" + std::string(whole) + "\"");
    std::string_view host;
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string_view::npos)
            return Fail(error, "The IPv6 address in \"" + std::string(whole) + "\" lacks its closing ]");
        host = rest.substr(1, close - 1);
        const auto after = rest.substr(close + 1);
        if (after.empty() || after.front() != ':')
            return Fail(error, "No port number in \"" + std::string(whole) + "\" (write [ADDRESS]:PORT)");
        port = after.substr(1);
        if (host.empty())
            return Fail(error, "No host in \"" + std::string(whole) + "\"");
        if (!ValidIpv6(std::string(host)))
            return Fail(error, "\"" + std::string(host) + "\" is not an IPv6 address");
    } else {
        const auto colon = rest.rfind(':');
        if (colon == std::string_view::npos)
            return Fail(error, "No port number in \"" + std::string(whole) + "\" (write HOST:PORT)");
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (host.empty())
            return Fail(error, "No host in \"" + std::string(whole) + "\"");
        if (host.find(':') != std::string_view::npos)
            return Fail(error, "Put an IPv6 address in brackets, as in [" + std::string(host) + "]:PORT");
        if (!ValidName(host))
            return Fail(error, "\"" + std::string(host) + "\" is not a host name or address");
    }
    if (!ParsePortNumber(port, a.port, error, whole))
        return false;
    a.host = std::string(host);
    return true;
}

} // namespace

std::optional<PortAddress> ParsePortAddress(std::string_view text, std::string* error)
{
    if (error != nullptr)
        error->clear();
    if (text.empty()) {
        Fail(error, "No port given");
        return std::nullopt;
    }
    PortAddress a;
    const auto sep = text.find("://");
    // A scheme is letters, digits and '+' before "://"; anything else is a path.
    bool scheme = sep != std::string_view::npos && sep > 0;
    for (std::size_t i = 0; scheme && i < sep; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        scheme = std::isalnum(c) != 0 || c == '+' || c == '-' || c == '.';
    }
    if (!scheme) {
        a.kind = PortAddress::Kind::Device;
        a.path = std::string(text);
        return a;
    }
    const std::string name = Lower(text.substr(0, sep));
    if (name == "rfc2217") {
        a.kind = PortAddress::Kind::Rfc2217;
    } else if (name == "rfc2217+tls") {
        a.kind = PortAddress::Kind::Rfc2217;
        a.tls = true;
    } else if (name == "tcp") {
        a.kind = PortAddress::Kind::Tcp;
    } else if (name == "tcp+tls") {
        a.kind = PortAddress::Kind::Tcp;
        a.tls = true;
    } else {
        Fail(error, "Unknown scheme \"" + std::string(text.substr(0, sep)) +
                        "\" (use rfc2217://, tcp://, rfc2217+tls:// or tcp+tls://)");
        return std::nullopt;
    }
    if (!ParseNetwork(text.substr(sep + 3), text, a, error))
        return std::nullopt;
    return a;
}

bool IsLoopback(const PortAddress& address)
{
    if (address.kind == PortAddress::Kind::Device)
        return true;
    const std::string host = Lower(address.host);
    if (host == "localhost" || (host.size() > 10 && host.ends_with(".localhost")))
        return true;
    in_addr v4{};
    if (::inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (::inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_LOOPBACK(&v6))
            return true;
        return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
    }
    return false;
}

std::string DescribePort(const PortAddress& address)
{
    if (address.kind == PortAddress::Kind::Device)
        return address.path;
    const bool v6 = address.host.find(':') != std::string::npos;
    return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

std::string PortAddressText(const PortAddress& address)
{
    switch (address.kind) {
    case PortAddress::Kind::Device:
        return address.path;
    case PortAddress::Kind::Rfc2217:
        return std::string(address.tls ? "rfc2217+tls://" : "rfc2217://") + DescribePort(address);
    case PortAddress::Kind::Tcp:
        break;
    }
    return std::string(address.tls ? "tcp+tls://" : "tcp://") + DescribePort(address);
}

} // namespace corvan
