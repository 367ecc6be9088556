// The main window: the two calculation lists, their totals and commands.
#include "shell/ui/tform1.h"
#include "base/calcbase.h"
#include "base/ui/tform4.h"
#include "cubtable/ui/tform3.h"
#include "engine/convert.h"
#include "engine/errors.h"
#include "lists/listentry.h"
#include "lists/liststore.h"
#include "lists/ui/lineicons.h"
#include "lists/ui/linesmodel.h"
#include "lists/ui/listexchange.h"
#include "lists/ui/listundo.h"
#include "lists/ui/numberedit.h"
#include "online/httpaccess.h"
#include "shell/ui/errorreporter.h"
#include "online/ui/memolines.h"
#include "online/updater.h"
#include "shell/log.h"
#include "report/reports.h"
#include "report/ui/tform6.h"
#include "shell/langtable.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/ui/application.h"
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
#include <QCollator>
#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace zel {
namespace {

// A number field's whole text as a signed 32-bit integer, or the conversion error.
int readInteger(const QLineEdit* edit)
{
    return StrToInt(edit->text());
}

} // namespace

TForm1::TForm1(AppServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_log(new zel::Log(zel::Log::filePathFor(services.programFile), this))
{
    setObjectName(QStringLiteral("Form1"));
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
    // Entries may come from a worker thread; they are shown on the UI thread.
    connect(m_log, &zel::Log::appended, this, &TForm1::logAppended);
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

void TForm1::connectMenus()
{
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    Image2->installEventFilter(this);
    connect(PopupMenu3, &QMenu::aboutToShow, this, &TForm1::PopupMenu3Popup);
    connect(N16, &QAction::triggered, this, &TForm1::N16Click);
    connect(Update1, &QAction::triggered, this, &TForm1::Update1Click);
    connect(Connect1, &QAction::triggered, this, &TForm1::Connect1Click);
    connect(help1, &QAction::triggered, this, &TForm1::help1Click);
    connect(N27, &QAction::triggered, this, &TForm1::N17Click);
    connect(N25, &QAction::triggered, this, &TForm1::PrintCub);
    connect(N30, &QAction::triggered, this, &TForm1::LotSummaryClick);
    connect(N23, &QAction::triggered, this, &TForm1::N2708751Click);
    connect(N110, &QAction::triggered, this, &TForm1::N222click);
    connect(N22, &QAction::triggered, this, &TForm1::N18Click);
    connect(N29, &QAction::triggered, this, &TForm1::N21Click);
    m_exchange = new ListExchange(*m_lists, m_services, this, ListView1, ListView2);
    m_exchange->addMenuItems(PopupMenu3, N23);

    connect(m_undoAction, &QAction::triggered, this, &TForm1::undoClick);
    connect(m_redoAction, &QAction::triggered, this, &TForm1::redoClick);
    connect(&m_lists->undo(), &ListUndo::changed, this, &TForm1::relabelUndo);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(N12, &QAction::triggered, this, &TForm1::PrintCub);
    connect(N14, &QAction::triggered, this, &TForm1::N2708751Click);
    connect(N17, &QAction::triggered, this, &TForm1::N18Click);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    const QAction* columnEntries[2][4] = {{N8, N9, N10, res1}, {N4, N5, N6, res2}};
    for (const auto& entries : columnEntries)
        for (int column = 0; column < 4; ++column)
            connect(entries[column], &QAction::triggered, this, [this, column] { res1Click(column); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm1::PopupMenu1Popup);
    connect(PopupMenu2, &QMenu::aboutToShow, this, &TForm1::PopupMenu2Popup);

    for (QTreeView* view : {ListView1, ListView2}) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            PopupMenu1->popup(view->viewport()->mapToGlobal(pos));
        });
        // The Delete key deletes the selected line, as the menu's Delete does.
        auto* deleteKey = new QShortcut(QKeySequence::Delete, view, nullptr, nullptr, Qt::WidgetShortcut);
        connect(deleteKey, &QShortcut::activated, this, [this] {
            if (selectedRow() >= 0)
                N3Click();
        });
        view->viewport()->installEventFilter(this);
    }
}

void TForm1::FormCreate()
{
    m_errors = std::make_unique<ErrorReporter>(this, *m_log, *m_online, [this] { return saveLog(); });
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
        if (Application* app = Application::instance())
            app->reportError(this, e);
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

void TForm1::LoadZM1()
{
    m_lists->loadStored(ListKind::Round);
}

void TForm1::LoadZM2()
{
    m_lists->loadStored(ListKind::Board);
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
        QTimer::singleShot(0, m_settings, [s = m_settings] { s->ApplicationEvents1Idle(); });
}

void TForm1::settingsClosed()
{
    N16->setEnabled(true);
}

void TForm1::Log(const QString& label)
{
    if (label != QLatin1String("save")) {
        m_log->write(label);
        return;
    }
    // The log is what the Log tab shows, the user's edits included: the file
    // takes the memo's text, as the upload does, each entry on a line of its
    // own however the memo wraps it. Entries still on their way from a
    // worker go in first, in their order.
    saveLog();
}

bool TForm1::saveLog()
{
    showNewLogEntries();
    const QString text = Memo3->toPlainText();
    return saveLogLines(m_log->filePath(), text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

void TForm1::logAppended()
{
    if (Memo3->isVisible())
        showNewLogEntries();
}

void TForm1::showNewLogEntries()
{
    const QStringList fresh = m_log->entries(m_logShown);
    m_logShown += fresh.size();
    for (const QString& e : fresh)
        Memo3->appendPlainText(e);
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
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == ListView1->viewport() || watched == ListView2->viewport())) {
        // The view's own handling selects the line under the pointer first.
        QTreeView* view = watched == ListView1->viewport() ? ListView1 : ListView2;
        const QModelIndex at = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (at.isValid())
            view->setCurrentIndex(at);
        ListView1DblClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::windowKey(QKeyEvent* key)
{
    const QKeyCombination k = key->keyCombination();
    const auto is = [&k](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        return k == QKeyCombination(mods, key);
    };
    if (is(Qt::Key_O, Qt::ControlModifier))
        N16Click();
    else if (is(Qt::Key_X, Qt::ControlModifier))
        N21Click();
    else if (is(Qt::Key_P, Qt::ControlModifier))
        PrintCub();
    else if (is(Qt::Key_T, Qt::ControlModifier))
        N2708751Click();
    else if (is(Qt::Key_F2))
        N222click();
    else if (is(Qt::Key_S, Qt::ControlModifier))
        N18Click();
    else if (is(Qt::Key_E, Qt::ControlModifier))
        m_exchange->exportList();
    else if (is(Qt::Key_I, Qt::ControlModifier))
        m_exchange->importList();
    else if (is(Qt::Key_L, Qt::ControlModifier))
        LotSummaryClick();
    else
        return false;
    return true;
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

QTreeView* TForm1::activeView() const
{
    return boardTabActive() ? ListView2 : ListView1;
}

LinesModel* TForm1::activeModel() const
{
    return boardTabActive() ? boardModel() : roundModel();
}

int TForm1::selectedRow() const
{
    const QModelIndexList rows = activeView()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString TForm1::statusText(int panel) const
{
    return panel == 0 || panel == 1 ? wholeText(m_statusPanels[panel]) : QString();
}

// Button1Click: add the typed logs to the round-timber list.
void TForm1::Button1Click()
{
    Log(QStringLiteral("Add round"));
    m_lists->undo().record(roundModel(), kTxtStepAdd, [this] { addRoundEntry(); });
}

void TForm1::addRoundEntry()
{
    if (Edit1->text().isEmpty()) {
        Edit1->setText(QString::number(entryRandom(10, 59)));
        Edit1->selectAll();
    }
    if (Edit3->text().isEmpty())
        Edit3->setText(QStringLiteral("1"));
    const int d = readInteger(Edit1);
    const int count = readInteger(Edit3);
    const double len = CurrencyEdit1->value();
    for (const auto& [field, value] : {std::pair{EntryField::Diameter, d}, std::pair{EntryField::Count, count}}) {
        if (!entryFits(ListKind::Round, field, value)) {
            Dialogs::message(this, entryLimitMessage(ListKind::Round, field, Settings.Language));
            Edit1->selectAll();
            return;
        }
    }
    if (!scan(d, len, count)) {
        roundModel()->append(newRoundLine(Edit1->text(), len, Edit3->text()));
        ReFreshList();
    }
    // The next diameter typed replaces this one, from whichever field Enter
    // was pressed in.
    Edit1->setFocus();
    Edit1->selectAll();
}

// Button3Click: add the typed boards to the board list.
void TForm1::Button3Click()
{
    Log(QStringLiteral("Add board"));
    m_lists->undo().record(boardModel(), kTxtStepAdd, [this] { addBoardEntry(); });
}

void TForm1::addBoardEntry()
{
    if (Edit5->text().isEmpty()) {
        Edit5->setText(QString::number(entryRandom(10, 19)));
        Edit5->selectAll();
    }
    if (Edit7->text().isEmpty()) {
        Edit7->setText(QString::number(entryRandom(5, 9)));
        Edit7->selectAll();
    }
    const int x = readInteger(Edit5);
    const int y = readInteger(Edit7);
    const int count = readInteger(Edit6);
    const double len = CurrencyEdit2->value();
    if (!ScanBoard(x, y, len, count)) {
        boardModel()->append(newBoardLine(Edit5->text(), Edit7->text(), len, Edit6->text()));
        ReFreshListBoard();
    }
    Edit5->setFocus();
    Edit5->selectAll();
}

int TForm1::entryRandom(int low, int high)
{
    return static_cast<int>(m_random.bounded(low, high + 1));
}

void TForm1::showTotals(const ListTotals& t)
{
    total = t.total;
    Edit2->setText(t.volume);
    Edit4->setText(t.weight);
    Edit9->setText(t.runningLength);
    Edit10->setText(t.mean);
    Label9->setText(L(12));
    Label15->setText(L(9));
    Label17->setText(L(7));
}

void TForm1::listRecomputed(LinesModel* model, const ListTotals& t)
{
    const bool boards = model == boardModel();
    if (!t.ok())
        return listUnread(model, boards ? m_unreadBoard : m_unreadRound, t);
    showTotals(t);
    if (boards) {
        Edit8->setText(t.area);
        Label11->setText(L(13));
    }
    showElided(m_statusPanels[0], !boards && t.fallbacks > 0 ? L(80) : QString());
}

void TForm1::listUnread(LinesModel* model, UnreadLineNotice& notice, const ListTotals& t)
{
    const ConvertError error(t.error);
    // Before the window is up nothing is told: the report would come ahead
    // of the window it belongs to.
    if (!m_onScreen) {
        m_unreadAtStart = true;
        logAndSave(this, error);
        return;
    }
    if (!notice.isNew(model->lines(), t)) {
        logAndSave(this, error);
        return;
    }
    // The report brings the Log tab forward; the list the user went to goes
    // back in front, where its red line can be mended or deleted.
    QWidget* front = PageControl1->currentWidget();
    if (Application* app = Application::instance())
        app->reportError(this, error);
    else
        MyExcept(this, error);
    if (PageControl1->currentWidget() != front)
        PageControl1->setCurrentWidget(front);
}

// res1Click: edit one cell of the selected line through an input box.
void TForm1::res1Click(int column)
{
    Log(QStringLiteral("right click menu edit"));
    LinesModel* model = activeModel();
    m_lists->undo().record(model, kTxtStepEdit, [&] {
        const int row = selectedRow();
        if (row >= 0 && column < model->columnCount()) {
            const QString prompt = QStringLiteral("\" ") + model->header(column) + QStringLiteral(" \"");
            const QString typed = Dialogs::input(this, L(51), prompt, model->lines()[row].cells[column]);
            // A text that is no number of the column would stop every recomputation.
            if (cellReads(typed, column, model == boardModel())) {
                model->lines()[row].cells[column] = typed;
                model->linesChanged({row});
            } else {
                Dialogs::message(this, L(260));
            }
        }
        refreshActiveList();
    });
}

// N3Click: delete the selected line.
void TForm1::N3Click()
{
    Log(QStringLiteral("Delete"));
    m_lists->undo().record(activeModel(), kTxtStepDelete, [this] {
        const int row = selectedRow();
        if (row >= 0)
            activeModel()->removeLine(row);
        refreshActiveList();
    });
}

// N1Click: clear the list in front.
void TForm1::N1Click()
{
    Log(QStringLiteral("Clear list"));
    m_lists->undo().record(activeModel(), kTxtStepClear, [this] {
        activeModel()->clearLines();
        refreshActiveList();
    });
}

// undoClick: take back the last change of the list in front.
void TForm1::undoClick()
{
    Log(QStringLiteral("Undo"));
    if (LinesModel* model = listInFront())
        m_lists->undo().undo(model);
}

// redoClick: make the change taken back last again.
void TForm1::redoClick()
{
    Log(QStringLiteral("Redo"));
    if (LinesModel* model = listInFront())
        m_lists->undo().redo(model);
}

// The undo items name what they would take back or make again, in the
// language in force; with nothing to do they are off.
void TForm1::relabelUndo()
{
    LinesModel* model = listInFront();
    const int undo = model ? m_lists->undo().undoName(model) : -1;
    const int redo = model ? m_lists->undo().redoName(model) : -1;
    m_undoAction->setText(undo >= 0 ? L(kTxtUndoStep).arg(L(undo)) : L(kTxtUndo));
    m_redoAction->setText(redo >= 0 ? L(kTxtRedoStep).arg(L(redo)) : L(kTxtRedo));
    m_undoAction->setEnabled(undo >= 0);
    m_redoAction->setEnabled(redo >= 0);
}

// PopupMenu1Popup: the list menu is opening.
void TForm1::PopupMenu1Popup()
{
    Log(QStringLiteral("right clik menu 1"));
    QAction* const columns[4] = {N8, N9, N10, res1};
    setColumnCaptions(columns, boardTabActive());
    const bool any = activeModel()->size() > 0;
    for (QAction* a : {N1, N7, N3, N17, N12})
        a->setEnabled(any);
    N14->setEnabled(true);
    relabelUndo();
}

// PopupMenu2Popup: the edit menu is opening.
void TForm1::PopupMenu2Popup()
{
    Log(QStringLiteral("right clik menu 2"));
    QAction* const columns[4] = {N4, N5, N6, res2};
    setColumnCaptions(columns, boardTabActive());
}

// ListView1DblClick: a double click on a list opens the edit menu beside the pointer.
void TForm1::ListView1DblClick()
{
    Log(QStringLiteral("Edit menu"));
    if (selectedRow() >= 0)
        PopupMenu2->popup(QCursor::pos() - QPoint(50, 50));
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
    relabelUndo();   // the undo follows the list in front
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
    const int h = height();
    if (Bigform) {
        if (h >= 540 - kFrame) {
            Timer1->setInterval(1000);
            Bigform = false;
            showPicture(Image2, QStringLiteral("Bitmap_4"));
        } else {
            Image2->move(Image2->x(), Image2->y() + 4);
            if (h > 490 - kFrame)
                showRow(kAreaRow, true);
            if (h > 511 - kFrame)
                showRow(kLengthRow, true);
            if (h > 532 - kFrame)
                showRow(kAverageRow, true);
            setFixedHeight(h + 4);
        }
    } else if (Smallform) {
        if (h <= kCollapsed) {
            Timer1->setInterval(1000);
            Smallform = false;
            showPicture(Image2, QStringLiteral("Bitmap_3"));
        } else {
            Image2->move(Image2->x(), Image2->y() - 4);
            if (h < 495 - kFrame)
                showRow(kAreaRow, false);
            if (h < 516 - kFrame)
                showRow(kLengthRow, false);
            if (h < 537 - kFrame)
                showRow(kAverageRow, false);
            setFixedHeight(h - 4);
        }
    } else {
        m_online->autoCheckUpdate();
    }
}

void TForm1::PrintCub()
{
    printReport(this);
}

void TForm1::printReport(QWidget* owner)
{
    Log(QStringLiteral("Print table"));
    // Only a list tab has a calculation to print.
    const bool boards = boardTabActive();
    if (!boards && !roundTabActive())
        return;
    LinesModel* model = activeModel();
    if (model->size() == 0)
        return;
    CalcReportInput in;
    in.boards = boards;
    in.methodName = L(36 + static_cast<int>(Settings.Method));
    in.heading = boards ? L(102) : L(75);
    for (int c = 0; c < model->columnCount(); ++c)
        in.columnCaptions << model->header(c);
    for (const ListLine& line : model->lines())
        in.lines << QStringList(line.cells.cbegin(), line.cells.cend());
    in.volumeCaption = Label18->text();
    in.volume = Edit2->text();
    in.volumeUnit = Label9->text();
    in.weightCaption = Label12->text();
    in.weight = Edit4->text();
    in.weightUnit = Label10->text();
    in.areaCaption = Label13->text();
    in.area = Edit8->text();
    in.areaUnit = Label11->text();
    in.areaRow = Label13->isEnabled() && boards && height() != kCollapsed;
    const QString path = reportFilePath(m_services.programFile);
    writeReportFile(path, CalcReportDocument(in));
    auto* preview = new TForm6(owner, *m_log, path);
    preview->show();
}

void TForm1::N2708751Click()
{
    Log(QStringLiteral("Cub table window"));
    TForm3 table(this);
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

void TForm1::openSavedLines(const QStringList& texts, bool boards)
{
    m_lists->openSaved(texts, boards);
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

void TForm1::relabelBaseWindow()
{
    if (m_base)
        m_base->applyTitle();
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
    TForm2 about(this);
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
    relabelUndo();
    fitTexts(this);
    keepToggleClear();
    m_lists->languageSwitched();
}

void TForm1::buildOnlineTabs()
{
    m_online = new OnlineController(m_services, *m_log, this, [this] {
        showNewLogEntries();
        return displayedLines(Memo3);
    });
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

void TForm1::showMessagesTab()
{
    m_online->showMessagesTab();
}

void TForm1::showLogTab()
{
    m_online->showLogTab();
}

void TForm1::MyExcept(QObject* Sender, const std::exception& E)
{
    m_errors->MyExcept(Sender, E);
}

bool TForm1::logAndSave(QObject* Sender, const std::exception& E)
{
    return m_errors->logAndSave(Sender, E);
}

} // namespace zel
