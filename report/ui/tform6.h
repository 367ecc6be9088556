// The print preview window: shows the report file and prints it.
#pragma once

#include <QWidget>

class QPagedPaintDevice;
class QPushButton;
class QTextBrowser;

namespace zel {

class Log;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    // Owned by `owner` (destroyed with it); loads the report file as it stands now.
    TForm6(QWidget* owner, Log& log, const QString& reportFile);

    // Prints the shown document.
    void printTo(QPagedPaintDevice& printer);
    QString documentText() const;

private slots:
    void Button2Click();
    void Button1Click();

private:
    void FormCreate(const QString& reportFile);
    void centreOnScreen();

    Log& m_log;
    QPushButton* Button2;
    QPushButton* Button1;
    QTextBrowser* WebBrowser1;
};

} // namespace zel
