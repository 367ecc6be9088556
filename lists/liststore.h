// The two lists between runs: their line texts as comma text in the store.
#pragma once

#include "lists/calclists.h"
#include "shell/settingsstore.h"

#include <QStringList>

namespace zel {

// The texts of a stored list (an absent value reads as none); `current` when
// the key cannot be opened. Throws StoreError for a value that is no text.
QStringList loadListTexts(ISettingsStore& store, const QString& valueName,
                          const QStringList& current);

// Writes both lists' texts, replacing what was there; nothing when the key
// cannot be opened. False when the store could not keep them.
bool saveListTexts(ISettingsStore& store, const QStringList& roundTexts,
                   const QStringList& boardTexts);

// Lines of `columns` texts each, in order; leftover texts are dropped.
Lines linesFromTexts(const QStringList& texts, int columns);

} // namespace zel
