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

} // namespace zel
