// A shared object carried inside the program's own file, opened on demand.
#pragma once

#include "shell/facility.h"

#include <QString>

#include <mutex>

namespace zel {

// The program is one file, because the update replaces exactly that file;
// facilities whose libraries are slow to load travel inside it as the bytes
// of a shared object and are opened only when first needed. The bytes go to
// an anonymous in-memory file. Systems that refuse to run code from such
// memory (vm.memfd_noexec, fapolicyd and the like) get the module written
// once to the user's cache folder, under the module's build-id, and opened
// from there.
class EmbeddedModule : public CarriedCode {
public:
    // `name` is for messages, /proc and the cached file's name.
    EmbeddedModule(const char* name, const unsigned char* begin, const unsigned char* end);
    ~EmbeddedModule() override = default;
    EmbeddedModule(const EmbeddedModule&) = delete;
    EmbeddedModule& operator=(const EmbeddedModule&) = delete;

    // The address of `symbol`, opening the module at the first call; null
    // when it cannot be opened or has no such symbol (then error() says
    // why). One that failed to open is not tried again. The module stays
    // open for the rest of the run: the objects it makes may be in use
    // until the very end. Safe from any thread.
    void* symbol(const char* symbol) override;
    QString error() const override;
    const char* name() const override { return m_name; }

    // The folder the cached copies go to: $XDG_CACHE_HOME/zelmora/modules,
    // or ~/.cache/zelmora/modules.
    static QString cacheFolder();
    // The hexadecimal build-id of an ELF shared object's bytes; empty when
    // they hold none.
    static QByteArray buildId(const unsigned char* begin, const unsigned char* end);

private:
    bool open();
    bool openFromMemory(QString& why);
    bool openFromCache(QString& why);

    const char* m_name;
    const unsigned char* m_begin;
    const unsigned char* m_end;
    std::once_flag m_opened;
    void* m_handle = nullptr;
    mutable std::mutex m_lock;
    QString m_error;
};

} // namespace zel
