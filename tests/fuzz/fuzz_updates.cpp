// "updates.ini" as the service might send it: the reader and the version
// comparison take any bytes; a version that is no number is a conversion
// error, and a newer one always comes with a download address.
#include "fuzz.h"
#include "engine/errors.h"
#include "online/clock.h"
#include "online/httpaccess.h"
#include "online/updater.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class BytesDownloader : public zel::IDownloader {
public:
    QByteArray bytes;
    bool download(const QString&, const QString& file) override
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
};

class FixedClock : public zel::IClock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const zel::IniFile ini(bytes);
    ini.sectionExists(QStringLiteral("Zelmora"));
    ini.readString(QStringLiteral("zelmora"), QStringLiteral("VERSION"), QStringLiteral("-"));

    BytesDownloader downloader;
    downloader.bytes = bytes;
    FixedClock clock;
    zel::TInetUpdater updater(downloader, clock, dir.path(), QStringLiteral("127.0.0.1"));
    updater.ProductName = QStringLiteral("Zelmora");
    updater.ProductVersion = QStringLiteral("105");
    QString address = QStringLiteral("http://127.0.0.1/fallback");
    try {
        if (updater.CheckUpdate(address))
            FUZZ_CHECK(!address.isNull(), updater.NewProductVersion);
    } catch (const zel::ConvertError&) {
    }
    return 0;
}
