// The main window: for now the frame that owns the activity log and the error route.
#include "shell/ui/tform1.h"
#include "shell/ui/application.h"
#include "shell/ui/dialogs.h"
#include "online/log.h"

#include <QCoreApplication>

namespace zel {

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , m_log(new zel::Log(zel::Log::filePathFor(QCoreApplication::applicationFilePath()), this))
{
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    if (Application* app = Application::instance())
        app->setErrorHandler([this](QObject* sender, const std::exception& error) {
            showError(sender, error);
        });
    Log(QStringLiteral("Create form"));
    setWindowTitle(QStringLiteral("Zelmora"));
    resize(528, 475);
}

void TForm1::Log(const QString& label)
{
    m_log->write(label);
}

void TForm1::showError(QObject*, const std::exception& error)
{
    const QString text = QString::fromUtf8(error.what());
    Log(QStringLiteral("exception ") + text);
    Log(QStringLiteral("save"));
    Dialogs::warning(this, text);
}

} // namespace zel
