// The calculation base an office shares: records on a PostgreSQL server that
// every desk's program reads and writes at once. The file base stays the
// default; an empty server name means it.
#pragma once

#include "base/calcbase.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zel {

// Version of the tables the program makes; a base of a later one is refused.
constexpr int kServerBaseVersion = 1;
// Records read at a time: enough for a screenful and some scrolling.
constexpr int kServerPage = 200;

// Where the server base is, as the settings keep it.
struct ServerPlace {
    QString server;   // host, host:port, [address]:port, or a socket folder
    QString database;
    QString user;     // empty: the login name, as PostgreSQL's clients take it
    bool isServer() const { return !server.trimmed().isEmpty(); }
};

class ISettingsStore;
ServerPlace readServerPlace(ISettingsStore& store);
void writeServerPlace(ISettingsStore& store, const ServerPlace& place);

// The host and port of `server`: "db.office:5433" -> ("db.office", 5433),
// "[::1]:5433" -> ("::1", 5433), "/run/postgresql" -> itself and no port
// (-1), as is a host without one.
struct HostPort {
    QString host;
    int port = -1;
};
HostPort splitServer(const QString& server);

// The server refused our base for a reason the user must be told: it was made
// by a later program, or the database holds something else.
class BaseRefused : public BaseError {
public:
    enum Why { LaterVersion, NotABase };
    BaseRefused(Why why, int version, const QString& detail)
        : BaseError(detail), why(why), version(version) {}
    Why why;
    int version;
};

// The server could not be reached or the connection went away.
class BaseUnreachable : public BaseError {
public:
    using BaseError::BaseError;
};

// The answer of a connection test.
struct ServerAccess {
    bool answers = false;
    bool readWrite = false;
    QString detail; // the server's or the client library's words
};

// A key that says which file record a copied one came from, so that copying
// the same file again adds nothing twice.
QString sourceKey(const QString& computer, const BaseRecord& record);

class IServerBase;

// Makes server bases and tests connections: the window's way to the server.
class IServerBases {
public:
    virtual ~IServerBases() = default;
    // A base at `place`, not connected yet.
    virtual std::unique_ptr<IServerBase> base(const ServerPlace& place) = 0;
    // Whether the server answers and its user may read and write the base;
    // the caller's events go on meanwhile. Changes nothing.
    virtual ServerAccess test(const ServerPlace& place) = 0;
    // This computer's name, which keeps its copied file records apart.
    virtual QString computer() const = 0;
};

class IServerBase {
public:
    virtual ~IServerBase() = default;
    // Connects (at most 5 s) and makes the tables in an empty database.
    // Throws BaseUnreachable, BaseRefused or BaseError.
    virtual void open() = 0;
    virtual bool isOpen() const = 0;
    // Newest first: up to `count` records numbered below `below` (0: from the newest).
    virtual std::vector<BaseRecord> page(qint64 below, int count) = 0;
    // Newest first: every record numbered `from` or more.
    virtual std::vector<BaseRecord> since(qint64 from) = 0;
    // The record numbered `no`; none when it was deleted.
    virtual std::optional<BaseRecord> record(qint64 no) = 0;
    // Adds one record in one transaction; returns the number the server gave.
    virtual qint64 add(const BaseRecord& record) = 0;
    // False when it was deleted already.
    virtual bool remove(qint64 no) = 0;
    // Adds the records not copied before; returns how many it added.
    virtual int copyIn(const std::vector<BaseRecord>& records, const QString& computer) = 0;
    // Called when another desk changed the base (this one knows its own changes).
    virtual void onChanged(std::function<void()> changed) = 0;
    // Whether changes are still told: false once the connection they come
    // by is lost (the server restarted), until open() makes it again.
    // Never waits on the server.
    virtual bool listening() = 0;
};

} // namespace zel
