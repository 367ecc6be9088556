// The decimal entry field.
#include "lists/ui/numberedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace zel {

NumberEdit::NumberEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberEdit::setDisplayFormat(const QString& format)
{
    m_format = format;
    m_grouped = format.contains(QLatin1Char(','));
    const int dot = format.indexOf(QLatin1Char('.'));
    m_shownDecimals = dot < 0 ? 0 : static_cast<int>(format.size() - dot - 1);
}

QString NumberEdit::formatted(double v, int decimals) const
{
    // A group separator that looks like a decimal one would not read back.
    QLocale locale;
    const QString group = locale.groupSeparator();
    const bool grouped = m_grouped && group != QLatin1String(",") && group != QLatin1String(".");
    locale.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    return locale.toString(v, 'f', decimals);
}

void NumberEdit::setValue(double v)
{
    setText(formatted(v, m_shownDecimals));
}

bool NumberEdit::parse(const QString& text, double* value)
{
    // Either "." or "," is the decimal separator; blanks and any other group
    // separator of the locale are only decoration.
    const QString group = QLocale().groupSeparator();
    QString plain;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            plain += QLatin1Char('.');
        else if (!c.isSpace() && QString(c) != group)
            plain += c;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(plain, &ok);
    if (ok && std::isfinite(v)) {
        *value = v;
        return true;
    }
    return false;
}

double NumberEdit::value() const
{
    const QString t = text().trimmed();
    double v = 0.0;
    if (!t.isEmpty() && !parse(t, &v))
        v = m_min;
    if (m_checkRange && m_max > m_min) {
        if (v < m_min)
            v = m_min;
        if (v > m_max)
            v = m_max;
    }
    return v;
}

void NumberEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() != 1 || !typed[0].isPrint() || (event->modifiers() & Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed[0];
    const QString decimalPoint = QLocale().decimalPoint();
    // What the text would be with the key typed over the selection.
    QString after = text();
    int pos = cursorPosition();
    if (hasSelectedText()) {
        pos = selectionStart();
        after.remove(pos, selectedText().size());
    }
    QString insert;
    if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
        if (m_decimals > 0 && !after.contains(decimalPoint))
            insert = decimalPoint;
    } else if (c.isDigit()) {
        insert = c;
        const int sep = after.indexOf(decimalPoint);
        if (sep >= 0 && pos > sep) {
            const int digitsAfter = static_cast<int>(after.size() - sep - decimalPoint.size());
            if (digitsAfter >= m_decimals)
                insert.clear();
        }
    } else if (c == QLatin1Char('-') && m_min < 0 && pos == 0 && !after.startsWith(c)) {
        insert = c;
    }
    if (insert.isEmpty()) {
        QApplication::beep();
        event->accept();
        return;
    }
    insert.prepend(after.left(pos));
    setText(insert + after.mid(pos));
    setCursorPosition(static_cast<int>(insert.size()));
    event->accept();
}

void NumberEdit::focusOutEvent(QFocusEvent* event)
{
    // Not being edited any more: show the value as it reads, with no fewer
    // decimals than were typed. A field that shows whole numbers must not
    // round 2,5 to 3 under the user's hands; its reader rounds as it needs.
    const double v = value();
    double typed = 0.0;
    int decimals = m_shownDecimals;
    if (parse(text().trimmed(), &typed) && typed == v)
        decimals = std::max(decimals, typedDecimals(text()));
    setText(formatted(v, decimals));
    QLineEdit::focusOutEvent(event);
}

int NumberEdit::typedDecimals(const QString& text)
{
    const auto sep = std::find_if(text.crbegin(), text.crend(), [](QChar c) {
        return c == QLatin1Char(',') || c == QLatin1Char('.');
    });
    if (sep == text.crend())
        return 0;
    return static_cast<int>(std::count_if(text.crbegin(), sep, [](QChar c) { return c.isDigit(); }));
}

} // namespace zel
