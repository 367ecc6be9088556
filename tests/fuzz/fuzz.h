// Shared by the libFuzzer targets: the fuzzer's bytes as texts, and a check
// that ends the run (so the fuzzer keeps the input) when a property fails.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zel::fuzz {

// The whole input as UTF-8 text (invalid sequences read as U+FFFD).
inline QString text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input as texts, one per line: how cell texts, report lines and stored
// items are written in the seed files.
inline QStringList lines(const std::uint8_t* data, std::size_t size)
{
    return text(data, size).split(QLatin1Char('\n'));
}

[[noreturn]] inline void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "property failed: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

} // namespace zel::fuzz

#define FUZZ_CHECK(cond, detail)                                                          \
    do {                                                                                  \
        if (!(cond))                                                                      \
            ::zel::fuzz::fail(#cond, (detail));                                           \
    } while (false)
