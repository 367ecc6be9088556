// No display server to ask: idle time comes from this program's own input.
#include "online/platform/systemidleclock.h"

namespace zel {

void* openIdleDisplay(const QByteArray&) { return nullptr; }
void closeIdleDisplay(void*) {}
qint64 displayIdleMilliseconds(void*) { return -1; }

} // namespace zel
