// The language table, compared character by character where it matters most.
#include "shell/langtable.h"

#include <QtTest>

using namespace zel;

class TestLangTable : public QObject {
    Q_OBJECT
private slots:
    void sample_data();
    void sample();
    void lookAlikeCapitals();
    void oddEntries();
    void everyEntryHasText();
};

void TestLangTable::sample_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("uk");
    QTest::addColumn<QString>("ru");
    QTest::addColumn<QString>("en");
    QTest::newRow("0") << 0 << u"Налаштування"_qs << u"Настройки"_qs << u"Settings"_qs;
    QTest::newRow("3") << 3 << u"Діаметер"_qs << u"Диаметр"_qs << u"Diameter"_qs;
    QTest::newRow("6") << 6 << u"Об`єм"_qs << u"Объём"_qs << u"Volume"_qs;
    QTest::newRow("7") << 7 << u"см."_qs << u"см."_qs << u"sm."_qs;
    QTest::newRow("9") << 9 << u"м.п."_qs << u"м.п."_qs << u"m."_qs;
    QTest::newRow("12") << 12 << u"м3."_qs << u"м3."_qs << u"m3."_qs;
    QTest::newRow("33") << 33 << u"Липа, Осика"_qs << u"Липа, Осина"_qs << u"Oak, wasp"_qs;
    QTest::newRow("39") << 39 << u"Оциліндрований брус"_qs << u"Оцилиндрованное бревно"_qs
                        << u"Machine rounded"_qs;
    QTest::newRow("42") << 42 << u"Висота"_qs << u"Высота"_qs << u"Hight"_qs;
    QTest::newRow("44") << 44 << u"Круглий ліс"_qs << u"Круглый лес"_qs << u"Round timber"_qs;
    QTest::newRow("49") << 49 << u"Видалити кубатурний розрахунок?"_qs
                        << u"Удалить кубатурный расчет ?"_qs << u"Remove cubature calculation?"_qs;
    QTest::newRow("56") << 56 << u"Налаштування: "_qs << u"Настройки: "_qs << u"Setings: "_qs;
    QTest::newRow("58") << 58 << u" Пакет оновлення:"_qs << u" Пакет обновлений: "_qs
                        << u" Service pack: "_qs;
    QTest::newRow("59") << 59 << u"Максимально: "_qs << u"Максимально: "_qs << u"Maximally: "_qs;
    QTest::newRow("60") << 60 << u"Мінімально: "_qs << u"Минимально: "_qs << u"Minimum: "_qs;
    QTest::newRow("75") << 75 << u"Розрахунок кубатури круглого пиломатеріалу по "_qs
                        << u"Расчет кубатуры круглого пиломатериала по "_qs
                        << u"Calculation of cubic meters of round timber in "_qs;
    QTest::newRow("77") << 77 << u"Файли Excel|*.xlc"_qs << u"Файлы Excel|*.xlc"_qs
                        << u"Excel files |*.xlc"_qs;
    QTest::newRow("80") << 80 << u"Деякі значення виходять за межі інтерполяційної таблиці."_qs
                        << u"Некоторые значение выходят за пределы интерполяционной таблицы."_qs
                        << u"Some go beyond the value of the interpolation table."_qs;
    QTest::newRow("85") << 85 << u"Завантажити оновлення?"_qs << u"Загрузить обновление ?"_qs
                        << u"Download the update?"_qs;
    QTest::newRow("89") << 89 << u"Дошка-брус"_qs << u"Доска-брус"_qs << u"Board-beams"_qs;
    QTest::newRow("94") << 94 << u"e-mail: (не обов`язково)"_qs << u"e-mail: (не обязательно)"_qs
                        << u"e-mail: ()"_qs;
    QTest::newRow("96") << 96 << u"Нема повідомлень"_qs << u"Нет сообщений"_qs << u"No massages!"_qs;
    QTest::newRow("104") << 104 << u"Помилка при спробі запису в \\system32\\. Файл: midas.dll"_qs
                         << u"Ошибка при попытке записи в \\system32\\. Файл: midas.dll"_qs
                         << u"Error when trying to write \\system32\\. File: midas.dll"_qs;
    QTest::newRow("105") << 105 << u"Помилка зв`язку з сервером!"_qs << u"Ошибка связи с сервером!"_qs
                         << u"Error to connect with server!"_qs;
    QTest::newRow("109") << 109
        << u"Зворотний зв`язок.Тут ви можете висловити свою думку про програму, також про помилки або про свої бажання, що стосується поліпшення функціональності. Нам важлива Ваша думка."_qs
        << u"Обратная связь.Здесь вы можете высказать свое мнение о программе, также о ошибках или о своих желаниях и предпочтениях, что касается улучшения функциональности. Нам важно Ваше мнение."_qs
        << u"Feed-back.Here you can say of the opinion of the program, also about errors or about the desires and preferences, in respect of improvement of functionality. Your opinion is important us."_qs;
}

void TestLangTable::sample()
{
    QFETCH(int, entry);
    QFETCH(QString, uk);
    QFETCH(QString, ru);
    QFETCH(QString, en);
    QCOMPARE(Lang(entry, UiLanguage::Ukrainian), uk);
    QCOMPARE(Lang(entry, UiLanguage::Russian), ru);
    QCOMPARE(Lang(entry, UiLanguage::English), en);
}

void TestLangTable::lookAlikeCapitals()
{
    const QChar es(0x0421), ie(0x0415);
    QCOMPARE(Lang(22, UiLanguage::English), QString(es) + u"ubature table"_qs);
    QCOMPARE(Lang(29, UiLanguage::English), u"[ "_qs + es + u"alculation ]"_qs);
    QCOMPARE(Lang(40, UiLanguage::English), QString(ie) + u"hinning on the meter"_qs);
    QCOMPARE(Lang(46, UiLanguage::English), QString(es) + u"alculations"_qs);
    QCOMPARE(Lang(78, UiLanguage::English), QString(es) + u"heck for updates"_qs);
    QCOMPARE(Lang(79, UiLanguage::English), QString(es) + u"heck for updates automatically"_qs);
    // The Ukrainian title of the cubature table keeps its missing letter.
    QCOMPARE(Lang(22, UiLanguage::Ukrainian), u"Куатурна таблиця"_qs);
    // Entry 82 is the Latin spelling; only 78 and 79 start with the Cyrillic letter.
    QCOMPARE(Lang(82, UiLanguage::English).at(0), QLatin1Char('C'));
}

void TestLangTable::oddEntries()
{
    for (UiLanguage l : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English})
        QCOMPARE(Lang(108, l), QString());
    const QString help = Lang(107, UiLanguage::English);
    QVERIFY(help.startsWith(u"Zelmora, "_qs));
    QVERIFY(help.endsWith(u"пва "_qs));
    QCOMPARE(help, u"Zelmora, іваіа ів пвіп віп віа пва "_qs);
    QCOMPARE(Lang(107, UiLanguage::Russian), u"Zelmora, кубатурник пиломатериалов."_qs);
    QCOMPARE(Lang(110, UiLanguage::English), QString());
    QCOMPARE(Lang(-1, UiLanguage::English), QString());
}

void TestLangTable::everyEntryHasText()
{
    for (int n = 0; n < kLangEntries; ++n)
        for (UiLanguage l : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English})
            QCOMPARE(Lang(n, l).isEmpty(), n == 108);
    // Added entries: unique numbers past entry 109, text in every language.
    QSet<int> seen;
    for (int i = 0; i < kLangMoreEntries; ++i) {
        const LangMoreEntry& e = LangMoreTable[i];
        QVERIFY2(e.n > kLangEntries && !seen.contains(e.n), qPrintable(QString::number(e.n)));
        seen.insert(e.n);
        for (UiLanguage l : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English})
            QVERIFY2(!Lang(e.n, l).isEmpty(), qPrintable(QString::number(e.n)));
    }
}

QTEST_APPLESS_MAIN(TestLangTable)
#include "tst_langtable.moc"
