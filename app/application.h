// The application object: the one route of errors that no handler caught.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace zel {

// Without TZ the C library looks at /etc/localtime anew for every local time
// it works out: a base of 100,000 calculations read its dates with as many
// file look-ups. This names the same zone, read once; it sets the
// environment, so it belongs before any thread is started.
void nameLocalTimeZone();

class Application : public QApplication {
    Q_OBJECT
public:
    // `sender` is the object whose event was being handled (may be null).
    using ErrorHandler = std::function<void(QObject* sender, const std::exception& error)>;

    Application(int& argc, char** argv);
    ~Application() override;

    // The main window installs its handler at creation; until then errors go
    // to a plain message box.
    void setErrorHandler(ErrorHandler handler);
    // Where an error raised while the handler runs goes (its boxes run the
    // events); without one it is shown in a plain message box.
    void setNestedErrorHandler(ErrorHandler handler);

    // Hands an error to the installed handler. The handler itself must not
    // end the program either: what escapes it is shown in a plain box.
    void reportError(QObject* sender, const std::exception& error);

    bool notify(QObject* receiver, QEvent* event) override;

    static Application* instance();

private:
    ErrorHandler m_handler;
    ErrorHandler m_nested;
    bool m_reporting = false;
};

} // namespace zel
