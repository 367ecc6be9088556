// The About window: program, version, files, system, the maker's notes.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zel {

class TForm1;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(TForm1* main);

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
    void FormCreate(TForm1* main);
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
