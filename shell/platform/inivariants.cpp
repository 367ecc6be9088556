// Finding the serialised values the way QSettings reads them: the same lines,
// the same unescaping, quoting and list splitting (Qt 6's INI reader), so that
// no text that reaches QDataStream there is missed here.
#include "shell/platform/inivariants.h"
#include "engine/convert.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace zel {
namespace {

bool isIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isIniSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

struct IniLine {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1; // in the file, -1 for none
};

// The next line from `pos`: a quoted newline or an escaped one continues it,
// ';' at its start makes it a comment, and elsewhere outside quotes ends it.
bool nextIniLine(QByteArrayView data, qsizetype& pos, IniLine& line)
{
    const qsizetype n = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < n && isIniSpace(data[line.start]))
        ++line.start;

    qsizetype i = line.start;
    while (i < n) {
        while (i < n && !isIniSpecial(data[i]))
            ++i;
        if (i == n)
            break;
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < n) {
                const char e = data[i++];
                if (i < n && ((e == '\n' && data[i] == '\r') || (e == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == line.start + 1) {
                while (i < n && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < n && isIniSpace(data[i]))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.length = i - line.start;
    return line.length > 0;
}

char namedEscape(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\': return c;
    default: return 0;
    }
}

// What decides whether QSettings reads a text of a value (the value itself,
// or an item of its list) through QDataStream: its first ten characters, and
// its last once trailing blanks are chopped. Only these are kept, so a long
// list costs no copy of itself.
class TextEnds {
public:
    // Where in the value the text's first character came from.
    qsizetype firstFrom = -1;

    void append(const QChar* s, qsizetype count, qsizetype from)
    {
        if (count == 0)
            return;
        if (m_size == 0)
            firstFrom = from;
        for (qsizetype k = 0; k < count && m_size + k < kHead; ++k)
            m_head[m_size + k] = s[k];
        qsizetype blanks = 0;
        while (blanks < count && isBlank(s[count - 1 - blanks]))
            ++blanks;
        if (blanks == count) {
            m_blankRun += count;
        } else {
            m_blankRun = blanks;
            m_lastSolid = s[count - 1 - blanks];
        }
        m_size += count;
    }
    // Blanks up to here are kept by chopTrailingBlanks().
    void keepUpToHere() { m_chopLimit = m_size; }
    void chopTrailingBlanks()
    {
        const qsizetype solid = m_size - m_blankRun;
        const qsizetype kept = std::max(m_chopLimit, solid);
        m_blankRun = kept - solid;
        m_size = kept;
    }
    bool isSerialised() const
    {
        if (m_size == 0 || m_blankRun > 0 || m_lastSolid != u')')
            return false;
        const QStringView head(m_head, std::min(m_size, kHead));
        return head.startsWith(QLatin1String("@Variant(")) || head.startsWith(QLatin1String("@DateTime("));
    }

private:
    static constexpr qsizetype kHead = 10;
    static bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
    QChar m_head[kHead];
    qsizetype m_size = 0;
    qsizetype m_blankRun = 0;
    QChar m_lastSolid;
    qsizetype m_chopLimit = 0;
};

// The texts QSettings makes of a value, each given to `onText`. Trailing
// blanks are chopped as it chops them: not after an escape, not from a quoted
// text, and not when the value ends inside an escape. `buffer` is room for
// the decoded pieces, kept from one value to the next.
template <typename OnText>
void forEachValueText(QByteArrayView v, std::vector<QChar>& buffer, OnText onText)
{
    TextEnds cur;
    QStringDecoder utf8(QStringDecoder::Utf8);
    bool inQuotes = false;
    bool quoted = false;
    bool chopAtEnd = true;
    const qsizetype n = v.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && (v[i] == ' ' || v[i] == '\t'))
            ++i;
        cur.keepUpToHere();
    };
    const auto append = [&](QChar c, qsizetype from) {
        cur.append(&c, 1, from);
        cur.keepUpToHere();
    };

    skipBlanks();
    while (i < n) {
        const char c = v[i];
        if (c == '\\') {
            const qsizetype from = i++;
            if (i >= n) {
                chopAtEnd = false;
                break;
            }
            const char e = v[i++];
            if (const char named = namedEscape(e)) {
                append(QLatin1Char(named), from);
                continue;
            }
            const bool hex = e == 'x';
            if (hex && i >= n) {
                chopAtEnd = false;
                break;
            }
            if ((hex && hexDigitValue(v[i]) >= 0) || (e >= '0' && e <= '7')) {
                // The value wraps at 16 bits, as it does there.
                char16_t code = hex ? 0 : char16_t(e - '0');
                for (; i < n; ++i) {
                    const int d = hex ? hexDigitValue(v[i]) : (v[i] >= '0' && v[i] <= '7' ? v[i] - '0' : -1);
                    if (d < 0)
                        break;
                    code = char16_t((code << (hex ? 4 : 3)) + d);
                }
                append(QChar(code), from);
                if (i >= n) {
                    chopAtEnd = false;
                    break;
                }
                continue;
            }
            if ((e == '\n' || e == '\r') && i < n && (v[i] == '\n' || v[i] == '\r') && v[i] != e)
                ++i;
            cur.keepUpToHere();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                cur.chopTrailingBlanks();
            onText(cur);
            cur = TextEnds();
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            qsizetype j = i + 1;
            while (j < n && v[j] != '\\' && v[j] != '"' && v[j] != ',')
                ++j;
            // The decoder keeps an unfinished character across pieces, so a
            // piece's first character, if any, is its first byte.
            const QByteArrayView piece = v.sliced(i, j - i);
            buffer.resize(std::size_t(utf8.requiredSpace(piece.size())));
            const QChar* end = utf8.appendToBuffer(buffer.data(), piece);
            cur.append(buffer.data(), end - buffer.data(), i);
            i = j;
        }
    }
    if (chopAtEnd && !quoted)
        cur.chopTrailingBlanks();
    onText(cur);
}

// Whether some text of the value may start with '@': from the bytes as they
// are, or from a numeric escape (this may say yes where there is none).
bool mayStartWithAt(QByteArrayView value)
{
    const qsizetype n = value.size();
    for (qsizetype k = 0; k < n; ++k) {
        if (value[k] == '@')
            return true;
        if (value[k] == '\\' && k + 1 < n) {
            const char e = value[k + 1];
            if (e == 'x' || (e >= '0' && e <= '7'))
                return true;
        }
    }
    return false;
}

// Where a '@' must go, in the file, to make each serialised value plain.
std::vector<qsizetype> serialisedAt(QByteArrayView ini)
{
    std::vector<qsizetype> at;
    if (!mayStartWithAt(ini))
        return at;
    qsizetype pos = 0;
    if (ini.startsWith("\xef\xbb\xbf"))
        pos = 3;
    IniLine line;
    std::vector<QChar> buffer;
    while (nextIniLine(ini, pos, line)) {
        if (ini[line.start] == '[' || line.equals < 0)
            continue;
        const qsizetype valueStart = line.equals + 1;
        const QByteArrayView value = ini.sliced(valueStart, line.start + line.length - valueStart);
        if (!mayStartWithAt(value))
            continue;
        forEachValueText(value, buffer, [&](const TextEnds& t) {
            if (t.isSerialised())
                at.push_back(valueStart + t.firstFrom);
        });
    }
    return at;
}

} // namespace

int plainSerialisedValues(QByteArray& ini)
{
    const std::vector<qsizetype> at = serialisedAt(ini);
    if (at.empty())
        return 0;
    QByteArray plain = ini;
    for (auto k = at.crbegin(); k != at.crend(); ++k)
        plain.insert(*k, '@');
    // A second '@' before the first makes any text plain, which this makes sure of.
    if (!serialisedAt(plain).empty())
        return -1;
    ini = plain;
    return static_cast<int>(at.size());
}

} // namespace zel
