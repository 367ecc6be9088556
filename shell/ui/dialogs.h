// Every message, question and input box of the program goes through here,
// so that tests can answer them without a modal loop.
#pragma once

#include <QString>
#include <QList>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace zel {

class ISettingsStore;

class Dialogs {
public:
    enum Answer { Ok, Yes, No, Cancel };
    // The sign a box carries.
    enum Sign { NoSign, Information, Warning, Error, Question };

    // A plain message with an OK button.
    static void message(QWidget* parent, const QString& text);
    // A warning with an OK button.
    static void warning(QWidget* parent, const QString& text);
    // An error with an OK button.
    static void error(QWidget* parent, const QString& text);
    // A Yes/No question, Yes the default button.
    static Answer ask(QWidget* parent, const QString& text, Sign sign = Question);
    // A one-line input box; cancelling returns `value` unchanged.
    static QString input(QWidget* parent, const QString& title, const QString& prompt,
                         const QString& value);

    // A one-line input box that tells OK from Cancel: true and the typed text
    // in `value` on OK (scripted: a queued text; none left means Cancel).
    static bool inputQuery(QWidget* parent, const QString& title, const QString& prompt,
                           QString& value);
    // A save dialog; `filter` is a description, "|" and a pattern. Returns the
    // chosen file, or the empty text when cancelled; `chosenFilter`, when
    // given, receives the filter in force (scripted: the empty text). With
    // `askBeforeReplacing` the dialog asks before an existing file is chosen.
    // With `folders`, the proposed name is offered in the folder last used
    // (its value "LastFolder"), and the chosen file's folder is kept there.
    static QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                            const QString& proposedName, QString* chosenFilter = nullptr,
                            bool askBeforeReplacing = false, ISettingsStore* folders = nullptr);
    // An open dialog with Qt's filter text ("Texts (*.txt *.csv)"). Returns
    // the chosen file, or the empty text when cancelled. `folders` as above.
    static QString openFile(QWidget* parent, const QString& title, const QString& filter,
                            ISettingsStore* folders = nullptr);
    // The print dialog, and `paint` on the printer chosen, at the printer's
    // resolution; true when the user chose to print.
    static bool print(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& paint);

    // Scripted mode for tests: nothing is shown; every box is recorded in
    // shown(), questions take the queued answers (No when none is left) and
    // input boxes, save and open dialogs the queued texts (their pre-filled value,
    // or for a save or open dialog the empty text, when none is left); print dialogs
    // print to the printer as it is set up at first.
    static void setScripted(bool on);
    static void queueAnswer(Answer answer);
    static void queueInput(const QString& text);
    // Runs `f` inside every scripted question, as the events run while a real
    // question is open.
    static void whileAsking(std::function<void()> f);
    static QStringList shown();
    // The sign of each box in shown(), in the same order (NoSign for the
    // input boxes and the file and print dialogs).
    static QList<Sign> signs();
    // The names each scripted save dialog proposed, in order.
    static QStringList proposedNames();
    static void clear();
};

} // namespace zel
