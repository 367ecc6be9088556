// The settings record.
#include "shell/settings.h"

namespace zel {

SettingsRecord Settings;

} // namespace zel
