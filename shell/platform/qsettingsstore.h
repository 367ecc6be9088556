// The settings store as a QSettings file: on Linux
// $XDG_CONFIG_HOME/Halvane/Zelmora.conf, values at its top level.
#pragma once

#include "shell/settingsstore.h"

class QSettings;

namespace zel {

class QSettingsStore : public ISettingsStore {
public:
    // The user's store; or, given a file, that file in the same format.
    explicit QSettingsStore(const QString& file = QString());
    std::unique_ptr<ISettingsKey> open() override;
    QString location() const override;

private:
    std::unique_ptr<QSettings> settingsFile() const;
    QString m_file;
};

} // namespace zel
