// SPDX-License-Identifier: GPL-3.0-or-later
// flrig_protocol.h - what the XML-RPC method table and its HTTP transport
// share: the values of a call and its reply, and reading and writing them
// (private to the library).
#pragma once

#include <zephyra_share.h>

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace zshare::flrig {

// ---- values

struct Value;
using Array = std::vector<Value>;
struct Value {
    std::variant<QString, long long, double, bool, Array> v;
};

inline Value Str(const QString& s) { return Value{s}; }
inline Value Int(long long i) { return Value{i}; }

struct Fault {
    int code;
    QString text;
};

using Reply = std::variant<Value, Fault>;

// A number from an int, double, boolean or numeric string (finite only).
std::optional<double> AsNumber(const Value& value);
std::optional<QString> AsString(const Value& value);

// The method's name and parameters of a method call; false when the body is
// not a well-formed one.
bool ParseCall(const QByteArray& raw, QString& method, Array& params);
// The method response (or fault) document.
QByteArray Response(const Reply& reply);

// False for the methods that answer at once, without waiting for the queue.
bool NeedsRadio(const QString& method);

} // namespace zshare::flrig
