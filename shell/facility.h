// Optional facilities: objects the program has linked in, or takes from
// code it carries and opens at their first use.
#pragma once

#include <QString>

#include <functional>
#include <mutex>

namespace zel {

// Code carried by the program and opened on demand (the platform's
// EmbeddedModule).
class CarriedCode {
public:
    virtual ~CarriedCode() = default;
    // The address of `symbol`, opening the code at the first call; null
    // when it cannot be opened or has no such symbol (then error() says why).
    virtual void* symbol(const char* symbol) = 0;
    virtual QString error() const = 0;
    virtual const char* name() const = 0;
};

// Told once per module that cannot be opened at all, with the reason.
using ModuleTrouble = std::function<void(const CarriedCode& module, const QString& reason)>;

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
    Facility(CarriedCode& module, const char* entry, ModuleTrouble trouble = {}, Make make = {})
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
    CarriedCode* m_module = nullptr;
    const char* m_entry = nullptr;
    ModuleTrouble m_trouble;
    Make m_make;
    std::once_flag m_made;
    T* m_object = nullptr;
};

} // namespace zel
