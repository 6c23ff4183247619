#include "store/moduletables.h"

#include "store/duebilstatements.h"
#include "store/operationtype.h"

#include <algorithm>

namespace ModuleTables {

namespace {

using T = Type;

// Production sizes (db/sqlserver/module.sql); the SQLite scripts hold the same columns.
constexpr int NameSize = 128;
constexpr int DescriptionSize = 255;
constexpr int CodeSize = 20;
constexpr int Unbounded = 1'000'000;  // NVARCHAR(MAX)

Column key(const char *name)
{
    return {name, T::Integer, 0, true};
}

Column company(const char *name)
{
    return {name, T::Integer, 0, true, "CG18_DITTE", "CG18_CODICE"};
}

Column flag(const char *name)
{
    return {name, T::Flag};
}

Column integer(const char *name)
{
    return {name, T::Integer};
}

Column code(const char *name)
{
    return {name, T::Text, CodeSize};
}

QList<const Table *> inOrder(int Table::*step)
{
    QList<const Table *> tables;
    for (const Table &t : all()) {
        if (t.*step > 0)
            tables.append(&t);
    }
    std::sort(tables.begin(), tables.end(), [step](const Table *a, const Table *b) { return a->*step < b->*step; });
    return tables;
}

} // namespace

QStringList Table::columnNames() const
{
    QStringList names;
    names.reserve(columns.size());
    for (const Column &c : columns)
        names.append(QLatin1String(c.name));
    return names;
}

const Column *Table::column(const QString &name) const
{
    for (const Column &c : columns) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

const QList<Table> &all()
{
    namespace S = DueBilStatements;
    static const QList<Table> tables = {
        {.table = "CGP0_DUEBILCAUSALI",
         .role = Role::Causal,
         .columns = {key("CGP0_CAUSALE"), {"CGP0_DESCRIZIONE", T::Text, DescriptionSize}},
         .causalColumn = "CGP0_CAUSALE",
         .keyColumns = {"CGP0_CAUSALE"},
         .orderBy = "CGP0_CAUSALE",
         .single = true},
        {.table = "CGP5_DUEBILPARAM",
         .role = Role::Configuration,
         .columns = {key("CGP5_CAUSALE_CGP0"),
                     {"CGP5_TIPOCAUSALE", T::Integer, 0, false, nullptr, nullptr, 1, int(LastOperationType)},
                     integer("CGP5_TIPOSCADENZA"), integer("CGP5_INDRECUPERO"), integer("CGP5_INDIMPMASSIMO"),
                     integer("CGP5_INDIMPSCADENZA"), flag("CGP5_INDGESTABBUONI"), flag("CGP5_CREADISTINTA")},
         .section = "parametri",
         .causalColumn = "CGP5_CAUSALE_CGP0",
         .keyColumns = {"CGP5_CAUSALE_CGP0"},
         .orderBy = "CGP5_CAUSALE_CGP0",
         .single = true,
         .copyStep = 4,
         .deleteStep = 2,
         .completionStep = 2,
         .show = &S::showParametri},
        {.table = "CGP6_DUEBILPARAMDITTA",
         .role = Role::Configuration,
         .columns = {company("CGP6_DITTA_CG18"), key("CGP6_CAUSALE_CGP0"), integer("CGP6_MESI"),
                     flag("CGP6_DESCRAGGTESTATA"), flag("CGP6_MODIFICACONTI"), flag("CGP6_INDNUMDATADOC"),
                     integer("CGP6_TIPOREGISTRAZIONE"), flag("CGP6_CREADISTINTA"), flag("CGP6_INDACCONTI"),
                     {"CGP6_DELTAIMPORTO", T::Decimal}, flag("CGP6_INDNETTOPREVISIONALI"),
                     integer("CGP6_CAUSALECOMPCLI_CGP0"), integer("CGP6_CAUSALECOMPFOR_CGP0"),
                     integer("CGP6_INDVISANTEPRIMA"), flag("CGP6_INDPAGVALUTA")},
         .section = "ditte",
         .causalColumn = "CGP6_CAUSALE_CGP0",
         .companyColumn = "CGP6_DITTA_CG18",
         .keyColumns = {"CGP6_DITTA_CG18"},
         .orderBy = "CGP6_DITTA_CG18",
         .copyStep = 5,
         .deleteStep = 3,
         .completionStep = 3,
         .show = &S::companyParametersOf},
        {.table = "CGP7_DUEBILPERSREG",
         .role = Role::Configuration,
         .columns = {company("CGP7_DITTA_CG18"), key("CGP7_CAUSALE_CGP0"),
                     {"CGP7_GRUPPO_CG10", T::Integer, 0, true, "CG10_GRUPPICONTI", "CG10_CODICE"},
                     code("CGP7_CAUSALECOGE_CG33"), code("CGP7_CONTODARE_CG24"), code("CGP7_CONTOAVERE_CG24"),
                     integer("CGP7_INDDETTREGIST"), integer("CGP7_INDDETTRIGACONT"), code("CGP7_CAUSALEABB_CG33"),
                     code("CGP7_CONTOABBATTIVI_CG24"), code("CGP7_CONTOABBPASSIVI_CG24"),
                     {"CGP7_TESTORIGA", T::Text, 240}, integer("CGP7_INDPAGRITENUTE"),
                     code("CGP7_CONDPAGACCONTI_CG62"), code("CGP7_SEZIONALEACCONTI_CG68"), integer("CGP7_INDDESCRCP")},
         .section = "registrazione",
         .causalColumn = "CGP7_CAUSALE_CGP0",
         .companyColumn = "CGP7_DITTA_CG18",
         .keyColumns = {"CGP7_DITTA_CG18", "CGP7_GRUPPO_CG10"},
         .orderBy = "CGP7_DITTA_CG18, CGP7_GRUPPO_CG10",
         .copyStep = 6,
         .deleteStep = 4,
         .completionStep = 4,
         .show = &S::showPostingRows},
        {.table = "CGP3_DUEBILGRIGLIA",
         .role = Role::Configuration,
         .columns = {key("CGP3_CAUSALE_CGP0"), {"CGP3_IDFIELD_CGP1", T::Integer, 0, true, "CGP1_DUEBILFIELD", "CGP1_ID"},
                     {"CGP3_VISIBLEORDER", T::Integer, 0, false, nullptr, nullptr, 0, 32767},
                     // none, ascending, descending
                     {"CGP3_SORTTYPE", T::Integer, 0, false, nullptr, nullptr, 0, 2}, flag("CGP3_GROUPED")},
         .section = "griglia",
         .causalColumn = "CGP3_CAUSALE_CGP0",
         .keyColumns = {"CGP3_IDFIELD_CGP1"},
         .orderBy = "CGP3_VISIBLEORDER, CGP3_IDFIELD_CGP1",
         .writtenByTab = true,
         .copyStep = 1,
         .deleteStep = 6,
         .show = &S::showLayout},
        {.table = "CGP4_DUEBILFILTRI",
         .role = Role::Configuration,
         .columns = {key("CGP4_CAUSALE_CGP0"), {"CGP4_IDCHECK_CGP2", T::Integer, 0, true, "CGP2_DUEBILCHECK", "CGP2_ID"},
                     flag("CGP4_CHECKED")},
         .section = "filtri",
         .causalColumn = "CGP4_CAUSALE_CGP0",
         .keyColumns = {"CGP4_IDCHECK_CGP2"},
         .orderBy = "CGP4_IDCHECK_CGP2",
         .writtenByTab = true,
         .copyStep = 2,
         .deleteStep = 5,
         .completionStep = 1,
         .show = &S::showFiltri},
        // An exclusion row is nothing but its group or user: the whole row is its key.
        {.table = "CGP8_DUEBILREVOKE",
         .role = Role::Configuration,
         .columns = {key("CGP8_CAUSALE_CGP0"), {"CGP8_ID_FW06", T::Integer, 0, false, "FW06_GROUPUSR", "FW06_ID"},
                     {"CGP8_ID_FW07", T::Integer, 0, false, "FW07_APPUSER", "FW07_ID"}},
         .section = "esclusioni",
         .causalColumn = "CGP8_CAUSALE_CGP0",
         .keyColumns = {"CGP8_ID_FW06", "CGP8_ID_FW07"},
         .orderBy = "CGP8_ID_FW06, CGP8_ID_FW07",
         .copyStep = 7,
         .deleteStep = 1,
         .show = &S::showUtenti},
        {.table = "FW41_SELEZIONEPARAMSCADENZE",
         .role = Role::Selection,
         .columns = {company("FW41_DITTA_CG18"), {"FW41_UOBJECT", T::Text, NameSize, true}, key("FW41_CODICE"),
                     key("FW41_INDTIPOPAG"), {"FW41_SELEZIONATO", T::Flag, 0, true}, integer("FW41_DATIPO"),
                     integer("FW41_ALTIPO")},
         .section = "selezioneScadenze",
         .causalColumn = "FW41_CODICE",
         .companyColumn = "FW41_DITTA_CG18",
         .objectColumn = "FW41_UOBJECT",
         .keyColumns = {"FW41_DITTA_CG18", "FW41_INDTIPOPAG"},
         .orderBy = "FW41_DITTA_CG18, FW41_INDTIPOPAG",
         .copyStep = 3,
         .show = &S::showDueDateSelection},
        {.table = "CGP1_DUEBILFIELD",
         .role = Role::Catalogue,
         .columns = {key("CGP1_ID"), {"CGP1_FIELD", T::Text, NameSize, true}, {"CGP1_TABLE", T::Text, NameSize, true},
                     {"CGP1_DESCRIZIONE", T::Text, DescriptionSize, true},
                     {"CGP1_DESCRTABLE", T::Text, DescriptionSize, true}},
         .keyColumns = {"CGP1_ID"},
         .orderBy = "CGP1_ID"},
        {.table = "CGP2_DUEBILCHECK",
         .role = Role::Catalogue,
         .columns = {key("CGP2_ID"), {"CGP2_TIPOFILTRO", T::Text, NameSize, true},
                     {"CGP2_DESCRIZIONE", T::Text, DescriptionSize, true}, key("CGP2_DEFAULTINCASSI"),
                     key("CGP2_DEFAULTPAGAMENTI"), key("CGP2_DEFAULTCHIUSPART"), key("CGP2_DEFAULTINCASSIBF"),
                     key("CGP2_DEFAULTSOSPENSIONE"), key("CGP2_DEFAULTGESTIONESTATI")},
         .keyColumns = {"CGP2_ID"},
         .orderBy = "CGP2_ID"},
        {.table = "CGPL_DUEBILSTORICO",
         .role = Role::History,
         .columns = {{"CGPL_ID", T::Integer, 0, true, nullptr, nullptr, 0, 0, true},
                     {"CGPL_IDOPERAZIONE", T::Text, 32, true}, key("CGPL_CAUSALE_CGP0"),
                     {"CGPL_DATAORA", T::Text, 23, true}, {"CGPL_UTENTE", T::Text, 64, true},
                     {"CGPL_INDOPERAZIONE", T::Integer, 0, true, nullptr, nullptr, 1, 6},
                     {"CGPL_TABELLA", T::Text, 64, true},
                     {"CGPL_INDMODIFICA", T::Integer, 0, true, nullptr, nullptr, 0, 2},
                     {"CGPL_CHIAVE", T::Text, Unbounded, true}, {"CGPL_VALORI", T::Text, Unbounded, true}},
         .section = "storico",
         .causalColumn = "CGPL_CAUSALE_CGP0",
         .orderBy = "CGPL_ID"},
    };
    return tables;
}

const Table *find(const QString &table)
{
    for (const Table &t : all()) {
        if (table == QLatin1String(t.table))
            return &t;
    }
    return nullptr;
}

QList<const Table *> ofCausal()
{
    QList<const Table *> tables;
    for (const Table &t : all()) {
        if (t.role == Role::Causal || t.role == Role::Configuration || t.role == Role::Selection)
            tables.append(&t);
    }
    return tables;
}

QList<const Table *> copyOrder()
{
    return inOrder(&Table::copyStep);
}

QList<const Table *> deleteOrder()
{
    return inOrder(&Table::deleteStep);
}

QList<const Table *> completionOrder()
{
    return inOrder(&Table::completionStep);
}

} // namespace ModuleTables
