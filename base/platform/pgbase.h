// The server base on PostgreSQL, through Qt SQL's QPSQL driver.
#pragma once

#include "base/serverbase.h"

#include <QObject>
#include <QVariantList>

#include <functional>

namespace zel {

class PgServerBase : public IServerBase {
public:
    explicit PgServerBase(const ServerPlace& place);
    ~PgServerBase() override;
    PgServerBase(const PgServerBase&) = delete;
    PgServerBase& operator=(const PgServerBase&) = delete;

    void open() override;
    bool isOpen() const override { return m_open; }
    std::vector<BaseRecord> page(qint64 below, int count) override;
    std::vector<BaseRecord> since(qint64 from) override;
    std::optional<BaseRecord> record(qint64 no) override;
    qint64 add(const BaseRecord& record) override;
    bool remove(qint64 no) override;
    int copyIn(const std::vector<BaseRecord>& records, const QString& computer) override;
    void onChanged(std::function<void()> changed) override { m_changed = std::move(changed); }
    bool listening() override;

    // Whether QPSQL is there at all.
    static bool available();

private:
    void close();
    // The records `where` picks, its values bound in order.
    std::vector<BaseRecord> select(const QString& where, const QVariantList& values);
    // Runs `step` on an open connection; when the connection turns out to
    // have gone (the server restarted), once more on a new one.
    template <typename Step>
    auto retried(Step step);

    ServerPlace m_place;
    QString m_name;
    bool m_open = false;
    std::function<void()> m_changed;
    QObject m_context; // ends the notification's connection with us
};

class PgServerBases : public IServerBases {
public:
    std::unique_ptr<IServerBase> base(const ServerPlace& place) override;
    ServerAccess test(const ServerPlace& place) override;
    QString computer() const override;
};

// Whether the server answers and its user may read and write the base; never
// changes anything. Blocks for at most the connection time-out.
ServerAccess testServerAccess(const ServerPlace& place);

// Runs `work` on a thread of its own while this thread goes on handling its
// events, and returns when it has finished: a window stays responsive while
// a connection is being made.
void runAside(const std::function<void()>& work);

// The login name of the user running the program, and this computer's name.
QString loginName();
QString computerName();

} // namespace zel
