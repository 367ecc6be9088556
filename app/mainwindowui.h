// The main window's controls, built and captioned in the shape the user
// interface compiler gives a form: setupUi makes them, retranslateUi puts
// every caption in the current language. The window connects them.
#pragma once

#include <QRect>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeView;
class QWidget;

namespace zel {

class NumberEdit;
struct CalcReportInput;
struct ListTotals;

class MainWindowUi {
public:
    // The design's heights of the main window (475 collapsed, 543 expanded,
    // and the limits where the panel's rows appear) are outer heights,
    // caption and borders included; less this, they are heights of the
    // client area, which is what is sized here, whatever frame the window
    // manager draws.
    static constexpr int kFrame = 29;
    // Client height with the totals panel collapsed (expanded: 543 - kFrame).
    static constexpr int kCollapsed = 475 - kFrame;
    // Rows of the totals panel, top to bottom.
    static constexpr int kAreaRow = 2;
    static constexpr int kLengthRow = 3;
    static constexpr int kAverageRow = 4;

    void setupUi(QMainWindow* Form1);
    void retranslateUi(QMainWindow* Form1);

    void showRow(int row, bool visible);
    // One 4-pixel step of the totals panel opening or closing `window`, its
    // rows shown as room comes; true once it is at its end (no step made).
    bool slidePanel(QWidget* window, bool opening);
    // The totals every list shows (the area is the board list's own).
    void showTotals(const ListTotals& t);
    // The totals' captions, figures and units as the report prints them.
    void reportTotals(CalcReportInput& in, bool expanded) const;
    void setAreaRowEnabled(bool on);
    // The panel's toggle stays left of the widest caption beside it.
    void keepToggleClear();
    // The column items of a list menu, for the list of that kind.
    static void setColumnCaptions(QAction* const* actions, bool boardTab);

    QLabel* Image1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* Edit1;
    NumberEdit* CurrencyEdit1;
    QLineEdit* Edit3;
    QPushButton* Button1;
    QLineEdit* Edit5;
    QLineEdit* Edit7;
    NumberEdit* CurrencyEdit2;
    QLineEdit* Edit6;
    QPushButton* Button3;
    QTreeView* ListView1;
    QTreeView* ListView2;
    QPlainTextEdit* Memo3;
    QPushButton* Button4;
    QPlainTextEdit* Memo4;
    QPushButton* Button5;
    QLineEdit* Edit11;

    QLabel* Label18;
    QLineEdit* Edit2;
    QLabel* Label9;
    QLabel* Label12;
    QLineEdit* Edit4;
    QLabel* Label10;
    QLabel* Label13;
    QLineEdit* Edit8;
    QLabel* Label11;
    QLabel* Label14;
    QLineEdit* Edit9;
    QLabel* Label15;
    QLabel* Label16;
    QLineEdit* Edit10;
    QLabel* Label17;
    QLabel* m_statusPanels[2];
    std::array<std::array<QWidget*, 3>, 5> m_totalRows; // caption, box, unit
    QLabel* Image2;
    QPushButton* Button2;

    QMenu* PopupMenu3;
    QAction* N16;
    QAction* N20;
    QAction* N110;
    QAction* N22;
    QAction* N25;
    QAction* N30; // lot summary
    QAction* N23;
    QAction* Update1;
    QAction* help1;
    QAction* Connect1;
    QAction* N27;
    QAction* N29;

    QMenu* PopupMenu1;
    QAction* N1;
    QMenu* m_editMenu;
    QAction* N7;
    QAction* N8;
    QAction* N9;
    QAction* N10;
    QAction* res1;
    QAction* N3;
    QAction* N17;
    QAction* N12;
    QAction* N14;
    QAction* m_undoAction;
    QAction* m_redoAction;
    QMenu* PopupMenu2;
    QAction* N4;
    QAction* N5;
    QAction* N6;
    QAction* res2;

private:
    void setupRoundTab(QWidget* tab);
    void setupBoardTab(QWidget* tab);
    void setupOnlineTabs();
    void setupTotals(QWidget* central);
    void setupMenus(QMainWindow* Form1);
    void setupMainMenu(QMainWindow* Form1, QWidget* central);
};

} // namespace zel
