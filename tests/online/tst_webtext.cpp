// Web texts: the Windows-1251 encodings, the service addresses and their
// query escaping, the date texts, and the error report's description.
#include "engine/errors.h"
#include "online/errorreport.h"
#include "online/httpaccess.h"
#include "shell/commatext.h"
#include "online/servicehost.h"
#include "online/webtext.h"
#include "shell/settingsstore.h"

#include <QUrl>
#include <QtTest>

#include <stdexcept>

using namespace zel;

class TestWebText : public QObject {
    Q_OBJECT
private slots:
    void w1251_data();
    void w1251();
    void w1251LeavesOthersAndIsIdempotent();
    void decodeAndUkrStr();
    void clearStringAndUpper();
    void queryEscape_data();
    void queryEscape();
    void serviceAddresses();
    void dateTexts();
    void socketErrorMessage();
    void description();
    void nestedErrors();
    void networkFailureTest();
};

void TestWebText::w1251_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("Привіт") << u"Привіт"_qs << u"%CF%F0%E8%E2%B3%F2"_qs;
    QTest::newRow("a%b c") << u"a%b c"_qs << u"a%b%20c"_qs;
    QTest::newRow("Тема:") << u"Тема:"_qs << u"%D2%E5%EC%E0:"_qs;
    QTest::newRow("edges") << u"аяёіїєАЁІЇЄ\\><"_qs
                           << u"%E0%FF%B8%B3%BF%BA%C0%A8%B2%AF%AA%5C%3E%3C"_qs;
    QTest::newRow("(no theme)") << u"(no theme)"_qs << u"(no%20theme)"_qs;
}

void TestWebText::w1251()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(W1251toUTF8(in), out);
}

void TestWebText::w1251LeavesOthersAndIsIdempotent()
{
    const QString others = u"ґҐé&=+?#\"'\r\nAZaz09%"_qs;
    QCOMPARE(W1251toUTF8(others), others);
    // Every one of the 76 characters of the set is encoded.
    const QString set = u"абвгдеёжзийклмнопрстуфхцчшщьыъэюяіїє АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯІЇЄ\\><"_qs;
    QCOMPARE(set.size(), 76);
    QCOMPARE(W1251toUTF8(set).size(), 76 * 3);
    const QString once = W1251toUTF8(u"Доступ є, ґанок"_qs);
    QCOMPARE(W1251toUTF8(once), once);
}

void TestWebText::decodeAndUkrStr()
{
    const QString raw = QString::fromLatin1("\xCF\xF0\xE8\xE2\xB3\xF2");
    const QString decoded = DecodeWin1251(raw);
    QCOMPARE(decoded, u"Прив"_qs + QChar(0xB3) + u"т"_qs);
    QCOMPARE(UkrStr(decoded), u"Привіт"_qs);
    QCOMPARE(UkrStr(QString::fromLatin1("\xAF\xBF\xB2\xB3\xAA\xBA")), u"ЇїІіЄє"_qs);
    // Ё ё Ґ ґ are converted by neither.
    const QString kept = QString::fromLatin1("\xA8\xB8\xA5\xB4");
    QCOMPARE(UkrStr(DecodeWin1251(kept)), kept);
    QCOMPARE(DecodeWin1251(QString::fromLatin1("\xC0\xFF")), u"Ая"_qs);
    QCOMPARE(DecodeWin1251(u"abc Я"_qs), u"abc Я"_qs);
}

void TestWebText::clearStringAndUpper()
{
    QCOMPARE(ClearString(u"it's 'ok'"_qs), u"it`s `ok`"_qs);
    QCOMPARE(asciiUpper(u"/myid"_qs), u"/MYID"_qs);
    QCOMPARE(asciiUpper(u"/mYid ї"_qs), u"/MYID ї"_qs);
}

void TestWebText::queryEscape_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<bool>("keepPercent");
    QTest::addColumn<QString>("out");
    QTest::newRow("plain") << u"12:00:01_Ok"_qs << false << u"12:00:01_Ok"_qs;
    QTest::newRow("breakers") << u"a#b&c+d"_qs << true << u"a%23b%26c%2Bd"_qs;
    QTest::newRow("percent kept") << u"%E0%20"_qs << true << u"%E0%20"_qs;
    QTest::newRow("percent escaped") << u"50%"_qs << false << u"50%25"_qs;
    QTest::newRow("space and CR LF") << u"a b\r\n"_qs << false << u"a%20b%0D%0A"_qs;
    QTest::newRow("Cyrillic by code page") << u"ґЯ"_qs << false << u"%B4%DF"_qs;
    QTest::newRow("no code page place") << u"€漢"_qs << false << u"%88%3F"_qs;
}

void TestWebText::queryEscape()
{
    QFETCH(QString, in);
    QFETCH(bool, keepPercent);
    QFETCH(QString, out);
    QCOMPARE(escapeQueryValue(in, keepPercent), out);
}

void TestWebText::serviceAddresses()
{
    const QString h = u"127.0.0.1:8123"_qs;
    QCOMPARE(createIdUrl(h), u"http://127.0.0.1:8123/sp/zm.php?query=createID"_qs);
    QCOMPARE(getMessageUrl(h, 42), u"http://127.0.0.1:8123/sp/zm.php?query=getmessage&ID=42"_qs);
    QCOMPARE(ipUrl(h), u"http://127.0.0.1:8123/ip.html"_qs);
    QCOMPARE(statisticsUrl(h, u"check.log"_qs), u"http://127.0.0.1:8123/send.php?file=check.log"_qs);
    QCOMPARE(updatesIniUrl(h), u"http://127.0.0.1:8123/updates/updates.ini"_qs);
    QCOMPARE(sendLogUrl(h, u"1:00:00_Ok,1:00:01_a#b&c+d%"_qs),
             u"http://127.0.0.1:8123/sp/sendlog.php?text=1:00:00_Ok,1:00:01_a%23b%26c%2Bd%25"_qs);
    // A long log: the newest lines that keep the address, as sent, within
    // the limit (a quotation mark travels as "%22", a Cyrillic letter as six
    // characters).
    QStringList log;
    for (int i = 0; i < 2000; ++i)
        log << u"12:00:%1_entry #%2 Ж"_qs.arg(i % 60).arg(i);
    QCOMPARE(sendLogUrl(h, log.mid(1990)), sendLogUrl(h, CommaText(log.mid(1990))));
    const QString cut = sendLogUrl(h, log, 8000);
    qsizetype from = 0;
    while (QUrl(sendLogUrl(h, CommaText(log.mid(from)))).toEncoded().size() > 8000)
        ++from;
    QCOMPARE(cut, sendLogUrl(h, CommaText(log.mid(from))));
    QVERIFY(from > 0 && from < 1990);
    const QString one = sendLogUrl(h, QStringList{QString(9000, u'x')}, 8000);
    QCOMPARE(one.size(), 8000);
    QCOMPARE(sendMessageUrl(h, 0, W1251toUTF8(u"(no theme)"_qs), u"@"_qs, W1251toUTF8(u"\"a b\",c#1&2+3"_qs)),
             u"http://127.0.0.1:8123/sp/zm.php?query=sendmessage&ID=0&theme=(no%20theme)&email=@"
             "&message=\"a%20b\",c%231%262%2B3"_qs);
    // The build-time defaults are harmless: names under ".example" and an
    // address of the documentation range.
    QVERIFY(ServiceHost.endsWith(u".example"_qs) || ServiceHost.startsWith(u"127.0.0.1"_qs));
    QVERIFY(!ExcludedAddress.isEmpty());
    QCOMPARE(ServiceHosts().service, ServiceHost);
}

void TestWebText::dateTexts()
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    QCOMPARE(shortDateText(QDate(2026, 3, 4), ru), u"04.03.2026"_qs);
    QCOMPARE(dateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)), ru), u"04.03.2026 09:05:07"_qs);
    // At exactly midnight the time is left out.
    QCOMPARE(dateTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 0)), ru), u"04.03.2026"_qs);
    QCOMPARE(dateTimeText(QDateTime(QDate(2026, 3, 4), QTime(0, 0, 1)), ru), u"04.03.2026 00:00:01"_qs);
}

void TestWebText::socketErrorMessage()
{
    const SocketError e(111, u"Connection refused"_qs);
    QCOMPARE(e.message(), u"Socket Error # 111\r\nConnection refused"_qs);
    QCOMPARE(e.number(), 111);
}

void TestWebText::description()
{
    const ConvertError e(u"\"abc\" is not a valid integer value"_qs);
    QCOMPARE(errorDescription(u"QPushButton"_qs, e),
             u"exception QPushButton  \"abc\" is not a valid integer value    zel::ConvertError engine/errors.h"_qs);
    QCOMPARE(errorDescription(u"zel::TForm1"_qs, StoreError(u"x"_qs)),
             u"exception zel::TForm1  x    zel::StoreError shell/settingsstore.h"_qs);
    QCOMPARE(errorDescription(u"A"_qs, HttpError(u"HTTP/1.1 404 Not Found"_qs)),
             u"exception A  HTTP/1.1 404 Not Found    zel::HttpError online/httpaccess.h"_qs);
    QCOMPARE(errorDescription(u"A"_qs, InOutError(u"disk"_qs)),
             u"exception A  disk    zel::InOutError engine/errors.h"_qs);
    QCOMPARE(errorDescription(u"A"_qs, std::out_of_range("far")),
             u"exception A  far    std::out_of_range <stdexcept>"_qs);
    struct Odd : std::exception {
        const char* what() const noexcept override { return ""; }
    };
    QVERIFY(errorDescription(u"A"_qs, Odd()).startsWith(u"exception A      "_qs));
    QVERIFY(errorDescription(u"A"_qs, Odd()).endsWith(u" ?"_qs));
}

void TestWebText::nestedErrors()
{
    try {
        try {
            throw ConvertError(u"inner"_qs);
        } catch (...) {
            std::throw_with_nested(std::runtime_error("outer"));
        }
    } catch (const std::exception& e) {
        QCOMPARE(errorText(e), u"outer\r\ninner"_qs);
        QVERIFY(errorDescription(u"A"_qs, e).contains(u"  outer\r\ninner    "_qs));
    }
}

void TestWebText::networkFailureTest()
{
    QVERIFY(isNetworkFailure(u"Socket Error # 111\r\nConnection refused"_qs));
    QVERIFY(isNetworkFailure(u"x Socket Error"_qs));
    QVERIFY(!isNetworkFailure(u"socket error"_qs));
    QVERIFY(!isNetworkFailure(u"HTTP/1.1 404 Not Found"_qs));
}

QTEST_GUILESS_MAIN(TestWebText)
#include "tst_webtext.moc"
