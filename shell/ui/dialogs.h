// Every message, question and input box of the program goes through here,
// so that tests can answer them without a modal loop.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zel {

class Dialogs {
public:
    enum Answer { Ok, Yes, No, Cancel };

    // A plain message with an OK button.
    static void message(QWidget* parent, const QString& text);
    // A warning with an OK button.
    static void warning(QWidget* parent, const QString& text);
    // A Yes/No question.
    static Answer ask(QWidget* parent, const QString& text);
    // A one-line input box; cancelling returns `value` unchanged.
    static QString input(QWidget* parent, const QString& title, const QString& prompt,
                         const QString& value);

    // Scripted mode for tests: nothing is shown; every box is recorded in
    // shown(), questions take the queued answers (No when none is left) and
    // input boxes the queued texts (their pre-filled value when none is left).
    static void setScripted(bool on);
    static void queueAnswer(Answer answer);
    static void queueInput(const QString& text);
    static QStringList shown();
    static void clear();
};

} // namespace zel
