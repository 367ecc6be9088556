// The main window as a whole: start-up, language switch, settings window,
// totals panel, main menu and keys, lists kept between runs.
#include "../fakes/windowtest.h"
#include "../fakes/memorystore.h"
#include "../fakes/storefile.h"
#include "../fakes/testservices.h"
#include "lists/ui/linedrawing.h"
#include "lists/ui/lineicons.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/numberedit.h"
#include "shell/log.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settingsio.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "shell/ui/drawsvg.h"
#include "shell/ui/pictures.h"
#include "app/tform1.h"
#include "shell/ui/tform5.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QResource>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace zel;

namespace {

// Every field as at the start of a run, before anything has set it.
void clearSettings()
{
    Settings.TypeWood = 0;
    Settings.WetWood = 0;
    Settings.Method = CalcMethod::Gost2708;
    Settings.DownGradeWood = 0;
    Settings.Language = UiLanguage::Ukrainian;
    Settings.AutoUpdate = false;
    Settings.ID = 0;
}

} // namespace

class TestShellWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstRunComesUpInRussian();
    void unknownLanguageCodeStaysUkrainian();
    void listsSurviveARestart();
    void emptyListsStoreTheEmptyText();
    void storedTextsThatDoNotReadAreKept();
    void handEditedStoreFileKeepsItsLists();
    void titleAndStatusNote();
    void updateLeftoversAreRemoved();
    void languageSwitchRelabelsAndRecomputesTheListInFront();
    void settingsChangesRecomputeTheListInFront();
    void methodGroupFollowsTheTab();
    void settingsWindowDocksBesideTheMain();
    void settingsMenuItemOpensOnce();
    void panelExpandsAndCollapsesIn17Steps();
    void tabChangeSwapsPictures();
    void picturesDrawnAheadAreTheirDrawing();
    void otherSizesDrawnAtRunTime();
    void windowKeysFromAnyField();
    void mainMenuEnabling();
    void aboutAndHelp();

private:
    void start(ISettingsStore* store = nullptr);
    void restart();
    template <typename T> T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    template <typename T> T* main(const char* name) { return child<T>(m_form.get(), name); }
    template <typename T> T* settings(const char* name) { return child<T>(m_settings.get(), name); }
    void addRound(const QString& d, const QString& count);
    void addBoard(const QString& w, const QString& h, const QString& count);
    QString text(const char* name) { return main<QLineEdit>(name)->text(); }
    void runTimer(int ticks);

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm5> m_settings;
};

void TestShellWindow::init()
{
    clearSettings();
    Dialogs::setScripted(true);
    Dialogs::clear();
    m_store.values.clear();
}

void TestShellWindow::cleanup()
{
    m_settings.reset();
    m_form.reset();
}

void TestShellWindow::start(ISettingsStore* store)
{
    // In the order of the program's start.
    m_form = std::make_unique<TForm1>(testServices(store ? *store : m_store, m_dir.filePath(u"zelmora"_qs)));
    m_settings = std::make_unique<TForm5>(m_form.get(), m_form->services());
    m_form->setSettingsWindow(m_settings.get());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestShellWindow::restart()
{
    m_form->close();
    cleanup();
    clearSettings();
    start();
}

void TestShellWindow::addRound(const QString& d, const QString& count)
{
    main<QTabWidget>("PageControl1")->setCurrentIndex(0);
    main<QLineEdit>("Edit1")->setText(d);
    main<QLineEdit>("Edit3")->setText(count);
    QTest::mouseClick(main<QPushButton>("Button1"), Qt::LeftButton);
}

void TestShellWindow::addBoard(const QString& w, const QString& h, const QString& count)
{
    main<QTabWidget>("PageControl1")->setCurrentIndex(1);
    main<QLineEdit>("Edit5")->setText(w);
    main<QLineEdit>("Edit7")->setText(h);
    main<QLineEdit>("Edit6")->setText(count);
    QTest::mouseClick(main<QPushButton>("Button3"), Qt::LeftButton);
}

void TestShellWindow::runTimer(int ticks)
{
    for (int i = 0; i < ticks; ++i)
        QMetaObject::invokeMethod(m_form.get(), "Timer1Timer");
}

void TestShellWindow::firstRunComesUpInRussian()
{
    start();
    QCOMPARE(m_store.values.value(kLanguageValue), QVariant(u"RU"_qs));
    QCOMPARE(m_store.values.value(kAutoUpdateValue), QVariant(1));
    QCOMPARE(m_store.values.value(kIdValue), QVariant(0));
    QCOMPARE(Settings.Language, UiLanguage::Russian);
    QCOMPARE(main<QTabWidget>("PageControl1")->tabText(0), u"Круглый лес"_qs);
    // The settings window gave the calculation settings their start values.
    QCOMPARE(int(Settings.TypeWood), 4);
    QCOMPARE(int(Settings.WetWood), 8);
    QCOMPARE(Settings.Method, CalcMethod::Gost2708);
    QCOMPARE(int(Settings.DownGradeWood), 1);
    const QStringList log = m_form->activityLog().entries();
    QVERIFY(log.first().endsWith(u"_Create_form"_qs));
    QStringList labels;
    for (const QString& e : log)
        labels << e.section(QLatin1Char('_'), 1);
    const QStringList order{u"Create_form"_qs, u"Check_midas.dll"_qs, u"Load_.zm0"_qs, u"Load_.zm1"_qs, u"Check_.old"_qs,
                            u"Read_params_REG"_qs, u"Get_Version"_qs, u"Form_show"_qs,
                            u"Change_Language"_qs};
    QCOMPARE(labels.mid(0, order.size()), order);
}

void TestShellWindow::unknownLanguageCodeStaysUkrainian()
{
    m_store.values[kLanguageValue] = u"ru"_qs;
    start();
    QCOMPARE(Settings.Language, UiLanguage::Ukrainian);
    QCOMPARE(main<QTabWidget>("PageControl1")->tabText(0), u"Круглий ліс"_qs);
    m_form->close();
    QCOMPARE(m_store.values.value(kLanguageValue), QVariant(u"UA"_qs));
}

void TestShellWindow::listsSurviveARestart()
{
    m_store.values[kLanguageValue] = u"EN"_qs;
    start();
    addRound(u"20"_qs, u"3"_qs);
    addRound(u"30"_qs, u"2"_qs);
    addBoard(u"15"_qs, u"5"_qs, u"10"_qs);
    restart();
    QCOMPARE(m_store.values.value(kRoundListValue).toString(),
             u"\"20 sm.\",\"4,00 m.\",\"3 pcs.\",\"0,4410 m3.\",\"30 sm.\",\"4,00 m.\",\"2 pcs.\",\"0,6600 m3.\""_qs);
    QCOMPARE(m_form->roundModel()->size(), 2);
    QCOMPARE(m_form->roundModel()->lines().at(1).cells[0], u"30 sm."_qs);
    QCOMPARE(m_form->boardModel()->size(), 1);
    QCOMPARE(m_form->Memo2().size(), 5);
    QCOMPARE(text("Edit2"), u"1,1010"_qs);
    // Recomputed with the settings in force: the method starts at GOST again.
    applySettings(*m_form, [](SettingsRecord& s) { s.Method = CalcMethod::Cylindered; });
    restart();
    QCOMPARE(Settings.Method, CalcMethod::Gost2708);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[3], u"0,4410 m3."_qs);
}

void TestShellWindow::emptyListsStoreTheEmptyText()
{
    start();
    m_form->close();
    QCOMPARE(m_store.values.value(kRoundListValue), QVariant(QString()));
    QCOMPARE(m_store.values.value(kBoardListValue), QVariant(QString()));
    restart();
    QCOMPARE(m_form->roundModel()->size(), 0);
}

void TestShellWindow::storedTextsThatDoNotReadAreKept()
{
    // Five texts (one left over), a bare list, a line in another language,
    // and a line that does not parse: the start goes on, nothing else is lost.
    m_store.values[kLanguageValue] = u"UA"_qs;
    m_store.values[kRoundListValue] = u"20,4,5,2,\"30 sm.\",\"4,00 m.\",\"1 pcs.\",x,abc,4,1,0,extra"_qs;
    m_store.values[kBoardListValue] = u"\"15 см.\",\"5 см.\",\"6,00 м.\",\"10 шт.\",\"0,4500 м3.\""_qs;
    start();
    QCOMPARE(m_form->roundModel()->size(), 3);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[0], u"20 см."_qs);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[2], u"5 шт."_qs);
    QCOMPARE(m_form->roundModel()->lines().at(1).cells[0], u"30 см."_qs);
    QCOMPARE(m_form->Memo1().size(), 12);
    QCOMPARE(m_form->Memo1().mid(8, 4), (QStringList{u"abc"_qs, u"4"_qs, u"1"_qs, u"0"_qs}));
    QVERIFY(Dialogs::shown().join(QLatin1Char('\n')).contains(u"\"\" is not a valid integer value\rSaved to file: "_qs));
    QCOMPARE(m_form->boardModel()->size(), 1);
    QCOMPARE(Settings.Language, UiLanguage::Ukrainian); // the settings were still read
    m_form->close();
    QVERIFY(m_store.values.value(kRoundListValue).toString().contains(u"abc"_qs));
}

void TestShellWindow::handEditedStoreFileKeepsItsLists()
{
    // A bare comma text, which QSettings reads as a list, and a value that
    // holds no text at all: the first loads, the second survives the close.
    const QString path = m_dir.filePath(u"edited.conf"_qs);
    QVERIFY(writeStoreFile(path, "[General]\nLANGUAGE=UA\n.zm0=20,4,5,2,0\n.zm1=@Rect(1 2 3 4)\n"));
    QSettingsStore store(path);
    start(&store);
    QCOMPARE(m_form->roundModel()->size(), 1);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[2], u"5 шт."_qs);
    QVERIFY(Dialogs::shown().join(QLatin1Char('\n')).contains(u"Invalid data type for '.zm1'"_qs));
    QVERIFY(m_form->activityLog().text().contains(u"_Kept_.zm1_as_.zm1.unread"_qs));
    m_form->close();
    const QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.value(u".zm1.unread"_qs), QVariant(QRect(1, 2, 3, 4)));
    QCOMPARE(back.value(u".zm1"_qs), QVariant(QString()));
    QVERIFY(back.value(u".zm0"_qs).toString().startsWith(u"\"20 см.\",\"4,00 м.\",\"5 шт.\""_qs));
}

void TestShellWindow::titleAndStatusNote()
{
    start();
    QCOMPARE(m_form->windowTitle(),
             u"Zelmora v."_qs + m_form->GetMyVersion() + u" (beta) [32-bit] "_qs);
    QVERIFY(QRegularExpression(u"^\\d+\\.\\d+\\.\\d+\\.\\d+$"_qs).match(m_form->GetMyVersion()).hasMatch());
    QCOMPARE(m_form->statusText(1), u"Halvane"_qs);
    // The design's 475 is the outer height: the client area is 446, the
    // status bar along its bottom edge.
    QCOMPARE(m_form->height(), 446);
    QCOMPARE(m_form->statusBar()->geometry(), QRect(0, 446 - 19, 528, 19));
}

void TestShellWindow::updateLeftoversAreRemoved()
{
    for (const char* ext : {".old", ".new"}) {
        QFile f(m_dir.filePath(u"zelmora"_qs + QLatin1String(ext)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    start();
    QVERIFY(!QFile::exists(m_dir.filePath(u"zelmora.old"_qs)));
    QVERIFY(!QFile::exists(m_dir.filePath(u"zelmora.new"_qs)));
}

void TestShellWindow::languageSwitchRelabelsAndRecomputesTheListInFront()
{
    m_store.values[kLanguageValue] = u"UA"_qs;
    start();
    addRound(u"20"_qs, u"3"_qs);
    addBoard(u"15"_qs, u"5"_qs, u"10"_qs);
    // The board tab is in front: only the board list is recomputed.
    settings<QRadioButton>("RadioGroup1_2")->click();
    QCOMPARE(Settings.Language, UiLanguage::English);
    QCOMPARE(main<QTabWidget>("PageControl1")->tabText(0), u"Round timber"_qs);
    QCOMPARE(main<QTabWidget>("PageControl1")->tabText(1), u"Board-beams"_qs);
    QCOMPARE(main<QLabel>("Label18")->text(), u"Volume"_qs);
    QCOMPARE(main<QLabel>("Label1")->text(), u"Diameter = sm."_qs);
    QCOMPARE(main<QLabel>("Label16")->text(), u"The average width"_qs);
    QCOMPARE(main<QPushButton>("Button2")->text(), u"Menu"_qs);
    QCOMPARE(m_settings->windowTitle(), u"Settings"_qs);
    QCOMPARE(settings<QComboBox>("ComboBoxTypeWood")->currentText(), u"Scotch pine"_qs);
    QCOMPARE(m_form->boardModel()->lines().at(0).cells[0], u"15 sm."_qs);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[0], u"20 см."_qs);
    QCOMPARE(m_form->Memo1().first(), u"20 см."_qs);
    // Bringing the round tab to front recomputes it in the new language.
    main<QTabWidget>("PageControl1")->setCurrentIndex(0);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[0], u"20 sm."_qs);
    QCOMPARE(main<QLabel>("Label16")->text(), u"The average diameter"_qs);

    // Qt's own texts follow: a box's standard buttons, a field's menu.
    const auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    QCOMPARE(yesText(), u"&Yes"_qs);
    settings<QRadioButton>("RadioGroup1_1")->click();
    QCOMPARE(yesText(), u"&Да"_qs);
    std::unique_ptr<QMenu> menu(main<QLineEdit>("Edit1")->createStandardContextMenu());
    QVERIFY2(menu->actions().first()->text().contains(u"Отменить"_qs), qPrintable(menu->actions().first()->text()));
    settings<QRadioButton>("RadioGroup1_0")->click();
    QCOMPARE(yesText(), u"Т&ак"_qs);
    settings<QRadioButton>("RadioGroup1_2")->click();
    QCOMPARE(yesText(), u"&Yes"_qs);
}

void TestShellWindow::settingsChangesRecomputeTheListInFront()
{
    m_store.values[kLanguageValue] = u"UA"_qs;
    start();
    addRound(u"20"_qs, u"3"_qs);
    QCOMPARE(text("Edit4"), u"318"_qs);
    auto choose = [](QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    };
    choose(settings<QComboBox>("ComboBoxWetWood"), 13); // 120 %
    QCOMPARE(text("Edit4"), u"410"_qs);                 // 0.441 x 930
    QCOMPARE(text("Edit2"), u"0,4410"_qs);
    choose(settings<QComboBox>("ComboBoxTypeWood"), 1); // spruce
    QCOMPARE(text("Edit4"), u"362"_qs);                 // 0.441 x 820

    auto* formula = settings<QRadioButton>("RadioGroupCategory_2");
    QVERIFY(!settings<QComboBox>("ComboBoxDownGradeWood")->isEnabled());
    formula->click();
    QVERIFY(settings<QComboBox>("ComboBoxDownGradeWood")->isEnabled());
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[3], u"0,4562 м3."_qs); // 3 x 0.152053
    choose(settings<QComboBox>("ComboBoxDownGradeWood"), 7);
    QCOMPARE(int(Settings.DownGradeWood), 7);
    settings<QRadioButton>("RadioGroupCategory_3")->click();
    QVERIFY(!settings<QComboBox>("ComboBoxDownGradeWood")->isEnabled());
    QCOMPARE(settings<QComboBox>("ComboBoxDownGradeWood")->currentIndex(), 7);
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[3], u"0,3770 м3."_qs); // 3 x 0.12566

    // Sorting from the settings window.
    addRound(u"100"_qs, u"1"_qs);
    settings<QCheckBox>("CheckBox1")->click();
    QCOMPARE(m_form->roundModel()->lines().at(0).cells[0], u"100 см."_qs);
    QVERIFY(m_form->sortMode());

    // The automatic update flag is stored at once.
    m_store.values.remove(kAutoUpdateValue);
    settings<QCheckBox>("CheckBox2")->click();
    QVERIFY(m_store.values.contains(kAutoUpdateValue));
}

void TestShellWindow::methodGroupFollowsTheTab()
{
    start();
    main<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QTRY_VERIFY(!settings<QWidget>("RadioGroupCategory")->isEnabled());
    main<QTabWidget>("PageControl1")->setCurrentIndex(0);
    QTRY_VERIFY(settings<QWidget>("RadioGroupCategory")->isEnabled());
}

void TestShellWindow::settingsWindowDocksBesideTheMain()
{
    start();
    const QRect screen = m_form->screen()->geometry();
    m_form->move(screen.left() + 20, screen.top() + 20);
    m_settings->show();
    m_settings->SetPosition();
    QCOMPARE(m_settings->x(), m_form->frameGeometry().right() + 1 + 10);
    QCOMPARE(m_settings->y(), m_form->frameGeometry().top());
    QCOMPARE(m_settings->frameGeometry().height(), m_form->frameGeometry().height());

    // Near the right edge of the screen it docks on the left.
    m_form->move(screen.right() - m_form->frameGeometry().width() - 50, screen.top() + 20);
    m_settings->SetPosition();
    QCOMPARE(m_settings->frameGeometry().right() + 1, m_form->frameGeometry().left() - 10);
}

void TestShellWindow::settingsMenuItemOpensOnce()
{
    start();
    QAction* n16 = main<QAction>("N16");
    n16->trigger();
    QVERIFY(m_settings->isVisible());
    QVERIFY(!n16->isEnabled());
    m_store.values.remove(kLanguageValue);
    settings<QPushButton>("Button1")->click(); // Close
    QVERIFY(!m_settings->isVisible());
    QVERIFY(n16->isEnabled());
    QVERIFY(m_store.values.contains(kLanguageValue)); // written on close
}

void TestShellWindow::panelExpandsAndCollapsesIn17Steps()
{
    start();
    auto* toggle = main<QLabel>("Image2");
    const int y0 = toggle->y();
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(m_form->Bigform);
    QVERIFY(!main<QLineEdit>("Edit8")->isVisible());
    int steps = 0;
    QList<int> areaShownAt;
    while (m_form->Bigform && steps < 100) {
        runTimer(1);
        ++steps;
        if (main<QLineEdit>("Edit8")->isVisible() && areaShownAt.isEmpty())
            areaShownAt << m_form->height();
    }
    QCOMPARE(m_form->height(), 514);
    QCOMPARE(steps, 18); // 17 steps of 4 pixels, then the tick that stops
    QCOMPARE(m_form->statusBar()->geometry(), QRect(0, 514 - 19, 528, 19));
    QCOMPARE(toggle->y(), y0 + 68);
    QCOMPARE(toggle->property("picture").toString(), u"Bitmap_4"_qs);
    QVERIFY(main<QLineEdit>("Edit9")->isVisible());
    QVERIFY(main<QLineEdit>("Edit10")->isVisible());

    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(m_form->Smallform);
    steps = 0;
    while (m_form->Smallform && steps < 100) {
        runTimer(1);
        ++steps;
    }
    QCOMPARE(m_form->height(), 446);
    QCOMPARE(steps, 18);
    QCOMPARE(toggle->y(), y0);
    QVERIFY(!main<QLineEdit>("Edit8")->isVisible());
    QVERIFY(!main<QLineEdit>("Edit10")->isVisible());
    QCOMPARE(toggle->property("picture").toString(), u"Bitmap_3"_qs);

    // A click while expanding turns it back.
    QTest::mouseClick(toggle, Qt::LeftButton);
    runTimer(3);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(m_form->Smallform && !m_form->Bigform);
    runTimer(10);
    QCOMPARE(m_form->height(), 446);
}

void TestShellWindow::tabChangeSwapsPictures()
{
    start();
    auto* header = main<QLabel>("Image1");
    QCOMPARE(header->property("picture").toString(), u"Bitmap_2"_qs);
    QVERIFY(!header->pixmap().isNull());
    main<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QCOMPARE(header->property("picture").toString(), u"Bitmap_1"_qs);
    QVERIFY(main<QLineEdit>("Edit8")->isEnabled());
    main<QTabWidget>("PageControl1")->setCurrentIndex(0);
    QCOMPARE(header->property("picture").toString(), u"Bitmap_2"_qs);
    QVERIFY(!main<QLineEdit>("Edit8")->isEnabled());
    // The window's icon comes once the window is on the screen.
    QTRY_COMPARE(m_form->windowIcon().availableSizes().size(), 7);
}

void TestShellWindow::picturesDrawnAheadAreTheirDrawing()
{
    QStringList drawn = QDir(u":/drawn"_qs).entryList();
    for (const char* shownAtStart : {"header_round_528x100.argb", "toggle_down_24x24.argb", "app_icon_256x256.argb",
                                     "menu_16x16.argb", "line_normal_16x16.argb", "line_fallback_16x16.argb"})
        QVERIFY2(drawn.contains(QLatin1String(shownAtStart)), shownAtStart);
    for (const QString& entry : drawn) {
        const QRegularExpressionMatch m = QRegularExpression(u"^(.+)_(\\d+)x(\\d+)\\.argb$"_qs).match(entry);
        QVERIFY2(m.hasMatch(), qPrintable(entry));
        const QSize size(m.captured(2).toInt(), m.captured(3).toInt());
        const bool line = m.captured(1).startsWith(u"line_"_qs);
        const QImage own = line ? drawLineIcon(m.captured(1) == u"line_fallback"_qs, size.width())
                                : drawSvg(u":/pictures/"_qs + m.captured(1) + u".svg"_qs, size);
        QVERIFY(!own.isNull());
        const QResource bytes(u":/drawn/"_qs + entry);
        QCOMPARE(bytes.size(), static_cast<qint64>(own.sizeInBytes()));
        QVERIFY2(std::memcmp(bytes.data(), own.constBits(), own.sizeInBytes()) == 0, qPrintable(entry));
        const QPixmap shown = line ? lineIcon(m.captured(1) == u"line_fallback"_qs).pixmap(size) : picture(m.captured(1), size);
        QVERIFY2(shown.toImage().convertToFormat(own.format()) == own, qPrintable(entry));
    }
}

void TestShellWindow::otherSizesDrawnAtRunTime()
{
    // A size the build did not draw is drawn at run time, as drawSvg draws it.
    const QImage own = drawSvg(u":/pictures/menu.svg"_qs, QSize(20, 20));
    QVERIFY(!own.isNull());
    QCOMPARE(picture(u"menu"_qs, QSize(20, 20)).toImage().convertToFormat(own.format()), own);
}

void TestShellWindow::windowKeysFromAnyField()
{
    m_store.values[kLanguageValue] = u"UA"_qs;
    start();
    QLineEdit* d = main<QLineEdit>("Edit1");
    d->setFocus();
    QTest::keyClick(d, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(m_settings->isVisible());
    m_settings->close();

    addRound(u"20"_qs, u"3"_qs);
    d->setText(u"45"_qs);
    d->selectAll();
    QTest::keyClick(d, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(d->text(), u"45"_qs); // not cut: the key closed the window
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_store.values.value(kRoundListValue).toString(),
             u"\"20 см.\",\"4,00 м.\",\"3 шт.\",\"0,4410 м3.\""_qs);
}

void TestShellWindow::mainMenuEnabling()
{
    start();
    QMetaObject::invokeMethod(m_form.get(), "PopupMenu3Popup");
    QVERIFY(!main<QAction>("N22")->isEnabled());
    QVERIFY(!main<QAction>("N25")->isEnabled());
    QVERIFY(!main<QAction>("help1")->isVisible());
    QVERIFY(!main<QAction>("N20")->isVisible());
    addBoard(u"15"_qs, u"5"_qs, u"10"_qs);
    QMetaObject::invokeMethod(m_form.get(), "PopupMenu3Popup");
    QVERIFY(!main<QAction>("N22")->isEnabled()); // the round list decides
    addRound(u"20"_qs, u"3"_qs);
    QMetaObject::invokeMethod(m_form.get(), "PopupMenu3Popup");
    QVERIFY(main<QAction>("N22")->isEnabled());
    QVERIFY(main<QAction>("N25")->isEnabled());
    QVERIFY(main<QMenu>("PopupMenu3")->defaultAction() == main<QAction>("N16"));
}

void TestShellWindow::aboutAndHelp()
{
    m_store.values[kLanguageValue] = u"EN"_qs;
    start();
    // The main and the About window open on the middle of the screen.
    const QPoint middle = m_form->screen()->availableGeometry().center();
    QVERIFY((m_form->frameGeometry().center() - middle).manhattanLength() <= 1);
    m_form->move(middle / 4);
    QDialog* shown = nullptr; // gone once the menu command returns
    QString memo, title;
    QPoint aboutMiddle;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        aboutMiddle = shown->frameGeometry().center();
        title = shown->windowTitle();
        memo = shown->findChild<QPlainTextEdit*>(u"Memo1"_qs)->toPlainText();
        QTest::keyClick(shown, Qt::Key_Escape); // does not close the About window
        QTimer::singleShot(0, [&] { shown->findChild<QPushButton*>(u"Button1"_qs)->click(); });
    });
    main<QAction>("N27")->trigger();
    QVERIFY(shown);
    QVERIFY((aboutMiddle - middle).manhattanLength() <= 1);
    QCOMPARE(title, u"Про програму"_qs);
    const QStringList lines = memo.split(QLatin1Char('\n'));
    QVERIFY(lines[0].startsWith(u"The program file: "_qs));
    QVERIFY(lines[1].startsWith(u"Setings: "_qs));
    QVERIFY(lines[2].startsWith(u"Version of the program: "_qs));
    QVERIFY(lines[3].startsWith(u"E-mail: "_qs));
    QVERIFY(lines[5].contains(u" (version "_qs) && lines[5].contains(u" Build:"_qs)
            && lines[5].contains(u" PlatformID:"_qs));
    QVERIFY(lines[5].endsWith(u" Service pack: "_qs)); // no service pack
    QCOMPARE(lines[7], Lang(106, UiLanguage::English));

    QString helpTitle;
    bool covers = false;
    QTimer::singleShot(0, [&] {
        auto* help = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!help)
            return;
        helpTitle = help->findChild<QLabel*>(u"Label1"_qs)->text();
        covers = help->frameGeometry() == m_form->frameGeometry();
        QTest::keyClick(help, Qt::Key_Escape);
    });
    main<QAction>("help1")->trigger();
    QCOMPARE(helpTitle, Lang(107, UiLanguage::English));
    QVERIFY(covers);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestShellWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_shell_window.moc"
