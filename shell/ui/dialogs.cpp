// Message boxes, real or scripted.
#include "shell/ui/dialogs.h"
#include "shell/settingsio.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QQueue>

namespace zel {
namespace {

struct Script {
    bool on = false;
    QQueue<Dialogs::Answer> answers;
    QQueue<QString> inputs;
    QStringList shown;
    QStringList proposed;
    std::function<void()> whileAsking;
    QList<Dialogs::Sign> signs;

    // In scripted mode every box is recorded instead of shown.
    bool recorded(const QString& text, Dialogs::Sign sign)
    {
        if (!on)
            return false;
        shown << text;
        signs << sign;
        return true;
    }
};

Script& script()
{
    static Script s;
    return s;
}

const QString kTitle = QStringLiteral("Zelmora");

} // namespace

void Dialogs::message(QWidget* parent, const QString& text)
{
    if (script().recorded(text, Information))
        return;
    QMessageBox::information(parent, kTitle, text, QMessageBox::Ok);
}

void Dialogs::warning(QWidget* parent, const QString& text)
{
    if (script().recorded(text, Warning))
        return;
    QMessageBox::warning(parent, kTitle, text, QMessageBox::Ok);
}

void Dialogs::error(QWidget* parent, const QString& text)
{
    if (script().recorded(text, Error))
        return;
    QMessageBox::critical(parent, kTitle, text, QMessageBox::Ok);
}

Dialogs::Answer Dialogs::ask(QWidget* parent, const QString& text, Sign sign)
{
    if (script().recorded(text, sign)) {
        // Events go on while a real question is open; a test runs them here.
        if (script().whileAsking)
            script().whileAsking();
        return script().answers.isEmpty() ? No : script().answers.dequeue();
    }
    const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                       QMessageBox::Warning, QMessageBox::Critical,
                                       QMessageBox::Question};
    QMessageBox box(icons[sign], kTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

QString Dialogs::input(QWidget* parent, const QString& title, const QString& prompt,
                       const QString& value)
{
    if (script().recorded(prompt, NoSign))
        return script().inputs.isEmpty() ? value : script().inputs.dequeue();
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value, &ok);
    return ok ? text : value;
}

bool Dialogs::inputQuery(QWidget* parent, const QString& title, const QString& prompt,
                         QString& value)
{
    if (script().recorded(prompt, NoSign)) {
        if (script().inputs.isEmpty())
            return false;
        value = script().inputs.dequeue();
        return true;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

namespace {

// The proposed file in the folder last used, where there is one.
QString inLastFolder(ISettingsStore* folders, const QString& proposed)
{
    const QString last = folders ? readTextValue(*folders, kLastFolderValue) : QString();
    if (last.isEmpty() || !QFileInfo(last).isDir())
        return proposed;
    return QDir(last).filePath(QFileInfo(proposed).fileName());
}

QString keepFolder(ISettingsStore* folders, const QString& chosen)
{
    if (folders && !chosen.isEmpty()) {
        const QString folder = QFileInfo(chosen).absolutePath();
        if (QFileInfo(folder).isDir() && folder != readTextValue(*folders, kLastFolderValue))
            writeTextValue(*folders, kLastFolderValue, folder);
    }
    return chosen;
}

QString scriptedFile()
{
    return script().inputs.isEmpty() ? QString() : script().inputs.dequeue();
}

} // namespace

QString Dialogs::saveFile(QWidget* parent, const QString& title, const QString& filter,
                          const QString& proposedName, QString* chosenFilter, bool askBeforeReplacing,
                          ISettingsStore* folders)
{
    const QString proposed = inLastFolder(folders, proposedName);
    if (script().recorded(title, NoSign)) {
        script().proposed << proposed;
        return keepFolder(folders, scriptedFile());
    }
    // "Excel files |*.xlc" is written "Excel files (*.xlc)" for Qt's dialog.
    const int bar = filter.indexOf(QLatin1Char('|'));
    const QString qtFilter = bar < 0 ? filter
                                     : filter.left(bar).trimmed() + QStringLiteral(" (")
                                           + filter.mid(bar + 1) + QLatin1Char(')');
    QFileDialog dialog(parent, title, QString(), qtFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askBeforeReplacing);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return keepFolder(folders, dialog.selectedFiles().first());
}

QString Dialogs::openFile(QWidget* parent, const QString& title, const QString& filter, ISettingsStore* folders)
{
    if (script().recorded(title, NoSign))
        return keepFolder(folders, scriptedFile());
    const QString last = folders ? readTextValue(*folders, kLastFolderValue) : QString();
    return keepFolder(folders, QFileDialog::getOpenFileName(parent, title, last, filter));
}

bool Dialogs::print(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!script().recorded(QStringLiteral("print"), NoSign)) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    paint(printer);
    return true;
}

void Dialogs::setScripted(bool on) { script().on = on; }
void Dialogs::queueAnswer(Answer answer) { script().answers.enqueue(answer); }
void Dialogs::queueInput(const QString& text) { script().inputs.enqueue(text); }
void Dialogs::whileAsking(std::function<void()> f) { script().whileAsking = std::move(f); }
QStringList Dialogs::shown() { return script().shown; }
QList<Dialogs::Sign> Dialogs::signs() { return script().signs; }
QStringList Dialogs::proposedNames() { return script().proposed; }

void Dialogs::clear()
{
    script().answers.clear();
    script().inputs.clear();
    script().shown.clear();
    script().proposed.clear();
    script().whileAsking = nullptr;
    script().signs.clear();
}

} // namespace zel
