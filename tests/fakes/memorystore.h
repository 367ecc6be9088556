// A settings store in memory, for tests: values keep the type they were
// written with, and the key can be made to refuse opening.
#pragma once

#include "shell/settingsstore.h"

#include <QMap>
#include <QVariant>

namespace zel {

class MemoryStore : public ISettingsStore {
public:
    QMap<QString, QVariant> values;
    bool openable = true;
    int opened = 0;

    std::unique_ptr<ISettingsKey> open() override
    {
        if (!openable)
            return nullptr;
        ++opened;
        return std::make_unique<Key>(values);
    }
    QString location() const override { return QStringLiteral("memory"); }

private:
    class Key : public ISettingsKey {
    public:
        explicit Key(QMap<QString, QVariant>& v) : m_v(v) {}
        bool valueExists(const QString& n) const override { return m_v.contains(n); }
        QString readString(const QString& n) const override
        {
            const QVariant v = m_v.value(n);
            if (v.isValid() && v.typeId() != QMetaType::QString)
                throw StoreError(QStringLiteral("Invalid data type for '%1'").arg(n));
            return v.toString();
        }
        int readInteger(const QString& n) const override
        {
            const QVariant v = m_v.value(n);
            if (v.typeId() != QMetaType::Int)
                throw StoreError(QStringLiteral("Invalid data type for '%1'").arg(n));
            return v.toInt();
        }
        bool readBool(const QString& n) const override { return readInteger(n) != 0; }
        void writeString(const QString& n, const QString& s) override { m_v[n] = s; }
        void writeInteger(const QString& n, int i) override { m_v[n] = i; }
        void writeBool(const QString& n, bool b) override { m_v[n] = b ? 1 : 0; }
        void copyValue(const QString& from, const QString& to) override { m_v[to] = m_v.value(from); }

    private:
        QMap<QString, QVariant>& m_v;
    };
};

} // namespace zel
