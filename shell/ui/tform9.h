// The help window: a frameless pane over the main window.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zel {

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* main);

private slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};

} // namespace zel
