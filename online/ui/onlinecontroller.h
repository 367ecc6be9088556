// The main window's online side: the update (from the menu and the daily
// check of a still machine), the messages with the maker (polled on Timer2,
// answered on the Messages tab), the log sent from the Log tab and the
// feedback window, with the spinner while a step runs.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace zel {

struct AppServices;
class Log;
class MessagePoller;

class OnlineController : public QObject {
    Q_OBJECT
public:
    // Dialogs come over `window`. `logLines` gives the Log tab's lines, the
    // entries still on their way included, as they are sent.
    OnlineController(const AppServices& services, Log& log, QWidget* window,
                     std::function<QStringList()> logLines);
    ~OnlineController() override;

    // The Log tab's button that sends the log, the Messages tab's reply
    // button, reply field and conversation.
    void attach(QPushButton* sendLog, QPushButton* replyButton, QLineEdit* replyField, QPlainTextEdit* conversation);
    // The polling starts.
    void start();
    // The window is closing: polling stops, a request waited on is given up,
    // and nothing more is asked or shown.
    void stop();
    // Stops, and waits for the message workers, which use the log and the client.
    void shutDown();
    bool closing() const { return m_closing; }

    // The update check: `mess` shows messages and asks, `rebot` allows the restart.
    void UpDate(bool mess, bool rebot);
    // The daily automatic update check, at the end of a still panel's tick.
    void autoCheckUpdate();
    // Opens a progress window showing `text`; GIFStop tells them all to close.
    void GIFStart(const QString& text);
    void GIFStop();
    // The system's connectivity test; logs "IsConnectedToInternet".
    bool IsConnectedToInternet();

    // A poll of the maker's service, at the interval of the Messages tab's state.
    void pollMessages();
    // A message that came is shown on the Messages tab, with a beep.
    void checkMessage();
    // The reply typed on the Messages tab is sent.
    void reply();
    // The Log tab's lines sent to the maker.
    void sendLog();
    // Sends a message to the maker; true when the request went through.
    bool SendMess(const QString& theme, const QString& email, const QString& message);
    // The address SendMess requests.
    QString sendMessageAddress(const QString& theme, const QString& email, const QString& message) const;
    // The feedback window, modal.
    void feedback();

    // The Messages or Log tab is to be made visible and active.
    void showMessagesTab();
    void showLogTab() { emit logTabWanted(); }

signals:
    // The status panel's text.
    void status(const QString& text);
    void messagesTabWanted();
    void logTabWanted();
    // A worker changed the settings record: it is to be written, on this thread.
    void settingsToWrite();

private:
    const AppServices& m_services;
    Log& m_log;
    QWidget* m_window;
    std::function<QStringList()> m_logLines;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QTimer* Timer2 = nullptr;
    std::unique_ptr<MessagePoller> m_poller;
    bool m_messagesShown = false; // the Messages tab is in the tab bar
    bool m_updating = false;
    bool m_closing = false;
};

} // namespace zel
