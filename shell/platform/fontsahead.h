// The font configuration read on a thread of its own from the start, while
// the application connects to the display and makes its windows.
#pragma once

#include <thread>

namespace zel {

// Reading it (dozens of XML files and the font cache) is the largest single
// step before the first window can be laid out, and needs nothing of Qt.
// The library lets two threads ask at once: whichever finishes second takes
// the first one's result, so a window that asks early is never wrong, only
// not sped up.
class FontsAhead {
public:
    FontsAhead();
    ~FontsAhead();
    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

private:
    std::thread m_reader;
};

} // namespace zel
