// Comma text: whatever is read, written and read again is the same list, and
// any list written and read back is itself.
#include "fuzz.h"
#include "shell/commatext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = zel::fuzz::text(data, size);
    const QStringList read = zel::SetCommaText(input);
    const QString written = zel::CommaText(read);
    FUZZ_CHECK(zel::SetCommaText(written) == read, written);

    // The input's lines as the items of a list (quotes, commas, blanks and
    // control characters in them included; not NUL, which ends a comma text).
    const QStringList items = QString(input).remove(QChar(0)).split(QLatin1Char('\n'));
    const QString itemsText = zel::CommaText(items);
    FUZZ_CHECK(zel::SetCommaText(itemsText) == items, itemsText);
    return 0;
}
