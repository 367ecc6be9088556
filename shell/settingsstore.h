// The persistent key/value store of the settings and the two lists.
#pragma once

#include "engine/errors.h"

#include <QString>

#include <memory>

namespace zel {

// A value of another type than the one asked for.
class StoreError : public Error {
public:
    using Error::Error;
};

// One access to the program's key: opened (created when missing) by
// ISettingsStore::open(), closed and written back when destroyed.
class ISettingsKey {
public:
    virtual ~ISettingsKey() = default;
    // Writes what was changed now; false when it could not be kept (a full
    // disk, say), the stored state then being the one before.
    virtual bool commit() { return true; }
    virtual bool valueExists(const QString& name) const = 0;
    // An absent value reads as the empty text; a list of texts (what an
    // unquoted comma text typed into the store reads as) as its comma text.
    // Throws StoreError for any other value that is no text.
    virtual QString readString(const QString& name) const = 0;
    // Throws StoreError when the value is no whole number.
    virtual int readInteger(const QString& name) const = 0;
    // A whole number; any value but 0 is true. Throws StoreError like readInteger.
    virtual bool readBool(const QString& name) const = 0;
    virtual void writeString(const QString& name, const QString& value) = 0;
    virtual void writeInteger(const QString& name, int value) = 0;
    virtual void writeBool(const QString& name, bool value) = 0;
    // Copies a value as it is stored, whatever its type.
    virtual void copyValue(const QString& from, const QString& to) = 0;
};

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // Null when the key cannot be opened or created (no rights): callers then
    // read nothing and write nothing, without a word.
    virtual std::unique_ptr<ISettingsKey> open() = 0;
    // Where the store keeps the key, as the About window shows it.
    virtual QString location() const = 0;
};

} // namespace zel
