#include "ado/numerdesc.h"

#include <sqlite3.h>

#include <new>

namespace ado {

namespace {

// Columns: the two the function returns, then its two arguments as hidden columns.
enum { ColSezionale, ColDescrizione, ColCodice, ColDitta };

struct NumerDescCursor
{
    sqlite3_vtab_cursor base;
    sqlite3_stmt *statement = nullptr;
    bool eof = true;
    sqlite3_int64 row = 0;
    sqlite3_value *arguments[2] = {nullptr, nullptr};
};

struct NumerDescTable
{
    sqlite3_vtab base;
    sqlite3 *db;
};

int xConnect(sqlite3 *db, void *, int, const char *const *, sqlite3_vtab **table, char **)
{
    const int rc = sqlite3_declare_vtab(
        db, "CREATE TABLE x(CG68_SEZIONALE TEXT, CG68_DESCSEZ TEXT, codice HIDDEN, ditta HIDDEN)");
    if (rc != SQLITE_OK)
        return rc;
    auto *t = static_cast<NumerDescTable *>(sqlite3_malloc(sizeof(NumerDescTable)));
    if (!t)
        return SQLITE_NOMEM;
    *t = {};
    t->db = db;
    *table = &t->base;
    return SQLITE_OK;
}

int xDisconnect(sqlite3_vtab *table)
{
    sqlite3_free(table);
    return SQLITE_OK;
}

// Both arguments are required; each becomes an equality constraint on its hidden column.
int xBestIndex(sqlite3_vtab *, sqlite3_index_info *info)
{
    int codice = -1;
    int ditta = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (c.iColumn == ColCodice) {
            if (!c.usable)
                return SQLITE_CONSTRAINT;
            codice = i;
        } else if (c.iColumn == ColDitta) {
            if (!c.usable)
                return SQLITE_CONSTRAINT;
            ditta = i;
        }
    }
    if (codice < 0 || ditta < 0)
        return SQLITE_CONSTRAINT;
    info->aConstraintUsage[codice].argvIndex = 1;
    info->aConstraintUsage[codice].omit = 1;
    info->aConstraintUsage[ditta].argvIndex = 2;
    info->aConstraintUsage[ditta].omit = 1;
    info->estimatedCost = 10;
    info->estimatedRows = 1;
    return SQLITE_OK;
}

void release(NumerDescCursor *c)
{
    sqlite3_finalize(c->statement);
    c->statement = nullptr;
    for (sqlite3_value *&v : c->arguments) {
        sqlite3_value_free(v);
        v = nullptr;
    }
}

int xOpen(sqlite3_vtab *, sqlite3_vtab_cursor **cursor)
{
    auto *c = new (std::nothrow) NumerDescCursor;
    if (!c)
        return SQLITE_NOMEM;
    *cursor = &c->base;
    return SQLITE_OK;
}

int xClose(sqlite3_vtab_cursor *cursor)
{
    auto *c = reinterpret_cast<NumerDescCursor *>(cursor);
    release(c);
    delete c;
    return SQLITE_OK;
}

int step(NumerDescCursor *c)
{
    const int rc = sqlite3_step(c->statement);
    c->eof = rc != SQLITE_ROW;
    return (rc == SQLITE_ROW || rc == SQLITE_DONE) ? SQLITE_OK : rc;
}

int xFilter(sqlite3_vtab_cursor *cursor, int, const char *, int argc, sqlite3_value **argv)
{
    auto *c = reinterpret_cast<NumerDescCursor *>(cursor);
    auto *table = reinterpret_cast<NumerDescTable *>(cursor->pVtab);
    release(c);
    if (argc != 2)
        return SQLITE_CONSTRAINT;
    const int rc = sqlite3_prepare_v2(table->db,
                                      "SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM CG68_NUMERDESC"
                                      " WHERE RTRIM(CG68_SEZIONALE) = RTRIM(?1) AND CG68_DITTA_CG18 = ?2"
                                      " ORDER BY CG68_SEZIONALE",
                                      -1, &c->statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_free(table->base.zErrMsg);
        table->base.zErrMsg = sqlite3_mprintf("%s", sqlite3_errmsg(table->db));
        return rc;
    }
    for (int i = 0; i < 2; ++i) {
        c->arguments[i] = sqlite3_value_dup(argv[i]);
        sqlite3_bind_value(c->statement, i + 1, argv[i]);
    }
    c->row = 1;
    return step(c);
}

int xNext(sqlite3_vtab_cursor *cursor)
{
    auto *c = reinterpret_cast<NumerDescCursor *>(cursor);
    ++c->row;
    return step(c);
}

int xEof(sqlite3_vtab_cursor *cursor)
{
    return reinterpret_cast<NumerDescCursor *>(cursor)->eof ? 1 : 0;
}

int xColumn(sqlite3_vtab_cursor *cursor, sqlite3_context *context, int column)
{
    auto *c = reinterpret_cast<NumerDescCursor *>(cursor);
    if (column == ColCodice || column == ColDitta)
        sqlite3_result_value(context, c->arguments[column - ColCodice]);
    else
        sqlite3_result_value(context, sqlite3_column_value(c->statement, column));
    return SQLITE_OK;
}

int xRowid(sqlite3_vtab_cursor *cursor, sqlite3_int64 *rowid)
{
    *rowid = reinterpret_cast<NumerDescCursor *>(cursor)->row;
    return SQLITE_OK;
}

const sqlite3_module numerDescModule = {
    0,            // iVersion
    nullptr,      // xCreate: eponymous only, never CREATE VIRTUAL TABLE
    xConnect, xBestIndex, xDisconnect,
    nullptr,      // xDestroy
    xOpen, xClose, xFilter, xNext, xEof, xColumn, xRowid,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

} // namespace

void registerNumerDesc(sqlite3 *db)
{
    if (db)
        sqlite3_create_module(db, "FNCG68_NUMERDESC", &numerDescModule, nullptr);
}

} // namespace ado
