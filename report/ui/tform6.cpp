// The print preview window.
#include "report/ui/tform6.h"
#include "report/ui/pageview.h"
#include "shell/codepage.h"
#include "shell/log.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPagedPaintDevice>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace zel {

TForm6::TForm6(QWidget* owner, Log& log, const QString& reportFile)
    : QWidget(owner, Qt::Window)
    , m_log(log)
{
    setObjectName(QStringLiteral("Form6"));
    resize(1021, 562);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setFixedHeight(35);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 4, 6, 4);
    Button2 = new QPushButton(bar);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    Button1 = new QPushButton(bar);
    Button1->setObjectName(QStringLiteral("Button1"));
    barLayout->addWidget(Button2);
    barLayout->addWidget(Button1);
    barLayout->addStretch();
    layout->addWidget(bar);
    WebBrowser1 = new PageView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    layout->addWidget(WebBrowser1);

    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &TForm6::Button1Click);
    // Enter prints, on the main keys and on the keypad alike.
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(enter), this), &QShortcut::activated, this,
                &TForm6::Button2Click);
    centreOnScreen();
    FormCreate(reportFile);
}

void TForm6::centreOnScreen()
{
    // Where the window is larger than the screen, its top left stays on it,
    // with the buttons in reach.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect place(QPoint(), size());
    place.moveCenter(area.center());
    move(std::max(place.left(), area.left()), std::max(place.top(), area.top()));
}

void TForm6::FormCreate(const QString& reportFile)
{
    m_log.write(QStringLiteral("Print form create"));
    setWindowTitle(Lang(76, Settings.Language));
    Button2->setText(Lang(76, Settings.Language));
    Button1->setText(Lang(74, Settings.Language));
    // The file as it stands now: a later report does not change this window.
    QFile file(reportFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QString html = fromWindows1251(file.readAll());
        QTextDocument document;
        document.setHtml(html);
        m_text = document.toPlainText();
        m_source = reportSourceFromHtml(html);
    } else {
        m_text = QStringLiteral("\"%1\": %2").arg(reportFile, file.errorString());
        m_source.heading = QStringList{m_text};
    }
    const QPageLayout a4 = paper(QPageSize(QPageSize::A4), QPageLayout::Portrait);
    WebBrowser1->setPages(layOutReport(m_source, a4), a4);
}

QPageLayout TForm6::paper(const QPageSize& size, QPageLayout::Orientation orientation)
{
    return QPageLayout(size, orientation, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

const ReportPages& TForm6::shownPages() const
{
    return WebBrowser1->pages();
}

ReportPages TForm6::printTo(QPagedPaintDevice& printer)
{
    const QPageLayout given = printer.pageLayout();
    const QPageLayout chosen = paper(given.pageSize(), given.orientation());
    ReportPages pages = layOutReport(m_source, chosen);
    printReport(printer, pages, chosen);
    return pages;
}

// Button2Click: print, after the print dialog.
void TForm6::Button2Click()
{
    Dialogs::print(this, [this](QPagedPaintDevice& printer) { printTo(printer); });
}

// Button1Click: Close hides the window; it goes with its owner.
void TForm6::Button1Click()
{
    close();
}

} // namespace zel
