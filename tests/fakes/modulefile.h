// Carried modules for tests: the one the build made, read from its file as
// the program finds it in its own, and one that will not open.
#pragma once

#include "shell/platform/embeddedmodule.h"

#include <QFile>

namespace zel {

class ModuleFromFile {
public:
    ModuleFromFile(const char* name, const QString& file)
        : m_image(readAll(file))
        , m_module(name, bytes(), bytes() + m_image.size())
    {
    }
    bool isRead() const { return !m_image.isEmpty(); }
    EmbeddedModule& module() { return m_module; }
    const QByteArray& image() const { return m_image; }

private:
    static QByteArray readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(m_image.constData()); }

    QByteArray m_image;
    EmbeddedModule m_module;
};

inline EmbeddedModule& brokenModule()
{
    static const unsigned char garbage[] = "not a shared object";
    static EmbeddedModule module("zelmora-broken-test", garbage, garbage + sizeof garbage);
    return module;
}

} // namespace zel
