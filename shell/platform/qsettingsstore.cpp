// QSettings behind the settings store interface.
#include "shell/platform/qsettingsstore.h"
#include "shell/commatext.h"
#include "shell/platform/inivariants.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace zel {
namespace {

QString typeError(const QString& name)
{
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

class QSettingsKey : public ISettingsKey {
public:
    explicit QSettingsKey(std::unique_ptr<QSettings> settings) : m_s(std::move(settings)) {}
    ~QSettingsKey() override { m_s->sync(); }

    bool commit() override
    {
        // The file is replaced whole, so a failed write leaves the old one.
        m_s->sync();
        return m_s->status() == QSettings::NoError;
    }

    bool valueExists(const QString& name) const override { return m_s->contains(name); }

    QString readString(const QString& name) const override
    {
        const QVariant v = m_s->value(name);
        switch (v.typeId()) {
        case QMetaType::UnknownType: // absent
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return v.toString();
        case QMetaType::QStringList:
            // A comma text typed without quotes ("20,4,5,2,0") is parsed by
            // QSettings into a list; written back in comma text it reads as
            // the texts it was typed as.
            return CommaText(v.toStringList());
        default:
            // A rectangle, a size or a serialised value has no text to read.
            throw StoreError(typeError(name));
        }
    }

    int readInteger(const QString& name) const override
    {
        bool ok = false;
        const int v = m_s->value(name).toString().trimmed().toInt(&ok);
        if (!ok)
            throw StoreError(typeError(name));
        return v;
    }

    bool readBool(const QString& name) const override { return readInteger(name) != 0; }

    void writeString(const QString& name, const QString& value) override { m_s->setValue(name, value); }
    void writeInteger(const QString& name, int value) override { m_s->setValue(name, value); }
    void writeBool(const QString& name, bool value) override { m_s->setValue(name, value ? 1 : 0); }
    void copyValue(const QString& from, const QString& to) override { m_s->setValue(to, m_s->value(from)); }

private:
    std::unique_ptr<QSettings> m_s;
};

enum class Mending { NotNeeded, Done, Failed };

Mending mendSerialisedValues(const QString& path)
{
    QFile f(path);
    // QSettings takes a file it cannot read as empty.
    if (!f.open(QIODevice::ReadOnly))
        return Mending::NotNeeded;
    QByteArray ini = f.readAll();
    f.close();
    const int changed = plainSerialisedValues(ini);
    if (changed == 0)
        return Mending::NotNeeded;
    QSaveFile out(path);
    if (changed < 0 || !out.open(QIODevice::WriteOnly) || out.write(ini) != ini.size() || !out.commit())
        return Mending::Failed;
    return Mending::Done;
}

} // namespace

QSettingsStore::QSettingsStore(const QString& file)
    : m_file(file)
{
}

std::unique_ptr<QSettings> QSettingsStore::settingsFile() const
{
    if (!m_file.isEmpty())
        return std::make_unique<QSettings>(m_file, QSettings::NativeFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Halvane"), QStringLiteral("Zelmora"));
}

std::unique_ptr<ISettingsKey> QSettingsStore::open()
{
    auto s = settingsFile();
    // A key we may not write is a key we cannot open: read nothing, write
    // nothing. "Creating" it means being able to write its file.
    if (!s->isWritable() || s->status() == QSettings::AccessError)
        return nullptr;
    // QSettings has read the file's bytes but no value yet; at the first
    // value asked for it reads a whole part of the file. A mended file has a
    // new size, which makes the next QSettings read it again.
    switch (mendSerialisedValues(s->fileName())) {
    case Mending::NotNeeded:
        break;
    case Mending::Done:
        s.reset();
        s = settingsFile();
        break;
    case Mending::Failed:
        return nullptr;
    }
    return std::make_unique<QSettingsKey>(std::move(s));
}

QString QSettingsStore::location() const
{
    return settingsFile()->fileName();
}

} // namespace zel
