// Qt's own texts (file dialogs, the standard buttons of boxes, a text
// field's menu) in the interface language.
#pragma once

#include "shell/langtable.h"

namespace zel {

// Loads Qt's catalogue of `language` from the system's Qt translations and
// puts it in the place of the one before; English needs none. False when
// the catalogue is not there: Qt's texts then stay English.
bool useQtTranslations(UiLanguage language);

} // namespace zel
