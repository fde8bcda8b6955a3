// SPDX-License-Identifier: GPL-3.0-or-later
// rigctl_server.cpp - the rig-control line protocol's transport: lines from a
// socket, the commands of a line, and the answer each one gets.
//
// A command is written short ("f", "F 14074000") or long ("\get_freq",
// "\set_freq 14074000"); a "+" before it asks for the extended answer
// ("get_freq:", then "Key: value" lines, then "RPRT n"). A plain get answers
// its values one a line, or "RPRT n" on failure; a plain set answers
// "RPRT n". Every argument is converted to a number or to a name from a
// fixed list before the backend sees it.
#include "rigctl_protocol.h"

#include <zephyra_share.h>

#include <QTcpSocket>

#include <algorithm>
#include <string>
#include <vector>

namespace zshare {

using namespace rigctl;

namespace {

bool IsQuit(const std::string& word) { return word == "q" || word == "Q" || word == "\\quit"; }

std::string Rprt(Result r) { return "RPRT " + std::to_string(static_cast<int>(r)) + "\n"; }

// PTT with the data input ("T 3", what programs send for PTT on the data
// port or a rear data audio source): the radio's input cannot be chosen over
// this link, and keying anyway could put the microphone on the air. It is
// not available, and the client is told why.
constexpr const char* kDataInputPtt =
    "PTT with the data input (T 3) is not available through this radio link, key with T 1";

// One command of a line: its word, its arguments and the separator of its
// extended answer (0: the plain answer).
struct Parsed {
    std::string word;
    Args args;
    std::string rest; // the text after the word (send_morse)
    char separator = 0;
    const Command* command = nullptr;
    bool quit = false;
};

bool DataInputPtt(const Parsed& p) {
    long long n = 0;
    return p.command && p.command->run == SetPtt && p.args.size() == 1 && ParseInt(p.args[0], n) && n == 3;
}

bool IsSeparator(char ch) { return ch == ';' || ch == '|' || ch == ','; }
bool IsSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; }

// A line holds one command or several, as the daemon reads them: a short
// command is one character ("fm" is f and m), a long one a word after "\";
// each takes its arguments, and the next command follows. "+" before a
// command asks for its extended answer, one item a line; ";", "|" or ","
// for the extended answer with that character between its items. Reading
// stops after "q" and at a command that is not known (its arguments could
// not be told from the next command).
std::vector<Parsed> ParseLine(const std::string& line) {
    std::vector<Parsed> out;
    std::size_t at = 0;
    auto skipSpace = [&] {
        while (at < line.size() && IsSpace(line[at]))
            ++at;
    };
    auto token = [&] {
        skipSpace();
        const std::size_t begin = at;
        while (at < line.size() && !IsSpace(line[at]) && !IsSeparator(line[at]))
            ++at;
        return line.substr(begin, at - begin);
    };
    while (out.size() < 16) {
        skipSpace();
        if (at >= line.size())
            break;
        Parsed p;
        if (line[at] == '+' || IsSeparator(line[at])) {
            p.separator = line[at] == '+' ? '\n' : line[at];
            ++at;
            skipSpace();
            if (at >= line.size())
                break; // a prefix without a command: nothing to answer
        }
        if (line[at] == '\\') {
            const std::size_t begin = at;
            while (at < line.size() && !IsSpace(line[at]) && !IsSeparator(line[at]))
                ++at;
            p.word = line.substr(begin, at - begin);
        } else {
            p.word = line.substr(at++, 1);
        }
        p.quit = IsQuit(p.word);
        p.command = p.quit ? nullptr : FindCommand(p.word);
        if (p.command) {
            if (p.command->echoRest) {
                skipSpace();
                p.rest = line.substr(at);
                while (!p.rest.empty() && IsSpace(p.rest.back()))
                    p.rest.pop_back();
                for (std::size_t b = 0; b < p.rest.size();) {
                    const std::size_t e = std::min(p.rest.find(' ', b), p.rest.size());
                    if (e > b)
                        p.args.push_back(p.rest.substr(b, e - b));
                    b = e + 1;
                }
                at = line.size();
            } else {
                const int most = p.command->args + p.command->optional;
                while (static_cast<int>(p.args.size()) < most) {
                    skipSpace();
                    if (at >= line.size() || IsSeparator(line[at]))
                        break;
                    p.args.push_back(token());
                }
            }
        }
        out.push_back(p);
        if (p.quit || !p.command)
            break;
    }
    return out;
}

QByteArray ExecuteOne(RadioBackend& backend, const Parsed& p, ClientSession& session) {
    const Command* command = p.command;
    if (!command)
        return QByteArray::fromStdString(Rprt(Result::InvalidArgument));
    const bool extended = p.separator != 0;
    std::string out;
    if (extended && command->run == ChkVfo) {
        // Clients read the extended chk_vfo as its one labelled line; with a
        // separator an empty line follows it, as the daemon answers.
        return p.separator == '\n' ? QByteArrayLiteral("ChkVFO: 0\n") : QByteArrayLiteral("ChkVFO: 0\n\n");
    }
    if (extended) {
        out = std::string(command->longName) + ":";
        if (command->echoRest)
            out += "  " + p.rest;
        else
            for (const std::string& a : p.args)
                out += " " + a;
        out += "\n";
    }
    Result result = Result::InvalidArgument;
    Values values;
    const char* why = DataInputPtt(p) ? kDataInputPtt : nullptr;
    if (why) {
        result = Result::NotAvailable;
    } else if (static_cast<int>(p.args.size()) >= command->args) {
        Context context{backend, session, p.rest};
        result = command->run(context, p.args, values);
    }
    if (IsGet(*command) && result == Result::Ok) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const char* label = i < command->labels.size() ? command->labels[i] : nullptr;
            if (extended && label)
                out += std::string(label) + ": ";
            out += values[i] + "\n";
        }
    }
    if (extended || !IsGet(*command) || result != Result::Ok || command->plainReport) {
        out += Rprt(result);
        if (why) {
            // Clients read the number; the reason after it reaches their log.
            out.pop_back();
            out += std::string(" ") + why + "\n";
        }
    }
    if (extended && p.separator != '\n') {
        // The items joined by the separator, one line in all (two where the
        // report stands on its own).
        std::size_t keep = std::string::npos;
        if (command->reportOwnLine && IsGet(*command) && result == Result::Ok)
            keep = out.rfind("RPRT ");
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            if (out[i] == '\n' && i + 1 != keep)
                out[i] = p.separator;
    }
    return QByteArray::fromStdString(out);
}

} // namespace

QByteArray RigctlServer::Execute(RadioBackend& backend, const std::string& line, bool& quit, bool& keyed) {
    ClientSession session{keyed};
    return Execute(backend, line, quit, session);
}

QByteArray RigctlServer::Execute(RadioBackend& backend, const std::string& line, bool& quit,
                                 ClientSession& session) {
    quit = false;
    QByteArray out;
    for (const Parsed& p : ParseLine(line)) {
        if (p.quit) {
            // As the daemon: the report, then the connection closes.
            quit = true;
            out += "RPRT 0\n";
            break;
        }
        out += ExecuteOne(backend, p, session);
    }
    return out;
}

RigctlServer::RigctlServer(RequestQueue& queue, QObject* parent) : ShareServer(queue, kDefaultPort, parent) {}

namespace {

// "T 0" and its long and extended forms: the release goes ahead of the queue.
bool IsRelease(const Parsed& p) {
    return p.command && p.command->run == SetPtt && p.args.size() == 1 && p.args[0] == "0";
}

} // namespace

void RigctlServer::Process(Client& client) {
    while (!client.inFlight && !client.closing && client.socket) {
        const qsizetype newline = client.buffer.indexOf('\n');
        if (newline < 0) {
            if (client.buffer.size() > kMaxLine) {
                // A line without end: drop it as it comes and answer once at its end.
                client.discarding = true;
                client.buffer.clear();
            }
            return;
        }
        QByteArray line = client.buffer.left(newline);
        client.buffer.remove(0, newline + 1);
        if (client.discarding || line.size() > kMaxLine) {
            client.discarding = false;
            Write(client, QByteArrayLiteral("RPRT -1\n"));
            continue;
        }
        const std::string text = line.trimmed().toStdString();
        const std::vector<Parsed> commands = ParseLine(text);
        if (commands.empty())
            continue;
        if (commands.size() == 1 && commands[0].quit) {
            Write(client, QByteArrayLiteral("RPRT 0\n"));
            CloseLater(client);
            return;
        }
        const bool quits = commands.back().quit;
        Submit(
            client,
            [text](RadioBackend& backend, ClientSession& session) {
                bool quit = false;
                return Execute(backend, text, quit, session);
            },
            IsRelease(commands.front()));
        if (quits) {
            CloseLater(client); // once the answer is written
            return;
        }
    }
}

} // namespace zshare
