// The settings record.
#include "shell/settings.h"

namespace zel {

SettingsRecord Settings;

QString L(int entry)
{
    return Lang(entry, Settings.Language);
}

} // namespace zel
