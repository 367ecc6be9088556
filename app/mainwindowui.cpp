// The main window's controls and their captions.
#include "app/mainwindowui.h"
#include "lists/calclists.h"
#include "lists/ui/numberedit.h"
#include "report/reports.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/pictures.h"

#include <QCommandLinkButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>

namespace zel {
namespace {

QLineEdit* digitsEdit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    return e;
}

NumberEdit* lengthEdit(QWidget* parent, const char* name)
{
    auto* e = new NumberEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMinimum(1.0);
    e->setMaximum(15.0);
    e->setDecimals(1);
    e->setDisplayFormat(QStringLiteral(",0.0"));
    e->setValue(4.0);
    return e;
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(align);
    return l;
}

QTreeView* listView(QWidget* parent, const char* name)
{
    auto* v = new QTreeView(parent);
    v->setObjectName(QLatin1String(name));
    v->setRootIsDecorated(false);
    v->setUniformRowHeights(true);
    v->setAllColumnsShowFocus(true);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    v->header()->setStretchLastSection(true);
    v->header()->setSectionsMovable(false);
    return v;
}

QAction* menuAction(QMenu* menu, const char* name)
{
    auto* a = menu->addAction(QString());
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

void MainWindowUi::setupUi(QMainWindow* Form1)
{
    Form1->setObjectName(QStringLiteral("Form1"));
    auto* central = new QWidget(Form1);
    Form1->setCentralWidget(central);

    Image1 = label(central, "Image1", QRect(0, 0, 528, 100));

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setGeometry(0, 99, 528, 277);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());
    PageControl1->addTab(TabSheet3, QStringLiteral("Log"));
    PageControl1->addTab(TabSheet4, QString());
    PageControl1->setTabVisible(2, false);
    PageControl1->setTabVisible(3, false);

    setupRoundTab(TabSheet1);
    setupBoardTab(TabSheet2);
    setupOnlineTabs();
    setupTotals(central);
    setupMenus(Form1);
    setupMainMenu(Form1, central);

    m_statusPanels[0] = new QLabel;
    m_statusPanels[0]->setObjectName(QStringLiteral("StatusBar1Panel0"));
    m_statusPanels[0]->setFixedWidth(400);
    m_statusPanels[1] = new QLabel;
    m_statusPanels[1]->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_statusPanels[1]->setFixedWidth(50);
    QStatusBar* status = Form1->statusBar();
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setFixedHeight(19);
    status->addWidget(m_statusPanels[0]);
    status->addWidget(m_statusPanels[1]);
    Form1->setFixedSize(528, kCollapsed);
}

void MainWindowUi::setupRoundTab(QWidget* tab)
{
    Label1 = label(tab, "Label1", QRect(8, 4, 150, 18));
    Edit1 = digitsEdit(tab, "Edit1");
    Edit1->setGeometry(8, 22, 150, 24);
    Label2 = label(tab, "Label2", QRect(166, 4, 110, 18));
    CurrencyEdit1 = lengthEdit(tab, "CurrencyEdit1");
    CurrencyEdit1->setGeometry(166, 22, 110, 24);
    Label3 = label(tab, "Label3", QRect(284, 4, 116, 18));
    Edit3 = digitsEdit(tab, "Edit3");
    Edit3->setGeometry(284, 22, 104, 24);
    Edit3->setText(QStringLiteral("1"));
    Button1 = new QPushButton(tab);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(400, 20, 116, 28);
    ListView1 = listView(tab, "ListView1");
    ListView1->setGeometry(4, 54, 516, 192);
}

void MainWindowUi::setupBoardTab(QWidget* tab)
{
    Label4 = label(tab, "Label4", QRect(8, 4, 92, 18));
    Edit5 = digitsEdit(tab, "Edit5");
    Edit5->setGeometry(8, 22, 92, 24);
    Label5 = label(tab, "Label5", QRect(106, 4, 92, 18));
    Edit7 = digitsEdit(tab, "Edit7");
    Edit7->setGeometry(106, 22, 92, 24);
    Label6 = label(tab, "Label6", QRect(204, 4, 92, 18));
    CurrencyEdit2 = lengthEdit(tab, "CurrencyEdit2");
    CurrencyEdit2->setGeometry(204, 22, 92, 24);
    Label7 = label(tab, "Label7", QRect(302, 4, 92, 18));
    Edit6 = digitsEdit(tab, "Edit6");
    Edit6->setGeometry(302, 22, 90, 24);
    Edit6->setText(QStringLiteral("1"));
    Button3 = new QPushButton(tab);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(400, 20, 116, 28);
    ListView2 = listView(tab, "ListView2");
    ListView2->setGeometry(4, 54, 516, 192);
}

void MainWindowUi::setupOnlineTabs()
{
    // The Log tab: the log and the button that sends it.
    Memo3 = new QPlainTextEdit(TabSheet3);
    Memo3->setObjectName(QStringLiteral("Memo3"));
    Memo3->setGeometry(4, 4, 516, 208);
    Memo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button4 = new QPushButton(QStringLiteral("Send log to Halvane"), TabSheet3);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(4, 216, 180, 28);

    // The Messages tab: the reply row above the conversation.
    Button5 = new QPushButton(QStringLiteral("Ответить"), TabSheet4);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(4, 4, 100, 26);
    Button5->setDefault(true);
    Edit11 = new QLineEdit(TabSheet4);
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Edit11->setGeometry(110, 5, 410, 24);
    Edit11->setMaxLength(512);
    Memo4 = new QPlainTextEdit(TabSheet4);
    Memo4->setObjectName(QStringLiteral("Memo4"));
    Memo4->setGeometry(4, 34, 516, 210);
    Memo4->setReadOnly(true);
    Memo4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void MainWindowUi::setupTotals(QWidget* central)
{
    struct Row { QLabel** caption; const char* cname; QLineEdit** box; const char* bname;
                 QLabel** unit; const char* uname; int top; };
    const Row rows[] = {
        {&Label18, "Label18", &Edit2, "Edit2", &Label9, "Label9", 376},
        {&Label12, "Label12", &Edit4, "Edit4", &Label10, "Label10", 399},
        {&Label13, "Label13", &Edit8, "Edit8", &Label11, "Label11", 421},
        {&Label14, "Label14", &Edit9, "Edit9", &Label15, "Label15", 444},
        {&Label16, "Label16", &Edit10, "Edit10", &Label17, "Label17", 468},
    };
    for (const Row& r : rows) {
        *r.caption = label(central, r.cname, QRect(279, r.top, 110, 21), Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QLineEdit(central);
        box->setObjectName(QLatin1String(r.bname));
        box->setReadOnly(true);
        box->setGeometry(394, r.top, 95, 21);
        *r.box = box;
        *r.unit = label(central, r.uname, QRect(493, r.top, 30, 21), Qt::AlignCenter);
    }
    // The area, length and average rows belong to the expanded panel; the
    // window starts collapsed.
    for (int row = 0; row < 5; ++row)
        m_totalRows[row] = {*rows[row].caption, *rows[row].box, *rows[row].unit};
    for (int row : {kAreaRow, kLengthRow, kAverageRow})
        showRow(row, false);
    setAreaRowEnabled(false);
}

void MainWindowUi::showRow(int row, bool visible)
{
    for (QWidget* w : m_totalRows[row])
        w->setVisible(visible);
}

void MainWindowUi::setAreaRowEnabled(bool on)
{
    for (QWidget* w : m_totalRows[kAreaRow])
        w->setEnabled(on);
}

void MainWindowUi::keepToggleClear()
{
    // The panel's toggle moves down beside the captions as the panel opens;
    // a caption grown to its left ("The average diameter") must not go
    // under it, so the toggle stands left of the widest one.
    constexpr int kToggleLeft = 252;
    int left = kToggleLeft + Image2->width() + 2;
    for (const auto& row : m_totalRows)
        left = std::min(left, row[0]->x());
    Image2->move(std::min(kToggleLeft, left - Image2->width() - 2), Image2->y());
}

void MainWindowUi::setupMenus(QMainWindow* Form1)
{
    PopupMenu1 = new QMenu(Form1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = menuAction(PopupMenu1, "N1");
    PopupMenu1->addSeparator();
    m_editMenu = PopupMenu1->addMenu(QString());
    m_editMenu->setObjectName(QStringLiteral("N7Menu"));
    N7 = m_editMenu->menuAction();
    N7->setObjectName(QStringLiteral("N7"));
    N8 = menuAction(m_editMenu, "N8");
    N9 = menuAction(m_editMenu, "N9");
    N10 = menuAction(m_editMenu, "N10");
    res1 = menuAction(m_editMenu, "res1");
    N3 = menuAction(PopupMenu1, "N3");
    PopupMenu1->addSeparator();
    N17 = menuAction(PopupMenu1, "N17");
    N12 = menuAction(PopupMenu1, "N12");
    PopupMenu1->addSeparator();
    N14 = menuAction(PopupMenu1, "N14");
    // Undo and redo of the list in front, from anywhere in the window; a
    // text field takes the keys for its own text first.
    PopupMenu1->addSeparator();
    m_undoAction = menuAction(PopupMenu1, "UndoAction");
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = menuAction(PopupMenu1, "RedoAction");
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* a : {m_undoAction, m_redoAction}) {
        a->setShortcutContext(Qt::WindowShortcut);
        Form1->addAction(a);
    }

    PopupMenu2 = new QMenu(Form1);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    N4 = menuAction(PopupMenu2, "N4");
    N5 = menuAction(PopupMenu2, "N5");
    N6 = menuAction(PopupMenu2, "N6");
    res2 = menuAction(PopupMenu2, "res2");
}

void MainWindowUi::setupMainMenu(QMainWindow* Form1, QWidget* central)
{
    Button2 = new QCommandLinkButton(central);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(8, 382, 101, 41);
    Button2->setIcon(pictureIcon(QStringLiteral("menu")));

    Image2 = label(central, "Image2", QRect(252, 397, 24, 24), Qt::AlignCenter);
    showPicture(Image2, QStringLiteral("Bitmap_3"));
    Image2->setCursor(Qt::PointingHandCursor);

    PopupMenu3 = new QMenu(Form1);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    N16 = menuAction(PopupMenu3, "N16");
    QFont bold = N16->font();
    bold.setBold(true);
    N16->setFont(bold);
    PopupMenu3->setDefaultAction(N16);
    PopupMenu3->addSeparator();
    QMenu* tables = PopupMenu3->addMenu(QString());
    N20 = tables->menuAction();
    N20->setObjectName(QStringLiteral("N20"));
    for (const char* name : {"N201", "N202", "N203"})
        menuAction(tables, name);
    N20->setVisible(false);
    PopupMenu3->addSeparator();
    N110 = menuAction(PopupMenu3, "N110");
    N22 = menuAction(PopupMenu3, "N22");
    PopupMenu3->addSeparator();
    N25 = menuAction(PopupMenu3, "N25");
    N30 = menuAction(PopupMenu3, "N30");
    PopupMenu3->addSeparator();
    N23 = menuAction(PopupMenu3, "N23");
    PopupMenu3->addSeparator();
    Update1 = menuAction(PopupMenu3, "Update1");
    PopupMenu3->addSeparator();
    help1 = menuAction(PopupMenu3, "help1");
    help1->setVisible(false);
    Connect1 = menuAction(PopupMenu3, "Connect1");
    PopupMenu3->addSeparator();
    N27 = menuAction(PopupMenu3, "N27");
    PopupMenu3->addSeparator();
    N29 = menuAction(PopupMenu3, "N29");
}

void MainWindowUi::setColumnCaptions(QAction* const* actions, bool boardTab)
{
    if (boardTab) {
        actions[0]->setText(L(43));
        actions[1]->setText(L(42));
        actions[2]->setText(L(4));
        actions[3]->setText(L(5));
    } else {
        actions[0]->setText(L(3));
        actions[1]->setText(L(4));
        actions[2]->setText(L(5));
    }
    actions[3]->setVisible(boardTab);
}

void MainWindowUi::retranslateUi(QMainWindow*)
{
    PageControl1->setTabText(0, L(44));
    PageControl1->setTabText(1, L(89));
    PageControl1->setTabText(2, QStringLiteral("Log"));
    PageControl1->setTabText(3, L(93));
    const QString eq = QStringLiteral(" = ");
    Label1->setText(L(3) + eq + L(7));
    Label2->setText(L(4) + eq + L(8));
    Label3->setText(L(5) + eq + L(10));
    Label4->setText(L(43) + eq + L(7));
    Label5->setText(L(42) + eq + L(7));
    Label6->setText(L(4) + eq + L(8));
    Label7->setText(L(5) + eq + L(10));
    Button1->setText(L(15));
    Button3->setText(L(15));
    Label18->setText(L(6));
    Label13->setText(L(14));
    Label12->setText(L(16));
    N8->setText(L(3));
    N9->setText(L(4));
    N10->setText(L(5));
    N4->setText(L(3));
    N5->setText(L(4));
    N6->setText(L(5));
    N1->setText(L(17));
    N7->setText(L(18));
    N3->setText(L(19));
    N17->setText(L(20));
    N14->setText(L(22));
    N12->setText(L(21));
    Label9->setText(L(12));
    Label11->setText(L(13));
    Label10->setText(L(11));
    Button2->setText(L(2));
    N20->setText(L(81));
    help1->setText(L(90));
    N16->setText(L(0) + QStringLiteral("\tCtrl+O"));
    N110->setText(L(23) + QStringLiteral("\tF2"));
    N22->setText(L(20) + QStringLiteral("\tCtrl+S"));
    N23->setText(L(22));
    N25->setText(L(24) + QStringLiteral("\tCtrl+P"));
    N30->setText(L(170) + QStringLiteral("\tCtrl+L"));
    N27->setText(L(25));
    N29->setText(L(26) + QStringLiteral("\tCtrl+X"));
    Connect1->setText(L(98));
    Update1->setText(L(78));
    Label14->setText(L(99));
    if (PageControl1->currentWidget() == TabSheet1)
        Label16->setText(L(100));
    else if (PageControl1->currentWidget() == TabSheet2)
        Label16->setText(L(101));
}

bool MainWindowUi::slidePanel(QWidget* window, bool opening)
{
    const int h = window->height();
    if (opening ? h >= 540 - kFrame : h <= kCollapsed) {
        showPicture(Image2, opening ? QStringLiteral("Bitmap_4") : QStringLiteral("Bitmap_3"));
        return true;
    }
    const int step = opening ? 4 : -4;
    Image2->move(Image2->x(), Image2->y() + step);
    // Each row appears once the panel has room for it, and goes 5 pixels
    // later on the way back.
    constexpr std::pair<int, int> rows[] = {{kAreaRow, 490}, {kLengthRow, 511}, {kAverageRow, 532}};
    for (const auto& [row, height] : rows) {
        if (opening && h > height - kFrame)
            showRow(row, true);
        else if (!opening && h < height + 5 - kFrame)
            showRow(row, false);
    }
    window->setFixedHeight(h + step);
    return false;
}

void MainWindowUi::showTotals(const ListTotals& t)
{
    Edit2->setText(t.volume);
    Edit4->setText(t.weight);
    Edit9->setText(t.runningLength);
    Edit10->setText(t.mean);
    Label9->setText(L(12));
    Label15->setText(L(9));
    Label17->setText(L(7));
}

void MainWindowUi::reportTotals(CalcReportInput& in, bool expanded) const
{
    in.volumeCaption = Label18->text();
    in.volume = Edit2->text();
    in.volumeUnit = Label9->text();
    in.weightCaption = Label12->text();
    in.weight = Edit4->text();
    in.weightUnit = Label10->text();
    in.areaCaption = Label13->text();
    in.area = Edit8->text();
    in.areaUnit = Label11->text();
    in.areaRow = Label13->isEnabled() && in.boards && expanded;
}

} // namespace zel
