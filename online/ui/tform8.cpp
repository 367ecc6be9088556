// TForm8: the update's progress window.
#include "online/ui/tform8.h"
#include "online/ui/spinner.h"
#include "online/updater.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace zel {

TForm8::TForm8(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Обновление"));
    setFixedSize(494, 75);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 478, 57);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setText(ProgressText);
    RxGIFAnimator1 = new Spinner(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setGeometry(117, 21, 32, 32);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TForm8::Timer1Timer);
    Timer1->start();
}

void TForm8::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setWindowTitle(Lang(79, Settings.Language));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

// Timer1Timer: every half second the window follows ProgressText.
void TForm8::Timer1Timer()
{
    if (ProgressText == QLatin1String("exit")) {
        hide();
        // Closed for good: a closed progress window is never shown again.
        Timer1->stop();
    }
    Label1->setText(ProgressText);
}

bool AskYesNo(QWidget* parent, const QString& text, bool mess)
{
    if (!mess)
        return true;
    return Dialogs::ask(parent, text) == Dialogs::Yes;
}

} // namespace zel
