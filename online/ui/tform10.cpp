// TForm10: the feedback window.
#include "online/ui/tform10.h"
#include "shell/commatext.h"
#include "online/ui/memolines.h"
#include "online/ui/spinner.h"
#include "online/webtext.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"
#include "online/ui/onlinecontroller.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>

#include <algorithm>

namespace zel {
namespace {

// The memo's length as the limit counts it: a line break is CR LF.
int countedLength(const QString& text)
{
    return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
}

} // namespace

TForm10::TForm10(QWidget* main, OnlineController& online)
    : QDialog(main)
    , m_main(main)
    , m_online(online)
{
    setObjectName(QStringLiteral("Form10"));
    setFixedSize(454, 360);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(8, 10, 438, 55);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(12, 15, 429, kIntroHeight);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setWordWrap(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(20, 74);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(8, 89, 273, 21);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(302, 74);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(291, 89, 155, 21);
    Edit2->installEventFilter(this);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(20, 115);
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->move(404, 116);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 131, 438, 190);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 327, 75, 25);
    Button1->setDefault(true);
    Button1->setEnabled(false);
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(97, 327, 75, 25);
    RxGIFAnimator1 = new Spinner(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setGeometry(232, 333, 220, 19);
    RxGIFAnimator1->hide();

    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm10::Memo1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
}

void TForm10::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

// FormShow: the window's texts in the current language.
void TForm10::FormShow()
{
    setWindowTitle(L(98));
    Label4->setText(L(109));
    Label1->setText(L(95));
    Label2->setText(L(94));
    Label3->setText(L(93));
    Label5->setText(QString::number(kMaxLength));
    Button1->setText(L(91));
    Button2->setText(L(74));
    for (QLabel* l : {Label1, Label2, Label3, Label5})
        l->adjustSize();
    // The e-mail's caption ends over its field's right edge at the latest.
    Label2->move(std::min(302, Edit2->geometry().right() + 1 - Label2->width()), Label2->y());
    fitIntroduction();
}

void TForm10::fitIntroduction()
{
    // The introduction takes three lines in some languages where the design
    // gave it room for two: its frame grows by what is missing, and all below
    // it moves down as far.
    const int grow = std::max(0, Label4->heightForWidth(Label4->width()) - kIntroHeight) - m_introGrown;
    if (grow == 0)
        return;
    m_introGrown += grow;
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w == Label4 || w == Bevel1)
            w->resize(w->width(), w->height() + grow);
        else if (!w->isWindow())
            w->move(w->x(), w->y() + grow);
    }
    setFixedSize(width(), height() + grow);
}

// Memo1Change: the user typed in the message.
void TForm10::Memo1Change()
{
    QString text = Memo1->toPlainText();
    if (countedLength(text) > kMaxLength) {
        // The memo holds no more than its limit; what was typed past it goes.
        while (countedLength(text) > kMaxLength)
            text.chop(1);
        const QSignalBlocker block(Memo1);
        Memo1->setPlainText(text);
        Memo1->moveCursor(QTextCursor::End);
    }
    Button1->setEnabled(!text.isEmpty());
    Label5->setText(QString::number(kMaxLength - countedLength(text)));
    Label5->adjustSize();
}

bool TForm10::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit2 && event->type() == QEvent::KeyPress)
        return Edit2KeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

// Edit2KeyPress: a typed space is discarded.
bool TForm10::Edit2KeyPress(QKeyEvent* key)
{
    return key->text() == QLatin1String(" ");
}

// Button2Click: close.
void TForm10::Button2Click()
{
    close();
}

// Button1Click: send the message to the maker.
void TForm10::Button1Click()
{
    Memo1->setPlainText(ClearString(Memo1->toPlainText()));
    const QString command = asciiUpper(Memo1->toPlainText());
    if (command == QLatin1String("/SHOWMESSAGES")) {
        m_online.showMessagesTab();
        close();
    }
    if (command == QLatin1String("/SHOWLOGO")) {
        m_online.showLogTab();
        close();
    } else {
        QMetaObject::invokeMethod(m_main, "PageControl1Change");
    }
    RxGIFAnimator1->show();
    if (Edit3->text().isEmpty())
        Edit3->setText(L(97));
    if (Edit2->text().isEmpty())
        Edit2->setText(QStringLiteral("@"));
    const bool sent = m_online.SendMess(W1251toUTF8(Edit3->text()), W1251toUTF8(Edit2->text()),
                                      CommaText(displayedLines(Memo1)));
    RxGIFAnimator1->hide();
    if (sent)
        Memo1->clear();
    else
        Dialogs::message(this, QStringLiteral("error"));
}

} // namespace zel
