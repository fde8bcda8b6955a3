// SPDX-License-Identifier: GPL-3.0-or-later
// flrig_methods.cpp - the XML-RPC method table: what each method does with
// the radio, its name and its line of help.
#include "flrig_protocol.h"

#include <cmath>

namespace zshare {

namespace flrig {

namespace {

struct Call {
    RadioBackend& backend;
    const Array& params;
    ClientSession& session;
};

constexpr int kFaultParse = -32700;
constexpr int kFaultMethod = -32601;
constexpr int kFaultParams = -32602;
constexpr int kFaultRadio = -32500;

Fault RadioFault(Result r) {
    const char* why = r == Result::NotAvailable ? "radio not available"
                      : r == Result::Rejected   ? "rejected by the radio"
                      : r == Result::TimedOut   ? "the radio did not answer"
                      : r == Result::InvalidArgument ? "invalid argument"
                                                     : "failed";
    return Fault{kFaultRadio, QStringLiteral("%1 (%2)").arg(why).arg(static_cast<int>(r))};
}

Reply Done(Result r) {
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(0);
}

// This radio's names for the modes.
struct ModeName {
    Mode mode;
    const char* name;
};
constexpr ModeName kModeNames[] = {
    {Mode::Lsb, "LSB"}, {Mode::Usb, "USB"},  {Mode::Cw, "CW"},      {Mode::Cwr, "CW-R"},
    {Mode::Fm, "FM"},   {Mode::Am, "AM"},    {Mode::Rtty, "FSK"},   {Mode::Rttyr, "FSK-R"},
};

QString NameOf(Mode mode) {
    for (const ModeName& m : kModeNames)
        if (m.mode == mode)
            return QString::fromLatin1(m.name);
    return QString();
}

Mode ModeOf(const QString& name) {
    const QString n = name.trimmed().toUpper();
    for (const ModeName& m : kModeNames)
        if (n == QLatin1String(m.name))
            return m.mode;
    // The line protocol's names are understood too.
    return ModeFromName(n.toStdString());
}

std::optional<double> Number(const Call& c, std::size_t i = 0) {
    return i < c.params.size() ? AsNumber(c.params[i]) : std::nullopt;
}

Reply GetFrequency(const Call& c, Vfo vfo) {
    std::int64_t hz = 0;
    const Result r = c.backend.GetFrequency(vfo, hz);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(QString::number(hz));
}

Reply SetFrequency(const Call& c, Vfo vfo) {
    const auto hz = Number(c);
    if (!hz || *hz < 0 || *hz > 99'999'999'999.0 ||
        !InRanges(c.backend.Describe().receive, std::llround(*hz)))
        return Fault{kFaultParams, QStringLiteral("frequency in Hz expected, within the radio's ranges")};
    if (!c.session.MayRetune())
        return Fault{kFaultRadio, QStringLiteral("rejected: another program's transmission is on the air (-9)")};
    return Done(c.backend.SetFrequency(vfo, std::llround(*hz)));
}

Reply GetMode(const Call& c, Vfo vfo) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(vfo, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(NameOf(mode));
}

Reply SetMode(const Call& c, Vfo vfo) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    const Mode mode = name ? ModeOf(*name) : Mode::Unknown;
    if (mode == Mode::Unknown)
        return Fault{kFaultParams, QStringLiteral("mode name expected (rig.get_modes)")};
    if (!c.session.MayChangeMode())
        return Fault{kFaultRadio, QStringLiteral("the mode is locked by another client")};
    if (!c.session.MayRetune())
        return Fault{kFaultRadio, QStringLiteral("rejected: another program's transmission is on the air (-9)")};
    return Done(c.backend.SetMode(vfo, mode, -1));
}

Reply Level01(const Call& c, Level level, double scale) {
    double v = 0;
    const Result r = c.backend.GetLevel(level, v);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(std::lround(v * scale));
}

// The S-meter as 0..100: S0 0, S9 50, S9+60 dB 100.
Reply SMeter(const Call& c) {
    double db = 0;
    const Result r = c.backend.GetLevel(Level::Strength, db);
    if (r != Result::Ok)
        return RadioFault(r);
    const double scaled = db <= 0 ? (db + 54.0) / 54.0 * 50.0 : 50.0 + db / 60.0 * 50.0;
    return Int(std::clamp<long>(std::lround(scaled), 0, 100));
}

using Method = Reply (*)(const Call&);

struct MethodRow {
    const char* name;
    const char* help;
    Method run;
};

Reply Version(const Call&) { return Str(QStringLiteral("2.0.0")); }
Reply Xcvr(const Call& c) { return Str(c.backend.Describe().name); }

Reply Info(const Call& c) {
    std::int64_t a = 0;
    Mode mode = Mode::Unknown;
    int passband = 0;
    bool ptt = false;
    if (const Result r = c.backend.GetFrequency(Vfo::Current, a); r != Result::Ok)
        return RadioFault(r);
    c.backend.GetMode(Vfo::Current, mode, passband);
    c.backend.GetPtt(ptt);
    return Str(QStringLiteral("R:%1\nT:%2\nFA:%3\nM:%4\nL:%5\nU:%5\n")
                   .arg(c.backend.Describe().name, ptt ? QStringLiteral("X") : QStringLiteral("R"))
                   .arg(a)
                   .arg(NameOf(mode))
                   .arg(passband));
}

Reply GetAB(const Call& c) {
    Vfo vfo = Vfo::A;
    const Result r = c.backend.GetVfo(vfo);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(vfo == Vfo::B ? QStringLiteral("B") : QStringLiteral("A"));
}

Reply SetAB(const Call& c) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    if (!name || (*name != u"A" && *name != u"B"))
        return Fault{kFaultParams, QStringLiteral("\"A\" or \"B\" expected")};
    return Done(c.backend.SetVfo(*name == u"A" ? Vfo::A : Vfo::B));
}

Reply Modes(const Call&) {
    Array names;
    for (const ModeName& m : kModeNames)
        names.push_back(Str(QString::fromLatin1(m.name)));
    return Value{names};
}

Reply GetBw(const Call& c) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(Vfo::Current, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Value{Array{Str(QString::number(passband)), Str(QString())}};
}

// The width a client asks for, in Hz.
Reply SetBwOf(const Call& c, Vfo vfo, std::optional<double> hz) {
    if (!hz || *hz < 1 || *hz > 9'999)
        return Fault{kFaultParams, QStringLiteral("bandwidth in Hz expected")};
    if (!c.session.MayChangeMode())
        return Fault{kFaultRadio, QStringLiteral("the mode is locked by another client")};
    Vfo rx = Vfo::A;
    if (const Result r = c.backend.GetVfo(rx); r != Result::Ok)
        return RadioFault(r);
    Mode mode = Mode::Unknown;
    int passband = 0;
    if (const Result r = c.backend.GetMode(Vfo::Current, mode, passband); r != Result::Ok)
        return RadioFault(r);
    if (vfo != Vfo::Current && vfo != rx) {
        // The radio's VFOs share the band's filter: the other VFO has the
        // width the receive VFO has, and only that.
        if (std::lround(*hz) == passband)
            return Int(0);
        return Fault{kFaultRadio, QStringLiteral("rejected: VFO A and B share one filter, whose width is %1 Hz "
                                                 "and is set while the VFO receives (%2)")
                                      .arg(passband)
                                      .arg(static_cast<int>(Result::Rejected))};
    }
    return Done(c.backend.SetMode(Vfo::Current, mode, static_cast<int>(std::lround(*hz))));
}

Reply SetBwOf(const Call& c, Vfo vfo) { return SetBwOf(c, vfo, Number(c)); }

// rig.set_bw takes what rig.get_bws offers as a choice: fldigi fills its
// bandwidth box from that list and sends the chosen entry's position in it
// (0 for the first width). A number too large to be a position is taken as
// a width in Hz, as other callers send it; no listed width is that small.
Reply SetBw(const Call& c) {
    const auto n = Number(c);
    const std::vector<int>& widths = c.backend.Describe().bandwidths;
    if (n && *n >= 0 && *n < static_cast<double>(widths.size())) {
        if (*n != std::floor(*n))
            return Fault{kFaultParams, QStringLiteral("a position in rig.get_bws or a bandwidth in Hz expected")};
        return SetBwOf(c, Vfo::Current, widths[static_cast<std::size_t>(*n)]);
    }
    return SetBwOf(c, Vfo::Current, n);
}

// One VFO's filter width in Hz, as text.
Reply GetBwOf(const Call& c, Vfo vfo) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(vfo, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(QString::number(passband));
}

// "U" for the upper sideband modes (and CW, FSK, AM, FM), "L" for LSB, CW-R
// and FSK-R.
Reply Sideband(const Call& c) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(Vfo::Current, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    const bool lower = mode == Mode::Lsb || mode == Mode::Cwr || mode == Mode::Rttyr;
    return Str(lower ? QStringLiteral("L") : QStringLiteral("U"));
}

// The power meter's full scale is given in watts by rig.get_pwrmeter: a
// factor of 1.
Reply PwrMeterScale(const Call&) { return Int(1); }

Reply GetBws(const Call& c) {
    Array widths{Str(QStringLiteral("Bandwidth"))};
    for (int w : c.backend.Describe().bandwidths)
        widths.push_back(Str(QString::number(w)));
    return Value{Array{Value{widths}}};
}

Reply GetPtt(const Call& c) {
    bool on = false;
    const Result r = c.backend.GetPtt(on);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(on ? 1 : 0);
}

Reply SetPtt(const Call& c) {
    const auto v = Number(c);
    if (!v || (*v != 0 && *v != 1))
        return Fault{kFaultParams, QStringLiteral("0 or 1 expected")};
    const Result r = c.session.Key(c.backend, *v == 1);
    if (r == Result::Ok || *v == 0)
        c.session.keyed = *v == 1 && r == Result::Ok;
    return Done(r);
}

Reply GetSplit(const Call& c) {
    bool on = false;
    Vfo tx = Vfo::B;
    const Result r = c.backend.GetSplit(on, tx);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(on ? 1 : 0);
}

Reply SetSplit(const Call& c) {
    const auto v = Number(c);
    if (!v || (*v != 0 && *v != 1))
        return Fault{kFaultParams, QStringLiteral("0 or 1 expected")};
    Vfo rx = Vfo::A;
    if (const Result r = c.backend.GetVfo(rx); r != Result::Ok)
        return RadioFault(r);
    if (*v == 1 && rx == Vfo::Memory)
        return RadioFault(Result::NotAvailable);
    return Done(c.backend.SetSplit(*v == 1, rx == Vfo::B ? Vfo::A : Vfo::B));
}

Reply GetPower(const Call& c) { return Level01(c, Level::RfPower, c.backend.Describe().maxPowerWatts); }
Reply GetPwrMeter(const Call& c) { return Level01(c, Level::PowerMeter, c.backend.Describe().maxPowerWatts); }

Reply SetPower(const Call& c) {
    const auto w = Number(c);
    const int max = c.backend.Describe().maxPowerWatts;
    if (!w || *w < 0 || *w > max)
        return Fault{kFaultParams, QStringLiteral("power in watts expected, 0..%1").arg(max)};
    return Done(c.backend.SetLevel(Level::RfPower, *w / max));
}

Reply ListMethods(const Call&);
Reply MethodHelp(const Call&);

// clang-format off
const MethodRow kMethods[] = {
    {"main.get_version", "the server's version", Version},
    {"rig.get_xcvr", "the transceiver's name", Xcvr},
    {"rig.get_info", "a summary: R: radio, T: R or X, FA: frequency, M: mode, L/U: width", Info},
    {"rig.get_vfo", "the receive frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::Current); }},
    {"rig.set_vfo", "sets the receive frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::Current); }},
    {"rig.set_frequency", "sets the receive frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::Current); }},
    {"rig.get_vfoA", "VFO A's frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::A); }},
    {"rig.get_vfoB", "VFO B's frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::B); }},
    {"rig.set_vfoA", "sets VFO A's frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::A); }},
    {"rig.set_vfoB", "sets VFO B's frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::B); }},
    {"rig.get_AB", "the receive VFO, \"A\" or \"B\"", GetAB},
    {"rig.set_AB", "selects the receive VFO, \"A\" or \"B\"", SetAB},
    {"rig.get_mode", "the receive mode", [](const Call& c) { return GetMode(c, Vfo::Current); }},
    {"rig.set_mode", "sets the receive mode", [](const Call& c) { return SetMode(c, Vfo::Current); }},
    {"rig.get_modeA", "VFO A's mode", [](const Call& c) { return GetMode(c, Vfo::A); }},
    {"rig.get_modeB", "VFO B's mode", [](const Call& c) { return GetMode(c, Vfo::B); }},
    {"rig.set_modeA", "sets VFO A's mode", [](const Call& c) { return SetMode(c, Vfo::A); }},
    {"rig.set_modeB", "sets VFO B's mode", [](const Call& c) { return SetMode(c, Vfo::B); }},
    {"rig.get_modes", "the mode names", Modes},
    {"rig.get_bw", "the receive filter width in Hz: [width, \"\"]", GetBw},
    {"rig.set_bw", "sets the receive filter width: a position in rig.get_bws (0 the first), or Hz", SetBw},
    {"rig.get_bws", "the filter widths: [[\"Bandwidth\", width...]]", GetBws},
    {"rig.get_bwA", "VFO A's filter width in Hz (a string)", [](const Call& c) { return GetBwOf(c, Vfo::A); }},
    {"rig.get_bwB", "VFO B's filter width in Hz (a string)", [](const Call& c) { return GetBwOf(c, Vfo::B); }},
    {"rig.set_bwA", "sets VFO A's filter width (Hz) while A receives (the VFOs share one filter)", [](const Call& c) { return SetBwOf(c, Vfo::A); }},
    {"rig.set_bwB", "sets VFO B's filter width (Hz) while B receives (the VFOs share one filter)", [](const Call& c) { return SetBwOf(c, Vfo::B); }},
    {"rig.get_sideband", "\"U\" or \"L\": the sideband of the receive mode", Sideband},
    {"rig.get_ptt", "1 while transmitting", GetPtt},
    {"rig.set_ptt", "1 transmits, 0 receives", SetPtt},
    {"rig.get_split", "1 while transmitting on the other VFO", GetSplit},
    {"rig.set_split", "1 transmits on the other VFO, 0 on the receive VFO", SetSplit},
    {"rig.get_smeter", "the S-meter, 0..100 (S9 is 50)", SMeter},
    {"rig.get_pwrmeter", "the transmit power meter in watts", GetPwrMeter},
    {"rig.get_pwrmeter_scale", "the factor of rig.get_pwrmeter (1: watts)", PwrMeterScale},
    {"rig.get_power", "the transmit power setting in watts", GetPower},
    {"rig.set_power", "sets the transmit power (watts)", SetPower},
    {"system.listMethods", "the names of every method", ListMethods},
    {"system.methodHelp", "a line on a method", MethodHelp},
};
// clang-format on

Reply ListMethods(const Call&) {
    Array names;
    for (const MethodRow& m : kMethods)
        names.push_back(Str(QString::fromLatin1(m.name)));
    return Value{names};
}

Reply MethodHelp(const Call& c) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    for (const MethodRow& m : kMethods)
        if (name && *name == QLatin1String(m.name))
            return Str(QString::fromLatin1(m.help));
    return Fault{kFaultParams, QStringLiteral("no such method")};
}

} // namespace

// Methods that need the radio wait for the queue; the rest answer at once.
bool NeedsRadio(const QString& method) {
    return !(method == u"main.get_version" || method == u"system.listMethods" ||
             method == u"system.methodHelp" || method == u"rig.get_modes" || method == u"rig.get_xcvr" ||
             method == u"rig.get_bws" || method == u"rig.get_pwrmeter_scale");
}

} // namespace flrig

using namespace flrig;

QByteArray FlrigServer::Execute(RadioBackend& backend, const QByteArray& body, bool& keyed) {
    ClientSession session{keyed};
    return Execute(backend, body, session);
}

QByteArray FlrigServer::Execute(RadioBackend& backend, const QByteArray& body, ClientSession& session) {
    QString method;
    Array params;
    if (!ParseCall(body, method, params))
        return Response(Fault{kFaultParse, QStringLiteral("malformed XML-RPC request")});
    for (const MethodRow& m : kMethods) {
        if (method == QLatin1String(m.name)) {
            const Call call{backend, params, session};
            return Response(m.run(call));
        }
    }
    return Response(Fault{kFaultMethod, QStringLiteral("unknown method %1").arg(method)});
}

QStringList FlrigServer::Methods() {
    QStringList names;
    for (const MethodRow& m : kMethods)
        names << QString::fromLatin1(m.name);
    return names;
}

} // namespace zshare
