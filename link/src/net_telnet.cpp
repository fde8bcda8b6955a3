// SPDX-License-Identifier: GPL-3.0-or-later
// The telnet side of the network stream: option negotiation, the COM-port
// subnegotiations, data taken apart from commands, and the line settings
// sent and checked against what the server says it holds (RFC 2217).
#include "net_stream.h"
#include "net_tcp.h"
#include "telnet_codes.h"

#include "trace.h"

#include <poll.h>
#include <string>
#include <vector>

namespace corvan::detail {

void Stream::SendCommand(unsigned char verb, unsigned char option)
{
    const unsigned char cmd[3] = {kIac, verb, option};
    Queue(cmd, sizeof cmd);
}

void Stream::SendComPort(unsigned char command, const unsigned char* value, std::size_t length)
{
    std::vector<unsigned char> sb = {kIac, kSb, kOptComPort, command};
    for (std::size_t i = 0; i < length; ++i) {
        sb.push_back(value[i]);
        if (value[i] == kIac)
            sb.push_back(kIac);
    }
    sb.push_back(kIac);
    sb.push_back(kSe);
    Queue(sb.data(), sb.size());
}

// The server asks for an option on, on our side (DO) or its own (WILL): one
// this side does not take part in is refused with `no`, one that is off is
// taken with `yes`, one already on is not answered.
void Stream::Agree(Q& state, bool takesPart, unsigned char option, unsigned char yes, unsigned char no)
{
    if (!takesPart) {
        SendCommand(no, option);
    } else if (state == Q::No) {
        state = Q::Yes;
        SendCommand(yes, option);
    } else {
        state = Q::Yes;
    }
}

// The server asks for an option off (DONT or WONT): always granted, and
// answered with `no` only when it was on.
void Stream::Withdraw(Q& state, unsigned char option, unsigned char no)
{
    if (state == Q::Yes)
        SendCommand(no, option);
    state = Q::No;
}

// Option negotiation, kept loop-free: a request for a state already held is
// not answered, an option this side does not take part in is refused.
void Stream::Negotiate(unsigned char verb, unsigned char option)
{
    const bool weDo = option == kOptBinary || option == kOptSga || option == kOptComPort;
    const bool heMay = option == kOptBinary || option == kOptSga;
    switch (verb) {
    case kDo:
        Agree(m_us[option], weDo, option, kWill, kWont);
        break;
    case kDont: {
        const bool comWasOn = option == kOptComPort && m_us[option] != Q::No;
        Withdraw(m_us[option], option, kWont);
        if (comWasOn) {
            m_comRefused = true;
            TraceNote("%s refused the COM-port option", m_where.c_str());
        }
        break;
    }
    case kWill:
        Agree(m_him[option], heMay, option, kDo, kDont);
        break;
    case kWont:
        Withdraw(m_him[option], option, kDont);
        break;
    default:
        break;
    }
}

void Stream::Subnegotiation()
{
    if (m_sb.size() < 2 || m_sb[0] != kOptComPort)
        return;
    const unsigned char command = m_sb[1];
    const unsigned char* v = m_sb.data() + 2;
    const std::size_t n = m_sb.size() - 2;
    if (command < kServerOffset)
        return; // a client command from the server: not ours to answer
    switch (command - kServerOffset) {
    case kSetBaud:
        if (n >= 4) {
            m_gotBaud = (std::uint32_t{v[0]} << 24) | (std::uint32_t{v[1]} << 16) | (std::uint32_t{v[2]} << 8) | v[3];
            if (m_timing) {
                m_timing = false;
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_sentAt).count();
                m_rttMs = static_cast<std::uint32_t>(std::max<long long>(ms, 0));
            }
        }
        break;
    case kSetDataSize:
        if (n >= 1)
            m_gotSize = v[0];
        break;
    case kSetParity:
        if (n >= 1)
            m_gotParity = v[0];
        break;
    case kSetStopSize:
        if (n >= 1)
            m_gotStop = v[0];
        break;
    case kNotifyLineState:
        if (n >= 1 && (v[0] & 0x1E) != 0)
            TraceNote("line state from %s: 0x%02X", m_where.c_str(), v[0]);
        break;
    case kNotifyModemState:
    case kSetControl:
    case kPurgeData:
    default:
        break;
    }
}

void Stream::Telnet(unsigned char byte)
{
    switch (m_tn) {
    case Tn::Data:
        if (byte == kIac)
            m_tn = Tn::Iac;
        else
            m_hold.push_back(byte);
        break;
    case Tn::Iac:
        if (byte == kIac) {
            m_hold.push_back(kIac);
            m_tn = Tn::Data;
        } else if (byte >= kWill && byte <= kDont) {
            m_verb = byte;
            m_tn = Tn::Verb;
        } else if (byte == kSb) {
            m_sb.clear();
            m_tn = Tn::Sb;
        } else {
            m_tn = Tn::Data; // NOP, GA, data mark, ...: nothing to do
        }
        break;
    case Tn::Verb:
        Negotiate(m_verb, byte);
        m_tn = Tn::Data;
        break;
    case Tn::Sb:
        if (byte == kIac)
            m_tn = Tn::SbIac;
        else if (m_sb.size() < 64)
            m_sb.push_back(byte);
        break;
    case Tn::SbIac:
        if (byte == kIac) {
            if (m_sb.size() < 64)
                m_sb.push_back(kIac);
            m_tn = Tn::Sb;
        } else {
            Subnegotiation(); // IAC SE (or a malformed end: taken as the end)
            m_tn = Tn::Data;
        }
        break;
    }
}

PortError Stream::Apply(const PortSettings& s, bool wait, Clock::time_point deadline, std::string& why)
{
    if (!m_telnet)
        return PortError::None; // raw: the server's own settings hold
    unsigned char parity = 1;  // none
    switch (s.parity) {
    case 'O':
    case 'o':
        parity = 2;
        break;
    case 'E':
    case 'e':
        parity = 3;
        break;
    case 'M':
    case 'm':
        parity = 4;
        break;
    case 'S':
    case 's':
        parity = 5;
        break;
    default:
        break;
    }
    const unsigned char size = static_cast<unsigned char>(s.dataBits);
    const unsigned char stop = s.stopBits == 2 ? 2 : 1;
    const unsigned char baud[4] = {static_cast<unsigned char>(s.baud >> 24), static_cast<unsigned char>(s.baud >> 16),
                                   static_cast<unsigned char>(s.baud >> 8), static_cast<unsigned char>(s.baud)};
    const unsigned char zero[4] = {0, 0, 0, 0}; // value 0: "tell me the current one"
    std::unique_lock lock(m_io);
    if (m_gone)
        return PortError::Gone;

    auto sendSettings = [&](bool query) {
        m_gotBaud = 0;
        m_gotSize = m_gotParity = m_gotStop = -1;
        if (!query) {
            const unsigned char noFlow = kControlNoFlow;
            const unsigned char dtrOff = kControlDtrOff;
            const unsigned char rtsOn = kControlRtsOn;
            SendComPort(kSetControl, &noFlow, 1);
            SendComPort(kSetControl, &dtrOff, 1);
            SendComPort(kSetControl, &rtsOn, 1);
        }
        if (query && !m_measured) {
            // The answer to the first query measures the round trip to the
            // server (a setting's answer may wait for the device as well).
            m_sentAt = Clock::now();
            m_timing = true;
            m_measured = true;
        }
        SendComPort(kSetBaud, query ? zero : baud, 4);
        SendComPort(kSetDataSize, query ? zero : &size, 1);
        SendComPort(kSetParity, query ? zero : &parity, 1);
        SendComPort(kSetStopSize, query ? zero : &stop, 1);
    };
    // Waits for the server's four answers; PortError::None once they came.
    auto awaitAnswers = [&]() -> PortError {
        for (;;) {
            if (m_comRefused) {
                why = m_where + " does not take line settings (RFC 2217 is off there; tcp:// is its raw mode)";
                return PortError::BadSettings;
            }
            if (m_gotBaud != 0 && m_gotSize >= 0 && m_gotParity >= 0 && m_gotStop >= 0)
                return PortError::None;
            if (!m_out.empty() && Flush() == Io::Failed) {
                Dropped();
                why = m_lossText;
                return PortError::Gone;
            }
            lock.unlock();
            pollfd pfd{m_fd, POLLIN, 0};
            const int ms = PollMs(deadline);
            const int pr = ms == 0 ? 0 : ::poll(&pfd, 1, ms);
            lock.lock();
            if (pr == 0 && Clock::now() >= deadline) {
                why = "No answer to the line settings from " + m_where + " (is RFC 2217 on there?)";
                return PortError::Again;
            }
            PortError e = PortError::None;
            if (pr > 0 && !Pump(e)) {
                why = m_lossText.empty() ? "The connection to " + m_where + " has gone" : m_lossText;
                return PortError::Gone;
            }
        }
    };

    sendSettings(false);
    if (!wait)
        return PortError::None;
    // The server confirms each setting, but it may carry out several sent
    // together in an order of its own, so that one undoes another. What it
    // holds in the end is asked for afterwards; settings that did not hold
    // are sent again, one round at a time.
    // Says which setting differs from the one asked for; false when none.
    auto differs = [&]() {
        const char* what = nullptr;
        long asked = 0;
        long got = 0;
        if (m_gotBaud != s.baud) {
            what = "baud rate";
            asked = s.baud;
            got = m_gotBaud;
        } else if (m_gotSize != size) {
            what = "data bits";
            asked = size;
            got = m_gotSize;
        } else if (m_gotParity != parity) {
            what = "parity";
            asked = parity;
            got = m_gotParity;
        } else if (m_gotStop != stop) {
            what = "stop bits";
            asked = stop;
            got = m_gotStop;
        }
        if (what != nullptr)
            why = m_where + " set the " + what + " to " + std::to_string(got) + " instead of " + std::to_string(asked);
        return what != nullptr;
    };
    for (int round = 0;; ++round) {
        PortError e = awaitAnswers();
        if (e != PortError::None)
            return e;
        if (differs())
            return PortError::BadSettings; // the server said it set something else
        sendSettings(true);
        e = awaitAnswers();
        if (e != PortError::None)
            return e;
        TraceNote("%s holds baud=%u data=%d parity=%d stop=%d", m_where.c_str(), m_gotBaud, m_gotSize, m_gotParity,
                  m_gotStop);
        if (!differs())
            break;
        if (round == 2)
            return PortError::BadSettings;
        why.clear();
        sendSettings(false);
    }
    m_connecting = false;
    return PortError::None;
}

bool Stream::StartTelnet(Clock::time_point deadline, std::string& why)
{
    (void)deadline;
    (void)why;
    m_telnet = true;
    std::lock_guard lock(m_io);
    m_us[kOptComPort] = Q::WantYes;
    m_us[kOptBinary] = Q::WantYes;
    m_him[kOptBinary] = Q::WantYes;
    m_us[kOptSga] = Q::WantYes;
    m_him[kOptSga] = Q::WantYes;
    SendCommand(kWill, kOptComPort);
    SendCommand(kWill, kOptBinary);
    SendCommand(kDo, kOptBinary);
    SendCommand(kWill, kOptSga);
    SendCommand(kDo, kOptSga);
    return !m_gone;
}

} // namespace corvan::detail
