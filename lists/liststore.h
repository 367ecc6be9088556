// The two lists between runs: their line texts as comma text in the store.
#pragma once

#include "lists/calclists.h"
#include "shell/settingsstore.h"

#include <QStringList>

namespace zel {

// A stored list that does not read as text. The close writes the list over
// its value, so before this is thrown the value is copied, as it is, to
// `keptAs` (the value's name with ".unread", numbered past any taken one).
class UnreadListError : public StoreError {
public:
    UnreadListError(const QString& what, const QString& keptAs) : StoreError(what), keptAs(keptAs) {}
    QString keptAs;
};

// The texts of a stored list (an absent value reads as none); `current` when
// the key cannot be opened. Throws UnreadListError for a value that is no text.
QStringList loadListTexts(ISettingsStore& store, const QString& valueName,
                          const QStringList& current);

// Writes both lists' texts, replacing what was there; nothing when the key
// cannot be opened. False when the store could not keep them.
bool saveListTexts(ISettingsStore& store, const QStringList& roundTexts,
                   const QStringList& boardTexts);

// Lines of `columns` texts each, in order; leftover texts are dropped.
Lines linesFromTexts(const QStringList& texts, int columns);

} // namespace zel
