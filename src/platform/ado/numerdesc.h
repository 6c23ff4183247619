#pragma once

struct sqlite3;

namespace ado {

// Makes FNCG68_NUMERDESC(code, company) available on an embedded database, as the host's
// SQL Server function is: the numbering sections of a company whose code matches, trailing
// blanks ignored (callers pad codes to two characters). Harmless to call twice; nothing for a
// null handle.
void registerNumerDesc(sqlite3 *db);

} // namespace ado
