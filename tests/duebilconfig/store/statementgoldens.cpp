#include "statementgoldens.h"

#include "duebilstatements.h"

#include <QMap>
#include <functional>

namespace S = DueBilStatements;

namespace StatementGoldens {

namespace {

using Call = std::function<QStringList(const QStringList &)>;

QStringList one(const QString &statement)
{
    return {statement};
}

int n(const QStringList &a, int i)
{
    return a.value(i).toInt();
}

bool flag(const QStringList &a, int i)
{
    return a.value(i) == QLatin1String("1");
}

const QMap<QString, Call> &calls()
{
    static const QMap<QString, Call> all = {
        {"frameCausali", [](const QStringList &) { return one(S::frameCausali()); }},
        {"frameLayout", [](const QStringList &) { return one(S::frameLayout()); }},
        {"frameFiltri", [](const QStringList &) { return one(S::frameFiltri()); }},
        {"frameParametri", [](const QStringList &) { return one(S::frameParametri()); }},
        {"frameParametriDitta", [](const QStringList &) { return one(S::frameParametriDitta()); }},
        {"frameParamPersReg", [](const QStringList &) { return one(S::frameParamPersReg()); }},
        {"frameUtenti", [](const QStringList &) { return one(S::frameUtenti()); }},
        {"showLayout", [](const QStringList &a) { return one(S::showLayout(a.value(0))); }},
        {"showFiltri", [](const QStringList &a) { return one(S::showFiltri(a.value(0))); }},
        {"showParametri", [](const QStringList &a) { return one(S::showParametri(a.value(0))); }},
        {"showParametriDitta", [](const QStringList &a) { return one(S::showParametriDitta(a.value(0), a.value(1))); }},
        {"showParamPersReg", [](const QStringList &a) { return one(S::showParamPersReg(a.value(0), a.value(1))); }},
        {"showUtenti", [](const QStringList &a) { return one(S::showUtenti(a.value(0))); }},
        {"clearLayout", [](const QStringList &) { return one(S::clearLayout()); }},
        {"clearFiltri", [](const QStringList &) { return one(S::clearFiltri()); }},
        {"clearParametri", [](const QStringList &) { return one(S::clearParametri()); }},
        {"clearParametriDitta", [](const QStringList &) { return one(S::clearParametriDitta()); }},
        {"clearParamPersReg", [](const QStringList &) { return one(S::clearParamPersReg()); }},
        {"clearUtenti", [](const QStringList &) { return one(S::clearUtenti()); }},
        {"completion", [](const QStringList &a) { return S::completion(a.value(0), a.value(1)); }},
        {"completionOf", [](const QStringList &a) { return S::completionOf(a.value(0), a.value(1), a.value(2)); }},
        {"completionProbes", [](const QStringList &a) { return S::completionProbes(a.value(0)); }},
        {"completionProbe", [](const QStringList &a) { return one(S::completionProbe(a.value(0))); }},
        {"insertNewCausal", [](const QStringList &a) { return one(S::insertNewCausal(a.value(0))); }},
        {"existsCausal", [](const QStringList &a) { return one(S::existsCausal(a.value(0))); }},
        {"duplication",
         [](const QStringList &a) { return S::duplication(a.value(0), a.value(1), a.value(2), a.value(3)); }},
        {"compensationUse", [](const QStringList &a) { return one(S::compensationUse(a.value(0))); }},
        {"cascadeDeleteBeforeSelection",
         [](const QStringList &a) { return S::cascadeDeleteBeforeSelection(a.value(0)); }},
        {"deleteSelection", [](const QStringList &a) { return one(S::deleteSelection(a.value(0))); }},
        {"cascadeDeleteAfterSelection", [](const QStringList &a) { return S::cascadeDeleteAfterSelection(a.value(0)); }},
        {"deleteCausalRow", [](const QStringList &a) { return one(S::deleteCausalRow(a.value(0))); }},
        {"settingGestStatiDisable", [](const QStringList &) { return one(S::settingGestStatiDisable()); }},
        {"defaultChecks",
         [](const QStringList &a) { return one(S::defaultChecks(a.value(0), a.value(1), flag(a, 2))); }},
        {"causalWithWithholding", [](const QStringList &a) { return one(S::causalWithWithholding(a.value(0))); }},
        {"updateCheck", [](const QStringList &a) { return one(S::updateCheck(a.value(0), n(a, 1), n(a, 2))); }},
        {"updateCheckFrom",
         [](const QStringList &a) { return one(S::updateCheckFrom(a.value(0), n(a, 1), n(a, 2), n(a, 3))); }},
        {"causalList", [](const QStringList &) { return one(S::causalList()); }},
        {"causalDecode", [](const QStringList &a) { return one(S::causalDecode(a.value(0))); }},
        {"ledgerCausalList", [](const QStringList &) { return one(S::ledgerCausalList()); }},
        {"ledgerCausalDecode", [](const QStringList &a) { return one(S::ledgerCausalDecode(a.value(0))); }},
        {"onlyUnpaidLedgerCausals", [](const QStringList &a) { return one(S::onlyUnpaidLedgerCausals(a.value(0))); }},
        {"extractionCausalList", [](const QStringList &a) { return one(S::extractionCausalList(n(a, 0))); }},
        {"extractionCausalDecode",
         [](const QStringList &a) { return one(S::extractionCausalDecode(n(a, 0), a.value(1))); }},
        {"paymentTermsList", [](const QStringList &) { return one(S::paymentTermsList()); }},
        {"paymentTermsDecode", [](const QStringList &a) { return one(S::paymentTermsDecode(a.value(0))); }},
        {"numberingSectionList", [](const QStringList &a) { return one(S::numberingSectionList(a.value(0))); }},
        {"accountList", [](const QStringList &a) { return one(S::accountList(a.value(0))); }},
        {"accountDecode", [](const QStringList &a) { return one(S::accountDecode(a.value(0), a.value(1))); }},
        {"groupList", [](const QStringList &) { return one(S::groupList()); }},
        {"groupDecode", [](const QStringList &a) { return one(S::groupDecode(a.value(0))); }},
        {"userList", [](const QStringList &) { return one(S::userList()); }},
        {"userDecode", [](const QStringList &a) { return one(S::userDecode(a.value(0))); }},
        {"groupColumn", [](const QStringList &a) { return one(S::groupColumn(a.value(0), a.value(1))); }},
        {"userColumn", [](const QStringList &a) { return one(S::userColumn(a.value(0), a.value(1))); }},
        {"paymentTermsWithBills", [](const QStringList &a) { return one(S::paymentTermsWithBills(a.value(0))); }},
        {"sectionExists", [](const QStringList &a) { return one(S::sectionExists(a.value(0), a.value(1))); }},
        {"extractionCausalOfKind",
         [](const QStringList &a) { return one(S::extractionCausalOfKind(a.value(0), n(a, 1))); }},
        {"accountPostable", [](const QStringList &a) { return one(S::accountPostable(a.value(0), a.value(1))); }},
        {"causalCodes", [](const QStringList &) { return one(S::causalCodes()); }},
        {"parametersOf", [](const QStringList &a) { return one(S::parametersOf(a.value(0))); }},
        {"companyParametersOf", [](const QStringList &a) { return one(S::companyParametersOf(a.value(0))); }},
        {"postingPersonalisationOf",
         [](const QStringList &a) { return one(S::postingPersonalisationOf(a.value(0), a.value(1))); }},
        {"fieldCatalogue", [](const QStringList &) { return one(S::fieldCatalogue()); }},
        {"fieldId", [](const QStringList &a) { return one(S::fieldId(a.value(0), a.value(1))); }},
        {"fieldTable", [](const QStringList &a) { return one(S::fieldTable(a.value(0))); }},
        {"deleteLayout", [](const QStringList &a) { return one(S::deleteLayout(a.value(0))); }},
        {"insertLayoutRow",
         [](const QStringList &a) {
             return one(S::insertLayoutRow(a.value(0), n(a, 1), n(a, 2), n(a, 3), n(a, 4)));
         }},
        {"layoutRows", [](const QStringList &a) { return one(S::layoutRows(a.value(0))); }},
        {"rowsOfCausal",
         [](const QStringList &a) {
             return one(S::rowsOfCausal(a.value(0), a.value(1), a.value(2), a.value(3), a.value(4), a.value(5)));
         }},
        {"accessUsers", [](const QStringList &) { return one(S::accessUsers()); }},
        {"accessGroups", [](const QStringList &) { return one(S::accessGroups()); }},
        {"groupMemberships", [](const QStringList &a) { return one(S::groupMemberships(a.value(0), a.value(1), a.value(2))); }},
        {"exclusionsOf", [](const QStringList &a) { return one(S::exclusionsOf(a.value(0))); }},
        {"causalDescription", [](const QStringList &a) { return one(S::causalDescription(a.value(0))); }},
        {"causalsInOrder", [](const QStringList &) { return one(S::causalsInOrder()); }},
        {"showCompanyParameters", [](const QStringList &a) { return one(S::showCompanyParameters(a.value(0))); }},
        {"showPostingRows", [](const QStringList &a) { return one(S::showPostingRows(a.value(0))); }},
        {"showDueDateSelection", [](const QStringList &a) { return one(S::showDueDateSelection(a.value(0))); }},
        {"rowCount", [](const QStringList &a) { return one(S::rowCount(a.value(0))); }},
        {"companyGroup", [](const QStringList &a) { return one(S::companyGroup(a.value(0))); }},
        {"causalRow", [](const QStringList &a) { return one(S::causalRow(a.value(0))); }},
        {"setCausalDescription",
         [](const QStringList &a) { return one(S::setCausalDescription(a.value(0), a.value(1))); }},
        {"catalogueKeys", [](const QStringList &a) { return one(S::catalogueKeys(a.value(0), a.value(1))); }},
        {"catalogueNames",
         [](const QStringList &a) { return one(S::catalogueNames(a.value(0), a.value(1), a.value(2))); }},
        {"noRowsOf", [](const QStringList &a) { return one(S::noRowsOf(a.value(0))); }},
        {"insertRow", [](const QStringList &a) { return one(S::insertRow(a.value(0), a.mid(1))); }},
        {"deleteRowsOfCausal",
         [](const QStringList &a) {
             return one(S::deleteRowsOfCausal(a.value(0), a.value(1), a.value(2), a.value(3), a.value(4)));
         }},
        {"historyInsert", [](const QStringList &a) { return one(S::historyInsert(a.value(0).toInt())); }},
        {"historyRead", [](const QStringList &a) { return one(S::historyRead(flag(a, 0), flag(a, 1))); }},
    };
    return all;
}

} // namespace

QStringList callable()
{
    return calls().keys();
}

QStringList call(const QString &name, const QStringList &args)
{
    const auto found = calls().constFind(name);
    return found == calls().cend() ? QStringList() : (*found)(args);
}

const QList<Golden> &rows()
{
    static const QList<Golden> all = {
        // Values reach the statements as typed: causal, company, group and id bare; a text that
        // is no number written NULL where a number is expected; codes and typed text quoted
        // with their quotes doubled.
        {"frameCausali", {},
         {" SELECT *\r\n"
          " FROM CGP0_DUEBILCAUSALI"}},
        {"frameLayout", {},
         {" SELECT CGP1_DUEBILFIELD.*, CGP3_DUEBILGRIGLIA.* \r\n"
          " FROM CGP3_DUEBILGRIGLIA\r\n"
          " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1\r\n"
          " WHERE 1 = 0"}},
        {"frameFiltri", {},
         {" SELECT CGP2_DUEBILCHECK.*, CGP4_DUEBILFILTRI.*\r\n"
          " FROM CGP4_DUEBILFILTRI\r\n"
          " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2\r\n"
          " WHERE 1 = 0"}},
        {"frameParametri", {},
         {"SELECT  *\r\n"
          "FROM CGP5_DUEBILPARAM\r\n"
          "WHERE 1 = 0"}},
        {"frameParametriDitta", {},
         {"SELECT  *\r\n"
          "FROM CGP6_DUEBILPARAMDITTA\r\n"
          "WHERE 1 = 0"}},
        {"frameParamPersReg", {},
         {"SELECT  *\r\n"
          "FROM CGP7_DUEBILPERSREG\r\n"
          "WHERE 1 = 0"}},
        {"frameUtenti", {},
         {"SELECT ROW_NUMBER() OVER (ORDER BY CGP8_CAUSALE_CGP0) AS ID,\r\n"
          "       CGP8_CAUSALE_CGP0,\r\n"
          "       CGP8_ID_FW06,\r\n"
          "       CGP8_ID_FW07\r\n"
          "FROM CGP8_DUEBILREVOKE WITH (NOLOCK)\r\n"
          "WHERE 1 = 0"}},
        {"showLayout", {"300"},
         {" SELECT CGP1_DUEBILFIELD.*, CGP3_DUEBILGRIGLIA.* \r\n"
          " FROM CGP3_DUEBILGRIGLIA\r\n"
          " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1\r\n"
          " WHERE CGP3_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP3_CAUSALE_CGP0, CGP3_VISIBLEORDER"}},
        {"showFiltri", {"300"},
         {" SELECT CGP2_DUEBILCHECK.*, CGP4_DUEBILFILTRI.* \r\n"
          " FROM CGP4_DUEBILFILTRI \r\n"
          " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2\r\n"
          " WHERE CGP4_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2"}},
        {"showParametri", {"300"},
         {" SELECT * \r\n"
          " FROM CGP5_DUEBILPARAM \r\n"
          " WHERE CGP5_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP5_CAUSALE_CGP0"}},
        {"showParametriDitta", {"1", "300"},
         {" SELECT * \r\n"
          " FROM CGP6_DUEBILPARAMDITTA \r\n"
          " WHERE CGP6_DITTA_CG18 = 1 AND \r\n"
          "       CGP6_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP6_CAUSALE_CGP0"}},
        {"showParamPersReg", {"1", "300"},
         {" SELECT * \r\n"
          " FROM CGP7_DUEBILPERSREG \r\n"
          " WHERE CGP7_DITTA_CG18 = 1 AND \r\n"
          "       CGP7_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP7_CAUSALE_CGP0"}},
        {"showUtenti", {"300"},
         {"SELECT ROW_NUMBER() OVER (ORDER BY CGP8_CAUSALE_CGP0) AS ID,\r\n"
          "       CGP8_CAUSALE_CGP0,\r\n"
          "       CGP8_ID_FW06,\r\n"
          "       CGP8_ID_FW07\r\n"
          "FROM CGP8_DUEBILREVOKE WITH (NOLOCK)\r\n"
          " WHERE CGP8_CAUSALE_CGP0 = 300\r\n"
          " ORDER BY CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07"}},
        {"clearLayout", {},
         {" SELECT * \r\n"
          " FROM CGP3_DUEBILGRIGLIA\r\n"
          " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1\r\n"
          " WHERE 1 = 0"}},
        {"clearFiltri", {},
         {" SELECT * \r\n"
          " FROM CGP4_DUEBILFILTRI \r\n"
          " INNER JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2\r\n"
          " WHERE 1 = 0"}},
        {"clearParametri", {},
         {" SELECT * \r\n"
          " FROM CGP5_DUEBILPARAM \r\n"
          " WHERE 1 = 0"}},
        {"clearParametriDitta", {},
         {" SELECT * \r\n"
          " FROM CGP6_DUEBILPARAMDITTA \r\n"
          " WHERE 1 = 0"}},
        {"clearParamPersReg", {},
         {" SELECT * \r\n"
          " FROM CGP7_DUEBILPERSREG \r\n"
          " WHERE 1 = 0"}},
        {"clearUtenti", {},
         {"SELECT ROW_NUMBER() OVER (ORDER BY CGP8_CAUSALE_CGP0) AS ID,\r\n"
          "       CGP8_CAUSALE_CGP0,\r\n"
          "       CGP8_ID_FW06,\r\n"
          "       CGP8_ID_FW07\r\n"
          "FROM CGP8_DUEBILREVOKE WITH (NOLOCK)\r\n"
          " WHERE 1 = 0"}},
        {"completion", {"1", "2"},
         {"INSERT INTO CGP4_DUEBILFILTRI\r\n"
          "    (CGP4_CAUSALE_CGP0,\r\n"
          "     CGP4_IDCHECK_CGP2)\r\n"
          "SELECT CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "CROSS JOIN  CGP2_DUEBILCHECK\r\n"
          "LEFT OUTER JOIN (SELECT CGP4_DUEBILFILTRI.CGP4_CAUSALE_CGP0, CGP2_DUEBILCHECK.CGP2_ID\r\n"
          "                 FROM CGP2_DUEBILCHECK\r\n"
          "                 LEFT OUTER JOIN CGP4_DUEBILFILTRI ON CGP4_IDCHECK_CGP2 = CGP2_ID) AS A ON "
          "CGP0_DUEBILCAUSALI.CGP0_CAUSALE = A.CGP4_CAUSALE_CGP0 AND CGP2_DUEBILCHECK.CGP2_ID = A.CGP2_ID\r\n"
          "WHERE A.CGP4_CAUSALE_CGP0 IS NULL\r\n"
          "ORDER BY CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID\r\n",
          "INSERT INTO CGP5_DUEBILPARAM\r\n"
          "    (CGP5_CAUSALE_CGP0)\r\n"
          "SELECT CGP0_CAUSALE\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP5_CAUSALE_CGP0 FROM CGP5_DUEBILPARAM) AS A ON CGP0_CAUSALE = "
          "CGP5_CAUSALE_CGP0\r\n"
          "WHERE CGP5_CAUSALE_CGP0 IS NULL\r\n"
          "ORDER BY CGP0_CAUSALE\r\n",
          "INSERT INTO CGP6_DUEBILPARAMDITTA\r\n"
          "    (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0)\r\n"
          "SELECT 1, CGP0_CAUSALE\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 "
          "= 1) AS A ON  CGP0_CAUSALE = CGP6_CAUSALE_CGP0\r\n"
          "WHERE CGP6_CAUSALE_CGP0 IS NULL\r\n"
          "ORDER BY CGP0_CAUSALE\r\n",
          "INSERT INTO CGP7_DUEBILPERSREG\r\n"
          "(CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10)\r\n"
          "SELECT 1, CGP0_CAUSALE, 2\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP7_CAUSALE_CGP0 FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = "
          "1) AS A ON  CGP0_CAUSALE = CGP7_CAUSALE_CGP0\r\n"
          "WHERE CGP7_CAUSALE_CGP0 IS NULL\r\n"
          "ORDER BY CGP0_CAUSALE\r\n"}},
        {"completionOf", {"300", "1", "2"},
         {"INSERT INTO CGP4_DUEBILFILTRI\r\n"
          "    (CGP4_CAUSALE_CGP0,\r\n"
          "     CGP4_IDCHECK_CGP2)\r\n"
          "SELECT CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "CROSS JOIN  CGP2_DUEBILCHECK\r\n"
          "LEFT OUTER JOIN (SELECT CGP4_DUEBILFILTRI.CGP4_CAUSALE_CGP0, CGP2_DUEBILCHECK.CGP2_ID\r\n"
          "                 FROM CGP2_DUEBILCHECK\r\n"
          "                 LEFT OUTER JOIN CGP4_DUEBILFILTRI ON CGP4_IDCHECK_CGP2 = CGP2_ID) AS A ON "
          "CGP0_DUEBILCAUSALI.CGP0_CAUSALE = A.CGP4_CAUSALE_CGP0 AND CGP2_DUEBILCHECK.CGP2_ID = A.CGP2_ID\r\n"
          "WHERE A.CGP4_CAUSALE_CGP0 IS NULL AND CGP0_CAUSALE = 300\r\n"
          "ORDER BY CGP0_DUEBILCAUSALI.CGP0_CAUSALE, CGP2_DUEBILCHECK.CGP2_ID\r\n",
          "INSERT INTO CGP5_DUEBILPARAM\r\n"
          "    (CGP5_CAUSALE_CGP0)\r\n"
          "SELECT CGP0_CAUSALE\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP5_CAUSALE_CGP0 FROM CGP5_DUEBILPARAM) AS A ON CGP0_CAUSALE = "
          "CGP5_CAUSALE_CGP0\r\n"
          "WHERE CGP5_CAUSALE_CGP0 IS NULL AND CGP0_CAUSALE = 300\r\n"
          "ORDER BY CGP0_CAUSALE\r\n",
          "INSERT INTO CGP6_DUEBILPARAMDITTA\r\n"
          "    (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0)\r\n"
          "SELECT 1, CGP0_CAUSALE\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 "
          "= 1) AS A ON  CGP0_CAUSALE = CGP6_CAUSALE_CGP0\r\n"
          "WHERE CGP6_CAUSALE_CGP0 IS NULL AND CGP0_CAUSALE = 300\r\n"
          "ORDER BY CGP0_CAUSALE\r\n",
          "INSERT INTO CGP7_DUEBILPERSREG\r\n"
          "(CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10)\r\n"
          "SELECT 1, CGP0_CAUSALE, 2\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "LEFT OUTER JOIN (SELECT DISTINCT CGP7_CAUSALE_CGP0 FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = "
          "1) AS A ON  CGP0_CAUSALE = CGP7_CAUSALE_CGP0\r\n"
          "WHERE CGP7_CAUSALE_CGP0 IS NULL AND CGP0_CAUSALE = 300\r\n"
          "ORDER BY CGP0_CAUSALE\r\n"}},
        {"completionProbe", {"1"},
         {"SELECT 0 AS P WHERE EXISTS (SELECT 1\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "WHERE (SELECT COUNT(*) FROM CGP4_DUEBILFILTRI\r\n"
          "       JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2\r\n"
          "       WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) < (SELECT COUNT(*) FROM CGP2_DUEBILCHECK))\r\n"
          "UNION ALL\r\n"
          "SELECT 1 AS P WHERE EXISTS (SELECT 1\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "WHERE NOT EXISTS (SELECT 1 FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = CGP0_CAUSALE))\r\n"
          "UNION ALL\r\n"
          "SELECT 2 AS P WHERE EXISTS (SELECT 1\r\n"
          "FROM (SELECT COUNT(*) AS N FROM CGP6_DUEBILPARAMDITTA\r\n"
          "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP6_CAUSALE_CGP0\r\n"
          "      WHERE CGP6_DITTA_CG18 = 1) AS P\r\n"
          "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI))\r\n"
          "UNION ALL\r\n"
          "SELECT 3 AS P WHERE EXISTS (SELECT 1\r\n"
          "FROM (SELECT COUNT(DISTINCT CGP7_CAUSALE_CGP0) AS N FROM CGP7_DUEBILPERSREG\r\n"
          "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP7_CAUSALE_CGP0\r\n"
          "      WHERE CGP7_DITTA_CG18 = 1) AS P\r\n"
          "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI))"}},
        {"completionProbes", {"1"},
         {"SELECT TOP 1 1\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "WHERE (SELECT COUNT(*) FROM CGP4_DUEBILFILTRI\r\n"
          "       JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2\r\n"
          "       WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) < (SELECT COUNT(*) FROM CGP2_DUEBILCHECK)",
          "SELECT TOP 1 1\r\n"
          "FROM CGP0_DUEBILCAUSALI\r\n"
          "WHERE NOT EXISTS (SELECT 1 FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = CGP0_CAUSALE)",
          "SELECT TOP 1 1\r\n"
          "FROM (SELECT COUNT(*) AS N FROM CGP6_DUEBILPARAMDITTA\r\n"
          "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP6_CAUSALE_CGP0\r\n"
          "      WHERE CGP6_DITTA_CG18 = 1) AS P\r\n"
          "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI)",
          "SELECT TOP 1 1\r\n"
          "FROM (SELECT COUNT(DISTINCT CGP7_CAUSALE_CGP0) AS N FROM CGP7_DUEBILPERSREG\r\n"
          "      JOIN CGP0_DUEBILCAUSALI ON CGP0_CAUSALE = CGP7_CAUSALE_CGP0\r\n"
          "      WHERE CGP7_DITTA_CG18 = 1) AS P\r\n"
          "WHERE P.N < (SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI)"}},
        {"insertNewCausal", {"400"},
         {"INSERT INTO CGP0_DUEBILCAUSALI (CGP0_CAUSALE, CGP0_DESCRIZIONE ) VALUES (400, '')"}},
        {"existsCausal", {"400"},
         {"SELECT TOP 1 CGP0_CAUSALE\r\n"
          "FROM CGP0_DUEBILCAUSALI WITH (NOLOCK)\r\n"
          "WHERE CGP0_CAUSALE = 400"}},
        {"duplication", {"401", "300", "1", "Copia dell'incasso"},
         {"INSERT INTO CGP0_DUEBILCAUSALI\r\n"
          " (CGP0_CAUSALE, CGP0_DESCRIZIONE) \r\n"
          "VALUES \r\n"
          "(401,\r\n"
          " N'Copia dell''incasso')",
          "INSERT INTO CGP3_DUEBILGRIGLIA \r\n"
          "(CGP3_CAUSALE_CGP0,\r\n"
          " CGP3_IDFIELD_CGP1,\r\n"
          " CGP3_VISIBLEORDER,\r\n"
          " CGP3_SORTTYPE,\r\n"
          " CGP3_GROUPED)\r\n"
          "(SELECT 401,\r\n"
          "        CGP3_IDFIELD_CGP1,\r\n"
          "        CGP3_VISIBLEORDER,\r\n"
          "        CGP3_SORTTYPE,\r\n"
          "        CGP3_GROUPED\r\n"
          " FROM CGP3_DUEBILGRIGLIA\r\n"
          " WHERE CGP3_CAUSALE_CGP0 = 300)",
          "INSERT INTO CGP4_DUEBILFILTRI \r\n"
          "(CGP4_CAUSALE_CGP0,\r\n"
          " CGP4_IDCHECK_CGP2,\r\n"
          " CGP4_CHECKED)\r\n"
          "(SELECT 401,\r\n"
          "        CGP4_IDCHECK_CGP2,\r\n"
          "        CGP4_CHECKED\r\n"
          " FROM CGP4_DUEBILFILTRI\r\n"
          " WHERE CGP4_CAUSALE_CGP0 = 300)",
          "INSERT INTO FW41_SELEZIONEPARAMSCADENZE \r\n"
          "(FW41_DITTA_CG18,\r\n"
          " FW41_UOBJECT,\r\n"
          " FW41_CODICE,\r\n"
          " FW41_INDTIPOPAG,\r\n"
          " FW41_SELEZIONATO,\r\n"
          " FW41_DATIPO,\r\n"
          " FW41_ALTIPO)\r\n"
          "(SELECT 1,\r\n"
          "        'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG',\r\n"
          "        401,\r\n"
          "        FW41_INDTIPOPAG,\r\n"
          "        FW41_SELEZIONATO,\r\n"
          "        FW41_DATIPO,\r\n"
          "        FW41_ALTIPO\r\n"
          " FROM FW41_SELEZIONEPARAMSCADENZE\r\n"
          " WHERE FW41_DITTA_CG18 = 1 AND\r\n"
          "       FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' AND\r\n"
          "       FW41_CODICE = 300)",
          "INSERT INTO CGP5_DUEBILPARAM \r\n"
          "(CGP5_CAUSALE_CGP0,\r\n"
          " CGP5_TIPOCAUSALE,\r\n"
          " CGP5_TIPOSCADENZA,\r\n"
          " CGP5_INDRECUPERO,\r\n"
          " CGP5_INDIMPMASSIMO,\r\n"
          " CGP5_INDIMPSCADENZA,\r\n"
          " CGP5_INDGESTABBUONI)\r\n"
          "(SELECT 401,\r\n"
          "        CGP5_TIPOCAUSALE,\r\n"
          "        CGP5_TIPOSCADENZA,\r\n"
          "        CGP5_INDRECUPERO,\r\n"
          "        CGP5_INDIMPMASSIMO,\r\n"
          "        CGP5_INDIMPSCADENZA,\r\n"
          "        CGP5_INDGESTABBUONI\r\n"
          " FROM CGP5_DUEBILPARAM\r\n"
          " WHERE CGP5_CAUSALE_CGP0 = 300)",
          "INSERT INTO CGP6_DUEBILPARAMDITTA \r\n"
          "(CGP6_DITTA_CG18,\r\n"
          " CGP6_CAUSALE_CGP0,\r\n"
          " CGP6_MESI,\r\n"
          " CGP6_DESCRAGGTESTATA,\r\n"
          " CGP6_MODIFICACONTI,\r\n"
          " CGP6_INDNUMDATADOC,\r\n"
          " CGP6_TIPOREGISTRAZIONE,\r\n"
          " CGP6_CREADISTINTA,\r\n"
          " CGP6_INDACCONTI,\r\n"
          " CGP6_DELTAIMPORTO,\r\n"
          " CGP6_INDNETTOPREVISIONALI,\r\n"
          " CGP6_CAUSALECOMPCLI_CGP0,\r\n"
          " CGP6_CAUSALECOMPFOR_CGP0,\r\n"
          " CGP6_INDVISANTEPRIMA,\r\n"
          " CGP6_INDPAGVALUTA)\r\n"
          "(SELECT 1,\r\n"
          "        401,\r\n"
          "        CGP6_MESI,\r\n"
          "        CGP6_DESCRAGGTESTATA,\r\n"
          "        CGP6_MODIFICACONTI,\r\n"
          "        CGP6_INDNUMDATADOC,\r\n"
          "        CGP6_TIPOREGISTRAZIONE,\r\n"
          "        CGP6_CREADISTINTA,\r\n"
          "        CGP6_INDACCONTI,\r\n"
          "        CGP6_DELTAIMPORTO,\r\n"
          "        CGP6_INDNETTOPREVISIONALI,\r\n"
          "        CGP6_CAUSALECOMPCLI_CGP0,\r\n"
          "        CGP6_CAUSALECOMPFOR_CGP0,\r\n"
          "        CGP6_INDVISANTEPRIMA,\r\n"
          "        CGP6_INDPAGVALUTA\r\n"
          " FROM CGP6_DUEBILPARAMDITTA\r\n"
          " WHERE CGP6_DITTA_CG18 = 1 AND\r\n"
          "       CGP6_CAUSALE_CGP0 = 300)",
          "INSERT INTO CGP7_DUEBILPERSREG \r\n"
          "(CGP7_DITTA_CG18,\r\n"
          " CGP7_CAUSALE_CGP0,\r\n"
          " CGP7_GRUPPO_CG10,\r\n"
          " CGP7_CAUSALECOGE_CG33,\r\n"
          " CGP7_CONTODARE_CG24,\r\n"
          " CGP7_CONTOAVERE_CG24,\r\n"
          " CGP7_INDDETTREGIST,\r\n"
          " CGP7_INDDETTRIGACONT,\r\n"
          " CGP7_CAUSALEABB_CG33,\r\n"
          " CGP7_CONTOABBATTIVI_CG24,\r\n"
          " CGP7_CONTOABBPASSIVI_CG24,\r\n"
          " CGP7_TESTORIGA,\r\n"
          " CGP7_INDPAGRITENUTE,\r\n"
          " CGP7_CONDPAGACCONTI_CG62,\r\n"
          " CGP7_SEZIONALEACCONTI_CG68,\r\n"
          " CGP7_INDDESCRCP)\r\n"
          "(SELECT 1,\r\n"
          "        401,\r\n"
          "        CGP7_GRUPPO_CG10,\r\n"
          "        CGP7_CAUSALECOGE_CG33,\r\n"
          "        CGP7_CONTODARE_CG24,\r\n"
          "        CGP7_CONTOAVERE_CG24,\r\n"
          "        CGP7_INDDETTREGIST,\r\n"
          "        CGP7_INDDETTRIGACONT,\r\n"
          "        CGP7_CAUSALEABB_CG33,\r\n"
          "        CGP7_CONTOABBATTIVI_CG24,\r\n"
          "        CGP7_CONTOABBPASSIVI_CG24,\r\n"
          "        CGP7_TESTORIGA,\r\n"
          "        CGP7_INDPAGRITENUTE,\r\n"
          "        CGP7_CONDPAGACCONTI_CG62,\r\n"
          "        CGP7_SEZIONALEACCONTI_CG68,\r\n"
          "        CGP7_INDDESCRCP\r\n"
          " FROM CGP7_DUEBILPERSREG\r\n"
          " WHERE CGP7_DITTA_CG18 = 1 AND\r\n"
          "       CGP7_CAUSALE_CGP0 = 300)",
          "INSERT INTO CGP8_DUEBILREVOKE \r\n"
          "(CGP8_CAUSALE_CGP0,\r\n"
          " CGP8_ID_FW06,\r\n"
          " CGP8_ID_FW07)\r\n"
          "(SELECT 401,\r\n"
          "        CGP8_ID_FW06,\r\n"
          "        CGP8_ID_FW07\r\n"
          " FROM CGP8_DUEBILREVOKE\r\n"
          " WHERE CGP8_CAUSALE_CGP0 = 300)"}},
        {"compensationUse", {"300"},
         {"SELECT TOP (1) CGP6_DITTA_CG18, \r\n"
          "               CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA\r\n"
          "WHERE CGP6_CAUSALECOMPCLI_CGP0 = 300 OR\r\n"
          "      CGP6_CAUSALECOMPFOR_CGP0 = 300"}},
        {"cascadeDeleteBeforeSelection", {"300"},
         {"DELETE FROM CGP8_DUEBILREVOKE\r\n"
          "WHERE CGP8_CAUSALE_CGP0 = 300",
          "DELETE FROM CGP5_DUEBILPARAM\r\n"
          "WHERE CGP5_CAUSALE_CGP0 = 300",
          "DELETE FROM CGP6_DUEBILPARAMDITTA\r\n"
          "WHERE CGP6_CAUSALE_CGP0 = 300",
          "DELETE FROM CGP7_DUEBILPERSREG\r\n"
          "WHERE CGP7_CAUSALE_CGP0 = 300",
          "DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300",
          "DELETE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"}},
        {"deleteSelection", {"300"},
         {"DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' "
          "AND FW41_CODICE = 300"}},
        {"cascadeDeleteAfterSelection", {"300"},
         {"DELETE FROM FW17_ORDERPRS WHERE FW17_UOBJECT = 'CGUO_DUEBIL.CLSCG_DUEBIL_300'",
          "DELETE FROM FW18_SELEZIONEPRS WHERE FW18_UOBJECT = 'CGUO_DUEBIL.CLSCG_DUEBIL_300'"}},
        {"deleteCausalRow", {"300"},
         {"DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300"}},
        {"settingGestStatiDisable", {},
         {"SELECT TOP 1 FW95_VALORE FROM FW95_SETTINGS WITH (NOLOCK) WHERE FW95_CODICE = 'GEST_STATI_DISABLE'"}},
        {"defaultChecks", {"CGP2_DEFAULTINCASSI", "300", "1"},
         {"UPDATE CGP4_DUEBILFILTRI \r\n"
          "SET CGP4_CHECKED = (SELECT CGP2_DEFAULTINCASSI\r\n"
          "                    FROM CGP2_DUEBILCHECK \r\n"
          "                    WHERE CGP2_ID = CGP4_IDCHECK_CGP2)\r\n"
          "WHERE CGP4_CAUSALE_CGP0 = 300\r\n"}},
        {"defaultChecks", {"CGP2_DEFAULTINCASSI", "300", "0"},
         {"UPDATE CGP4_DUEBILFILTRI \r\n"
          "SET CGP4_CHECKED = (SELECT CGP2_DEFAULTINCASSI\r\n"
          "                    FROM CGP2_DUEBILCHECK \r\n"
          "                    WHERE CGP2_ID = CGP4_IDCHECK_CGP2)\r\n"
          "WHERE CGP4_CAUSALE_CGP0 = 300\r\n"
          "  AND CGP4_IDCHECK_CGP2 NOT IN (3,4,5,6,7, 25, 26, 27, 28, 29, 30, 31, 32)"}},
        {"causalWithWithholding", {"300"},
         {"SELECT TOP 1 1\r\n"
          "FROM CGP4_DUEBILFILTRI\r\n"
          "WHERE CGP4_CAUSALE_CGP0 = 300 AND\r\n"
          "      CGP4_IDCHECK_CGP2 = 30 AND\r\n"
          "      CGP4_CHECKED = 1"}},
        {"updateCheck", {"300", "30", "1"},
         {"UPDATE CGP4_DUEBILFILTRI SET \r\n"
          "       CGP4_CHECKED = 1\r\n"
          "WHERE CGP4_CAUSALE_CGP0 = 300 AND\r\n"
          "      CGP4_IDCHECK_CGP2 = 30"}},
        {"updateCheckFrom", {"300", "30", "1", "0"},
         {"UPDATE CGP4_DUEBILFILTRI SET \r\n"
          "       CGP4_CHECKED = 1\r\n"
          "WHERE CGP4_CAUSALE_CGP0 = 300 AND\r\n"
          "      CGP4_IDCHECK_CGP2 = 30 AND\r\n"
          "      ISNULL(CGP4_CHECKED, 0) = 0"}},
        {"causalList", {},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) ORDER BY CGP0_CAUSALE"}},
        {"causalDecode", {"300"},
         {"SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) WHERE CGP0_CAUSALE = 300"}},
        {"causalDecode", {"30a"},
         {"SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) WHERE CGP0_CAUSALE = NULL"}},
        {"ledgerCausalList", {},
         {"SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU WITH (NOLOCK) ORDER BY CG33_CODICE"}},
        {"ledgerCausalDecode", {"I'1"},
         {"SELECT CG33_CODICE, CG33_DESCR, CG33_INDTIPOREG, CG33_FLGACCONTO, CG33_FLGECONTO, CG33_FLGPORTAF, "
          "CG33_INDGESTEC, CG33_FLGINSOLUTI FROM CG33_TABCAU WHERE CG33_CODICE = 'I''1'"}},
        {"onlyUnpaidLedgerCausals", {"SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU WITH (NOLOCK) order by cg33_codice"},
         {"SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU WITH (NOLOCK)  WHERE CG33_FLGINSOLUTI = 4  ORDER BY "
          "CG33_CODICE "}},
        {"extractionCausalList", {"1"},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN "
          "CGP5_DUEBILPARAM WITH (NOLOCK) ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP5_TIPOCAUSALE = 1 ORDER "
          "BY CGP0_CAUSALE"}},
        {"extractionCausalList", {"2"},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN "
          "CGP5_DUEBILPARAM WITH (NOLOCK) ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP5_TIPOCAUSALE = 2 ORDER "
          "BY CGP0_CAUSALE"}},
        {"extractionCausalDecode", {"1", "310"},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN "
          "CGP5_DUEBILPARAM WITH (NOLOCK) ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP5_TIPOCAUSALE = 1 AND "
          "CGP0_CAUSALE = 310"}},
        {"extractionCausalDecode", {"2", "x"},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN "
          "CGP5_DUEBILPARAM WITH (NOLOCK) ON CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP5_TIPOCAUSALE = 2 AND "
          "CGP0_CAUSALE = NULL"}},
        {"paymentTermsList", {},
         {"SELECT CG62_CODICE, CG62_DESCR FROM CG62_CONDPAG WITH (NOLOCK) ORDER BY CG62_CODICE"}},
        {"paymentTermsDecode", {"RB  "},
         {"SELECT CG62_CODICE, CG62_DESCR FROM CG62_CONDPAG WITH (NOLOCK) WHERE CG62_CODICE = 'RB'"}},
        {"numberingSectionList", {"1"},
         {"SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC(NULL, 1) ORDER BY CG68_SEZIONALE"}},
        {"accountList", {"1"},
         {"SELECT CG24_CODICE, CG24_DESCR FROM CG24_PIANOCONTI WITH (NOLOCK) WHERE CG24_GRUPPO_CG10 = 1 ORDER "
          "BY CG24_CODICE"}},
        {"accountDecode", {"1", "180101"},
         {"SELECT CG24_CODICE, CG24_DESCR, CASE WHEN CG24_FLGANALITICO = 1 THEN 1 END AS ID FROM "
          "CG24_PIANOCONTI WITH (NOLOCK) WHERE CG24_GRUPPO_CG10 = 1 AND CG24_CODICE = '180101'"}},
        {"groupList", {},
         {"SELECT FW06_CODICE, FW06_DESCR, FW06_ID FROM FW06_GROUPUSR"}},
        {"groupDecode", {" 7 "},
         {"SELECT FW06_DESCR FROM FW06_GROUPUSR WHERE FW06_ID = 7"}},
        {"userList", {},
         {"SELECT FW07_CODICE, FW07_DESCR, FW07_ID FROM FW07_APPUSER WHERE FW07_FLGATTIVO=1"}},
        {"userDecode", {"x7"},
         {"SELECT FW07_DESCR FROM FW07_APPUSER WHERE FW07_ID = NULL"}},
        {"groupColumn", {"FW06_CODICE", "7"},
         {"SELECT FW06_CODICE FROM FW06_GROUPUSR WHERE FW06_ID = 7"}},
        {"userColumn", {"FW07_USERNAME", "3"},
         {"SELECT FW07_USERNAME FROM FW07_APPUSER WHERE FW07_ID = 3"}},
        {"paymentTermsWithBills", {"RB"},
         {"SELECT TOP(1) 1 FROM CG63_CONDPAGDET\r\n"
          "WHERE CG63_CODPAG_CG62 = 'RB' AND \r\n"
          "      CG63_TIPOEFF IN (1,13,14)"}},
        {"sectionExists", {"A", "1"},
         {"SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC('A ', 1) "}},
        {"sectionExists", {"A1X", ""},
         {"SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC('A1', 0) "}},
        {"extractionCausalOfKind", {"310", "2"},
         {"SELECT TOP 1 CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) INNER JOIN CGP5_DUEBILPARAM ON "
          "CGP5_CAUSALE_CGP0 = CGP0_CAUSALE WHERE CGP0_CAUSALE = 310 AND CGP5_TIPOCAUSALE = 2"}},
        {"accountPostable", {"1", "180101"},
         {"SELECT CG24_FLGANALITICO FROM CG24_PIANOCONTI WHERE CG24_GRUPPO_CG10 = 1 AND CG24_CODICE = '180101'"}},
        {"accountPostable", {"", "18"},
         {"SELECT CG24_FLGANALITICO FROM CG24_PIANOCONTI WHERE CG24_GRUPPO_CG10 = 0 AND CG24_CODICE = '18'"}},
        {"causalCodes", {},
         {"SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) ORDER BY CGP0_CAUSALE"}},
        {"parametersOf", {"300"},
         {"SELECT * FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300"}},
        {"companyParametersOf", {"300"},
         {"SELECT * FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 ORDER BY CGP6_DITTA_CG18"}},
        {"postingPersonalisationOf", {"300", "1"},
         {"SELECT CGP7_DUEBILPERSREG.*, CG18_GRUPPO_CG10 FROM CGP7_DUEBILPERSREG LEFT OUTER JOIN CG18_DITTE ON "
          "CG18_CODICE = CGP7_DITTA_CG18 WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1"}},
        {"fieldCatalogue", {},
         {"SELECT * FROM CGP1_DUEBILFIELD ORDER BY CGP1_ID"}},
        {"fieldId", {"CGP9_SCADENZE", "IMPORTO'X"},
         {"SELECT CGP1_ID FROM CGP1_DUEBILFIELD WHERE CGP1_TABLE = 'CGP9_SCADENZE' AND CGP1_FIELD ='IMPORTO''X'"}},
        {"fieldTable", {"IMPORTO"},
         {"SELECT CGP1_TABLE FROM CGP1_DUEBILFIELD WHERE CGP1_FIELD ='IMPORTO'"}},
        {"deleteLayout", {"300"},
         {"DELETE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"}},
        {"insertLayoutRow", {"300", "12", "2", "1", "0"},
         {"INSERT INTO CGP3_DUEBILGRIGLIA\r\n"
          "         (CGP3_CAUSALE_CGP0\r\n"
          "         ,CGP3_IDFIELD_CGP1\r\n"
          "         ,CGP3_VISIBLEORDER\r\n"
          "         ,CGP3_SORTTYPE\r\n"
          "         ,CGP3_GROUPED)\r\n"
          "   VALUES\r\n"
          "         (300\r\n"
          "         ,12\r\n"
          "         ,2\r\n"
          "         ,1\r\n"
          "         ,0)"}},
        {"layoutRows", {"300"},
         {"SELECT CGP3_IDFIELD_CGP1, CGP3_VISIBLEORDER, CGP3_SORTTYPE, CGP3_GROUPED FROM CGP3_DUEBILGRIGLIA "
          "WHERE CGP3_CAUSALE_CGP0 = 300"}},
        {"rowsOfCausal", {"CGP5_DUEBILPARAM", "CGP5_CAUSALE_CGP0", "300", "", "", ""},
         {"SELECT * FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300"}},
        {"rowsOfCausal", {"CGP6_DUEBILPARAMDITTA", "CGP6_CAUSALE_CGP0", "300", "CGP6_DITTA_CG18", "1", "CGP6_DITTA_CG18"},
         {"SELECT * FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1 ORDER BY "
          "CGP6_DITTA_CG18"}},
        {"rowsOfCausal",
         {"FW41_SELEZIONEPARAMSCADENZE", "FW41_CODICE", "300", "FW41_DITTA_CG18", "1", "FW41_DITTA_CG18, FW41_INDTIPOPAG"},
         {"SELECT * FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 300 AND FW41_UOBJECT = "
          "'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' AND FW41_DITTA_CG18 = 1 ORDER BY FW41_DITTA_CG18, "
          "FW41_INDTIPOPAG"}},
        {"accessUsers", {},
         {"SELECT FW07_ID, FW07_USERNAME, FW07_DESCR, FW07_FLGATTIVO FROM FW07_APPUSER ORDER BY FW07_USERNAME"}},
        {"accessGroups", {}, {"SELECT FW06_ID, FW06_CODICE FROM FW06_GROUPUSR"}},
        {"groupMemberships", {"FW07_APPUSER", "FW07_ID", "FW07_ID_FW06"},
         {"SELECT FW07_ID AS MEMBRO_UTENTE, FW07_ID_FW06 AS MEMBRO_GRUPPO FROM FW07_APPUSER WHERE FW07_ID_FW06 IS NOT NULL"}},
        {"exclusionsOf", {"300"},
         {"SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 "
          "= 300"}},
        {"exclusionsOf", {""},
         {"SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE"}},
        {"causalDescription", {"300"},
         {"SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300"}},
        {"causalsInOrder", {},
         {"SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE"}},
        {"showCompanyParameters", {"300"},
         {"SELECT * FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 ORDER BY CGP6_DITTA_CG18"}},
        {"showPostingRows", {"300"},
         {"SELECT * FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 ORDER BY CGP7_DITTA_CG18, CGP7_GRUPPO_CG10"}},
        {"showDueDateSelection", {"300"},
         {"SELECT * FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' "
          "AND FW41_CODICE = 300 ORDER BY FW41_DITTA_CG18, FW41_INDTIPOPAG"}},
        {"rowCount", {"CGP4_DUEBILFILTRI"}, {"SELECT COUNT(*) AS N FROM CGP4_DUEBILFILTRI"}},
        {"companyGroup", {"2"}, {"SELECT CG18_GRUPPO_CG10 FROM CG18_DITTE WHERE CG18_CODICE = 2"}},
        {"causalRow", {"300"}, {"SELECT * FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300"}},
        {"setCausalDescription", {"300", "Incasso d'aprile"},
         {"UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = N'Incasso d''aprile' WHERE CGP0_CAUSALE = 300"}},
        {"catalogueKeys", {"CGP2_DUEBILCHECK", "CGP2_ID"}, {"SELECT CGP2_ID AS K FROM CGP2_DUEBILCHECK"}},
        {"catalogueNames", {"FW07_APPUSER", "FW07_ID", "FW07_USERNAME"},
         {"SELECT FW07_ID AS K, FW07_USERNAME AS N FROM FW07_APPUSER"}},
        {"noRowsOf", {"CGP5_DUEBILPARAM"}, {"SELECT * FROM CGP5_DUEBILPARAM WHERE 1 = 0"}},
        {"insertRow", {"CGP8_DUEBILREVOKE", "CGP8_CAUSALE_CGP0", "CGP8_ID_FW06", "CGP8_ID_FW07"},
         {"INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07) VALUES (?, ?, ?)"}},
        {"deleteRowsOfCausal", {"CGP6_DUEBILPARAMDITTA", "CGP6_CAUSALE_CGP0", "300"},
         {"DELETE FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"}},
        {"deleteRowsOfCausal", {"FW41_SELEZIONEPARAMSCADENZE", "FW41_CODICE", "300"},
         {"DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 300 AND FW41_UOBJECT = "
          "'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG'"}},
        {"deleteRowsOfCausal", {"FW41_SELEZIONEPARAMSCADENZE", "FW41_CODICE", "300", "FW41_DITTA_CG18", "2"},
         {"DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 300 AND FW41_UOBJECT = "
          "'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' AND FW41_DITTA_CG18 = 2"}},
        {"historyInsert", {"1"},
         {"INSERT INTO CGPL_DUEBILSTORICO (CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, "
          "CGPL_INDOPERAZIONE, CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI) VALUES (?, ?, ?, ?, "
          "?, ?, ?, ?, ?)"}},
        {"historyInsert", {"2"},
         {"INSERT INTO CGPL_DUEBILSTORICO (CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, "
          "CGPL_INDOPERAZIONE, CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI) VALUES (?, ?, ?, ?, "
          "?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?, ?, ?)"}},
        {"historyRead", {"0", "0"},
         {"SELECT CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE, "
          "CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI FROM CGPL_DUEBILSTORICO WHERE 1 = 1 ORDER "
          "BY CGPL_ID DESC"}},
        {"historyRead", {"1", "1"},
         {"SELECT CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE, "
          "CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI FROM CGPL_DUEBILSTORICO WHERE 1 = 1 AND "
          "CGPL_CAUSALE_CGP0 = ? AND CGPL_DATAORA >= ? ORDER BY CGPL_ID DESC"}},

    };
    return all;
}

} // namespace StatementGoldens
