// The one reader of list texts.
#include "lists/listparser.h"
#include "lists/listwriter.h"
#include "lists/numbertext.h"
#include "shell/codepage.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace zel {
namespace {

struct Record {
    int line = 0;
    QStringList fields;
};

bool blank(const QStringList& fields)
{
    for (const QString& f : fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

// The separator of the first line that holds anything: a tab, else ";",
// else ","; a text of one column gets the tab.
QChar findSeparator(const QString& text)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false, content = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\t'))
            ++tabs;
        else if (c == QLatin1Char(';'))
            ++semicolons;
        else if (c == QLatin1Char(','))
            ++commas;
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (content || tabs + semicolons + commas > 0)
                break;
        } else if (!c.isSpace())
            content = true;
    }
    if (tabs > 0)
        return QLatin1Char('\t');
    if (semicolons > 0)
        return QLatin1Char(';');
    if (commas > 0)
        return QLatin1Char(',');
    return QLatin1Char('\t');
}

// Fields of every record that holds anything. A field that begins with a
// quotation mark runs to the next single one (a doubled mark is one mark) and
// may hold separators and line ends; CR LF, LF and CR alone all end a line.
QVector<Record> splitRecords(const QString& text, QChar separator)
{
    QVector<Record> records;
    Record record;
    QString field;
    int line = 1;
    record.line = 1;
    bool inQuotes = false;
    bool fieldStarted = false;
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        record.fields.append(field);
        field.clear();
        fieldStarted = false;
        if (!blank(record.fields))
            records.append(record);
        record.fields.clear();
        record.line = line;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        const bool crlf = c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n');
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
                continue;
            }
            if (lineEnd && !crlf)
                ++line;
            field += c;
        } else if (c == QLatin1Char('"') && !fieldStarted && field.trimmed().isEmpty()) {
            field.clear();
            inQuotes = true;
            fieldStarted = true;
        } else if (c == separator) {
            record.fields.append(field);
            field.clear();
            fieldStarted = false;
        } else if (lineEnd) {
            if (crlf)
                ++i;
            ++line;
            endRecord();
        } else {
            field += c;
            if (!c.isSpace())
                fieldStarted = true;
        }
    }
    endRecord();
    return records;
}

bool isGroupBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QLatin1Char('\'');
}

// A number, not a word: what a header row is told apart by.
bool hasWord(const QString& field)
{
    double unused;
    const QString t = field.trimmed();
    if (t.isEmpty())
        return false;
    if (readDecimal(t, QLatin1Char(','), &unused) || readDecimal(t, QLatin1Char('.'), &unused))
        return false;
    for (const QChar c : t) {
        if (c.isLetter())
            return true;
    }
    return false;
}

QString withoutEndDots(QString t)
{
    t = t.trimmed();
    while (t.endsWith(QLatin1Char('.')) || t.endsWith(QLatin1Char(':')))
        t.chop(1);
    return t.trimmed();
}

// Units written after a caption as a word of their own ("Diameter cm").
bool isUnitWord(const QString& word)
{
    static const QStringList units{
        QStringLiteral("cm"), QStringLiteral("sm"), QStringLiteral("mm"), QStringLiteral("m"),
        QStringLiteral("pcs"), QStringLiteral("m3"), QStringLiteral("см"), QStringLiteral("мм"),
        QStringLiteral("м"), QStringLiteral("шт"), QStringLiteral("м3"),
    };
    return units.contains(withoutEndDots(word));
}

// A caption without its unit, in small letters: "Диаметр, см", "Length (m)"
// and "Diameter cm." all come down to the name.
QString normalCaption(const QString& caption)
{
    QString t = caption.toLower();
    for (const QChar stop : {QLatin1Char('('), QLatin1Char('['), QLatin1Char(',')}) {
        const qsizetype at = t.indexOf(stop);
        if (at >= 0)
            t.truncate(at);
    }
    t = withoutEndDots(t);
    const qsizetype blank = t.lastIndexOf(QLatin1Char(' '));
    if (blank > 0 && isUnitWord(t.mid(blank + 1)))
        t = withoutEndDots(t.left(blank));
    return t;
}

// The short and trade names clerks head their columns with, beside the
// list's own captions.
const std::pair<EntryField, const char*> kShortCaptions[] = {
    {EntryField::Diameter, "D"},       {EntryField::Diameter, "Dia"},      {EntryField::Diameter, "Diam"},
    {EntryField::Diameter, "Ø"},       {EntryField::Diameter, "Диам"},     {EntryField::Diameter, "Діам"},
    {EntryField::Width, "W"},          {EntryField::Width, "Шир"},
    {EntryField::Height, "H"},         {EntryField::Height, "Thickness"},  {EntryField::Height, "Толщина"},
    {EntryField::Height, "Товщина"},
    {EntryField::Length, "L"},         {EntryField::Length, "Len"},        {EntryField::Length, "Дл"},
    {EntryField::Length, "Довж"},
    {EntryField::Count, "Qty"},        {EntryField::Count, "Quantity"},    {EntryField::Count, "Pcs"},
    {EntryField::Count, "Pieces"},     {EntryField::Count, "Count"},       {EntryField::Count, "Number"},
    {EntryField::Count, "Кол-во"},     {EntryField::Count, "Кол."},        {EntryField::Count, "Шт"},
    {EntryField::Count, "Штук"},       {EntryField::Count, "Кількість"},   {EntryField::Count, "К-сть"},
};

// The list's headers and the field names of the messages, in each language.
int captionEntry(EntryField field, bool header)
{
    switch (field) {
    case EntryField::Diameter:
        return header ? 3 : 142;
    case EntryField::Width:
        return header ? 43 : 143;
    case EntryField::Height:
        return header ? 42 : 144;
    case EntryField::Length:
        return header ? 4 : 145;
    case EntryField::Count:
        break;
    }
    return header ? 5 : 146;
}

const QHash<QString, EntryField>& captions()
{
    static const QHash<QString, EntryField> table = [] {
        QHash<QString, EntryField> t;
        for (EntryField field : {EntryField::Diameter, EntryField::Width, EntryField::Height, EntryField::Length,
                                 EntryField::Count}) {
            for (int l = 0; l < kLanguages; ++l) {
                for (bool header : {true, false})
                    t.insert(normalCaption(Lang(captionEntry(field, header), static_cast<UiLanguage>(l))), field);
            }
        }
        for (const auto& [field, caption] : kShortCaptions)
            t.insert(normalCaption(QString::fromUtf8(caption)), field);
        return t;
    }();
    return table;
}

// The decimal mark the numbers of the columns read are written with: the
// point where fields are parted by commas; otherwise the mark the fields
// use, the later one where a field has both ("1.234,5").
QChar findDecimalMark(const QVector<Record>& records, int first, const QVector<int>& columns, QChar separator)
{
    if (separator == QLatin1Char(','))
        return QLatin1Char('.');
    int commas = 0, points = 0;
    for (int r = first; r < records.size(); ++r) {
        for (int c : columns) {
            const QString f = records[r].fields.value(c).trimmed();
            const qsizetype comma = f.lastIndexOf(QLatin1Char(','));
            const qsizetype point = f.lastIndexOf(QLatin1Char('.'));
            // "1,000" may be a thousand or one: it tells nothing.
            if ((comma < 0) != (point < 0) && f.size() - 1 - std::max(comma, point) == 3)
                continue;
            if (comma > point)
                ++commas;
            else if (point > comma)
                ++points;
        }
    }
    return points > commas ? QLatin1Char('.') : QLatin1Char(',');
}

std::optional<RowProblem> readField(ListKind kind, EntryField field, const QString& raw, QChar mark,
                                    double* value)
{
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return RowProblem{RowProblem::Missing, field, text};
    double v = 0.0;
    if (!readDecimal(text, mark, &v))
        return RowProblem{RowProblem::NotNumber, field, text};
    if (field == EntryField::Length) {
        // The length field takes one decimal.
        const double tenths = std::round(v * 10.0);
        if (std::fabs(v * 10.0 - tenths) > 1e-6)
            return RowProblem{RowProblem::Decimals, field, text};
        v = tenths / 10.0;
        if (v < kMinLength || v > kMaxLength)
            return RowProblem{RowProblem::OutOfRange, field, text};
    } else {
        if (v != std::floor(v))
            return RowProblem{RowProblem::NotWhole, field, text};
        if (std::fabs(v) > 1e15 || !entryFits(kind, field, static_cast<std::int64_t>(v)))
            return RowProblem{RowProblem::OutOfRange, field, text};
    }
    *value = v;
    return std::nullopt;
}

} // namespace

bool readDecimal(const QString& text, QChar decimalMark, double* value)
{
    const QChar group = decimalMark == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QString t = text.trimmed();
    QByteArray plain;
    plain.reserve(t.size());
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        plain.append(static_cast<char>(t[i++].unicode()));
    // Integer digits; a group mark must have three digits after it.
    int digits = 0;
    int sinceGroup = -1;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain.append(static_cast<char>(c.unicode()));
            ++digits;
            if (sinceGroup >= 0)
                ++sinceGroup;
        } else if ((c == group || isGroupBlank(c)) && digits > 0 && (sinceGroup < 0 || sinceGroup == 3)) {
            sinceGroup = 0;
        } else {
            break;
        }
    }
    if (digits == 0 || (sinceGroup >= 0 && sinceGroup != 3))
        return false;
    if (i < n && t[i] == decimalMark) {
        plain.append('.');
        for (++i; i < n && t[i].isDigit() && t[i].unicode() < 128; ++i)
            plain.append(static_cast<char>(t[i].unicode()));
    }
    if (i < n && (t[i] == QLatin1Char('E') || t[i] == QLatin1Char('e'))) {
        plain.append('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
            plain.append(static_cast<char>(t[i++].unicode()));
        int expDigits = 0;
        for (; i < n && t[i].isDigit() && t[i].unicode() < 128; ++i, ++expDigits)
            plain.append(static_cast<char>(t[i].unicode()));
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

ParsedList ListParser::parseFile(const QByteArray& bytes) const
{
    ParsedList result;
    if (bytes.size() > kMaxFileSize) {
        result.failure = ParsedList::TooLarge;
        return result;
    }
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes.mid(3));
        if (utf8.hasError()) {
            result.failure = ParsedList::NotText;
            return result;
        }
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        text = utf16.decode(bytes.mid(2));
    } else {
        if (bytes.contains('\0')) {
            result.failure = ParsedList::NotText;
            return result;
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError()) // an older spreadsheet's Cyrillic
            text = fromWindows1251(bytes);
    }
    // Control characters other than line ends and tabs: bytes of another kind.
    qsizetype controls = 0;
    for (const QChar c : std::as_const(text)) {
        if (c.unicode() < 32 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r')
            && c != QLatin1Char('\f'))
            ++controls;
    }
    if (controls > 0 && controls * 100 >= text.size()) {
        result.failure = ParsedList::NotText;
        return result;
    }
    return parseText(text);
}

ParsedList ListParser::parseText(const QString& text) const
{
    ParsedList result;
    result.separator = findSeparator(text);
    const QVector<Record> records = splitRecords(text, result.separator);
    if (records.isEmpty()) {
        result.failure = ParsedList::Empty;
        return result;
    }
    const QVector<EntryField> fields = entryFields(m_kind);
    // Column of each field; -1 for a count left out.
    QVector<int> columns(fields.size(), -1);
    int first = 0;
    for (const QString& f : records[0].fields) {
        if (hasWord(f)) {
            result.header = true;
            break;
        }
    }
    if (result.header) {
        first = 1;
        const QHash<QString, EntryField>& known = captions();
        const QStringList& head = records[0].fields;
        for (int c = 0; c < head.size(); ++c) {
            const auto it = known.constFind(normalCaption(head[c]));
            if (it == known.cend())
                continue;
            const qsizetype at = fields.indexOf(it.value());
            if (at >= 0 && columns[at] < 0)
                columns[at] = c;
        }
        for (int k = 0; k < fields.size(); ++k) {
            if (columns[k] < 0 && fields[k] != EntryField::Count) {
                result.failure = ParsedList::NoColumn;
                result.missingColumn = fields[k];
                return result;
            }
        }
        for (int c = 0; c < head.size(); ++c) {
            result.captions << head[c].trimmed();
            if (!columns.contains(c) && !head[c].trimmed().isEmpty())
                result.unreadColumns << head[c].trimmed();
        }
    } else {
        for (int k = 0; k < fields.size(); ++k)
            columns[k] = k;
    }
    QVector<int> used;
    for (int c : columns) {
        if (c >= 0)
            used.append(c);
    }
    result.columns = columns;
    result.decimalMark = findDecimalMark(records, first, used, result.separator);
    result.rows.reserve(records.size() - first);
    for (int r = first; r < records.size(); ++r) {
        const Record& rec = records[r];
        ParsedRow row{rec.line, {}};
        std::optional<RowProblem> problem;
        for (int k = 0; k < fields.size() && !problem; ++k) {
            const EntryField field = fields[k];
            const int c = columns[k];
            // A count left out means 1; only a count in no column, or past the
            // end of a row without a header, is left out.
            if (field == EntryField::Count && (c < 0 || (!result.header && c >= rec.fields.size()))) {
                row.values.count = 1;
                continue;
            }
            double v = 0.0;
            problem = readField(m_kind, field, rec.fields.value(c), result.decimalMark, &v);
            if (problem)
                break;
            switch (field) {
            case EntryField::Diameter:
            case EntryField::Width:
                row.values.size = static_cast<std::int64_t>(v);
                break;
            case EntryField::Height:
                row.values.height = static_cast<std::int64_t>(v);
                break;
            case EntryField::Length:
                row.values.length = v;
                break;
            case EntryField::Count:
                row.values.count = static_cast<std::int64_t>(v);
                break;
            }
        }
        if (problem)
            result.skipped.append({rec.line, *problem});
        else
            result.rows.append(row);
    }
    if (result.rows.isEmpty() && result.skipped.isEmpty())
        result.failure = ParsedList::Empty;
    return result;
}

QString fieldName(EntryField field, UiLanguage language)
{
    switch (field) {
    case EntryField::Diameter:
        return Lang(142, language);
    case EntryField::Width:
        return Lang(143, language);
    case EntryField::Height:
        return Lang(144, language);
    case EntryField::Length:
        return Lang(145, language);
    case EntryField::Count:
        break;
    }
    return Lang(146, language);
}

QString describeProblem(const RowProblem& given, ListKind kind, UiLanguage language)
{
    // A field of garbage is named by its start.
    constexpr int kShownChars = 20;
    RowProblem problem = given;
    if (problem.text.size() > kShownChars)
        problem.text = problem.text.left(kShownChars) + QChar(0x2026);
    const QString name = fieldName(problem.field, language);
    switch (problem.kind) {
    case RowProblem::Missing:
        return Lang(147, language).arg(name);
    case RowProblem::NotNumber:
        return Lang(148, language).arg(name, problem.text);
    case RowProblem::NotWhole:
        return Lang(149, language).arg(name, problem.text);
    case RowProblem::Decimals:
        return Lang(151, language).arg(name, problem.text);
    case RowProblem::OutOfRange:
        break;
    }
    if (problem.field == EntryField::Length)
        return Lang(150, language).arg(name, problem.text, ShortestNumber(kMinLength), ShortestNumber(kMaxLength));
    const EntryRange r = entryRange(kind, problem.field);
    return Lang(150, language).arg(name, problem.text, QString::number(r.low), QString::number(r.high));
}

QString describeSkipped(const QVector<SkippedRow>& skipped, ListKind kind, UiLanguage language, int most,
                        const QString& joint)
{
    QStringList parts;
    for (int i = 0; i < skipped.size() && i < most; ++i)
        parts << Lang(141, language).arg(skipped[i].row).arg(describeProblem(skipped[i].problem, kind, language));
    QString text = parts.join(joint);
    if (skipped.size() > most)
        text += QChar(0x2026);
    return text;
}

bool ParsedList::countMayBeUnread() const
{
    return header && !columns.isEmpty() && columns.last() < 0 && !unreadColumns.isEmpty();
}

QStringList acceptedCaptions(EntryField field, UiLanguage language)
{
    QStringList shown;
    QStringList seen;
    const auto add = [&](const QString& caption) {
        const QString normal = normalCaption(caption);
        if (!seen.contains(normal)) {
            seen << normal;
            shown << caption;
        }
    };
    // The user's language first.
    add(Lang(captionEntry(field, true), language));
    for (int l = 0; l < kLanguages; ++l)
        add(Lang(captionEntry(field, true), static_cast<UiLanguage>(l)));
    for (const auto& [f, caption] : kShortCaptions) {
        if (f == field)
            add(QString::fromUtf8(caption));
    }
    return shown;
}

QString describeUnreadCount(const ParsedList& parsed, ListKind kind, UiLanguage language)
{
    if (!parsed.countMayBeUnread())
        return QString();
    QStringList quoted;
    for (const QString& caption : parsed.unreadColumns)
        quoted << QLatin1Char('"') + caption + QLatin1Char('"');
    return Lang(kind == ListKind::Round ? 165 : 166, language).arg(quoted.join(QStringLiteral(", ")));
}

RowsAmount rowsAmount(const ParsedList& parsed, ListKind kind, const ListContext& ctx)
{
    Lines lines;
    ListEntries entries(lines, kind);
    for (const ParsedRow& row : parsed.rows)
        entries.add(row.values);
    if (kind == ListKind::Round)
        ReFreshRoundLines(lines, ctx);
    else
        ReFreshBoardLines(lines, ctx);
    const PrintedTotals t = printedTotals(lines, kind, ctx);
    return RowsAmount{t.count, t.volume};
}

QString describeFailure(const ParsedList& parsed, UiLanguage language)
{
    switch (parsed.failure) {
    case ParsedList::None:
        return QString();
    case ParsedList::NotText:
        return Lang(152, language);
    case ParsedList::Empty:
        return Lang(153, language);
    case ParsedList::TooLarge:
        return Lang(154, language);
    case ParsedList::NoColumn:
        break;
    }
    return Lang(155, language).arg(fieldName(parsed.missingColumn, language)) + QStringLiteral(". ")
           + Lang(169, language).arg(acceptedCaptions(parsed.missingColumn, language).join(QStringLiteral(", ")));
}

QString importQuestion(const ParsedList& parsed, ListKind kind, UiLanguage language, const RowsAmount& amount)
{
    // The question lists a screenful of skipped rows; the log has them all.
    constexpr int kShown = 10;
    const QString skipped = describeSkipped(parsed.skipped, kind, language, kShown, QStringLiteral(", "));
    QStringList lines;
    if (parsed.rows.isEmpty())
        lines << Lang(140, language).arg(parsed.skipped.size()).arg(skipped);
    else if (parsed.skipped.isEmpty())
        lines << Lang(139, language).arg(parsed.rows.size());
    else
        lines << Lang(138, language).arg(parsed.rows.size()).arg(parsed.skipped.size()).arg(skipped);
    if (!parsed.rows.isEmpty()) {
        lines << Lang(kind == ListKind::Round ? 167 : 168, language)
                     .arg(amount.pieces)
                     .arg(unitsText(amount.volume, 4));
    }
    const QVector<EntryField> fields = entryFields(kind);
    QStringList read;
    for (int k = 0; k < fields.size() && k < parsed.columns.size(); ++k) {
        const int c = parsed.columns[k];
        if (c < 0)
            continue;
        read << (parsed.header ? Lang(163, language).arg(fieldName(fields[k], language), parsed.captions.value(c))
                               : fieldName(fields[k], language));
    }
    lines << Lang(parsed.header ? 162 : 164, language).arg(read.join(QStringLiteral(", ")));
    const QString unread = describeUnreadCount(parsed, kind, language);
    if (!unread.isEmpty())
        lines << unread;
    return lines.join(QLatin1Char('\n'));
}

} // namespace zel
