// The main window: the two calculation lists, their totals and commands.
#pragma once

#include "app/errorreporter.h"
#include "app/listmenus.h"
#include "app/mainwindowui.h"
#include "lists/ui/listssession.h"
#include "online/ui/onlinecontroller.h"
#include "shell/ui/appservices.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QTabWidget;
class QTreeView;
class QPlainTextEdit;
class QTimer;
class QKeyEvent;

namespace zel {

class EntryRows;
class LogTab;
class Log;
class LinesModel;
class ListExchange;
class ListUndo;
class LotSummaryWindow;
struct SummaryParams;
class NumberEdit;
class TForm4;
class TForm5;

class TForm1 : public QMainWindow, private MainWindowUi {
    Q_OBJECT
public:
    explicit TForm1(AppServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // The settings window, created after this one; it applies the language
    // at the first showing of this window.
    void setSettingsWindow(TForm5* settings) { m_settings = settings; }

    // The program's file version, four numbers ("1.0.0.1").
    QString GetMyVersion();
    void ReadParams();
    bool WriteParams();
    void LoadZM1() { m_lists->loadStored(ListKind::Round); }
    void LoadZM2() { m_lists->loadStored(ListKind::Board); }
    // The calculation of the list in front as an HTML report, in a preview.
    void PrintCub() { printReport(this); }
    // The same with a preview owned by `owner`: a modal window prints through
    // a preview of its own, which its modality would otherwise block.
    void printReport(QWidget* owner);
    // The cubature table window, modal.
    void N2708751Click();
    // The calculation base window, for browsing.
    void N222click();
    // The lot summary of the list in front, a window that follows the lists
    // (app/tform1_summary.cpp).
    void LotSummaryClick();
    LotSummaryWindow* summaryWindow() const { return m_summary; }
    // The summary's stored values, read at start with the other settings.
    const SummaryParams& summaryParams();
    // Saves the calculation in front to the base under a name asked for.
    void N18Click();
    ListsSession& lists() { return *m_lists; }
    // Whether the base's engine is there.
    bool SaveMidas();
    // A saved calculation back into its list, which comes to front.
    void openSavedLines(const QStringList& texts, bool boards) { m_lists->openSaved(texts, boards); }
    // The total volume as its box shows it.
    QString volumeText() const;
    // The name of a calculation to add when the base window opens; empty
    // when the base is only browsed.
    QString AddRec;
    AppServices& services() { return m_services; }

    // Writes one activity-log entry ("save" writes the log file).
    void Log(const QString& label);
    zel::Log& activityLog() { return *m_log; }

    // Recomputes every line of a list and its totals.
    void ReFreshList() { m_lists->refreshRound(); }
    void ReFreshListBoard() { m_lists->refreshBoards(); }
    // Merges into an existing line; true when it did.
    bool scan(std::int64_t d, double l, std::int64_t c) { return m_lists->mergeRound(d, l, c); }
    bool ScanBoard(std::int64_t x, std::int64_t y, double len, std::int64_t count)
    {
        return m_lists->mergeBoard(x, y, len, count);
    }
    // Recomputes the list of the tab in front; other tabs recompute nothing.
    void refreshActiveList() { m_lists->refreshFront(); }
    // Both lists kept in the text order of their first column, or as given.
    void setSortMode(bool on) { m_lists->setSorted(on); }
    bool sortMode() const { return m_lists->sorted(); }
    // Every caption of the main window in the current language.
    void applyLanguage();

    // The online side: the update, the messages, the log sent.
    OnlineController& online() { return *m_online; }
    void UpDate(bool mess, bool rebot) { m_online->UpDate(mess, rebot); }
    void GIFStart(const QString& text) { m_online->GIFStart(text); }
    void GIFStop() { m_online->GIFStop(); }
    bool IsConnectedToInternet() { return m_online->IsConnectedToInternet(); }
    // The application-wide error handler (app/errorreporter.h).
    void MyExcept(QObject* Sender, const std::exception& E) { m_errors->MyExcept(Sender, E); }
    bool logAndSave(QObject* Sender, const std::exception& E) { return m_errors->logAndSave(Sender, E); }
    bool SendMess(const QString& theme, const QString& email, const QString& message)
    {
        return m_online->SendMess(theme, email, message);
    }
    void PlayBeep() { m_services.playBeep(); }
    // The Messages or Log tab made visible and active, with its header picture.
    void showMessagesTab() { m_online->showMessagesTab(); }
    void showLogTab() { m_online->showLogTab(); }

    LinesModel* roundModel() const { return m_lists->roundModel(); }
    LinesModel* boardModel() const { return m_lists->boardModel(); }
    // The list of the tab in front; none on the Messages and Log tabs.
    LinesModel* listInFront() const { return m_lists->inFront(); }
    // A status panel's whole text, also while it is shown cut short.
    QString statusText(int panel) const;
    bool roundTabActive() const;
    // What a recomputation reads of the settings now.
    ListContext listContext() const { return m_lists->context(); }
    bool boardTabActive() const;

    // Summed volume of the list recomputed last, m3.
    double total = 0.0;
    // The column texts of every line of each list, four (five) per line, as
    // of its last recomputation: what the lists are saved from.
    QStringList Memo1() const { return m_lists->roundTexts(); }
    QStringList Memo2() const { return m_lists->boardTexts(); }

private slots:
    void Button1Click();
    void Button3Click();
    // The list menus' commands (app/listmenus.h).
    void res1Click(int column) { m_menus->editCell(column); }
    void N3Click() { m_menus->deleteLine(); }
    void N1Click() { m_menus->clearList(); }
    void PopupMenu1Popup() { m_menus->listMenuOpening(); }
    void PopupMenu2Popup() { m_menus->editMenuOpening(); }
    void ListView1DblClick() { m_menus->openEditMenu(); }
    void undoClick() { m_menus->undo(); }
    void redoClick() { m_menus->redo(); }
    void PageControl1Change();
    void Button2Click();
    void PopupMenu3Popup();
    void Image2Click();
    void Timer1Timer();
    void N16Click();
    void N17Click();
    void help1Click();
    void N21Click();
    void Update1Click() { m_online->UpDate(true, true); }
    void Connect1Click() { m_online->feedback(); }
    void Button4Click() { m_online->sendLog(); }
    void Button5Click() { m_online->reply(); }
    void Timer2Timer() { m_online->pollMessages(); }
    void checkmessage() { m_online->checkMessage(); }

public:
    void StartMore();
    void StopMore();
    // The panel is expanding or collapsing.
    bool Bigform = false;
    bool Smallform = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void buildOnlineTabs();
    void buildWindow();
    void connectMenus();
    // What the other windows tell through the services' events.
    void listenToWindows();
    void showTab(QWidget* tab, const QString& picture);
    // Runs one start-up step; what it throws is reported and start-up goes on.
    void startStep(const std::function<void()>& step);
    bool windowKey(QKeyEvent* key);
    void followSettingsWindow();
    // A list was recomputed: its totals shown, or the line it stopped at told.
    void listRecomputed(LinesModel* model, const ListTotals& t);
    // A list stopped at a line that does not read: reported the first time
    // for that line, with the list kept in front; logged every time.
    void listUnread(LinesModel* model, UnreadLineNotice& notice, const ListTotals& t);
    void bringListToFront(ListKind kind);
    std::optional<ListKind> frontList() const;

    AppServices m_services;
    TForm5* m_settings = nullptr;
    LotSummaryWindow* m_summary = nullptr;
    std::shared_ptr<SummaryParams> m_summaryParams;
    void readSummaryParams();
    bool m_shown = false;
    zel::Log* m_log = nullptr;
    LogTab* m_logTab = nullptr;
    std::unique_ptr<EntryRows> m_entries;
    UnreadLineNotice m_unreadRound;
    UnreadLineNotice m_unreadBoard;
    // The first show is over: a report now comes over the window, not before it.
    bool m_onScreen = false;
    // A list failed before that, and is reported once the window is up.
    bool m_unreadAtStart = false;
    ListExchange* m_exchange = nullptr; // export, import, copy and paste
    ListsSession* m_lists = nullptr;
    ListMenus* m_menus = nullptr;

    OnlineController* m_online = nullptr;
    std::unique_ptr<ErrorReporter> m_errors;
    // ReadParams has run; no settings are written before.
    bool m_paramsRead = false;
    QTimer* Timer1;
};

} // namespace zel
