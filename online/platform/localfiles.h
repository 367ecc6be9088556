// The update's file operations on the local disk.
#pragma once

#include "online/fileops.h"

namespace zel {

class LocalFiles : public IFileOps {
public:
    bool exists(const QString& path) override;
    bool remove(const QString& path) override;
    bool rename(const QString& from, const QString& to) override;
    bool makeExecutableLike(const QString& path, const QString& model) override;
};

} // namespace zel
