#include "store/duebilstatements.h"

#include "framework/clsservizi.h"
#include "store/checkfacts.h"
#include "store/moduletables.h"

namespace DueBilStatements {

QString lines(const QStringList &parts)
{
    return parts.join(QString::fromUtf16(crlf));
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + ClsServizi::escapeText(text) + QLatin1Char('\'');
}

QString bareNumber(const QString &text)
{
    bool numeric = false;
    text.trimmed().toLongLong(&numeric);
    return numeric ? text.trimmed() : QStringLiteral("NULL");
}

namespace {

QString orZero(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("0") : value;
}

// In a table shared by the host's objects, the condition that keeps to this module's rows.
QString ofThisObject(const QString &table)
{
    const ModuleTables::Table *t = ModuleTables::find(table);
    if (!t || !t->objectColumn)
        return {};
    return QLatin1String(" AND ") + QLatin1String(t->objectColumn) + " = " + quoted(UObjectConfig);
}

} // namespace

QString frameCausali()
{
    return lines({" SELECT *", " FROM CGP0_DUEBILCAUSALI"});
}

QString frameLayout()
{
    return lines({" SELECT CGP1_DUEBILFIELD.*, CGP3_DUEBILGRIGLIA.* ", " FROM CGP3_DUEBILGRIGLIA",
                  " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1", " WHERE 1 = 0"});
}

QString frameFiltri()
{
    return lines({" SELECT CGP2_DUEBILCHECK.*, CGP4_DUEBILFILTRI.*", " FROM CGP4_DUEBILFILTRI",
                  " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2", " WHERE 1 = 0"});
}

QString frameParametri()
{
    return lines({"SELECT  *", "FROM CGP5_DUEBILPARAM", "WHERE 1 = 0"});
}

QString frameParametriDitta()
{
    return lines({"SELECT  *", "FROM CGP6_DUEBILPARAMDITTA", "WHERE 1 = 0"});
}

QString frameParamPersReg()
{
    return lines({"SELECT  *", "FROM CGP7_DUEBILPERSREG", "WHERE 1 = 0"});
}

static QStringList utentiHead()
{
    return {"SELECT ROW_NUMBER() OVER (ORDER BY CGP8_CAUSALE_CGP0) AS ID,", "       CGP8_CAUSALE_CGP0,",
            "       CGP8_ID_FW06,", "       CGP8_ID_FW07", "FROM CGP8_DUEBILREVOKE WITH (NOLOCK)"};
}

QString frameUtenti()
{
    return lines(utentiHead() << "WHERE 1 = 0");
}

QString showLayout(const QString &causal)
{
    return lines({" SELECT CGP1_DUEBILFIELD.*, CGP3_DUEBILGRIGLIA.* ", " FROM CGP3_DUEBILGRIGLIA",
                  " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1",
                  " WHERE CGP3_CAUSALE_CGP0 = " + causal, " ORDER BY CGP3_CAUSALE_CGP0, CGP3_VISIBLEORDER"});
}

QString showFiltri(const QString &causal)
{
    return lines({" SELECT CGP2_DUEBILCHECK.*, CGP4_DUEBILFILTRI.* ", " FROM CGP4_DUEBILFILTRI ",
                  " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2",
                  " WHERE CGP4_CAUSALE_CGP0 = " + causal, " ORDER BY CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2"});
}

QString showParametri(const QString &causal)
{
    return lines({" SELECT * ", " FROM CGP5_DUEBILPARAM ", " WHERE CGP5_CAUSALE_CGP0 = " + causal,
                  " ORDER BY CGP5_CAUSALE_CGP0"});
}

QString showParametriDitta(const QString &company, const QString &causal)
{
    return lines({" SELECT * ", " FROM CGP6_DUEBILPARAMDITTA ", " WHERE CGP6_DITTA_CG18 = " + company + " AND ",
                  "       CGP6_CAUSALE_CGP0 = " + causal, " ORDER BY CGP6_CAUSALE_CGP0"});
}

QString showParamPersReg(const QString &company, const QString &causal)
{
    return lines({" SELECT * ", " FROM CGP7_DUEBILPERSREG ", " WHERE CGP7_DITTA_CG18 = " + company + " AND ",
                  "       CGP7_CAUSALE_CGP0 = " + causal, " ORDER BY CGP7_CAUSALE_CGP0"});
}

QString showUtenti(const QString &causal)
{
    return lines(utentiHead() << " WHERE CGP8_CAUSALE_CGP0 = " + causal
                              << " ORDER BY CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07");
}

QString clearLayout()
{
    return lines({" SELECT * ", " FROM CGP3_DUEBILGRIGLIA", " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1",
                  " WHERE 1 = 0"});
}

QString clearFiltri()
{
    return lines({" SELECT * ", " FROM CGP4_DUEBILFILTRI ", " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2",
                  " WHERE 1 = 0"});
}

QString clearParametri()
{
    return lines({" SELECT * ", " FROM CGP5_DUEBILPARAM ", " WHERE 1 = 0"});
}

QString clearParametriDitta()
{
    return lines({" SELECT * ", " FROM CGP6_DUEBILPARAMDITTA ", " WHERE 1 = 0"});
}

QString clearParamPersReg()
{
    return lines({" SELECT * ", " FROM CGP7_DUEBILPERSREG ", " WHERE 1 = 0"});
}

QString clearUtenti()
{
    return lines(utentiHead() << " WHERE 1 = 0");
}

QStringList completion(const QString &company, const QString &group)
{
    // Every line ends with CR LF, the last one included.
    return {
        lines({"INSERT INTO CGP4_DUEBILFILTRI", "    (CGP4_CAUSALE_CGP0,", "     CGP4_IDCHECK_CGP2)",
               "SELECT CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID", "FROM CGP0_DUEBILCAUSALI",
               "CROSS JOIN  CGP2_DUEBILCHECK",
               "LEFT OUTER JOIN (SELECT CGP4_DUEBILFILTRI.CGP4_CAUSALE_CGP0, CGP2_DUEBILCHECK.CGP2_ID",
               "                 FROM CGP2_DUEBILCHECK",
               "                 LEFT OUTER JOIN CGP4_DUEBILFILTRI ON CGP4_IDCHECK_CGP2 = CGP2_ID) AS A ON "
               "CGP0_DUEBILCAUSALI.CGP0_CAUSALE = A.CGP4_CAUSALE_CGP0 AND CGP2_DUEBILCHECK.CGP2_ID = A.CGP2_ID",
               "WHERE A.CGP4_CAUSALE_CGP0 IS NULL", "ORDER BY CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID",
               ""}),
        lines({"INSERT INTO CGP5_DUEBILPARAM", "    (CGP5_CAUSALE_CGP0)", "SELECT CGP0_CAUSALE", "FROM CGP0_DUEBILCAUSALI",
               "LEFT OUTER JOIN (SELECT DISTINCT CGP5_CAUSALE_CGP0 FROM CGP5_DUEBILPARAM) AS A ON CGP0_CAUSALE = CGP5_CAUSALE_CGP0",
               "WHERE CGP5_CAUSALE_CGP0 IS NULL", "ORDER BY CGP0_CAUSALE", ""}),
        lines({"INSERT INTO CGP6_DUEBILPARAMDITTA", "    (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0)",
               "SELECT " + company + ", CGP0_CAUSALE", "FROM CGP0_DUEBILCAUSALI",
               "LEFT OUTER JOIN (SELECT DISTINCT CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 = "
                   + company + ") AS A ON  CGP0_CAUSALE = CGP6_CAUSALE_CGP0",
               "WHERE CGP6_CAUSALE_CGP0 IS NULL", "ORDER BY CGP0_CAUSALE", ""}),
        lines({"INSERT INTO CGP7_DUEBILPERSREG", "(CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10)",
               "SELECT " + company + ", CGP0_CAUSALE, " + group, "FROM CGP0_DUEBILCAUSALI",
               "LEFT OUTER JOIN (SELECT DISTINCT CGP7_CAUSALE_CGP0 FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = "
                   + company + ") AS A ON  CGP0_CAUSALE = CGP7_CAUSALE_CGP0",
               "WHERE CGP7_CAUSALE_CGP0 IS NULL", "ORDER BY CGP0_CAUSALE", ""}),
    };
}

QStringList completionOf(const QString &causal, const QString &company, const QString &group)
{
    QStringList statements = completion(company, group);
    for (QString &sql : statements)
        sql.replace(QLatin1String(" IS NULL\r\n"), " IS NULL AND CGP0_CAUSALE = " + causal + "\r\n");
    return statements;
}

QStringList completionProbes(const QString &company)
{
    // A causal's check rows are unique per check: fewer of them that name a catalogue check
    // than the catalogue holds means one is missing. Counting them along the causal's key
    // costs a third of looking up every causal-check pair.
    return {
        lines({"SELECT TOP 1 1", "FROM CGP0_DUEBILCAUSALI",
               "WHERE (SELECT COUNT(*) FROM CGP4_DUEBILFILTRI",
               "       JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2",
               "       WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) < (SELECT COUNT(*) FROM CGP2_DUEBILCHECK)"}),
        lines({"SELECT TOP 1 1", "FROM CGP0_DUEBILCAUSALI",
               "WHERE NOT EXISTS (SELECT 1 FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = CGP0_CAUSALE)"}),
        // The company's rows are counted along the company's own index: a look-up per causal
        // would read the whole key of every company, the causal coming first in it. A causal
        // has one row per company (several in the registration table, one per account group,
        // hence the distinct count).
        lines({"SELECT TOP 1 1",
               "FROM (SELECT COUNT(*) AS N FROM CGP6_DUEBILPARAMDITTA",
               "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP6_CAUSALE_CGP0",
               "      WHERE CGP6_DITTA_CG18 = " + company + ") AS P",
               "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI)"}),
        lines({"SELECT TOP 1 1",
               "FROM (SELECT COUNT(DISTINCT CGP7_CAUSALE_CGP0) AS N FROM CGP7_DUEBILPERSREG",
               "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP7_CAUSALE_CGP0",
               "      WHERE CGP7_DITTA_CG18 = " + company + ") AS P",
               "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI)"}),
    };
}

QString completionProbe(const QString &company)
{
    // Each test stops at the first row it finds; the numbers of those that find one come back.
    QStringList parts;
    const QStringList probes = completionProbes(company);
    for (qsizetype i = 0; i < probes.size(); ++i) {
        QString probe = probes.at(i);
        probe.replace(QLatin1String("SELECT TOP 1 1"), QLatin1String("SELECT 1"));
        parts.append("SELECT " + QString::number(i) + " AS P WHERE EXISTS (" + probe + ")");
    }
    const QString newline = QString::fromUtf16(crlf);
    return parts.join(newline + QStringLiteral("UNION ALL") + newline);
}

QString insertNewCausal(const QString &code)
{
    return "INSERT INTO CGP0_DUEBILCAUSALI (CGP0_CAUSALE, CGP0_DESCRIZIONE ) VALUES (" + code + ", '')";
}

QString existsCausal(const QString &code)
{
    return lines({"SELECT TOP 1 CGP0_CAUSALE", "FROM CGP0_DUEBILCAUSALI WITH (NOLOCK)", "WHERE CGP0_CAUSALE = " + code});
}

// A copy statement: the target columns, then the same columns selected from the source rows
// with the constants first.
static QString copy(const QString &table, const QStringList &columns, const QStringList &constants,
                    const QString &from, const QStringList &where)
{
    // Written into one text: a duplication composes eight of these for every copy it makes.
    const QStringView newline(crlf);
    QString out;
    out.reserve(640);
    out += QLatin1String("INSERT INTO ") + table + QLatin1Char(' ');
    for (qsizetype i = 0; i < columns.size(); ++i) {
        out += newline;
        out += i == 0 ? u'(' : u' ';
        out += columns.at(i);
        out += i + 1 < columns.size() ? u',' : u')';
    }
    // The constants take the place of the first columns.
    for (qsizetype i = 0; i < columns.size(); ++i) {
        out += newline;
        out += i == 0 ? QLatin1String("(SELECT ") : QLatin1String("        ");
        out += i < constants.size() ? constants.at(i) : columns.at(i);
        if (i + 1 < columns.size())
            out += u',';
    }
    out += newline;
    out += QLatin1String(" FROM ") + from;
    for (qsizetype i = 0; i < where.size(); ++i) {
        out += newline;
        out += where.at(i);
        if (i + 1 == where.size())
            out += u')';
    }
    return out;
}

QStringList duplication(const QString &newCode, const QString &source, const QString &company,
                        const QString &description)
{
    const QString uobject = quoted(UObjectConfig);
    QStringList statements{lines({"INSERT INTO CGP0_DUEBILCAUSALI", " (CGP0_CAUSALE, CGP0_DESCRIZIONE) ", "VALUES ",
                                  "(" + newCode + ",", " N" + quoted(description) + ")"})};
    for (const ModuleTables::Table *t : ModuleTables::copyOrder()) {
        QStringList columns = t->columnNames();
        columns.removeOne(UncopiedParameter);
        // The leading columns that place a row (company, object, causal) take the copy's
        // values, and find the source's rows.
        QStringList constants;
        QStringList where;
        for (const QString &column : std::as_const(columns)) {
            QString value;
            QString match;
            if (column == QLatin1String(t->companyColumn)) {
                value = match = company;
            } else if (column == QLatin1String(t->objectColumn)) {
                value = match = uobject;
            } else if (column == QLatin1String(t->causalColumn)) {
                value = newCode;
                match = source;
            } else {
                break;
            }
            constants << value;
            where << (where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral("       ")) + column + " = " + match;
        }
        for (qsizetype i = 0; i + 1 < where.size(); ++i)
            where[i] += QLatin1String(" AND");
        statements << copy(QLatin1String(t->table), columns, constants, QLatin1String(t->table), where);
    }
    return statements;
}

QString compensationUse(const QString &code)
{
    return lines({"SELECT TOP (1) CGP6_DITTA_CG18, ", "               CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA",
                  "WHERE CGP6_CAUSALECOMPCLI_CGP0 = " + code + " OR", "      CGP6_CAUSALECOMPFOR_CGP0 = " + code});
}

QStringList cascadeDeleteBeforeSelection(const QString &code)
{
    QStringList statements;
    for (const ModuleTables::Table *t : ModuleTables::deleteOrder()) {
        const QString from = QLatin1String("DELETE FROM ") + QLatin1String(t->table);
        const QString where = QLatin1String("WHERE ") + QLatin1String(t->causalColumn) + " = " + code;
        // The rows a tab writes itself go as that tab deletes them, in one line.
        statements << (t->writtenByTab ? from + QLatin1Char(' ') + where : lines({from, where}));
    }
    return statements;
}

QString deleteSelection(const QString &code)
{
    return "DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = " + quoted(UObjectConfig)
        + " AND FW41_CODICE = " + code;
}

QStringList cascadeDeleteAfterSelection(const QString &code)
{
    return {
        "DELETE FROM FW17_ORDERPRS WHERE FW17_UOBJECT = " + quoted(UObjectSibling + code),
        "DELETE FROM FW18_SELEZIONEPRS WHERE FW18_UOBJECT = " + quoted(UObjectSibling + code),
    };
}

QString deleteCausalRow(const QString &code)
{
    return "DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code;
}

QString settingGestStatiDisable()
{
    return "SELECT TOP 1 FW95_VALORE FROM FW95_SETTINGS WITH (NOLOCK) WHERE FW95_CODICE = 'GEST_STATI_DISABLE'";
}

QString defaultChecks(const QString &defaultColumn, const QString &causal, bool all)
{
    QString sql = lines({"UPDATE CGP4_DUEBILFILTRI ", "SET CGP4_CHECKED = (SELECT " + defaultColumn,
                         "                    FROM CGP2_DUEBILCHECK ", "                    WHERE CGP2_ID = CGP4_IDCHECK_CGP2)",
                         "WHERE CGP4_CAUSALE_CGP0 = " + causal, ""});
    if (!all)
        sql += "  AND CGP4_IDCHECK_CGP2 NOT IN (3,4,5,6,7, 25, 26, 27, 28, 29, 30, 31, 32)";
    return sql;
}

QString causalWithWithholding(const QString &code)
{
    return lines({"SELECT TOP 1 1", "FROM CGP4_DUEBILFILTRI", "WHERE CGP4_CAUSALE_CGP0 = " + code + " AND",
                  "      CGP4_IDCHECK_CGP2 = " + QString::number(CheckFacts::WithholdingCheckId) + " AND", "      CGP4_CHECKED = 1"});
}

QString updateCheck(const QString &causal, int check, int value)
{
    return lines({"UPDATE CGP4_DUEBILFILTRI SET ", "       CGP4_CHECKED = " + QString::number(value),
                  "WHERE CGP4_CAUSALE_CGP0 = " + causal + " AND", "      CGP4_IDCHECK_CGP2 = " + QString::number(check)});
}


QString causalList()
{
    return QStringLiteral("SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK)"
                          " ORDER BY CGP0_CAUSALE");
}

QString causalDecode(const QString &code)
{
    return "SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) WHERE CGP0_CAUSALE = " + bareNumber(code);
}

QString ledgerCausalList()
{
    return QStringLiteral("SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU WITH (NOLOCK) ORDER BY CG33_CODICE");
}

QString ledgerCausalDecode(const QString &code)
{
    return "SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU WITH (NOLOCK) WHERE CG33_CODICE = " + quoted(code);
}

QString onlyUnpaidLedgerCausals(const QString &listStatement)
{
    QString sql = listStatement;
    sql.replace(QStringLiteral("ORDER BY CG33_CODICE"),
                QStringLiteral(" WHERE CG33_FLGINSOLUTI = 4  ORDER BY CG33_CODICE "), Qt::CaseInsensitive);
    return sql;
}

static QString extractionCausals(int kind)
{
    return " FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN CGP5_DUEBILPARAM WITH (NOLOCK)"
           " ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP5_TIPOCAUSALE = "
        + QString::number(kind);
}

QString extractionCausalList(int kind)
{
    return "SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE" + extractionCausals(kind) + " ORDER BY CGP0_CAUSALE";
}

QString extractionCausalDecode(int kind, const QString &code)
{
    return "SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE" + extractionCausals(kind) + " AND CGP0_CAUSALE = " + bareNumber(code);
}

QString paymentTermsList()
{
    return QStringLiteral("SELECT CG62_CODICE, CG62_DESCR FROM CG62_CONDPAG WITH (NOLOCK) ORDER BY CG62_CODICE");
}

QString paymentTermsDecode(const QString &code)
{
    QString trimmed = code;
    while (trimmed.endsWith(QLatin1Char(' ')))
        trimmed.chop(1);
    return "SELECT CG62_CODICE, CG62_DESCR FROM CG62_CONDPAG WITH (NOLOCK) WHERE CG62_CODICE = " + quoted(trimmed);
}

QString numberingSectionList(const QString &company)
{
    return "SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC(NULL, " + company + ") ORDER BY CG68_SEZIONALE";
}

QString accountList(const QString &group)
{
    return "SELECT CG24_CODICE, CG24_DESCR FROM CG24_PIANOCONTI WITH (NOLOCK) WHERE CG24_GRUPPO_CG10 = " + group
        + " ORDER BY CG24_CODICE";
}

QString accountDecode(const QString &group, const QString &code)
{
    return "SELECT CG24_CODICE, CG24_DESCR, CASE WHEN CG24_FLGANALITICO = 1 THEN 1 END AS ID"
           " FROM CG24_PIANOCONTI WITH (NOLOCK) WHERE CG24_GRUPPO_CG10 = "
        + group + " AND CG24_CODICE = " + quoted(code);
}

QString groupList()
{
    return QStringLiteral("SELECT FW06_CODICE, FW06_DESCR, FW06_ID FROM FW06_GROUPUSR");
}

QString groupDecode(const QString &id)
{
    return "SELECT FW06_DESCR FROM FW06_GROUPUSR WHERE FW06_ID = " + bareNumber(id);
}

QString userList()
{
    return QStringLiteral("SELECT FW07_CODICE, FW07_DESCR, FW07_ID FROM FW07_APPUSER WHERE FW07_FLGATTIVO=1");
}

QString userDecode(const QString &id)
{
    return "SELECT FW07_DESCR FROM FW07_APPUSER WHERE FW07_ID = " + bareNumber(id);
}

QString groupColumn(const QString &column, const QString &id)
{
    return "SELECT " + column + " FROM FW06_GROUPUSR WHERE FW06_ID = " + id;
}

QString userColumn(const QString &column, const QString &id)
{
    return "SELECT " + column + " FROM FW07_APPUSER WHERE FW07_ID = " + id;
}

QString ledgerCausalAttributes(const QString &code)
{
    return "SELECT CG33_INDTIPOREG, CG33_FLGACCONTO, CG33_FLGECONTO, CG33_FLGPORTAF, CG33_INDGESTEC, CG33_FLGINSOLUTI"
           " FROM CG33_TABCAU WHERE CG33_CODICE = "
        + quoted(code);
}

QString paymentTermsWithBills(const QString &code)
{
    return lines({"SELECT TOP(1) 1 FROM CG63_CONDPAGDET", "WHERE CG63_CODPAG_CG62 = " + quoted(code) + " AND ",
                  "      CG63_TIPOEFF IN (1,13,14)"});
}

QString sectionExists(const QString &code, const QString &company)
{
    QString sql = QStringLiteral("SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC(<CODICE>, <DITTA>) ");
    sql.replace(QLatin1String("<CODICE>"), quoted(code.left(2).leftJustified(2, QLatin1Char(' '))));
    sql.replace(QLatin1String("<DITTA>"), orZero(company));
    return sql;
}

QString extractionCausalOfKind(const QString &code, int kind)
{
    return "SELECT TOP 1 CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK)"
           " INNER JOIN CGP5_DUEBILPARAM ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP0_CAUSALE = "
        + code + " AND CGP5_TIPOCAUSALE = " + QString::number(kind);
}

QString accountPostable(const QString &group, const QString &code)
{
    return "SELECT CG24_FLGANALITICO FROM CG24_PIANOCONTI WHERE CG24_GRUPPO_CG10 = " + orZero(group)
        + " AND CG24_CODICE = " + quoted(code);
}

QString causalCodes()
{
    return QStringLiteral("SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) ORDER BY CGP0_CAUSALE");
}

QString parametersOf(const QString &causal)
{
    return "SELECT * FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = " + causal;
}

QString companyParametersOf(const QString &causal)
{
    return "SELECT * FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = " + causal + " ORDER BY CGP6_DITTA_CG18";
}

QString postingPersonalisationOf(const QString &causal, const QString &company)
{
    return "SELECT CGP7_DUEBILPERSREG.*, CG18_GRUPPO_CG10 FROM CGP7_DUEBILPERSREG"
           " LEFT OUTER JOIN CG18_DITTE ON CG18_CODICE = CGP7_DITTA_CG18 WHERE CGP7_CAUSALE_CGP0 = "
        + causal + " AND CGP7_DITTA_CG18 = " + company;
}

QString fieldCatalogue()
{
    return QStringLiteral("SELECT * FROM CGP1_DUEBILFIELD ORDER BY CGP1_ID");
}

QString fieldId(const QString &table, const QString &field)
{
    return "SELECT CGP1_ID FROM CGP1_DUEBILFIELD WHERE CGP1_TABLE = " + quoted(table)
        + " AND CGP1_FIELD =" + quoted(field);
}

QString fieldTable(const QString &field)
{
    return "SELECT CGP1_TABLE FROM CGP1_DUEBILFIELD WHERE CGP1_FIELD =" + quoted(field);
}

QString deleteLayout(const QString &causal)
{
    return "DELETE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = " + causal;
}

QString insertLayoutRow(const QString &causal, int field, int visibleOrder, int sortType, int grouped)
{
    return lines({"INSERT INTO CGP3_DUEBILGRIGLIA", "         (CGP3_CAUSALE_CGP0", "         ,CGP3_IDFIELD_CGP1",
                  "         ,CGP3_VISIBLEORDER", "         ,CGP3_SORTTYPE", "         ,CGP3_GROUPED)", "   VALUES",
                  "         (" + causal, "         ," + QString::number(field),
                  "         ," + QString::number(visibleOrder), "         ," + QString::number(sortType),
                  "         ," + QString::number(grouped) + ")"});
}

QString layoutRows(const QString &causal)
{
    return "SELECT CGP3_IDFIELD_CGP1, CGP3_VISIBLEORDER, CGP3_SORTTYPE, CGP3_GROUPED FROM CGP3_DUEBILGRIGLIA"
           " WHERE CGP3_CAUSALE_CGP0 = "
        + causal;
}

QString rowsOfCausal(const QString &table, const QString &causalColumn, const QString &code,
                     const QString &companyColumn, const QString &company, const QString &orderBy)
{
    QString sql = "SELECT * FROM " + table + " WHERE " + causalColumn + " = " + code + ofThisObject(table);
    if (!companyColumn.isEmpty())
        sql += " AND " + companyColumn + " = " + company;
    if (!orderBy.isEmpty())
        sql += " ORDER BY " + orderBy;
    return sql;
}

QString accessUsers()
{
    return QStringLiteral("SELECT FW07_ID, FW07_USERNAME, FW07_DESCR, FW07_FLGATTIVO FROM FW07_APPUSER ORDER BY FW07_USERNAME");
}

QString accessGroups()
{
    return QStringLiteral("SELECT FW06_ID, FW06_CODICE FROM FW06_GROUPUSR");
}

QString groupMemberships(const QString &table, const QString &userColumn, const QString &groupColumn)
{
    return "SELECT " + userColumn + " AS MEMBRO_UTENTE, " + groupColumn + " AS MEMBRO_GRUPPO FROM " + table + " WHERE "
        + groupColumn + " IS NOT NULL";
}

QString exclusionsOf(const QString &code)
{
    QString sql = QStringLiteral("SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE");
    if (!code.isEmpty())
        sql += " WHERE CGP8_CAUSALE_CGP0 = " + code;
    return sql;
}

QString causalDescription(const QString &code)
{
    return "SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code;
}

QString causalsInOrder()
{
    return QStringLiteral("SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE");
}

QString showPostingRows(const QString &code)
{
    return "SELECT * FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = " + code
        + " ORDER BY CGP7_DITTA_CG18, CGP7_GRUPPO_CG10";
}

QString showDueDateSelection(const QString &code)
{
    return "SELECT * FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = " + quoted(UObjectConfig)
        + " AND FW41_CODICE = " + code + " ORDER BY FW41_DITTA_CG18, FW41_INDTIPOPAG";
}

QString rowCount(const QString &table)
{
    return "SELECT COUNT(*) AS N FROM " + table;
}

QString companyGroup(const QString &company)
{
    return "SELECT CG18_GRUPPO_CG10 FROM CG18_DITTE WHERE CG18_CODICE = " + bareNumber(company);
}

QString causalRow(const QString &code)
{
    return "SELECT * FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code;
}

QString setCausalDescription(const QString &code, const QString &description)
{
    return "UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = N" + quoted(description) + " WHERE CGP0_CAUSALE = " + code;
}

QString catalogueKeys(const QString &table, const QString &column)
{
    return "SELECT " + column + " AS K FROM " + table;
}

QString catalogueNames(const QString &table, const QString &keyColumn, const QString &nameColumn)
{
    return "SELECT " + keyColumn + " AS K, " + nameColumn + " AS N FROM " + table;
}

QString noRowsOf(const QString &table)
{
    return "SELECT * FROM " + table + " WHERE 1 = 0";
}

QString insertRow(const QString &table, const QStringList &columns)
{
    return "INSERT INTO " + table + " (" + columns.join(QStringLiteral(", ")) + ") VALUES ("
        + QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + ")";
}

QString deleteRowsOfCausal(const QString &table, const QString &causalColumn, const QString &code,
                           const QString &companyColumn, const QString &company)
{
    QString sql = "DELETE FROM " + table + " WHERE " + causalColumn + " = " + code + ofThisObject(table);
    if (!companyColumn.isEmpty())
        sql += " AND " + companyColumn + " = " + company;
    return sql;
}

QString historyInsert(int rows)
{
    QString sql = "INSERT INTO " + HistoryTable
        + " (CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE, CGPL_TABELLA,"
          " CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI) VALUES ";
    for (int i = 0; i < rows; ++i)
        sql += i == 0 ? QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?)") : QStringLiteral(", (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    return sql;
}

QString historyRead(bool byCausal, bool since)
{
    QString sql = "SELECT CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE,"
                  " CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI FROM "
        + HistoryTable + " WHERE 1 = 1";
    if (byCausal)
        sql += QStringLiteral(" AND CGPL_CAUSALE_CGP0 = ?");
    if (since)
        sql += QStringLiteral(" AND CGPL_DATAORA >= ?");
    // Newest first; the rows of each operation are put back in the order they were recorded.
    sql += QStringLiteral(" ORDER BY CGPL_ID DESC");
    return sql;
}

} // namespace DueBilStatements
