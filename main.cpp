// Program entry: the application object and the main window.
#include "shell/ui/application.h"
#include "shell/ui/tform1.h"

int main(int argc, char** argv)
{
    zel::Application app(argc, argv);
    zel::Application::setApplicationName(QStringLiteral("Zelmora"));
    zel::Application::setOrganizationName(QStringLiteral("Halvane"));
    zel::Application::setApplicationVersion(QStringLiteral(ZELMORA_VERSION));

    zel::TForm1 form;
    form.show();
    return app.exec();
}
