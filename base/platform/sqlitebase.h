// The base file as an SQLite database, through Qt SQL.
#pragma once

#include "base/calcbase.h"

namespace zel {

class SqliteBaseFile : public IBaseFile {
public:
    bool available() const override;
    BaseContents load(const QString& path) override;
    void save(const QString& path, const std::vector<BaseRecord>& added,
              const QList<qint64>& deleted) override;
};

} // namespace zel
