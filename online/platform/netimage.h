// The network module carried in the program's own file.
#pragma once

namespace zel {

class EmbeddedModule;

EmbeddedModule& netModule();

} // namespace zel
