// The few file operations of the update's swap, replaceable in tests.
#pragma once

#include <QString>

namespace zel {

class IFileOps {
public:
    virtual ~IFileOps() = default;
    virtual bool exists(const QString& path) = 0;
    virtual bool remove(const QString& path) = 0;
    // Fails when `to` exists.
    virtual bool rename(const QString& from, const QString& to) = 0;
    // Gives `path` the permissions of `model`, and at least execution by its owner.
    virtual bool makeExecutableLike(const QString& path, const QString& model) = 0;
};

} // namespace zel
