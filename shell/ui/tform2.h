// The About window: program, version, files, system, the maker's notes.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zel {

struct AppServices;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // `version` is the program's, four numbers.
    TForm2(QWidget* main, const AppServices& services, const QString& version);

    // The maker's web address and e-mail.
    static QString webAddress();
    static QString eMail();

private slots:
    void Button1Click();
    void onlinkclick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const AppServices& services, const QString& version);
    void enterlink();
    void leavelink();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Image1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};

} // namespace zel
