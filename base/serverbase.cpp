// Pieces of the server base that need no server.
#include "base/serverbase.h"

#include "shell/settingsio.h"

#include <QCryptographicHash>

namespace zel {

ServerPlace readServerPlace(ISettingsStore& store)
{
    return {readTextValue(store, kBaseServerValue), readTextValue(store, kBaseDatabaseValue),
            readTextValue(store, kBaseUserValue)};
}

void writeServerPlace(ISettingsStore& store, const ServerPlace& place)
{
    writeTextValue(store, kBaseServerValue, place.server.trimmed());
    writeTextValue(store, kBaseDatabaseValue, place.database.trimmed());
    writeTextValue(store, kBaseUserValue, place.user.trimmed());
}

HostPort splitServer(const QString& server)
{
    const QString s = server.trimmed();
    HostPort hp;
    hp.host = s;
    // A socket folder is a path, and may hold a colon of its own.
    if (s.startsWith(QLatin1Char('/')))
        return hp;
    qsizetype colon = -1;
    if (s.startsWith(QLatin1Char('['))) {
        const qsizetype close = s.indexOf(QLatin1Char(']'));
        if (close < 0)
            return hp;
        hp.host = s.mid(1, close - 1);
        if (close + 1 < s.size() && s.at(close + 1) == QLatin1Char(':'))
            colon = close + 1;
    } else if (s.count(QLatin1Char(':')) == 1) {
        // More than one colon without brackets is an IPv6 address alone.
        colon = s.indexOf(QLatin1Char(':'));
        hp.host = s.left(colon);
    }
    if (colon >= 0) {
        bool ok = false;
        const int port = s.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536)
            hp.port = port;
    }
    return hp;
}

QString sourceKey(const QString& computer, const BaseRecord& record)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    const QStringList parts{computer, QString::number(record.No), record.DateTime.toString(Qt::ISODate),
                            record.Category, record.Name, QString::number(record.volume, 'g', 17), record.Notes};
    for (const QString& p : parts) {
        h.addData(p.toUtf8());
        h.addData(QByteArrayView("\0", 1));
    }
    return QString::fromLatin1(h.result().toHex());
}

} // namespace zel
