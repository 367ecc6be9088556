// The help window.
#include "shell/ui/tform9.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/pictures.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace zel {

TForm9::TForm9(QWidget* main)
    : QDialog(main, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form9"));
    // It covers the main window exactly, caption and borders included.
    setGeometry(main->frameGeometry());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 196));
    pal.setColor(QPalette::Base, QColor(255, 255, 196));
    setPalette(pal);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Raised);
    bevel->setGeometry(2, 2, width() - 4, height() - 4);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 10, width() - 60, 24);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setGeometry(10, 40, width() - 20, 2);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 48, width() - 24, height() - 60);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(width() - 38, 8, 28, 28);
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    // Esc closes: QDialog rejects on Esc.
}

void TForm9::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Drawn when first shown: the copy made at start never is.
    if (Button1->icon().isNull())
        Button1->setIcon(pictureIcon(QStringLiteral("close")));
    Label1->setText(Lang(107, Settings.Language));
    Memo1->setPlainText(Lang(108, Settings.Language));
}

void TForm9::Button1Click()
{
    reject();
}

} // namespace zel
