// The local date and time, replaceable in tests.
#pragma once

#include <QDateTime>

namespace zel {

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public IClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace zel
