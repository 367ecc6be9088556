// Starting the program anew after an update.
#pragma once

#include <QString>

namespace zel {

class IRestart {
public:
    virtual ~IRestart() = default;
    // Ends this run (after the main window has closed in the ordinary way)
    // and then starts `program`, once this copy no longer holds the
    // single-instance claim.
    virtual void restartAfterExit(const QString& program) = 0;
};

} // namespace zel
