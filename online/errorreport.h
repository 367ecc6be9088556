// The error report's texts: the description of an error for the log and the
// test that tells network failures apart.
#pragma once

#include <QString>

#include <exception>
#include <typeinfo>

namespace zel {

// The type's name as the source writes it ("zel::ConvertError").
QString className(const std::type_info& type);

// The header that declares an error type ("engine/errors.h", "<stdexcept>");
// "?" for a type this program does not know.
QString unitName(const std::type_info& type);

// The error's message, and the messages of the errors nested in it, each on
// a line of its own (CR LF).
QString errorText(const std::exception& error);

// "exception " + reporter's class + two spaces + errorText + four spaces +
// the error's class + one space + its unit.
QString errorDescription(const QString& reporterClass, const std::exception& error);

// A failure of the network: the message holds "Socket Error".
bool isNetworkFailure(const QString& message);

} // namespace zel
