// The modules carried in the program's own file.
#pragma once

namespace zel {

class EmbeddedModule;

// Qt Network: the HTTP client, the download and the connectivity test.
EmbeddedModule& netModule();
// libxlsxwriter (and OpenSSL behind it): the workbooks written.
EmbeddedModule& workbookModule();
// Qt Charts: the lot summary's chart.
EmbeddedModule& chartsModule();

} // namespace zel
