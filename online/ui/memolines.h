// The lines of a memo as it shows them: a long line wrapped at the memo's
// width reads as several.
#pragma once

#include <QStringList>

class QPlainTextEdit;

namespace zel {

QStringList displayedLines(const QPlainTextEdit* memo);

} // namespace zel
