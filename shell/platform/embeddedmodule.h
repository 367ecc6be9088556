// A shared object carried inside the program's own file, opened on demand.
#pragma once

#include <QString>

namespace zel {

// The program is one file, because the update replaces exactly that file;
// facilities whose libraries are slow to load travel inside it as the bytes
// of a shared object and are opened only when first needed. The bytes go to
// an anonymous in-memory file, never to disk.
class EmbeddedModule {
public:
    // `name` is for messages and /proc only.
    EmbeddedModule(const char* name, const unsigned char* begin, const unsigned char* end);
    ~EmbeddedModule() = default;
    EmbeddedModule(const EmbeddedModule&) = delete;
    EmbeddedModule& operator=(const EmbeddedModule&) = delete;

    // The address of `symbol`, opening the module at the first call; null
    // when it cannot be opened or has no such symbol (then error() says
    // why). One that failed to open is not tried again. The module stays
    // open for the rest of the run: the objects it makes may be in use
    // until the very end.
    void* symbol(const char* symbol);
    QString error() const { return m_error; }

private:
    bool open();

    const char* m_name;
    const unsigned char* m_begin;
    const unsigned char* m_end;
    bool m_opened = false;
    void* m_handle = nullptr;
    QString m_error;
};

// The object that a module's entry (a function `T* entry()`) gives, asked
// for at the first get() and kept for the run; null when the module cannot
// be opened or has no such entry. UI thread only.
template <typename T>
class ModuleObject {
public:
    ModuleObject(EmbeddedModule& module, const char* entry)
        : m_module(module)
        , m_entry(entry)
    {
    }

    T* get()
    {
        if (!m_tried) {
            m_tried = true;
            if (auto open = reinterpret_cast<T* (*)()>(m_module.symbol(m_entry)))
                m_object = open();
        }
        return m_object;
    }
    QString error() const { return m_module.error(); }

private:
    EmbeddedModule& m_module;
    const char* m_entry;
    bool m_tried = false;
    T* m_object = nullptr;
};

} // namespace zel
