// Every window of the program in each language: no text of a caption,
// button, check box, radio button, group box or header section is wider than
// the room its control gives it, unless elided with "..." and shown whole as
// its tool tip.
#include "../fakes/windowtest.h"
#include "base/ui/tform4.h"
#include "cubtable/ui/tform3.h"
#include "lists/ui/numberedit.h"
#include "online/ui/tform10.h"
#include "online/ui/tform8.h"
#include "report/ui/tform6.h"
#include "app/application.h"
#include "shell/ui/tform2.h"
#include "shell/ui/tform5.h"
#include "shell/ui/tform9.h"
#include "summary/ui/lotsummarywindow.h"
#include "cuttexts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace zel;

class TestTextsFit : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void textsFit_data();
    void textsFit();

private:
    void add(const char* tab, const char* button, const QStringList& fields, const QStringList& texts);

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm5> m_settings;
};

void TestTextsFit::cleanup()
{
    m_settings.reset();
    m_form.reset();
}

void TestTextsFit::add(const char* tab, const char* button, const QStringList& fields, const QStringList& texts)
{
    m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(tab[0] - '0');
    for (int i = 0; i < fields.size(); ++i)
        m_form->findChild<QLineEdit*>(fields[i])->setText(texts[i]);
    QTest::mouseClick(m_form->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

void TestTextsFit::textsFit_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("language");
    const char* const windows[] = {"main round", "main boards", "main log", "main messages", "settings",
                                   "table", "base", "preview", "about", "help", "feedback", "progress",
                                   "summary"};
    for (const char* window : windows)
        for (int language = 0; language < 3; ++language)
            QTest::addRow("%s %d", window, language) << QString::fromLatin1(window) << language;
}

void TestTextsFit::textsFit()
{
    QFETCH(QString, window);
    QFETCH(int, language);
    startWindowTest(m_store, static_cast<UiLanguage>(language));
    m_form = std::make_unique<TForm1>(testServices(m_store, m_dir.filePath(u"zelmora"_qs)));
    m_settings = std::make_unique<TForm5>(m_form.get(), m_form->services());
    m_form->setSettingsWindow(m_settings.get());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    // The longest texts the lists show: a five-figure volume, a line outside
    // the table (the status notice), the expanded totals panel.
    add("1", "Button3", {u"Edit5"_qs, u"Edit7"_qs, u"Edit6"_qs}, {u"50"_qs, u"30"_qs, u"9999"_qs});
    add("0", "Button1", {u"Edit1"_qs, u"Edit3"_qs}, {u"120"_qs, u"10000"_qs});
    m_form->findChild<NumberEdit*>(u"CurrencyEdit1"_qs)->setText(u"12,0"_qs);
    add("0", "Button1", {u"Edit1"_qs, u"Edit3"_qs}, {u"20"_qs, u"1"_qs});
    m_form->StartMore();
    QTRY_VERIFY(!m_form->Bigform);

    const std::map<QString, std::function<QWidget*()>> open{
        {u"main round"_qs, [&] { return m_form.get(); }},
        {u"main boards"_qs, [&] {
             m_form->findChild<QTabWidget*>(u"PageControl1"_qs)->setCurrentIndex(1);
             return m_form.get();
         }},
        {u"main log"_qs, [&] {
             m_form->showLogTab();
             return m_form.get();
         }},
        {u"main messages"_qs, [&] {
             m_form->showMessagesTab();
             return m_form.get();
         }},
        {u"settings"_qs, [&] { return m_settings.get(); }},
        {u"table"_qs, [&] { return new TForm3(m_form.get(), m_form->services()); }},
        {u"base"_qs, [&] { return new TForm4(m_form.get(), m_form->lists(), m_form->services(), u"Лот 1"_qs); }},
        {u"preview"_qs, [&] {
             m_form->PrintCub();
             return m_form->findChildren<TForm6*>().constLast();
         }},
        {u"about"_qs, [&] { return new TForm2(m_form.get(), m_form->services(), m_form->GetMyVersion()); }},
        {u"help"_qs, [&] { return new TForm9(m_form.get()); }},
        {u"feedback"_qs, [&] { return new TForm10(m_form.get(), m_form->online()); }},
        {u"progress"_qs, [&] { return new TForm8(m_form.get()); }},
        {u"summary"_qs, [&] {
             m_form->LotSummaryClick();
             return static_cast<QWidget*>(m_form->summaryWindow());
         }},
    };
    QWidget* w = open.at(window)();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // The base's columns are sized to what they hold: its cells are checked too.
    const QStringList cut = cutTexts(w, window == u"base"_qs);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u", "_qs)));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestTextsFit t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_textsfit.moc"
