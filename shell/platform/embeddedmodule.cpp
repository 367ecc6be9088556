#include "shell/platform/embeddedmodule.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace {

QString systemError(const QString& what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool writeAll(int fd, const unsigned char* p, const unsigned char* end)
{
    while (p < end) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(end - p));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
    }
    return true;
}

// True when `path` holds exactly the bytes [begin, end).
bool holdsBytes(const QByteArray& path, const unsigned char* begin, const unsigned char* end)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st {};
    bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
                && st.st_size == end - begin;
    unsigned char buffer[65536];
    for (const unsigned char* p = begin; same && p < end;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        same = n > 0 && n <= end - p && std::memcmp(buffer, p, size_t(n)) == 0;
        p += n > 0 ? n : 0;
    }
    ::close(fd);
    return same;
}

// The folder made where missing, and only ever used when it is the user's
// own and nobody else may write to it: a copy others could swap would run
// their code in the program.
bool privateFolder(const QByteArray& path, QString& why)
{
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        why = systemError(QString::fromLocal8Bit(path));
        return false;
    }
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        why = QStringLiteral("%1: not a folder of this user's").arg(QString::fromLocal8Bit(path));
        return false;
    }
    if ((st.st_mode & 0077) != 0 && ::chmod(path.constData(), 0700) != 0) {
        why = systemError(QString::fromLocal8Bit(path));
        return false;
    }
    return true;
}

} // namespace

EmbeddedModule::EmbeddedModule(const char* name, const unsigned char* begin, const unsigned char* end)
    : m_name(name)
    , m_begin(begin)
    , m_end(end)
{
}

QString EmbeddedModule::error() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_error;
}

QString EmbeddedModule::cacheFolder()
{
    const QByteArray xdg = qgetenv("XDG_CACHE_HOME");
    const QString base = !xdg.isEmpty() && xdg.startsWith('/') ? QString::fromLocal8Bit(xdg)
                                                                : QString::fromLocal8Bit(qgetenv("HOME")) + QStringLiteral("/.cache");
    return base + QStringLiteral("/zelmora/modules");
}

QByteArray EmbeddedModule::buildId(const unsigned char* begin, const unsigned char* end)
{
    const auto size = size_t(end - begin);
    Elf64_Ehdr header;
    if (size < sizeof header)
        return {};
    std::memcpy(&header, begin, sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64
        || header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phoff > size
        || header.e_phnum > (size - header.e_phoff) / sizeof(Elf64_Phdr))
        return {};
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr ph;
        std::memcpy(&ph, begin + header.e_phoff + i * sizeof ph, sizeof ph);
        if (ph.p_type != PT_NOTE || ph.p_offset > size || ph.p_filesz > size - ph.p_offset)
            continue;
        for (Elf64_Off at = ph.p_offset; at + sizeof(Elf64_Nhdr) <= ph.p_offset + ph.p_filesz;) {
            Elf64_Nhdr note;
            std::memcpy(&note, begin + at, sizeof note);
            const Elf64_Off name = at + sizeof note;
            const Elf64_Off desc = name + ((note.n_namesz + 3) & ~3u);
            const Elf64_Off next = desc + ((note.n_descsz + 3) & ~3u);
            if (next > ph.p_offset + ph.p_filesz)
                break;
            if (note.n_type == NT_GNU_BUILD_ID && note.n_namesz == 4 && std::memcmp(begin + name, "GNU", 4) == 0)
                return QByteArray(reinterpret_cast<const char*>(begin + desc), int(note.n_descsz)).toHex();
            at = next;
        }
    }
    return {};
}

bool EmbeddedModule::openFromMemory(QString& why)
{
    const int fd = memfd_create(m_name, MFD_CLOEXEC);
    if (fd < 0) {
        why = systemError(QString::fromLatin1(m_name));
        return false;
    }
    if (!writeAll(fd, m_begin, m_end)) {
        why = systemError(QString::fromLatin1(m_name));
        ::close(fd);
        return false;
    }
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(fd);
    // Every symbol bound now: a fault shows here, not in the middle of a call.
    m_handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    // The descriptor stays open with the module: the loader knows an object
    // by its path, and a second module given the same descriptor number
    // after this one had closed would be taken for this one.
    if (!m_handle) {
        why = QString::fromLocal8Bit(dlerror());
        ::close(fd);
    }
    return m_handle != nullptr;
}

bool EmbeddedModule::openFromCache(QString& why)
{
    const QByteArray id = buildId(m_begin, m_end);
    if (id.isEmpty()) {
        why = QStringLiteral("%1: no build-id").arg(QString::fromLatin1(m_name));
        return false;
    }
    const QByteArray folder = QFile::encodeName(cacheFolder());
    if (!privateFolder(folder, why))
        return false;
    const QByteArray path = folder + '/' + m_name + '-' + id + ".so";
    if (!holdsBytes(path, m_begin, m_end)) {
        // Written under a name of its own and renamed, so that a copy is
        // never seen half written, by this run or another.
        ::unlink(path.constData());
        QByteArray temporary = path + ".XXXXXX";
        const int fd = ::mkstemp(temporary.data());
        const bool written = fd >= 0 && writeAll(fd, m_begin, m_end) && ::fchmod(fd, 0400) == 0;
        if (!written || ::close(fd) != 0 || ::rename(temporary.constData(), path.constData()) != 0) {
            why = systemError(QString::fromLocal8Bit(path));
            if (fd >= 0)
                ::unlink(temporary.constData());
            return false;
        }
    }
    // Checked again as it is opened: only the carried bytes are ever run.
    if (!holdsBytes(path, m_begin, m_end)) {
        why = QStringLiteral("%1: not the carried module").arg(QString::fromLocal8Bit(path));
        return false;
    }
    m_handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        why = QString::fromLocal8Bit(dlerror());
    return m_handle != nullptr;
}

bool EmbeddedModule::open()
{
    std::call_once(m_opened, [this] {
        QString fromMemory;
        QString fromCache;
        if (openFromMemory(fromMemory) || openFromCache(fromCache))
            return;
        std::lock_guard<std::mutex> lock(m_lock);
        m_error = fromMemory == fromCache ? fromMemory : fromMemory + QStringLiteral("; ") + fromCache;
    });
    return m_handle != nullptr;
}

void* EmbeddedModule::symbol(const char* symbol)
{
    if (!open())
        return nullptr;
    void* address = dlsym(m_handle, symbol);
    if (!address) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_error = QString::fromLocal8Bit(dlerror());
    }
    return address;
}

} // namespace zel
