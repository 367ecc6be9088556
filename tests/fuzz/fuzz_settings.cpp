// The stored values read from an arbitrary INI file through the real QSettings
// store: a value of the wrong kind is a StoreError, nothing else escapes, and
// the lists read from it are stored and read back unchanged.
#include "fuzz.h"
#include "lists/calclists.h"
#include "lists/liststore.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settingsio.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    // QSettings keeps parsed files by name and trusts their size and time:
    // every input gets a name of its own.
    static int serial = 0;
    const QString path = dir.filePath(QStringLiteral("Zelmora%1.conf").arg(++serial));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    zel::QSettingsStore store(path);
    zel::SettingsRecord settings;
    try {
        zel::readParams(store, settings);
    } catch (const zel::StoreError&) {
    }
    const int language = static_cast<int>(settings.Language);
    FUZZ_CHECK(language >= 0 && language <= 2, QString::number(language));

    QStringList lists[2];
    const QString names[2] = {zel::kRoundListValue, zel::kBoardListValue};
    for (int i = 0; i < 2; ++i) {
        try {
            lists[i] = zel::loadListTexts(store, names[i], {});
        } catch (const zel::StoreError&) {
        }
    }
    zel::linesFromTexts(lists[0], zel::kRoundColumns);
    zel::linesFromTexts(lists[1], zel::kBoardColumns);

    zel::saveListTexts(store, lists[0], lists[1]);
    for (int i = 0; i < 2; ++i)
        FUZZ_CHECK(zel::loadListTexts(store, names[i], {}) == lists[i], lists[i].join(QLatin1Char('|')));
    QFile::remove(path);
    return 0;
}
