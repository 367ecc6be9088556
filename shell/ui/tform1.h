// The main window.
#pragma once

#include <QMainWindow>

namespace zel {

class Log;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Writes one activity-log entry ("save" writes the log file).
    void Log(const QString& label);
    zel::Log& activityLog() { return *m_log; }

private:
    void FormCreate();
    void showError(QObject* sender, const std::exception& error);

    zel::Log* m_log;
};

} // namespace zel
