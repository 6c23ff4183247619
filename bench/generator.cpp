#include "generator.h"

#include "installer/databaseinstaller.h"

#include <QFile>
#include <sqlite3.h>

namespace BenchGenerator {

namespace {

class Statement
{
public:
    Statement(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    bool run(std::initializer_list<long long> values)
    {
        int i = 1;
        for (long long v : values)
            sqlite3_bind_int64(m_stmt, i++, v);
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        return rc == SQLITE_DONE;
    }
    bool valid() const { return m_stmt != nullptr; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

QString accountCode(int i)
{
    return QStringLiteral("15%1").arg(i, 6, 10, QLatin1Char('0'));
}

QString ledgerCausalCode(int i)
{
    return QChar(u'F' + i / 1000) + QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0'));
}

int firstCode(int causals)
{
    return causals <= 700 ? 300 : 1000 - causals;
}

bool build(const QString &path, int causals, int companies, QString *error)
{
    QFile::remove(path);
    if (!DatabaseInstaller::create(path, true, error))
        return false;
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    auto exec = [&](const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; };
    bool ok = exec("BEGIN IMMEDIATE")
        // The demo causals make way for the generated ones.
        && exec("DELETE FROM CGP0_DUEBILCAUSALI") && exec("DELETE FROM CGP3_DUEBILGRIGLIA")
        && exec("DELETE FROM CGP4_DUEBILFILTRI") && exec("DELETE FROM CGP5_DUEBILPARAM")
        && exec("DELETE FROM CGP6_DUEBILPARAMDITTA") && exec("DELETE FROM CGP7_DUEBILPERSREG")
        && exec("DELETE FROM CGP8_DUEBILREVOKE") && exec("DELETE FROM FW41_SELEZIONEPARAMSCADENZE");
    {
        Statement company(db, "INSERT OR IGNORE INTO CG18_DITTE (CG18_CODICE, CG18_RAGSOC, CG18_PARTITAIVA, CG18_GRUPPO_CG10)"
                              " VALUES (?1, 'Ditta ' || ?1, '', 1)");
        Statement causal(db, "INSERT INTO CGP0_DUEBILCAUSALI (CGP0_CAUSALE, CGP0_DESCRIZIONE) VALUES (?1, 'Causale ' || ?1)");
        Statement param(db, "INSERT INTO CGP5_DUEBILPARAM (CGP5_CAUSALE_CGP0, CGP5_TIPOCAUSALE) VALUES (?1, ?2)");
        Statement check(db, "INSERT INTO CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2, CGP4_CHECKED)"
                            " SELECT ?1, CGP2_ID, CGP2_DEFAULTINCASSI FROM CGP2_DUEBILCHECK");
        Statement ditta(db, "INSERT INTO CGP6_DUEBILPARAMDITTA (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0, CGP6_MESI) VALUES (?1, ?2, 6)");
        Statement reg(db, "INSERT INTO CGP7_DUEBILPERSREG (CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10,"
                          " CGP7_CAUSALECOGE_CG33, CGP7_SEZIONALEACCONTI_CG68) VALUES (?1, ?2, 1, 'INC', '00')");
        Statement layout(db, "INSERT INTO CGP3_DUEBILGRIGLIA (CGP3_CAUSALE_CGP0, CGP3_IDFIELD_CGP1, CGP3_VISIBLEORDER,"
                             " CGP3_SORTTYPE, CGP3_GROUPED) SELECT ?1, CGP1_ID, ?2, 0, 0 FROM CGP1_DUEBILFIELD"
                             " ORDER BY CGP1_ID LIMIT 1 OFFSET ?3");
        Statement revoke(db, "INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07)"
                             " VALUES (?1, NULLIF(?2, 0), NULLIF(?3, 0))");
        Statement selection(db, "INSERT INTO FW41_SELEZIONEPARAMSCADENZE (FW41_DITTA_CG18, FW41_UOBJECT, FW41_CODICE,"
                                " FW41_INDTIPOPAG, FW41_SELEZIONATO, FW41_DATIPO, FW41_ALTIPO)"
                                " VALUES (?1, 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG', ?2, 3, 1, 3, 3)");
        // A ledger of realistic size, so that look-ups and decodes are measured where they
        // would hurt: accounts of group 1 coded 15xxxxxx, ledger causals F000 to J999 (the field takes four
        // characters), users Uxxxxx.
        Statement account(db, "INSERT INTO CG24_PIANOCONTI (CG24_GRUPPO_CG10, CG24_CODICE, CG24_DESCR, CG24_MASTRO_CG24,"
                              " CG24_FLGANALITICO, CG24_INDNATURA) VALUES (1, '15' || printf('%06d', ?1),"
                              " 'Conto ' || ?1, '15', ?1 % 10 <> 0, 1)");
        Statement ledgerCausal(db, "INSERT INTO CG33_TABCAU (CG33_CODICE, CG33_DESCR, CG33_INDTIPOREG, CG33_FLGACCONTO,"
                                   " CG33_FLGECONTO, CG33_FLGPORTAF, CG33_INDGESTEC, CG33_FLGINSOLUTI)"
                                   " VALUES (char(70 + ?1 / 1000) || printf('%03d', ?1 % 1000), 'Causale contabile ' || ?1, 0, 0, 0, 0, 2, ?1 % 5)");
        Statement user(db, "INSERT INTO FW07_APPUSER (FW07_ID, FW07_CODICE, FW07_DESCR, FW07_USERNAME, FW07_FLGATTIVO,"
                           " FW07_ID_FW06) VALUES (1000 + ?1, 'U' || printf('%05d', ?1), 'Utente ' || ?1,"
                           " 'U' || printf('%05d', ?1), ?1 % 7 <> 0, 1 + ?1 % 4)");
        for (int i = 0; ok && i < LedgerAccounts; ++i)
            ok = account.run({i});
        for (int i = 0; ok && i < LedgerCausals; ++i)
            ok = ledgerCausal.run({i});
        for (int i = 0; ok && i < Users; ++i)
            ok = user.run({i});
        for (int c = 1; ok && c <= companies; ++c)
            ok = company.run({c});
        const int first = firstCode(causals);
        for (int i = 0; ok && i < causals; ++i) {
            const long long code = first + i;
            ok = causal.run({code}) && param.run({code, 1 + i % 6}) && check.run({code})
                && revoke.run({code, 1 + i % 4, 0}) && revoke.run({code, 0, 1 + i % 5});
            for (int k = 0; ok && k < 5; ++k)
                ok = layout.run({code, k + 1, k * 7});
            for (int c = 1; ok && c <= companies; ++c)
                ok = ditta.run({c, code}) && reg.run({c, code}) && selection.run({c, code});
        }
    }
    ok = ok && exec("COMMIT") && exec("PRAGMA journal_mode=WAL");
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

} // namespace BenchGenerator
