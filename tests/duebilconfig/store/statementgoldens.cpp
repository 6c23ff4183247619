#include "statementgoldens.h"

#include "store/duebilstatements.h"

#include <QFile>
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
        {"ledgerCausalAttributes", [](const QStringList &a) { return one(S::ledgerCausalAttributes(a.value(0))); }},
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
    static const QList<Golden> all = [] {
        QFile file(QStringLiteral(DUEBIL_STATEMENT_GOLDENS));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("cannot read the golden statements in %s", DUEBIL_STATEMENT_GOLDENS);
        QList<Golden> read;
        QList<QStringList> lines;  // the lines of each statement of the current row
        const auto close = [&] {
            if (!read.isEmpty())
                for (const QStringList &statement : std::as_const(lines))
                    read.last().expected << statement.join(QStringLiteral("\r\n"));
            lines = {{}};
        };
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            if (line == QLatin1String("--")) {
                lines.append(QStringList());
            } else if (line.startsWith(QLatin1Char('|'))) {
                lines.last() << line.mid(1);
            } else {
                close();
                QStringList fields = line.split(QLatin1Char('\t'));
                read.append({fields.takeFirst(), fields, {}});
            }
        }
        close();
        if (read.size() < 100)
            qFatal("only %lld golden statements in %s", qlonglong(read.size()), DUEBIL_STATEMENT_GOLDENS);
        return read;
    }();
    return all;
}

} // namespace StatementGoldens
