// The calculation base window: saved calculations, opened, printed, deleted.
#pragma once

#include "base/calcbase.h"
#include "shell/ui/appservices.h"
#include "shell/ui/openings.h"

#include <QDialog>

class QAction;
class QMenu;
class QPushButton;
class QTableView;
class QToolBar;

namespace zel {

class BaseModel;
class ListsSession;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // Over `main`; `addName` names the calculation in front to add as the
    // window opens, none when the base is only browsed.
    TForm4(QWidget* main, ListsSession& lists, const AppServices& services, const QString& addName = {});

    const CalcBase& base() const { return m_base; }
    int selectedIndex() const;
    void selectIndex(int index);
    // Applies the title (the language switch calls it too).
    void applyTitle();

public slots:
    void DBGrid1DblClick();
    void N2Click();
    void N4Click();
    void Button1Click();

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
    QString basePath() const;

    QWidget* m_main;
    ListsSession& m_lists;
    const AppServices m_services;
    const QString m_addName;
    CalcBase m_base;
    BaseModel* m_model;
    bool m_loaded = false; // the file read fine: it may be written back
    Openings m_openings;

    QTableView* DBGrid1;
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N2;
    QAction* N4;
    QPushButton* Button2;
    QPushButton* Button1;
    QToolBar* DBNavigator1;
};

} // namespace zel
