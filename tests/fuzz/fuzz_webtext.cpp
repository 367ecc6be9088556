// The web texts and the message replies: encoding twice changes nothing, the
// decoders keep every character's place, and a reply is a message or not.
#include "fuzz.h"
#include "online/messages.h"
#include "online/webtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = zel::fuzz::text(data, size);
    // A service answer is read one character per byte.
    const QString latin = QString::fromLatin1(reinterpret_cast<const char*>(data),
                                              static_cast<qsizetype>(size));

    const QString once = zel::W1251toUTF8(input);
    FUZZ_CHECK(zel::W1251toUTF8(once) == once, once);

    const QString decoded = zel::DecodeWin1251(latin);
    FUZZ_CHECK(decoded.size() == latin.size(), decoded);
    FUZZ_CHECK(zel::UkrStr(decoded).size() == decoded.size(), decoded);
    FUZZ_CHECK(!zel::ClearString(input).contains(QLatin1Char('\'')), input);

    zel::escapeQueryValue(input, false);
    zel::escapeQueryValue(once, true);

    if (const auto message = zel::messageFromReply(latin))
        FUZZ_CHECK(!message->isNull(), latin);
    const zel::CreatedId id = zel::createdIdFromReply(latin);
    if (id.id)
        FUZZ_CHECK(!id.text.isEmpty(), latin);
    zel::conversationText(input.split(QLatin1Char('\n')), QStringLiteral("12:00"), input);
    return 0;
}
