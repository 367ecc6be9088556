// The stored values read from an arbitrary INI file through the real QSettings
// store: a value of the wrong kind is a StoreError, nothing else escapes, the
// lists read from it are stored and read back unchanged, and no value left in
// the file is one QSettings would read through QDataStream.
#include "fuzz.h"
#include "lists/calclists.h"
#include "lists/liststore.h"
#include "shell/platform/inivariants.h"
#include "shell/platform/qsettingsstore.h"
#include "shell/settingsio.h"

#include <QFile>
#include <QSettings>
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

    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        QByteArray ini = f.readAll();
        FUZZ_CHECK(zel::plainSerialisedValues(ini) == 0, QString::fromLatin1(ini.toPercentEncoding()));
        // QSettings itself agrees: every value is one of its plain kinds, or
        // a number the store wrote.
        const QSettings back(path, QSettings::IniFormat);
        for (const QString& key : back.allKeys()) {
            if (key.isEmpty()) // no value can be asked for by it
                continue;
            const int type = back.value(key).typeId();
            FUZZ_CHECK(type == QMetaType::UnknownType || type == QMetaType::QString || type == QMetaType::Int
                           || type == QMetaType::QStringList || type == QMetaType::QByteArray
                           || type == QMetaType::QVariantList || type == QMetaType::QRect
                           || type == QMetaType::QSize || type == QMetaType::QPoint,
                       key + QStringLiteral(" is of type ") + QString::number(type));
        }
    }
    QFile::remove(path);
    return 0;
}
