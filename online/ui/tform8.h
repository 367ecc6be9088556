// TForm8: the update's progress window, and the update's Yes/No question.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace zel {

class Spinner;

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void Timer1Timer();

private:
    QLabel* Label1;
    Spinner* RxGIFAnimator1;
    QTimer* Timer1;
};

// Without `mess` the answer is yes and nothing is asked; otherwise a Yes/No box.
bool AskYesNo(QWidget* parent, const QString& text, bool mess);

} // namespace zel
