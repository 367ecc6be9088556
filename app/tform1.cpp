// The main window: the two calculation lists, their totals and commands.
#include "app/tform1.h"
#include "app/application.h"
#include "app/errorreporter.h"
#include "app/listmenus.h"
#include "base/calcbase.h"
#include "base/ui/tform4.h"
#include "cubtable/ui/tform3.h"
#include "engine/errors.h"
#include "lists/ui/entryrows.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listexchange.h"
#include "lists/ui/listundo.h"
#include "lists/ui/numberedit.h"
#include "online/ui/logtab.h"
#include "report/reports.h"
#include "report/ui/tform6.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/ui/appevents.h"
#include "shell/ui/dialogs.h"
#include "shell/ui/firstshow.h"
#include "shell/ui/fittext.h"
#include "shell/ui/pictures.h"
#include "shell/ui/placement.h"
#include "shell/ui/qttranslations.h"
#include "shell/ui/tform2.h"
#include "shell/ui/tform5.h"
#include "shell/ui/tform9.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace zel {
TForm1::TForm1(AppServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("Form1"));
    if (!m_services.log)
        m_services.log = new zel::Log(zel::Log::filePathFor(m_services.programFile), this);
    if (!m_services.events)
        m_services.events = new AppEvents(this);
    // Without the application object the services' own plain box serves.
    if (!m_services.reportError && Application::instance())
        m_services.reportError = [](QObject* sender, const std::exception& error) {
            Application::instance()->reportError(sender, error);
        };
    m_log = m_services.log;
    listenToWindows();
    buildWindow();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::buildWindow()
{
    setupUi(this);
    m_lists = new ListsSession(m_services.store, *m_log, [this] { return frontList(); }, this);
    connect(m_lists, &ListsSession::recomputed, this, &TForm1::listRecomputed);
    connect(m_lists, &ListsSession::frontWanted, this, &TForm1::bringListToFront);
    connect(m_lists, &ListsSession::reportWanted, this, &TForm1::printReport);
    connect(m_lists, &ListsSession::sortTurned, this, [this](bool on) {
        if (m_settings)
            m_settings->showSortMode(on);
    });
    ListView1->setModel(roundModel());
    ListView2->setModel(boardModel());
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    // Enter in any field of the row adds, as the row's default button.
    for (QLineEdit* e : {Edit1, static_cast<QLineEdit*>(CurrencyEdit1), Edit3})
        connect(e, &QLineEdit::returnPressed, this, &TForm1::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    for (QLineEdit* e : {Edit5, Edit7, static_cast<QLineEdit*>(CurrencyEdit2), Edit6})
        connect(e, &QLineEdit::returnPressed, this, &TForm1::Button3Click);
    m_logTab = new LogTab(*m_log, Memo3, this);
    m_entries = std::make_unique<EntryRows>(*m_lists, this, EntryRows::RoundFields{Edit1, CurrencyEdit1, Edit3},
                                            EntryRows::BoardFields{Edit5, Edit7, CurrencyEdit2, Edit6});
    buildOnlineTabs();
    connectMenus();
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    // The window-wide keys work from every field, whatever claims them.
    qApp->installEventFilter(this);
}

void TForm1::listenToWindows()
{
    const AppEvents* events = m_services.events;
    connect(events, &AppEvents::languageApplied, this, [this] {
        applyLanguage();
        refreshActiveList();
    });
    connect(events, &AppEvents::settingsApplied, this, &TForm1::refreshActiveList);
    connect(events, &AppEvents::sortingChosen, this, &TForm1::setSortMode);
    connect(events, &AppEvents::settingsToStore, this, &TForm1::WriteParams);
    connect(events, &AppEvents::settingsClosed, this, [this] {
        N16->setEnabled(true);
        WriteParams();
    });
}

void TForm1::connectMenus()
{
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    Image2->installEventFilter(this);
    connect(PopupMenu3, &QMenu::aboutToShow, this, &TForm1::PopupMenu3Popup);
    m_exchange = new ListExchange(*m_lists, m_services, this, ListView1, ListView2);
    m_exchange->addMenuItems(PopupMenu3, N23);

    m_menus = new ListMenus(*this, *m_lists, this);
    const std::pair<QAction*, void (TForm1::*)()> commands[] = {
        {N16, &TForm1::N16Click},     {Update1, &TForm1::Update1Click}, {Connect1, &TForm1::Connect1Click},
        {help1, &TForm1::help1Click}, {N27, &TForm1::N17Click},         {N25, &TForm1::PrintCub},
        {N30, &TForm1::LotSummaryClick}, {N23, &TForm1::N2708751Click}, {N110, &TForm1::N222click},
        {N22, &TForm1::N18Click},     {N29, &TForm1::N21Click},         {N12, &TForm1::PrintCub},
        {N14, &TForm1::N2708751Click}, {N17, &TForm1::N18Click},
    };
    for (const auto& [action, command] : commands)
        connect(action, &QAction::triggered, this, command);
}

void TForm1::FormCreate()
{
    m_errors = std::make_unique<ErrorReporter>(this, *m_log, *m_online, [this] { return m_logTab->save(); });
    Log(QStringLiteral("Create form"));
    setFixedHeight(kCollapsed);
    // The settings are not read yet: this message comes in Ukrainian.
    if (!SaveMidas())
        Dialogs::message(this, L(104));
    showPicture(Image1, QStringLiteral("Bitmap_2"));
    PageControl1->setCurrentWidget(TabSheet1);
    Edit1->selectAll();
    Edit1->setFocus();
    startStep([this] {
        Log(QStringLiteral("Load .zm0"));
        LoadZM1();
    });
    startStep([this] {
        Log(QStringLiteral("Load .zm1"));
        LoadZM2();
    });
    startStep([this] {
        Log(QStringLiteral("Check .old"));
        // Leftovers of an update; a file that will not go is left alone.
        QFile::remove(ChangeFileExt(m_services.programFile, QStringLiteral(".old")));
        QFile::remove(ChangeFileExt(m_services.programFile, QStringLiteral(".new")));
    });
    startStep([this] { ReadParams(); });
    total = 0.0;
    setWindowTitle(QStringLiteral("Zelmora v.") + GetMyVersion() + QStringLiteral(" (beta) [32-bit] "));
    m_statusPanels[1]->setText(QStringLiteral("Halvane"));
    // After the start's own steps, so that their entries in the log keep
    // their order whatever this one writes.
    startStep([this] { readSummaryParams(); });
    // Only now: a report of a failed step above runs the events while it is
    // open, and a tick then would write the store before it was read.
    Timer1->start();
    m_online->start();
}

void TForm1::startStep(const std::function<void()>& step)
{
    // An error in one step of the start (a stored line that does not read,
    // a stored value of the wrong type) is reported, and the start goes on:
    // the window must come up with everything else in place.
    try {
        step();
    } catch (const std::exception& e) {
        m_services.report(this, e);
    }
}

QString TForm1::GetMyVersion()
{
    Log(QStringLiteral("Get Version"));
    return QStringLiteral(ZELMORA_VERSION);
}

void TForm1::ReadParams()
{
    Log(QStringLiteral("Read params REG"));
    // However far the reading gets, the settings may be written from now on.
    struct Read {
        bool& flag;
        ~Read() { flag = true; }
    } read{m_paramsRead};
    readParams(m_services.store, Settings);
}

bool TForm1::WriteParams()
{
    // Before the stored settings are read the record holds start values,
    // which must never take the place of the user's.
    if (!m_paramsRead)
        return true;
    Log(QStringLiteral("Write params REG"));
    return writeParams(m_services.store, Settings);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        centreOnScreen(this);
        FormShow();
        m_onScreen = true;
        if (m_unreadAtStart)
            QTimer::singleShot(0, this, &TForm1::refreshActiveList);
        // Seven sizes go to the window system; the window needs none of them
        // to come up.
        afterFirstShow(*this, [this] { setWindowIcon(pictureIcon(QStringLiteral("app_icon"))); });
    }
}

void TForm1::FormShow()
{
    Log(QStringLiteral("Form show"));
    if (m_settings) {
        m_settings->selectLanguage(static_cast<int>(Settings.Language));
        startStep([this] { m_settings->RadioGroup1Click(); });
    } else {
        applyLanguage();
        startStep([this] { refreshActiveList(); });
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing is never refused.
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    Log(QStringLiteral("Form close"));
    const bool listsKept = m_lists->saveStored();
    const bool settingsKept = WriteParams();
    // The program ends now. A request the UI thread is waiting on is given up
    // at once; the procedure that made it sees the closing and goes no further.
    Timer1->stop();
    m_online->stop();
    if (!settingsKept || !listsKept)
        Dialogs::warning(this, L(241) + m_services.store.location());
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    followSettingsWindow();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    followSettingsWindow();
}

void TForm1::followSettingsWindow()
{
    // Once the events of the move or resize have been handled.
    if (m_settings)
        QTimer::singleShot(0, m_settings, [this] { m_settings->ApplicationEvents1Idle(roundTabActive(), boardTabActive()); });
}

void TForm1::Log(const QString& label)
{
    if (label != QLatin1String("save")) {
        m_log->write(label);
        return;
    }
    m_logTab->save();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Keys of this window or of its main menu: the window-wide keys
        // go to their handlers before any field can claim them (a line edit
        // would take Ctrl+X as cut).
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w->window() == this || w->window() == PopupMenu3)
            && windowKey(static_cast<QKeyEvent*>(event)))
            return true;
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && watched == Image2) {
        Image2Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::windowKey(QKeyEvent* key)
{
    const std::pair<QKeyCombination, std::function<void()>> keys[] = {
        {Qt::CTRL | Qt::Key_O, [this] { N16Click(); }},
        {Qt::CTRL | Qt::Key_X, [this] { N21Click(); }},
        {Qt::CTRL | Qt::Key_P, [this] { PrintCub(); }},
        {Qt::CTRL | Qt::Key_T, [this] { N2708751Click(); }},
        {QKeyCombination(Qt::Key_F2), [this] { N222click(); }},
        {Qt::CTRL | Qt::Key_S, [this] { N18Click(); }},
        {Qt::CTRL | Qt::Key_E, [this] { m_exchange->exportList(); }},
        {Qt::CTRL | Qt::Key_I, [this] { m_exchange->importList(); }},
        {Qt::CTRL | Qt::Key_L, [this] { LotSummaryClick(); }},
    };
    for (const auto& [combination, command] : keys) {
        if (key->keyCombination() == combination) {
            command();
            return true;
        }
    }
    return false;
}

std::optional<ListKind> TForm1::frontList() const
{
    if (roundTabActive())
        return ListKind::Round;
    if (boardTabActive())
        return ListKind::Board;
    return std::nullopt;
}

bool TForm1::roundTabActive() const
{
    return PageControl1->currentWidget() == TabSheet1;
}

bool TForm1::boardTabActive() const
{
    return PageControl1->currentWidget() == TabSheet2;
}

QString TForm1::statusText(int panel) const
{
    return panel == 0 || panel == 1 ? wholeText(m_statusPanels[panel]) : QString();
}

// Button1Click: add the typed logs to the round-timber list.
void TForm1::Button1Click()
{
    Log(QStringLiteral("Add round"));
    m_entries->addRound();
}

// Button3Click: add the typed boards to the board list.
void TForm1::Button3Click()
{
    Log(QStringLiteral("Add board"));
    m_entries->addBoard();
}

void TForm1::listRecomputed(LinesModel* model, const ListTotals& t)
{
    const bool boards = model == boardModel();
    if (!t.ok())
        return listUnread(model, boards ? m_unreadBoard : m_unreadRound, t);
    total = t.total;
    showTotals(t);
    if (boards) {
        Edit8->setText(t.area);
        Label11->setText(L(13));
    }
    showElided(m_statusPanels[0], !boards && t.fallbacks > 0 ? L(80) : QString());
}

void TForm1::listUnread(LinesModel* model, UnreadLineNotice& notice, const ListTotals& t)
{
    // Before the window is up nothing is told: the report would come ahead
    // of the window it belongs to.
    if (!m_onScreen)
        m_unreadAtStart = true;
    m_errors->reportUnreadLine(ConvertError(t.error), m_onScreen && notice.isNew(model->lines(), t), PageControl1);
}

// PageControl1Change: the user brought another tab to front.
void TForm1::PageControl1Change()
{
    Log(QStringLiteral("Change mode"));
    followSettingsWindow();
    if (roundTabActive()) {
        showPicture(Image1, QStringLiteral("Bitmap_2"));
        setAreaRowEnabled(false);
        Edit8->clear();
        Label16->setText(L(100));
        ReFreshList();
    } else if (boardTabActive()) {
        showPicture(Image1, QStringLiteral("Bitmap_1"));
        setAreaRowEnabled(true);
        Label16->setText(L(101));
        ReFreshListBoard();
    } else if (PageControl1->currentWidget() == TabSheet4) {
        showPicture(Image1, QStringLiteral("message"));
    } else if (PageControl1->currentWidget() == TabSheet3) {
        showPicture(Image1, QStringLiteral("error"));
    }
    fitTexts(this); // the mean's caption follows the tab
    m_menus->relabelUndo();   // the undo follows the list in front
    keepToggleClear();
}

// Button2Click: the Menu button opens the main menu just under itself.
void TForm1::Button2Click()
{
    Log(QStringLiteral("Menu"));
    PopupMenu3->popup(Button2->mapToGlobal(QPoint(4, Button2->height())));
}

// PopupMenu3Popup: the main menu is opening.
void TForm1::PopupMenu3Popup()
{
    Log(QStringLiteral("right clik menu 3"));
    const bool any = roundModel()->size() > 0;
    N22->setEnabled(any);
    N25->setEnabled(any);
}

// Image2Click: the toggle beside the weight opens or closes the totals panel.
void TForm1::Image2Click()
{
    if (height() == kCollapsed)
        StartMore();
    else
        StopMore();
}

void TForm1::StartMore()
{
    Timer1->setInterval(5);
    Bigform = true;
    Smallform = false;
}

void TForm1::StopMore()
{
    Timer1->setInterval(5);
    Smallform = true;
    Bigform = false;
}

// Timer1Timer: every second, and every 5 ms while the totals panel moves.
void TForm1::Timer1Timer()
{
    checkmessage();
    if (Bigform || Smallform) {
        if (slidePanel(this, Bigform)) {
            Timer1->setInterval(1000);
            Bigform = Smallform = false;
        }
    } else {
        m_online->autoCheckUpdate();
    }
}

void TForm1::printReport(QWidget* owner)
{
    Log(QStringLiteral("Print table"));
    // Only a list tab has a calculation to print.
    const std::optional<ListKind> kind = frontList();
    if (!kind || m_lists->model(*kind)->size() == 0)
        return;
    CalcReportInput in = m_lists->reportInput(*kind);
    reportTotals(in, height() != kCollapsed);
    const QString path = reportFilePath(m_services.programFile);
    writeReportFile(path, CalcReportDocument(in));
    (new TForm6(owner, *m_log, path))->show();
}

void TForm1::N2708751Click()
{
    Log(QStringLiteral("Cub table window"));
    TForm3 table(this, m_services);
    table.exec();
}

bool TForm1::SaveMidas()
{
    Log(QStringLiteral("Check midas.dll"));
    return m_services.baseFile && m_services.baseFile->available();
}

// N222click: the calculation base, to browse.
void TForm1::N222click()
{
    Log(QStringLiteral("list window"));
    AddRec.clear();
    TForm4 base(this, *m_lists, m_services, AddRec);
    base.exec();
}

// N18Click: Save As: the calculation in front into the base, under a name.
void TForm1::N18Click()
{
    Log(QStringLiteral("Name to list box"));
    AddRec.clear();
    const LinesModel* front = listInFront();
    const int count = front ? front->size() : 0;
    if (count != 0) {
        QString name;
        if (!Dialogs::inputQuery(this, L(51), L(52), name))
            return;
        AddRec = name;
    }
    TForm4 base(this, *m_lists, m_services, AddRec);
    base.exec();
}

void TForm1::bringListToFront(ListKind kind)
{
    QWidget* tab = kind == ListKind::Board ? TabSheet2 : TabSheet1;
    if (PageControl1->currentWidget() != tab)
        PageControl1->setCurrentWidget(tab); // the tab change recomputes it
    else
        PageControl1Change();
}

QString TForm1::volumeText() const
{
    return Edit2->text();
}

// N16Click: open the settings window, unless it is open already.
void TForm1::N16Click()
{
    Log(QStringLiteral("Setings window"));
    if (!N16->isEnabled() || !m_settings)
        return;
    m_settings->show();
    N16->setEnabled(false);
}

// N17Click: the About window.
void TForm1::N17Click()
{
    Log(QStringLiteral("About window"));
    TForm2 about(this, m_services, GetMyVersion());
    about.exec();
}

// help1Click: the help window, laid over this one.
void TForm1::help1Click()
{
    Log(QStringLiteral("Help window"));
    TForm9 help(this);
    help.exec();
}

// N21Click: Exit.
void TForm1::N21Click()
{
    close();
}

void TForm1::applyLanguage()
{
    // Qt's own texts are first needed in a dialog: at the first show they
    // are loaded once the window is painted (the catalogue costs about a
    // millisecond).
    const auto qtTexts = [this] {
        if (!useQtTranslations(Settings.Language))
            Log(QStringLiteral("No Qt translations"));
    };
    if (m_onScreen)
        qtTexts();
    else
        afterFirstShow(*this, qtTexts);
    roundModel()->setHeaders({L(3), L(4), L(5), L(6)});
    boardModel()->setHeaders({L(43), L(42), L(4), L(5), L(6)});
    retranslateUi(this);
    m_exchange->relabel();
    m_menus->relabelUndo();
    fitTexts(this);
    keepToggleClear();
    m_lists->languageSwitched();
}

void TForm1::buildOnlineTabs()
{
    m_online = new OnlineController(m_services, *m_log, this, [this] { return m_logTab->lines(); });
    m_online->attach(Button4, Button5, Edit11, Memo4);
    connect(m_online, &OnlineController::status, this, [this](const QString& text) {
        showElided(m_statusPanels[0], text);
    });
    connect(m_online, &OnlineController::messagesTabWanted, this, [this] {
        showTab(TabSheet4, QStringLiteral("message"));
    });
    connect(m_online, &OnlineController::logTabWanted, this, [this] { showTab(TabSheet3, QStringLiteral("error")); });
    connect(m_online, &OnlineController::settingsToWrite, this, &TForm1::WriteParams);
}

void TForm1::FormDestroy()
{
    Timer1->stop();
    m_online->shutDown();
    m_errors.reset();
}

void TForm1::showTab(QWidget* tab, const QString& picture)
{
    PageControl1->setTabVisible(PageControl1->indexOf(tab), true);
    {
        // Brought forward by the program, not by the user: no tab change.
        const QSignalBlocker block(PageControl1);
        PageControl1->setCurrentWidget(tab);
    }
    showPicture(Image1, picture);
    followSettingsWindow();
}

} // namespace zel
