#include "shell/platform/fontsahead.h"

#include <fontconfig/fontconfig.h>

namespace zel {

FontsAhead::FontsAhead()
    : m_reader([] { FcInit(); })
{
}

FontsAhead::~FontsAhead()
{
    m_reader.join();
}

} // namespace zel
