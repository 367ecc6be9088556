// TForm10: the feedback window, a message to the maker with a subject and an
// optional e-mail address.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zel {

class Spinner;
class OnlineController;

class TForm10 : public QDialog {
    Q_OBJECT
public:
    TForm10(QWidget* main, OnlineController& online);

    // The memo's limit in characters, a line break counting two.
    static constexpr int kMaxLength = 700;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void FormShow();
    void Memo1Change();
    void Button1Click();
    void Button2Click();

private:
    bool Edit2KeyPress(QKeyEvent* key);
    // The introduction's height as the text in force needs it.
    void fitIntroduction();

    static constexpr int kIntroHeight = 44; // two lines
    int m_introGrown = 0;                   // pixels added below the design

    QWidget* m_main;
    OnlineController& m_online;
    QFrame* Bevel1;
    QLabel* Label4;
    QLabel* Label1;
    QLineEdit* Edit3;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label3;
    QLabel* Label5;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Button2;
    Spinner* RxGIFAnimator1;
};

} // namespace zel
