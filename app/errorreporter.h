// The routes of an error that no handler caught: the application object
// hands it here. Logged and saved with the log; a network failure told as
// such; any other error shown with the Log tab forward and the question
// whether to send the log to the maker. An error raised while that question
// is open goes the plain route: logged and saved the same way, shown in a
// box without asking again.
#pragma once

#include <QString>

#include <exception>
#include <functional>

class QObject;
class QTabWidget;
class QWidget;

namespace zel {

class Log;
class OnlineController;

class ErrorReporter {
public:
    // `saveLog` writes the Log tab's text to the log file, false when it
    // could not. The reporter is the application object's handler while it lives.
    ErrorReporter(QWidget* window, Log& log, OnlineController& online, std::function<bool()> saveLog);
    ~ErrorReporter();
    ErrorReporter(const ErrorReporter&) = delete;
    ErrorReporter& operator=(const ErrorReporter&) = delete;

    // The application-wide error handler: logs, saves and reports the error.
    void MyExcept(QObject* Sender, const std::exception& E);
    // An error raised while MyExcept asks.
    void reportPlainly(QObject* Sender, const std::exception& E);
    // The error's description into the log, and the log to its file; false
    // when the file could not be written.
    bool logAndSave(QObject* Sender, const std::exception& E);

    // A list stopped at a line that does not read: told when `tell` (the
    // first time for that line), logged and saved every time. The list in
    // front of `tabs` stays there, where its line can be mended or deleted.
    void reportUnreadLine(const std::exception& error, bool tell, QTabWidget* tabs);

private:
    QWidget* m_window;
    Log& m_log;
    OnlineController& m_online;
    std::function<bool()> m_saveLog;
};

} // namespace zel
