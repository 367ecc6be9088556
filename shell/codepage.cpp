// Windows-1251 through iconv, the system's converter.
#include "shell/codepage.h"

#include <QList>

#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <vector>

namespace zel {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`, whose characters are `unit` bytes wide; a character the
    // target cannot hold (or a byte the source does not define) becomes
    // `replacement`, and the conversion goes on after it.
    std::vector<char> run(const char* in, size_t inBytes, size_t unit, const char* replacement,
                          size_t replacementBytes)
    {
        std::vector<char> out(inBytes * 4 / unit + 16);
        char* src = const_cast<char*>(in);
        size_t srcLeft = inBytes;
        size_t done = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + done;
            size_t dstLeft = out.size() - done;
            const size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else if (errno == EILSEQ || errno == EINVAL) {
                if (out.size() - done < replacementBytes)
                    out.resize(out.size() * 2);
                std::copy(replacement, replacement + replacementBytes, out.data() + done);
                done += replacementBytes;
                const size_t skip = srcLeft < unit ? srcLeft : unit;
                src += skip;
                srcLeft -= skip;
            } else {
                break;
            }
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t m_cd;
};

} // namespace

namespace {

// The code page's upper half by character: the byte for each character it
// holds, 0 for the others (no character but U+0000 is written as 0).
const std::array<unsigned char, 0x10000>& upperHalf()
{
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> t{};
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const QString c = fromWindows1251(QByteArray(1, static_cast<char>(byte)));
            if (c.size() == 1 && c != QLatin1String("?"))
                t[c.at(0).unicode()] = static_cast<unsigned char>(byte);
        }
        return t;
    }();
    return table;
}

} // namespace

QByteArray toWindows1251(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    // A text the code page holds whole (a report, a list) is written by table;
    // only one with a character it has no place for goes through the converter,
    // which knows how to stand "?" for it.
    QByteArray direct(text.size(), Qt::Uninitialized);
    const auto& upper = upperHalf();
    char* next = direct.data();
    bool whole = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *next++ = static_cast<char>(u);
        } else if (upper[u] != 0) {
            *next++ = static_cast<char>(upper[u]);
        } else {
            whole = false;
            break;
        }
    }
    if (whole)
        return direct;
    // UTF-32 gives every character the same width, so an unmappable one is
    // skipped whole; lone surrogates arrive as U+FFFD and turn into "?".
    const QList<uint> ucs4 = text.toUcs4();
    std::vector<char> in(ucs4.size() * 4);
    for (qsizetype i = 0; i < ucs4.size(); ++i) {
        const uint c = ucs4[i];
        in[i * 4 + 0] = static_cast<char>(c & 0xff);
        in[i * 4 + 1] = static_cast<char>((c >> 8) & 0xff);
        in[i * 4 + 2] = static_cast<char>((c >> 16) & 0xff);
        in[i * 4 + 3] = static_cast<char>((c >> 24) & 0xff);
    }
    Converter conv("WINDOWS-1251", "UTF-32LE");
    const std::vector<char> out = conv.run(in.data(), in.size(), 4, "?", 1);
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QString fromWindows1251(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QString();
    Converter conv("UTF-16LE", "WINDOWS-1251");
    static const char question[2] = {'?', '\0'};
    const std::vector<char> out = conv.run(bytes.constData(), bytes.size(), 1, question, 2);
    return QString(reinterpret_cast<const QChar*>(out.data()), static_cast<qsizetype>(out.size() / 2));
}

} // namespace zel
