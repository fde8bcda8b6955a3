// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and closing the link, writing, the identity probe.
#include "block.h"
#include "decoder.h"
#include "link.h"
#include "status.h"
#include "testing.h"
#include "trace.h"

#include <corvan.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace corvan::detail {

namespace {

using namespace std::chrono_literals;

std::mutex g_boxMu;
std::function<void(const char*)> g_box; // guarded by g_boxMu
std::atomic<bool> g_openFailureBox{true};

void ShowOpenFailure()
{
    if (g_openFailureBox.load())
        ShowMessage("Error opening COM port");
}

// Fixed settling pauses of the connect sequence (100 ms each) and the time
// the identity probe waits (500 ms). Tests shorten the pauses.
std::atomic<int> g_settleMs{100};
std::atomic<int> g_probeMs{500};
// The whole of connecting to a network address: lookup, connection, TLS and
// the line settings' confirmation. A dead host must not hang the console.
std::atomic<int> g_connectMs{5000};
constexpr auto kProbeStep = 1ms;

std::uint32_t ModelFromName(const char* model)
{
    if (model == nullptr)
        return 0;
    if (std::strcmp(model, "QX-410") == 0)
        return 1;
    if (std::strcmp(model, "QX-620") == 0)
        return 2;
    if (std::strcmp(model, "QR-7730") == 0)
        return 3;
    return 0;
}

// Time the line needs for `length` bytes at the configured rate (10 bits a
// byte), plus a generous margin for a slow driver.
std::chrono::milliseconds WriteLimit(std::size_t length, std::uint32_t baud)
{
    const auto rate = baud == 0 ? 9600 : baud;
    return std::chrono::milliseconds(2000 + length * 10 * 1000 / rate);
}

// The operator's words for a device that did not open.
std::string DeviceOpenError(PortError e, const char* path)
{
    const std::string p = path != nullptr ? path : "";
    switch (e) {
    case PortError::NotFound:
        return p.empty() ? "No port given" : "No such device " + p;
    case PortError::Permission:
        return "Permission denied on " + p;
    case PortError::Busy:
        return p + " is busy (another program has it open)";
    case PortError::NotTerminal:
        return p + " is not a serial device";
    case PortError::BadSettings:
        return "The line settings were refused by " + p;
    default:
        break;
    }
    return std::string("Could not open ") + p + ": " + PortErrorText(e);
}

} // namespace

Link::~Link()
{
    if (reader.joinable())
        StopReader(*this);
}

Link& TheLink()
{
    // The block is made first so that it outlives the link (and its thread)
    // when the program ends.
    Global();
    static Link link;
    return link;
}

void ShowMessage(const char* text)
{
    std::function<void(const char*)> box;
    {
        std::lock_guard lock(g_boxMu);
        box = g_box;
    }
    if (box)
        box(text);
    else
        std::fprintf(stderr, "%s\n", text);
}

std::int32_t WriteBytes(const void* data, std::size_t length)
{
    Link& link = TheLink();
    std::lock_guard lock(link.writeMu);
    if (link.portOpen.load() == 0 || !link.port.isOpen())
        return 0;
    TraceBytes('>', data, length);
    const PortError e = link.port.WriteAll(data, length, WriteLimit(length, link.baud));
    if (e != PortError::None) {
        TraceNote("write failed: %s", PortErrorText(e));
        return 0;
    }
    return 1;
}

bool CanSend()
{
    return TheLink().portOpen.load() != 0 && Global().directMode.load() == 0;
}

} // namespace corvan::detail

namespace corvan::testing {

void SetConnPauses(int settleMs, int probeMs)
{
    detail::g_settleMs.store(settleMs);
    detail::g_probeMs.store(probeMs);
}

void SetConnectLimit(int ms) { detail::g_connectMs.store(ms); }

} // namespace corvan::testing

using namespace corvan::detail;

void corvan::SetOpenFailureBox(bool shown) { g_openFailureBox.store(shown); }

void CCorvan::SetMessageBoxHandler(std::function<void(const char* text)> handler)
{
    std::lock_guard lock(g_boxMu);
    g_box = std::move(handler);
}

bool CCorvan::SetTrace(const char* path)
{
    TraceInit(); // a later first Conn must not reopen the variable's file
    return TraceOpen(path);
}

bool CCorvan::IsOpen() { return TheLink().portOpen.load() != 0; }

std::uint32_t CCorvan::GetModelType() { return Global().modelType.load(); }

bool CCorvan::IsDirectMode() { return Global().directMode.load() != 0; }

std::int32_t CCorvan::Conn(const char* model, const char* port, std::uint32_t baud, const char* parity,
                           std::uint32_t dataBits, std::uint32_t stopBits, std::int32_t clear)
{
    TraceInit();
    Link& link = TheLink();
    Block& block = Global();
    std::lock_guard connLock(link.connMu);
    const PortSettings settings{baud, parity != nullptr ? parity[0] : 'n', dataBits, stopBits};
    link.portOpen.store(1);

    if (link.port.isOpen()) {
        // Already open: only the line settings change.
        std::lock_guard lock(link.writeMu);
        const PortError e = link.port.Apply(settings);
        char text[100];
        std::snprintf(text, sizeof text, "%s: baud=%u parity=%s data=%u stop=%u", port ? port : "",
                      baud, parity ? parity : "", dataBits, stopBits);
        TraceNote("%s%s%s", text, e == PortError::None ? "" : " - ", e == PortError::None ? "" : PortErrorText(e));
        if (e == PortError::None)
            link.baud = baud;
        return link.portOpen.load();
    }

    PortError e = PortError::BadSettings;
    std::string why;
    const auto address = corvan::ParsePortAddress(port != nullptr ? port : "", &why);
    if (!address) {
        e = PortError::NotFound;
    } else if (!ValidSettings(settings)) {
        why = "Unsupported line settings: " + std::to_string(baud) + " baud, " + std::to_string(dataBits) +
              " data bits, " + std::to_string(stopBits) + " stop bits";
    } else if (address->kind == corvan::PortAddress::Kind::Device) {
        std::lock_guard lock(link.writeMu);
        e = link.port.Open(port);
        if (e == PortError::None) {
            e = link.port.Apply(settings);
            if (e != PortError::None)
                link.port.Close();
        }
    } else {
        ClearLossText();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(g_connectMs.load());
        std::lock_guard lock(link.writeMu);
        e = link.port.OpenNetwork(*address, CurrentTlsOptions(), deadline, why);
        if (e == PortError::None) {
            e = link.port.Apply(settings, true, deadline, why);
            if (e != PortError::None)
                link.port.Close();
        }
    }
    if (e != PortError::None) {
        if (why.empty())
            why = DeviceOpenError(e, port);
        TraceNote("open %s failed: %s", port ? port : "(none)", why.c_str());
        SetOpenError(why);
        ClearLossText();
        link.portOpen.store(0);
        ShowOpenFailure();
        return 0;
    }
    link.baud = baud;
    SetOpenError({});
    ClearLossText();
    SetRoundTripMs(link.port.roundTripMs());
    TraceNote("open %s baud=%u parity=%c data=%u stop=%u", port, baud, settings.parity, dataBits, stopBits);

    link.port.Purge();
    std::this_thread::sleep_for(std::chrono::milliseconds(g_settleMs.load()));
    if (clear != 0)
        block.Clear();
    if (!StartReader(link, block)) {
        TraceNote("read thread not started");
        std::lock_guard lock(link.writeMu);
        link.port.Close();
        link.portOpen.store(0);
        ShowOpenFailure();
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(g_settleMs.load()));
    if (block.directMode.load() == 0) {
        ConnDirect(";"); // ends any half-received command in the radio
        std::this_thread::sleep_for(std::chrono::milliseconds(g_settleMs.load()));
    }

    ConnID();
    std::uint32_t identity = 0;
    // Over the network the answer comes a round trip later.
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(g_probeMs.load() + static_cast<int>(link.port.roundTripMs()));
    bool found = RcvDataID(&identity) != 0;
    while (!found && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(kProbeStep);
        found = RcvDataID(&identity) != 0;
    }
    if (!found)
        found = RcvDataID(&identity) != 0;
    const std::uint32_t type = found ? ModelFromIdentity(identity) : ModelFromName(model);
    block.modelType.store(type);
    TraceNote("model type %u (%s)", type, found ? "identity" : "name");
    return link.portOpen.load();
}

void CCorvan::Close()
{
    Link& link = TheLink();
    Block& block = Global();
    std::lock_guard connLock(link.connMu);
    if (link.portOpen.load() == 0)
        return;
    if (link.run.load() != 0 || link.reader.joinable()) {
        StopReader(link);
        std::lock_guard lock(block.mu);
        block.rec[static_cast<std::size_t>(Rec::PS)].num[0] = 0;
    }
    std::lock_guard lock(link.writeMu);
    link.port.Close();
    link.portOpen.store(0);
    TraceNote("closed");
}

std::int32_t CCorvan::Write(const void* buffer, std::uint32_t length)
{
    if (buffer == nullptr)
        return 0;
    return WriteBytes(buffer, length);
}

std::int32_t CCorvan::ConnDirect(const char* text)
{
    if (TheLink().portOpen.load() == 0 || text == nullptr)
        return 0;
    return WriteBytes(text, std::strlen(text));
}

std::int32_t CCorvan::ConnID()
{
    if (!CanSend())
        return 0;
    Global().Reset(Rec::ID);
    return WriteBytes("ID;", 3);
}

std::int32_t CCorvan::RcvDataID(std::uint32_t* identity)
{
    if (identity != nullptr)
        *identity = 0;
    const std::uint32_t model = Global().modelType.load();
    if (model == 0 || model > 3)
        return 0;
    const Record r = Global().Get(Rec::ID);
    if (r.valid != 1)
        return 0;
    if (identity != nullptr)
        *identity = r.num[0];
    return 1;
}

void CCorvan::WinMsgSendReg(CorvanTarget* target) { Global().SetTarget(target); }

std::int32_t CCorvan::NumericCheck(const char* text)
{
    if (text == nullptr)
        return 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
    }
    return 1;
}

char* CCorvan::Hex2BinayChar(char* hex, char* out)
{
    if (hex == nullptr || out == nullptr)
        return nullptr;
    return HexToBinary(hex, out);
}
