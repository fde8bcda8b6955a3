// SPDX-License-Identifier: GPL-3.0-or-later
// corvan.h - the radio link: serial port, read thread, reply decoder, reply
// store, notifications, command builders, reply accessors, band lookup.
//
// This is the one public header of the library `corvan`. Everything else
// (the termios port, the decoder tables, the store) is private.
//
// ---------------------------------------------------------------- model
// Every CCorvan object shares one process-wide link: one port, one read
// thread, one reply store. Objects are cheap and stateless; any window may
// construct its own. Only the console opens (Conn) and closes (Close).
//
// Results: 1 = success, 0 = refusal or failure. Nothing throws. A refused
// command writes nothing to the port.
//
// Builders ConnXX(mode, ...): a mode of exactly "R" sends the read query
// (and first clears the code's record in the store, so that the accessor
// reports only the answer); any other text sends the setting. Numbers are
// unsigned 32-bit, frequencies are decimal texts of whole hertz
// (0..99 999 999 999), texts are zero-terminated. Builders refuse while the
// port is closed, while direct (terminal) mode is on (except ConnDirect and
// ConnTC), for a model type the command does not exist on, and for values
// outside their range. A text that would change the framing on the wire
// (one holding ";") is refused by every builder except ConnDirect.
//
// Accessors RcvDataXX(index..., out...): set every numeric out-parameter to
// 0, then copy the stored record and return 1 when it is valid for the
// connected model type; else return 0 and leave text buffers untouched
// (unless stated). Text buffers must hold the field sizes below.
//
// Digit fields are stored as the radio writes them: a blank is a blanked
// leading zero and reads as 0 (the bank digit of IF/OI on bank 0, the first
// field of TC), any other character as its distance from "0". Number fields
// read leading blanks as zeros too.
//
// ---------------------------------------------------------------- threads
// Three kinds of thread use the link:
//  - the read thread (owned by the library): reads the port, decodes, stores,
//    and calls CorvanTarget::post. It never waits for the receiver. post()
//    must only queue (it runs on the read thread) and must not call back
//    into CCorvan's Conn, Close or WinMsgSendReg.
//  - the UI thread: may call every member. Conn and Close only from one
//    thread at a time (the console's).
//  - the sweep thread (visual scan): may call builders and accessors
//    (ConnFA/FB/FC/SM and RcvDataFA/FB/FC/SM in practice) concurrently with
//    the UI thread. Each command goes to the port in one piece: commands of
//    two threads may interleave but are never split.
// The reply store is free of data races: every record is read and written
// under a short lock, so an accessor always copies one consistent record
// (never a mix of two replies). A record read right after a read query may
// still be the cleared one; the notification of the code says when the
// answer has been stored. After WinMsgSendReg returns, the previous target
// receives no further post().
//
// ---------------------------------------------------------------- trace
// SetTrace(path) or the environment variable ZEPHYRA_TRACE append every byte
// written (">") and read ("<") with a timestamp to a file; control bytes and
// bytes above 0x7E are shown as <XX> in hexadecimal.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The notification target: the read thread calls post() once for every
// decoded reply whose code has a notification (message numbers 4096..4200)
// and for direct-mode text (4240).
struct CorvanTarget {
    virtual ~CorvanTarget() = default;
    virtual void post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

namespace corvan {

// Sizes of the text fields of the store; accessor buffers must be this big.
inline constexpr std::uint32_t kFrequencyTextSize = 20; // FA, FB, FC, IF, OI, AS, MR frequency
inline constexpr std::uint32_t kNameTextSize = 20;      // MR name, EX text
inline constexpr std::uint32_t kShortTextSize = 12;     // FD, SA text, fourth PK text
inline constexpr std::uint32_t kLongTextSize = 40;      // third PK text
inline constexpr std::uint32_t kSignTextSize = 2;       // IS sign
inline constexpr std::uint32_t kDirectTextSize = 1024;  // direct (terminal) text

// Model types (which transceiver family is connected).
inline constexpr std::uint32_t kModelNone = 0;
inline constexpr std::uint32_t kModelQX410 = 1;  // identities 17, 18
inline constexpr std::uint32_t kModelQX620 = 2;  // identity 15
inline constexpr std::uint32_t kModelQR7730 = 3; // identity 19

// The repeater tones of CN and TN, tenths of a hertz: number n is entry n - 1
// (1..38; TN 39 is the 1750 Hz burst).
inline constexpr std::array<int, 38> kCtcssTenths{
    670,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035,
    1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1622,
    1679, 1738, 1799, 1862, 1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};

// TN's number for the 1750 Hz tone burst, after the 38 tones, and the burst
// in tenths of a hertz.
inline constexpr int kToneBurstNumber = 39;
inline constexpr int kToneBurstTenths = 17'500;

// The DCS codes of QC 0..103, as the radio writes them (023 is 23).
inline constexpr std::array<int, 104> kDcsCodes{
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115,
    116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223,
    225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315,
    325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 446,
    452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624,
    627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

// Notification numbers.
inline constexpr std::uint32_t kFirstMessage = 4096;
inline constexpr std::uint32_t kLastMessage = 4240;
inline constexpr std::uint32_t kMessageDirect = 4240;

// The two-letter code a notification number stands for ("FA" for 4116,
// "direct" for 4240), or nullptr for a number the link never posts.
const char* MessageCode(std::uint32_t message);
// The notification number of a two-letter code, 0 when it has none.
std::uint32_t MessageOf(const char* code);

// ---------------------------------------------------------------- addresses
// Where the radio's line is: a serial device, or a server on the network
// that carries the line (RFC 2217 telnet with the line settings, or raw TCP
// where the server keeps its own settings), each optionally inside TLS.
//   /dev/ttyUSB0               a device path (any text without "scheme://")
//   rfc2217://HOST:PORT        rfc2217+tls://HOST:PORT
//   tcp://HOST:PORT            tcp+tls://HOST:PORT
// HOST is a name, an IPv4 address or an IPv6 address in brackets
// ([::1]:3333). Schemes are case-insensitive.
struct PortAddress {
    enum class Kind { Device, Rfc2217, Tcp };
    Kind kind = Kind::Device;
    bool tls = false;
    std::string host;        // network kinds: without brackets
    std::uint16_t port = 0;  // network kinds: 1..65535
    std::string path;        // Device: the path as given
};

// Parses `text`; on failure returns nothing and, when `error` is given,
// sets it to a sentence saying what is wrong (no port, port out of range,
// unknown scheme, empty host, ...).
std::optional<PortAddress> ParsePortAddress(std::string_view text, std::string* error);
// True when the address never leaves this machine: a device, "localhost",
// 127.0.0.0/8, ::1 (also as ::ffff:127.x.x.x). Names are not looked up.
bool IsLoopback(const PortAddress& address);
// "HOST:PORT" ("[::1]:3333" for IPv6) for a network address, the path for
// a device: the words the operator's messages use.
std::string DescribePort(const PortAddress& address);
// The address written back as ParsePortAddress reads it
// ("rfc2217+tls://host:3334", or the device path).
std::string PortAddressText(const PortAddress& address);

// Certificates for the TLS kinds. caFile: the CA that signs the server's
// certificate (the server's name is checked against it); or
// pinnedCertificateFile: exactly this server certificate is accepted (its
// name is not checked). With neither, the system's CAs are used. A client
// certificate and its key are presented when both are given. Files are PEM.
struct TlsOptions {
    std::string caFile;
    std::string pinnedCertificateFile;
    std::string clientCertificateFile;
    std::string clientKeyFile;
};
// Process-wide; read at each Conn that opens a TLS address.
void SetTlsOptions(const TlsOptions& options);

// Why the last Conn that tried to open a port failed, in plain words
// ("Connection refused by HOST:PORT", "No such host HOST", "The server's
// certificate did not verify: ...", "The server refused our certificate",
// "Permission denied on /dev/ttyS0"); empty after a Conn that opened.
std::string LastOpenError();
// Whether a failed Conn shows "Error opening COM port" through the
// message-box handler (on by default). Off for the tries a program makes by
// itself: a box would wait for the operator and hold up the next try;
// LastOpenError() still says why. Process-wide.
void SetOpenFailureBox(bool shown);
// How the open link went away, for the operator: "The connection to
// HOST:PORT has gone" (or the server's refusal, the TLS failure) for a
// network port once the connection is lost; empty while it stands, for a
// device, and again after the next Conn.
std::string LinkLossText();
// The network round trip measured while connecting (the telnet
// negotiation, or the kernel's estimate for raw TCP), in milliseconds;
// 0 for a device or before any network Conn.
std::uint32_t NetworkRoundTripMs();

} // namespace corvan

class CCorvan {
public:
    CCorvan() = default;
    virtual ~CCorvan() = default; // never closes the shared link
    CCorvan(const CCorvan&) = default;
    CCorvan& operator=(const CCorvan&) = default;

    // ------------------------------------------------------------ link
    // Opens `port` (a device path such as /dev/ttyUSB0 or a pseudo-terminal,
    // or a network address: see corvan::ParsePortAddress),
    // configures it (raw; baud 1200, 2400, 4800, 9600, 19200, 38400, 57600
    // or 115200; 5..8 data bits; parity from the first character of
    // `parity`: E/O/M/S, else none; 1 or 2 stop bits; no flow control; DTR
    // off, RTS on), starts the read thread and identifies the radio. Any
    // other rate, data-bit or stop-bit count fails like a port that does
    // not open. On a port that is already open it only re-applies the
    // settings. `clear` non-zero empties the store first.
    // Failure to open: "Error opening COM port" through the message-box
    // handler, result 0, link closed; corvan::LastOpenError() says why.
    // Over RFC 2217 the settings go to the server, which must confirm each
    // one as asked. Connecting to a network address gives up after about
    // 5 s (name lookup, connection, TLS, negotiation together).
    std::int32_t Conn(const char* model, const char* port, std::uint32_t baud, const char* parity,
                      std::uint32_t dataBits, std::uint32_t stopBits, std::int32_t clear);
    // Stops and joins the read thread, restores the saved port settings,
    // closes the port. Returns within about 1.1 s, even while the radio
    // streams. Nothing happens when the link is not open.
    void Close();
    // Writes `text` unchanged (also in direct mode). 0 when the port is closed.
    std::int32_t ConnDirect(const char* text);
    // Registers the notification target (null switches notifications off).
    // Process-wide; the last call wins.
    void WinMsgSendReg(CorvanTarget* target);

    // Where "Error opening COM port" goes (default: standard error).
    static void SetMessageBoxHandler(std::function<void(const char* text)> handler);
    // Starts tracing to `path` (appending); null or empty stops tracing.
    static bool SetTrace(const char* path);

    // True while the port is open (Conn succeeded and no Close yet).
    static bool IsOpen();
    // The connected model type (0..3).
    static std::uint32_t GetModelType();
    // True while direct (terminal) mode is on.
    static bool IsDirectMode();

    // ------------------------------------------------------------ band lookup
    std::uint32_t GetType();
    std::uint32_t GetRcvBand(std::uint32_t selector, std::int64_t frequency);

    // ------------------------------------------------------------ builders with a mode
    std::int32_t ConnAC(const char* mode, std::uint32_t a, std::uint32_t b, std::uint32_t c);
    std::int32_t ConnAG(const char* mode, std::uint32_t receiver, std::uint32_t gain);
    std::int32_t ConnAI(const char* mode, std::uint32_t v);
    std::int32_t ConnAL(const char* mode, std::uint32_t v);
    std::int32_t ConnAM(const char* mode, std::uint32_t v);
    std::int32_t ConnAN(const char* mode, std::uint32_t v);
    std::int32_t ConnAR(const char* mode, std::uint32_t receiver, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnAS(const char* mode, std::uint32_t a, std::uint32_t b, const char* frequency,
                        std::uint32_t c);
    std::int32_t ConnBC(const char* mode, std::uint32_t v);
    std::int32_t ConnBP(const char* mode, std::uint32_t v);
    std::int32_t ConnCA(const char* mode, std::uint32_t v);
    std::int32_t ConnCG(const char* mode, std::uint32_t v);
    std::int32_t ConnCM(const char* mode, std::uint32_t v);
    std::int32_t ConnCN(const char* mode, std::uint32_t v);
    std::int32_t ConnCT(const char* mode, std::uint32_t v);
    std::int32_t ConnDC(const char* mode, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnDQ(const char* mode, std::uint32_t v);
    std::int32_t ConnEX(const char* mode, std::uint32_t menu, std::uint32_t sub, std::uint32_t a,
                        std::uint32_t b, const char* text);
    std::int32_t ConnFA(const char* mode, const char* frequency);
    std::int32_t ConnFB(const char* mode, const char* frequency);
    std::int32_t ConnFC(const char* mode, const char* frequency);
    std::int32_t ConnFR(const char* mode, std::uint32_t v);
    std::int32_t ConnFS(const char* mode, std::uint32_t v);
    std::int32_t ConnFT(const char* mode, std::uint32_t v);
    std::int32_t ConnFW(const char* mode, std::uint32_t v);
    std::int32_t ConnGT(const char* mode, std::uint32_t v);
    std::int32_t ConnIS(const char* mode, const char* sign, std::uint32_t v);
    std::int32_t ConnKS(const char* mode, std::uint32_t v);
    std::int32_t ConnKY(const char* mode, const char* text);
    std::int32_t ConnLK(const char* mode, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnLM(const char* mode, std::uint32_t v);
    std::int32_t ConnLT(const char* mode, std::uint32_t v);
    std::int32_t ConnMC(const char* mode, std::uint32_t bank, std::uint32_t channel);
    std::int32_t ConnMD(const char* mode, std::uint32_t v);
    std::int32_t ConnMF(const char* mode, std::uint32_t v);
    std::int32_t ConnMG(const char* mode, std::uint32_t v);
    std::int32_t ConnML(const char* mode, std::uint32_t v);
    std::int32_t ConnMO(const char* mode, std::uint32_t v);
    std::int32_t ConnMU(const char* mode, std::uint32_t v0, std::uint32_t v1, std::uint32_t v2,
                        std::uint32_t v3, std::uint32_t v4, std::uint32_t v5, std::uint32_t v6,
                        std::uint32_t v7, std::uint32_t v8, std::uint32_t v9);
    std::int32_t ConnNB(const char* mode, std::uint32_t v);
    std::int32_t ConnNL(const char* mode, std::uint32_t v);
    std::int32_t ConnNR(const char* mode, std::uint32_t v);
    std::int32_t ConnNT(const char* mode, std::uint32_t v);
    std::int32_t ConnOF(const char* mode, std::uint32_t v);
    std::int32_t ConnOS(const char* mode, std::uint32_t v);
    std::int32_t ConnPA(const char* mode, std::uint32_t v);
    std::int32_t ConnPB(const char* mode, std::uint32_t v);
    std::int32_t ConnPC(const char* mode, std::uint32_t v);
    std::int32_t ConnPL(const char* mode, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnPM(const char* mode, std::uint32_t v);
    std::int32_t ConnPR(const char* mode, std::uint32_t v);
    std::int32_t ConnPS(const char* mode, std::uint32_t v);
    std::int32_t ConnQC(const char* mode, std::uint32_t v);
    std::int32_t ConnQR(const char* mode, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnRA(const char* mode, std::uint32_t v);
    std::int32_t ConnRD(const char* mode, std::uint32_t v);
    std::int32_t ConnRG(const char* mode, std::uint32_t v);
    std::int32_t ConnRL(const char* mode, std::uint32_t v);
    std::int32_t ConnRM(const char* mode, std::uint32_t v);
    std::int32_t ConnRT(const char* mode, std::uint32_t v);
    std::int32_t ConnRU(const char* mode, std::uint32_t v);
    std::int32_t ConnSA(const char* mode, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                        std::uint32_t d, std::uint32_t e, std::uint32_t f, std::uint32_t g,
                        const char* name);
    std::int32_t ConnSB(const char* mode, std::uint32_t v);
    std::int32_t ConnSC(const char* mode, std::uint32_t v);
    std::int32_t ConnSD(const char* mode, std::uint32_t v);
    std::int32_t ConnSH(const char* mode, std::uint32_t v);
    std::int32_t ConnSL(const char* mode, std::uint32_t v);
    std::int32_t ConnSQ(const char* mode, std::uint32_t receiver, std::uint32_t level);
    std::int32_t ConnSS(const char* mode, std::uint32_t v);
    std::int32_t ConnST(const char* mode, std::uint32_t v);
    std::int32_t ConnSU(const char* mode, std::uint32_t v0, std::uint32_t v1, std::uint32_t v2,
                        std::uint32_t v3, std::uint32_t v4, std::uint32_t v5, std::uint32_t v6,
                        std::uint32_t v7, std::uint32_t v8, std::uint32_t v9, std::uint32_t v10);
    std::int32_t ConnTC(const char* mode, std::uint32_t a, std::uint32_t b);
    std::int32_t ConnTN(const char* mode, std::uint32_t v);
    std::int32_t ConnTO(const char* mode, std::uint32_t v);
    std::int32_t ConnTS(const char* mode, std::uint32_t v);
    std::int32_t ConnVD(const char* mode, std::uint32_t v);
    std::int32_t ConnVG(const char* mode, std::uint32_t v);
    std::int32_t ConnVX(const char* mode, std::uint32_t v);
    std::int32_t ConnXT(const char* mode, std::uint32_t v);

    // ------------------------------------------------------------ builders without a mode
    std::int32_t ConnBD();
    std::int32_t ConnBU();
    std::int32_t ConnBY();
    std::int32_t ConnCH(std::uint32_t v);
    std::int32_t ConnCI();
    std::int32_t ConnDN(std::uint32_t v);
    std::int32_t ConnFD();
    std::int32_t ConnID();
    std::int32_t ConnIF();
    std::int32_t ConnMR(std::uint32_t split, std::uint32_t bank, std::uint32_t channel);
    std::int32_t ConnMW(std::uint32_t split, std::uint32_t bank, std::uint32_t channel,
                        const char* frequency, std::uint32_t f5, std::uint32_t f6, std::uint32_t f7,
                        std::uint32_t f8, std::uint32_t f9, std::uint32_t f10, std::uint32_t f11,
                        std::uint32_t f12, std::uint32_t f13, std::uint32_t f14, std::uint32_t f15,
                        const char* name);
    std::int32_t ConnOI();
    std::int32_t ConnPI(std::uint32_t v);
    std::int32_t ConnQI();
    std::int32_t ConnRC();
    std::int32_t ConnRX();
    std::int32_t ConnSI(std::uint32_t index, const char* text);
    std::int32_t ConnSM(std::uint32_t meter);
    std::int32_t ConnSR(std::uint32_t v);
    std::int32_t ConnSV();
    std::int32_t ConnTD(std::uint32_t v);
    std::int32_t ConnTI();
    std::int32_t ConnTX();
    std::int32_t ConnTY();
    std::int32_t ConnUP(std::uint32_t v);
    std::int32_t ConnUR(const char* text);
    std::int32_t ConnUT(const char* text);
    std::int32_t ConnVR(std::uint32_t v);

    // ------------------------------------------------------------ accessors
    // Copies the direct text (buffer of kDirectTextSize), empties it and
    // re-arms its notification. Always 1.
    std::int32_t RcvDataDirect(char* text);
    std::int32_t RcvDataAC(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c);
    std::int32_t RcvDataAG(std::uint32_t receiver, std::uint32_t* gain);
    std::int32_t RcvDataAI(std::uint32_t* v);
    std::int32_t RcvDataAL(std::uint32_t* v);
    std::int32_t RcvDataAM(std::uint32_t* v);
    std::int32_t RcvDataAN(std::uint32_t* v);
    std::int32_t RcvDataAR(std::uint32_t receiver, std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataAS(std::uint32_t* a, std::uint32_t* b, char* frequency, std::uint32_t* c);
    std::int32_t RcvDataBC(std::uint32_t* v);
    std::int32_t RcvDataBP(std::uint32_t* v);
    std::int32_t RcvDataBY(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataCA(std::uint32_t* v);
    std::int32_t RcvDataCG(std::uint32_t* v);
    std::int32_t RcvDataCM(std::uint32_t* v);
    std::int32_t RcvDataCN(std::uint32_t* v);
    std::int32_t RcvDataCT(std::uint32_t* v);
    std::int32_t RcvDataDC(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataDQ(std::uint32_t* v);
    std::int32_t RcvDataEX(std::uint32_t* menu, std::uint32_t* sub, std::uint32_t* a,
                           std::uint32_t* b, char* text);
    // The three frequency accessors clear their notification's pending flag
    // on every call. RcvDataFA empties `frequency` when it returns 0;
    // RcvDataFB and RcvDataFC leave it untouched then.
    std::int32_t RcvDataFA(char* frequency);
    std::int32_t RcvDataFB(char* frequency);
    std::int32_t RcvDataFC(char* frequency);
    std::int32_t RcvDataFD(char* text);
    std::int32_t RcvDataFR(std::uint32_t* v);
    std::int32_t RcvDataFS(std::uint32_t* v);
    std::int32_t RcvDataFT(std::uint32_t* v);
    std::int32_t RcvDataFW(std::uint32_t* v);
    std::int32_t RcvDataGT(std::uint32_t* v);
    std::int32_t RcvDataID(std::uint32_t* identity);
    std::int32_t RcvDataIF(char* frequency, std::uint32_t* n13, std::uint32_t* n17,
                           std::uint32_t* d23, std::uint32_t* d24, std::uint32_t* d25,
                           std::uint32_t* n26, std::uint32_t* d28, std::uint32_t* d29,
                           std::uint32_t* d30, std::uint32_t* d31, std::uint32_t* d32,
                           std::uint32_t* d33, std::uint32_t* n34, std::uint32_t* d36);
    std::int32_t RcvDataIS(char* sign, std::uint32_t* v);
    std::int32_t RcvDataKS(std::uint32_t* v);
    std::int32_t RcvDataKY(std::uint32_t* v);
    std::int32_t RcvDataLK(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataLM(std::uint32_t* v);
    std::int32_t RcvDataLT(std::uint32_t* v);
    std::int32_t RcvDataMC(std::uint32_t* a, std::uint32_t* channel);
    std::int32_t RcvDataMD(std::uint32_t* v);
    std::int32_t RcvDataMF(std::uint32_t* v);
    std::int32_t RcvDataMG(std::uint32_t* v);
    std::int32_t RcvDataML(std::uint32_t* v);
    std::int32_t RcvDataMO(std::uint32_t* v);
    std::int32_t RcvDataMR(std::uint32_t index, std::uint32_t* d3, std::uint32_t* channel,
                           char* frequency, std::uint32_t* d17, std::uint32_t* d18,
                           std::uint32_t* d19, std::uint32_t* n20, std::uint32_t* n22,
                           std::uint32_t* n24, std::uint32_t* d27, std::uint32_t* d28,
                           std::uint32_t* n29, std::uint32_t* n38, std::uint32_t* d40, char* name);
    std::int32_t RcvDataMU(std::uint32_t* v0, std::uint32_t* v1, std::uint32_t* v2,
                           std::uint32_t* v3, std::uint32_t* v4, std::uint32_t* v5,
                           std::uint32_t* v6, std::uint32_t* v7, std::uint32_t* v8,
                           std::uint32_t* v9);
    std::int32_t RcvDataNB(std::uint32_t* v);
    std::int32_t RcvDataNL(std::uint32_t* v);
    std::int32_t RcvDataNR(std::uint32_t* v);
    std::int32_t RcvDataNT(std::uint32_t* v);
    std::int32_t RcvDataOF(std::uint32_t* v);
    std::int32_t RcvDataOI(char* frequency, std::uint32_t* n13, std::uint32_t* n17,
                           std::uint32_t* d23, std::uint32_t* d24, std::uint32_t* d25,
                           std::uint32_t* n26, std::uint32_t* d28, std::uint32_t* d29,
                           std::uint32_t* d30, std::uint32_t* d31, std::uint32_t* d32,
                           std::uint32_t* d33, std::uint32_t* n34, std::uint32_t* d36);
    std::int32_t RcvDataOS(std::uint32_t* v);
    std::int32_t RcvDataPA(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataPB(std::uint32_t* v);
    std::int32_t RcvDataPC(std::uint32_t* v);
    std::int32_t RcvDataPK(char* t1, char* t2, char* t3, char* t4);
    std::int32_t RcvDataPL(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataPM(std::uint32_t* v);
    std::int32_t RcvDataPR(std::uint32_t* v);
    std::int32_t RcvDataPS(std::uint32_t* v);
    std::int32_t RcvDataQC(std::uint32_t* v);
    std::int32_t RcvDataQR(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataRA(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataRD(std::uint32_t* v);
    std::int32_t RcvDataRG(std::uint32_t* v);
    std::int32_t RcvDataRL(std::uint32_t* v);
    std::int32_t RcvDataRM(std::uint32_t* selector, std::uint32_t* value);
    std::int32_t RcvDataRT(std::uint32_t* v);
    std::int32_t RcvDataRU(std::uint32_t* v);
    std::int32_t RcvDataRX(std::uint32_t* v);
    std::int32_t RcvDataSA(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c, std::uint32_t* d,
                           std::uint32_t* e, std::uint32_t* f, std::uint32_t* g, char* text);
    std::int32_t RcvDataSB(std::uint32_t* v);
    std::int32_t RcvDataSC(std::uint32_t* v);
    std::int32_t RcvDataSD(std::uint32_t* v);
    std::int32_t RcvDataSH(std::uint32_t* v);
    std::int32_t RcvDataSL(std::uint32_t* v);
    std::int32_t RcvDataSM(std::uint32_t meter, std::uint32_t* v);
    std::int32_t RcvDataSQ(std::uint32_t receiver, std::uint32_t* v);
    std::int32_t RcvDataSS(std::uint32_t* v);
    std::int32_t RcvDataST(std::uint32_t* v);
    std::int32_t RcvDataSU(std::uint32_t* v0, std::uint32_t* v1, std::uint32_t* v2,
                           std::uint32_t* v3, std::uint32_t* v4, std::uint32_t* v5,
                           std::uint32_t* v6, std::uint32_t* v7, std::uint32_t* v8,
                           std::uint32_t* v9, std::uint32_t* v10);
    std::int32_t RcvDataTC(std::uint32_t* a, std::uint32_t* b);
    std::int32_t RcvDataTI(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c);
    std::int32_t RcvDataTN(std::uint32_t* v);
    std::int32_t RcvDataTO(std::uint32_t* v);
    std::int32_t RcvDataTS(std::uint32_t* v);
    std::int32_t RcvDataTX(std::uint32_t* v);
    std::int32_t RcvDataTY(std::uint32_t* bit0, std::uint32_t* bit1, std::uint32_t* bit2,
                           std::uint32_t* bit3, std::uint32_t* bit4, std::uint32_t* bit5,
                           std::uint32_t* bit6, std::uint32_t* bit7, std::uint32_t* digit);
    std::int32_t RcvDataUL(std::uint32_t* v);
    std::int32_t RcvDataVD(std::uint32_t* v);
    std::int32_t RcvDataVG(std::uint32_t* v);
    std::int32_t RcvDataVX(std::uint32_t* v);
    std::int32_t RcvDataXT(std::uint32_t* v);

protected:
    // Writes `length` bytes in one piece; 1 when all were written.
    std::int32_t Write(const void* buffer, std::uint32_t length);
    // 1 when every character of `text` is a decimal digit (also for "").
    static std::int32_t NumericCheck(const char* text);
    // Writes four "0"/"1" characters per hexadecimal character of `hex`
    // (upper-cased in place) at four times its position in `out`; null at
    // the first other character. Writes no terminator.
    static char* Hex2BinayChar(char* hex, char* out);
};
