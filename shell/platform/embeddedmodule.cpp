#include "shell/platform/embeddedmodule.h"

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

namespace zel {

EmbeddedModule::EmbeddedModule(const char* name, const unsigned char* begin, const unsigned char* end)
    : m_name(name)
    , m_begin(begin)
    , m_end(end)
{
}

bool EmbeddedModule::open()
{
    if (m_opened)
        return m_handle != nullptr;
    m_opened = true;
    const auto systemError = [this] {
        return QStringLiteral("%1: %2").arg(QString::fromLatin1(m_name), QString::fromLocal8Bit(std::strerror(errno)));
    };
    const int fd = memfd_create(m_name, MFD_CLOEXEC);
    if (fd < 0) {
        m_error = systemError();
        return false;
    }
    for (const unsigned char* p = m_begin; p < m_end;) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(m_end - p));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = systemError();
            ::close(fd);
            return false;
        }
        p += n;
    }
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(fd);
    // Every symbol bound now: a fault shows here, not in the middle of a call.
    m_handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    // The descriptor stays open with the module: the loader knows an object
    // by its path, and a second module given the same descriptor number
    // after this one had closed would be taken for this one.
    if (!m_handle) {
        m_error = QString::fromLocal8Bit(dlerror());
        ::close(fd);
    }
    return m_handle != nullptr;
}

void* EmbeddedModule::symbol(const char* symbol)
{
    if (!open())
        return nullptr;
    void* address = dlsym(m_handle, symbol);
    if (!address)
        m_error = QString::fromLocal8Bit(dlerror());
    return address;
}

} // namespace zel
