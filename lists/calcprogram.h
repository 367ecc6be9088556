// The command-line calculator: a list from a file or standard input, added
// by the entry rules, computed and printed. The program's own main only hands
// it its arguments and standard streams.
#pragma once

#include <QStringList>

class QIODevice;

namespace zel {

// Exit statuses.
constexpr int kCalcAllUsed = 0;
constexpr int kCalcSomeSkipped = 1;
constexpr int kCalcUsageError = 2; // also an unreadable file

// `args` without the program's name.
int runCalc(const QStringList& args, QIODevice& in, QIODevice& out, QIODevice& err);

} // namespace zel
