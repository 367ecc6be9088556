// The program's error types. Their messages read like the platform's own.
#pragma once

#include <QString>
#include <stdexcept>

namespace zel {

// Base of every error the program raises; carries a UTF-8 message.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// A text that should be a number and is not.
class ConvertError : public Error {
public:
    using Error::Error;
};

// A file that cannot be created, read or written.
class InOutError : public Error {
public:
    using Error::Error;
};

} // namespace zel
