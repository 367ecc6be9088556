// The errors of HTTP access.
#include "online/httpaccess.h"

namespace zel {

QString socketErrorMessage(int number, const QString& description)
{
    return QStringLiteral("Socket Error # %1\r\n%2").arg(number).arg(description);
}

SocketError::SocketError(int number, const QString& description)
    : Error(socketErrorMessage(number, description))
    , m_number(number)
{
}

} // namespace zel
