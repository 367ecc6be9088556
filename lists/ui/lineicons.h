// The small pictures that mark the lines of the round-timber list.
#pragma once

#include <QIcon>

namespace zel {

// A log's cut end; `fallback` draws the one of a line computed by the formula.
QIcon lineIcon(bool fallback);

} // namespace zel
