// The online update.
#include "online/updater.h"
#include "engine/convert.h"
#include "online/clock.h"
#include "online/codepage.h"
#include "online/fileops.h"
#include "online/httpaccess.h"
#include "online/servicehost.h"
#include "online/updatesignature.h"
#include "shell/paths.h"
#include "shell/settingsio.h"
#include "shell/settingsstore.h"

#include <QFile>

namespace zel {

QString ProgressText;

IniFile::IniFile(const QByteArray& bytes)
{
    // The description is a plain ANSI text; a UTF-8 byte-order mark is dropped.
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QString section;
    bool inSection = false;
    for (QString line : fromWindows1251(data).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            m_sections << section;
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2
            && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                || (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
            value = value.mid(1, value.size() - 2);
        m_entries.append({section, line.left(eq).trimmed(), value});
    }
}

bool IniFile::sectionExists(const QString& section) const
{
    for (const QString& s : m_sections)
        if (s.compare(section, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    for (const Entry& e : m_entries)
        if (e.section.compare(section, Qt::CaseInsensitive) == 0
            && e.key.compare(key, Qt::CaseInsensitive) == 0)
            return e.value;
    return def;
}

QString MakeTempName(const QDateTime& at)
{
    return at.toString(QStringLiteral("ddMMyyyyHHmmss")) + QStringLiteral(".tmp");
}

bool isExecutableImage(const QByteArray& head)
{
#if defined(Q_OS_WIN)
    if (head.size() < 0x40 || !head.startsWith("MZ"))
        return false;
    const auto at = [&head](int i) { return static_cast<unsigned char>(head[i]); };
    const qsizetype pe = at(0x3C) | (at(0x3D) << 8) | (at(0x3E) << 16) | (qsizetype(at(0x3F)) << 24);
    return pe >= 0x40 && pe + 4 <= head.size() && head.mid(pe, 4) == QByteArray("PE\0\0", 4);
#else
    // ELF: magic, class (32/64-bit), byte order, type (executable or
    // position-independent executable) and the machine.
    if (head.size() < 20 || !head.startsWith("\x7F" "ELF"))
        return false;
    const auto at = [&head](int i) { return static_cast<unsigned char>(head[i]); };
    const int wantClass = sizeof(void*) == 8 ? 2 : 1;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const int wantData = 1;
    const int type = at(16) | (at(17) << 8);
    const int machine = at(18) | (at(19) << 8);
#else
    const int wantData = 2;
    const int type = (at(16) << 8) | at(17);
    const int machine = (at(18) << 8) | at(19);
#endif
#if defined(__x86_64__)
    const int wantMachine = 62;
#elif defined(__i386__)
    const int wantMachine = 3;
#elif defined(__aarch64__)
    const int wantMachine = 183;
#elif defined(__arm__)
    const int wantMachine = 40;
#elif defined(__riscv)
    const int wantMachine = 243;
#else
    const int wantMachine = machine; // an architecture this check does not know
#endif
    return at(4) == wantClass && at(5) == wantData && (type == 2 || type == 3)
        && machine == wantMachine;
#endif
}

bool isProgramFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return isExecutableImage(file.read(4096));
}

TInetUpdater::TInetUpdater(IDownloader& downloader, const IClock& clock, const QString& folder,
                           const QString& updateHost)
    : UpdateInfoFileURL(updatesIniUrl(updateHost))
    , ProductVersion(QStringLiteral("1.0.0.0"))
    , PublicKey(UpdateKey)
    , m_downloader(downloader)
    , m_clock(clock)
    , m_folder(folder)
{
}

bool TInetUpdater::CheckUpdate(QString& DownloadURL)
{
    bool result = false;
    if (UpdateInfoFileURL.trimmed().isEmpty())
        return false;
    QString temp = m_folder;
    if (!temp.endsWith(QLatin1Char('/')))
        temp += QLatin1Char('/');
    temp += MakeTempName(m_clock.now()).chopped(4) + QStringLiteral(".ini");
    if (m_downloader.download(UpdateInfoFileURL, temp)) {
        QFile file(temp);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        const IniFile ini(bytes);
        if (ini.sectionExists(ProductName)) {
            NewProductVersion = ini.readString(ProductName, QStringLiteral("Version"), ProductVersion).trimmed();
            // A number that does not convert leaves here with the conversion
            // error, the temporary copy left behind.
            result = StrToInt(ProductVersion.trimmed()) < StrToInt(NewProductVersion);
            if (result) {
                DownloadURL = ini.readString(ProductName, QStringLiteral("File"), DownloadURL);
                Signature = ini.readString(ProductName, QStringLiteral("Signature"), QString());
            }
        }
    }
    if (QFile::exists(temp))
        QFile::remove(temp);
    return result;
}

bool TInetUpdater::UpdateFile()
{
    if (UpdateResultFile.trimmed().isEmpty())
        return false;
    QString address;
    if (!CheckUpdate(address) || address.trimmed().isEmpty())
        return false;
    if (!m_downloader.download(address, UpdateResultFile))
        return false;
    // An error page or a file for another system must never take the
    // program's place.
    if (!isProgramFile(UpdateResultFile)) {
        QFile::remove(UpdateResultFile);
        return false;
    }
    return true;
}

bool TInetUpdater::SignatureAccepted() const
{
    return updateFileAccepted(UpdateResultFile, Signature, PublicKey);
}

SwapResult swapProgramFile(IFileOps& files, const QString& program)
{
    const QString fresh = ChangeFileExt(program, QStringLiteral(".new"));
    const QString old = ChangeFileExt(program, QStringLiteral(".old"));
    const auto fail = [](const QString& what) {
        return SwapResult{false, QStringLiteral("Update error: ") + what};
    };
    if (files.exists(old) && !files.remove(old))
        return fail(QStringLiteral("cannot remove ") + old);
    if (!files.makeExecutableLike(fresh, program))
        return fail(QStringLiteral("cannot make ") + fresh + QStringLiteral(" executable"));
    if (!files.rename(program, old))
        return fail(QStringLiteral("cannot rename ") + program + QStringLiteral(" to ") + old);
    if (!files.rename(fresh, program)) {
        if (!files.rename(old, program))
            return fail(QStringLiteral("cannot rename ") + fresh + QStringLiteral(" to ") + program
                        + QStringLiteral("; the program file is now ") + old);
        return fail(QStringLiteral("cannot rename ") + fresh + QStringLiteral(" to ") + program);
    }
    return SwapResult{true, QString()};
}

bool claimDailyCheck(ISettingsStore& store, const QString& today, bool autoUpdate)
{
    auto key = store.open();
    if (!key)
        return false;
    const QString stored = key->valueExists(kDateCheckValue) ? key->readString(kDateCheckValue) : QString();
    if (stored == today || !autoUpdate)
        return false;
    // Before the check, so that a failed check counts for the day too.
    key->writeString(kDateCheckValue, today);
    return true;
}

void sendStatistics(IHttpClient& http, const ServiceHosts& hosts, const QString& name,
                    const QString& failText, const std::function<void(const QString&)>& tell)
{
    QString address;
    try {
        address = http.get(ipUrl(hosts.service));
    } catch (const std::exception&) {
        tell(QStringLiteral("IP error"));
        address.clear();
    }
    if (address == hosts.excluded)
        return;
    try {
        http.get(statisticsUrl(hosts.service, name));
    } catch (const std::exception&) {
        tell(failText);
    }
}

} // namespace zel
