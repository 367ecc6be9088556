// The line that tells which operating system the program runs on.
#pragma once

#include <QString>

namespace zel {

struct OsInfo {
    QString productName;   // "Debian GNU/Linux 12 (bookworm)"
    QString version;       // "12"
    QString build;         // the kernel's version
    QString platformId;    // the kernel's kind, "linux"
    QString servicePack;   // empty where the system has none
};

// The product name, " (version ", the version, ")", " Build:", the build,
// " PlatformID:", the platform id, the service-pack label, the service pack.
QString osLine(const OsInfo& os, const QString& servicePackLabel);

} // namespace zel
