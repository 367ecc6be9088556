// The online update.
#include "online/updater.h"
#include "engine/convert.h"
#include "online/clock.h"
#include "shell/codepage.h"
#include "online/fileops.h"
#include "online/httpaccess.h"
#include "online/servicehost.h"
#include "online/updatesignature.h"
#include "shell/paths.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "shell/settingsstore.h"

#include <QFile>

#include <cstring>

#if !defined(Q_OS_WIN)
#include <elf.h>
#endif

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

#if !defined(Q_OS_WIN)
namespace {

// Every table and every range the file's headers name lies inside `bytes`.
template <typename Ehdr, typename Phdr, typename Shdr>
bool elfIsWhole(const QByteArray& bytes)
{
    const quint64 size = static_cast<quint64>(bytes.size());
    // `count` entries of `entry` bytes from `offset` end within the file.
    const auto within = [size](quint64 offset, quint64 count, quint64 entry) {
        return offset <= size && count <= (size - offset) / entry;
    };
    const auto read = [&bytes, &within](quint64 at, auto& into) {
        if (!within(at, 1, sizeof(into)))
            return false;
        std::memcpy(&into, bytes.constData() + at, sizeof(into));
        return true;
    };
    Ehdr eh;
    if (!read(0, eh))
        return false;
    quint64 phnum = eh.e_phnum;
    // No section header table at all is a whole file too (a stripped program).
    quint64 shnum = eh.e_shoff != 0 ? eh.e_shnum : 0;
    if (eh.e_shoff != 0) {
        Shdr first;
        if (eh.e_shentsize != sizeof(Shdr) || !read(eh.e_shoff, first))
            return false;
        // Counts too large for the file header are kept in the first section header.
        if (shnum == 0)
            shnum = first.sh_size;
        if (phnum == PN_XNUM)
            phnum = first.sh_info;
    }
    // A program is loaded by its segments: without them there is nothing to run.
    if (phnum == 0 || eh.e_phentsize != sizeof(Phdr) || !within(eh.e_phoff, phnum, sizeof(Phdr)))
        return false;
    if (shnum != 0 && !within(eh.e_shoff, shnum, sizeof(Shdr)))
        return false;
    for (quint64 i = 0; i < phnum; ++i) {
        Phdr ph;
        if (!read(eh.e_phoff + i * sizeof(Phdr), ph) || !within(ph.p_offset, ph.p_filesz, 1))
            return false;
    }
    for (quint64 i = 0; i < shnum; ++i) {
        Shdr sh;
        if (!read(eh.e_shoff + i * sizeof(Shdr), sh))
            return false;
        // A section of zeros to be (.bss) takes no room in the file.
        if (sh.sh_type != SHT_NOBITS && !within(sh.sh_offset, sh.sh_size, 1))
            return false;
    }
    return true;
}

} // namespace
#endif

bool isWholeProgram(const QByteArray& bytes)
{
    if (!isExecutableImage(bytes))
        return false;
#if defined(Q_OS_WIN)
    return true;
#else
    // A download cut short without a Content-Length still starts like a
    // program; only the ranges its headers name tell that it is not whole.
    if (sizeof(void*) == 8)
        return elfIsWhole<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(bytes);
    return elfIsWhole<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(bytes);
#endif
}

bool isProgramFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return isWholeProgram(file.readAll());
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
    // An error page, a file for another system or a program cut short must
    // never take the program's place; the next start clears it away.
    return isProgramFile(UpdateResultFile);
}

bool TInetUpdater::SignatureAccepted() const
{
    return updateFileAccepted(UpdateResultFile, NewProductVersion, Signature, PublicKey);
}

SwapResult swapProgramFile(IFileOps& files, const QString& program)
{
    const QString fresh = ChangeFileExt(program, QStringLiteral(".new"));
    const QString old = ChangeFileExt(program, QStringLiteral(".old"));
    const auto fail = [](const QString& text) { return SwapResult{false, text}; };
    if (files.exists(old) && !files.remove(old))
        return fail(L(111).arg(old));
    if (!files.makeExecutableLike(fresh, program))
        return fail(L(112).arg(fresh));
    if (!files.rename(program, old))
        return fail(L(113).arg(program, old));
    if (!files.rename(fresh, program)) {
        if (!files.rename(old, program))
            return fail(L(113).arg(fresh, program) + QLatin1Char(' ') + L(114).arg(old));
        return fail(L(113).arg(fresh, program));
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
