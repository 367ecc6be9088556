// Comma text both ways, with the stored lists' and the service's cases.
#include "shell/commatext.h"

#include <QtTest>

using namespace zel;

class TestCommaText : public QObject {
    Q_OBJECT
private slots:
    void write_data();
    void write();
    void read_data();
    void read();
    void roundTrip_data();
    void roundTrip();
};

void TestCommaText::write_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty list") << QStringList() << "";
    QTest::newRow("one empty item") << QStringList{""} << "\"\"";
    QTest::newRow("blank quotes") << QStringList{"a b", "c"} << "\"a b\",c";
    QTest::newRow("empty middle") << QStringList{"x", "", "y"} << "x,,y";
    QTest::newRow("quote doubled") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
    QTest::newRow("comma") << QStringList{"1,5"} << "\"1,5\"";
    QTest::newRow("tab and CR") << QStringList{"a\tb", "c\r"} << "\"a\tb\",\"c\r\"";
    QTest::newRow("stored round line")
        << QStringList{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs}
        << u"\"20 см.\",\"4,00 м.\",\"3 шт.\",\"0,4410 м3.\""_qs;
    QTest::newRow("log entries") << QStringList{"14:03:22_Create_form", "14:03:23_Add_round"}
                                 << "14:03:22_Create_form,14:03:23_Add_round";
    QTest::newRow("non-breaking space is no blank") << QStringList{u"1\u00A0235"_qs} << u"1\u00A0235"_qs;
}

void TestCommaText::write()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QCOMPARE(CommaText(items), text);
}

void TestCommaText::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("two quotes") << "\"\"" << QStringList{""};
    QTest::newRow("bare blank splits") << "Hello world" << QStringList{"Hello", "world"};
    QTest::newRow("quoted blank") << "\"Hello world\"" << QStringList{"Hello world"};
    QTest::newRow("empty middle") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("trailing comma") << "a," << QStringList{"a", ""};
    QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
    QTest::newRow("quoted then bare") << "\"a b\",c" << QStringList{"a b", "c"};
    QTest::newRow("unclosed quote") << "\"abc,def" << QStringList{"abc,def"};
    QTest::newRow("leading blanks") << "  \t a" << QStringList{"a"};
    QTest::newRow("blanks around commas") << "a , b" << QStringList{"a", "b"};
    QTest::newRow("bare list") << "20,4,5,2,0" << QStringList{"20", "4", "5", "2", "0"};
    QTest::newRow("quote inside a bare item") << "ab\"c,d" << QStringList{"ab\"c", "d"};
    QTest::newRow("text after a closing quote") << "\"a\"b" << QStringList{"a", "b"};
    QTest::newRow("NUL ends the text") << QString("a,b") + QChar(0) + "c" << QStringList{"a", "b"};
}

void TestCommaText::read()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(SetCommaText(text), items);
}

void TestCommaText::roundTrip_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("units") << QStringList{u"20 см."_qs, u"4,00 м."_qs, u"3 шт."_qs, u"0,4410 м3."_qs};
    QTest::newRow("quotes") << QStringList{"\"", "\"\"", "a\"b"};
    QTest::newRow("empties") << QStringList{"", "", ""};
    QTest::newRow("controls") << QStringList{"\r\n", " ", "\x01"};
}

void TestCommaText::roundTrip()
{
    QFETCH(QStringList, items);
    QCOMPARE(SetCommaText(CommaText(items)), items);
}

QTEST_APPLESS_MAIN(TestCommaText)
#include "tst_commatext.moc"
