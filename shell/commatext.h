// The one-line form of a list of texts: the stored lists, the log upload and
// the messages all travel in it.
#pragma once

#include <QString>
#include <QStringList>

namespace zel {

// List to text: items joined by commas; an item holding a comma, a double
// quote or a character U+0001..U+0020 is quoted, its quotes doubled. An empty
// list gives the empty text, a list of one empty item two double quotes.
QString CommaText(const QStringList& items);

// Text to list: quoted items run to the next single quote (a doubled one
// reads as one), bare items to the next comma or character U+0001..U+0020;
// a comma that ends the text adds one empty item. Never fails.
QStringList SetCommaText(const QString& text);

} // namespace zel
