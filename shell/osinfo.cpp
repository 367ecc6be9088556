// The operating-system line of the About window.
#include "shell/osinfo.h"

namespace zel {

QString osLine(const OsInfo& os, const QString& servicePackLabel)
{
    return os.productName + QStringLiteral(" (version ") + os.version + QStringLiteral(")")
           + QStringLiteral(" Build:") + os.build + QStringLiteral(" PlatformID:") + os.platformId
           + servicePackLabel + os.servicePack;
}

} // namespace zel
