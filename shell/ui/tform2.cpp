// The About window.
#include "shell/ui/tform2.h"
#include "shell/langtable.h"
#include "shell/osinfo.h"
#include "shell/settings.h"
#include "shell/settingsstore.h"
#include "shell/ui/pictures.h"
#include "shell/ui/placement.h"
#include "shell/log.h"
#include "shell/settingsstore.h"
#include "shell/ui/appservices.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>

namespace zel {
namespace {

OsInfo thisSystem()
{
    OsInfo os;
    os.productName = QSysInfo::prettyProductName();
    os.version = QSysInfo::productVersion();
    os.build = QSysInfo::kernelVersion();
    os.platformId = QSysInfo::kernelType();
    return os;
}

} // namespace

QString TForm2::webAddress()
{
    return QStringLiteral(ZELMORA_WEB_ADDRESS);
}

QString TForm2::eMail()
{
    return QStringLiteral(ZELMORA_EMAIL);
}

TForm2::TForm2(QWidget* main, const AppServices& services, const QString& version)
    : QDialog(main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(423, 290);
    setWindowTitle(QStringLiteral("Про програму"));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 10, 300, 24);
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Label2->setFont(big);
    Label2->setStyleSheet(QStringLiteral("color: #1a4fa0;"));

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(12, 38, 300, 18);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(12, 56, 310, 34);
    Label4->setWordWrap(true);
    for (QLabel* l : {Label3, Label4})
        l->setStyleSheet(QStringLiteral("color: grey;"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(325, 6, 90, 90);
    showPicture(Image1, QStringLiteral("about"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 98, 399, 148);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setBackgroundRole(QPalette::Window);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 258, 280, 20);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    leavelink();

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(330, 254, 81, 28);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);

    FormCreate(services, version);
}

void TForm2::FormCreate(const AppServices& services, const QString& version)
{
    Label2->setText(QStringLiteral("Zelmora v.") + version + QStringLiteral(" (beta) [32-bit] "));
    Label3->setText(L(53) + QStringLiteral("Halvane, 2026"));
    Label4->setText(L(54));
    services.log->write(QStringLiteral("GetWindowsVersion"));
    const QStringList lines{
        L(55) + services.programFile,
        L(56) + services.store.location(),
        L(57) + version + QStringLiteral(" (beta) [32-bit] "),
        QStringLiteral("E-mail: ") + eMail(),
        QString(),
        osLine(thisSystem(), L(58)),
        QString(),
        L(106),
    };
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    Label1->setText(webAddress());
}

void TForm2::Button1Click()
{
    accept();
}

void TForm2::onlinkclick()
{
    QDesktopServices::openUrl(QUrl(webAddress()));
}

void TForm2::enterlink()
{
    Label1->setStyleSheet(QStringLiteral("color: #1a4fa0; font-weight: bold; text-decoration: underline;"));
}

void TForm2::leavelink()
{
    Label1->setStyleSheet(QStringLiteral("color: #1a4fa0; font-weight: bold;"));
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1) {
        if (event->type() == QEvent::Enter)
            enterlink();
        else if (event->type() == QEvent::Leave)
            leavelink();
        else if (event->type() == QEvent::MouseButtonRelease)
            onlinkclick();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // On the middle of the screen, not over the main window; its frame is
    // known by now.
    centreOnScreen(this);
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // Only OK (or Enter) closes the window; Esc does not.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zel
