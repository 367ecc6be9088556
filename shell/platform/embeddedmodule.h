// A shared object carried inside the program's own file, opened on demand.
#pragma once

#include <QString>

#include <functional>
#include <mutex>

namespace zel {

// The program is one file, because the update replaces exactly that file;
// facilities whose libraries are slow to load travel inside it as the bytes
// of a shared object and are opened only when first needed. The bytes go to
// an anonymous in-memory file. Systems that refuse to run code from such
// memory (vm.memfd_noexec, fapolicyd and the like) get the module written
// once to the user's cache folder, under the module's build-id, and opened
// from there.
class EmbeddedModule {
public:
    // `name` is for messages, /proc and the cached file's name.
    EmbeddedModule(const char* name, const unsigned char* begin, const unsigned char* end);
    ~EmbeddedModule() = default;
    EmbeddedModule(const EmbeddedModule&) = delete;
    EmbeddedModule& operator=(const EmbeddedModule&) = delete;

    // The address of `symbol`, opening the module at the first call; null
    // when it cannot be opened or has no such symbol (then error() says
    // why). One that failed to open is not tried again. The module stays
    // open for the rest of the run: the objects it makes may be in use
    // until the very end. Safe from any thread.
    void* symbol(const char* symbol);
    QString error() const;
    const char* name() const { return m_name; }

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

// Told once per module that cannot be opened at all, with the reason.
using ModuleTrouble = std::function<void(const EmbeddedModule& module, const QString& reason)>;

// One optional facility: an object the program either has linked in (tests,
// benchmarks) or takes from a carried module at its first use, and keeps for
// the run. Every window reaches the carried facilities through this one
// holder; get() is null when the module cannot be opened, and error() then
// says why. Safe from any thread.
template <typename T>
class Facility {
public:
    // How the module's entry (a function pointer) makes the object.
    using Make = std::function<T*(void* entry)>;

    // Linked in: always there.
    explicit Facility(T& present)
        : m_object(&present)
    {
        std::call_once(m_made, [] {});
    }
    // Carried: `entry` of `module` makes it; by default the entry is a
    // function `T* entry()`.
    Facility(EmbeddedModule& module, const char* entry, ModuleTrouble trouble = {}, Make make = {})
        : m_module(&module)
        , m_entry(entry)
        , m_trouble(std::move(trouble))
        , m_make(make ? std::move(make) : Make([](void* f) { return reinterpret_cast<T* (*)()>(f)(); }))
    {
    }

    T* get()
    {
        std::call_once(m_made, [this] {
            if (void* entry = m_module->symbol(m_entry))
                m_object = m_make(entry);
            else if (m_trouble)
                m_trouble(*m_module, m_module->error());
        });
        return m_object;
    }
    QString error() const { return m_module ? m_module->error() : QString(); }

private:
    EmbeddedModule* m_module = nullptr;
    const char* m_entry = nullptr;
    ModuleTrouble m_trouble;
    Make m_make;
    std::once_flag m_made;
    T* m_object = nullptr;
};

} // namespace zel
