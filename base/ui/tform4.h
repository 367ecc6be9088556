// The calculation base window: saved calculations, opened, printed, deleted.
#pragma once

#include "base/calcbase.h"
#include "base/serverbase.h"
#include "shell/ui/appservices.h"
#include "shell/ui/openings.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>

class QAction;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;
class QToolBar;

namespace zel {

class BaseModel;
class ServerBaseModel;
class ListsSession;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // Over `main`; `addName` names the calculation in front to add as the
    // window opens, none when the base is only browsed.
    TForm4(QWidget* main, ListsSession& lists, const AppServices& services, const QString& addName = {});

    const CalcBase& base() const { return m_base; }
    // The server base's records as shown; none when the base is the file.
    const ServerBaseModel* serverRecords() const { return m_serverModel; }
    // Waiting for the server (the window goes on painting meanwhile).
    bool busy() const { return m_busy > 0; }
    int selectedIndex() const;
    void selectIndex(int index);
    // Applies the title (the language switch calls it too).
    void applyTitle();

public slots:
    void DBGrid1DblClick();
    void N2Click();
    void N4Click();
    void Button1Click();
    // Copies this computer's base file into the server base, once.
    void copyFileToServer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void handOverPreviews();
    // Opens the selected calculation into its list; false when it holds none.
    bool AddToList();
    void addCurrentCalculation();
    // The calculation in front as a record; none on another tab. Throws
    // ConvertError when its total does not read.
    std::optional<BaseRecord> currentCalculation() const;
    bool onServer() const { return m_server != nullptr; }
    int shownCount() const;
    void showServer();
    // Reads the server's records again, keeping the selected one where it
    // is still there; false when the server could not be asked.
    bool refreshServer(bool tell);
    // Makes the lost connection of changes again and reads what was missed.
    void listenAgain();
    void saveToServer(const BaseRecord& record);
    // Tells a failure of the server base in plain words; `unreachable` is
    // the text for a server that does not answer.
    void tellServerFailure(const std::exception& e, const QString& unreachable);
    QString basePath() const;

    QWidget* m_main;
    ListsSession& m_lists;
    const AppServices m_services;
    const QString m_addName;
    CalcBase m_base;
    BaseModel* m_model;
    bool m_loaded = false; // the file read fine: it may be written back
    Openings m_openings;
    // The server base when the settings name one, else none.
    std::unique_ptr<IServerBase> m_server;
    ServerBaseModel* m_serverModel = nullptr;
    bool m_refreshDue = false;
    QTimer* m_listen = nullptr;
    QElapsedTimer m_sinceListenTry;
    qint64 m_listenPause = 0;
    int m_busy = 0;
    bool m_unopened = false; // the last record to open could not be had from the server

    QTableView* DBGrid1;
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N2;
    QAction* N4;
    QAction* N5 = nullptr; // the copy of the file into the server base
    QPushButton* Button2;
    QPushButton* Button1;
    QToolBar* DBNavigator1;
};

} // namespace zel
