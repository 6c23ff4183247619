#pragma once

#include <QString>
#include <QVariant>
#include <QStringList>

// The statement texts of the configuration, composed as the host's server expects them:
// causal, company and id values bare, ledger codes and typed text quoted and escaped here
// (typed text written as N'..'), clauses joined by CR LF. Values are passed as the caller read
// them. Every statement the module runs is composed in this file and nowhere else.
namespace DueBilStatements {

inline constexpr char16_t crlf[] = u"\r\n";
inline const QString UObjectConfig = QStringLiteral("CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG");
inline const QString UObjectSibling = QStringLiteral("CGUO_DUEBIL.CLSCG_DUEBIL_");

// Lines joined by CR LF, the last one without (a trailing CR LF is passed as an empty line).
QString lines(const QStringList &parts);
// A text between single quotes, its own quotes doubled: the only way a code or a typed text
// reaches a statement.
QString quoted(const QString &text);
// An id or causal code written bare; a text that is no whole number names nothing, so it is
// written as NULL and matches no row.
QString bareNumber(const QString &text);

// Frames as first opened, before a causal is shown.
QString frameCausali();
QString frameLayout();
QString frameFiltri();
QString frameParametri();
QString frameParametriDitta();
QString frameParamPersReg();
QString frameUtenti();

// Child rows of one causal (company for the two per-company frames).
QString showLayout(const QString &causal);
QString showFiltri(const QString &causal);
QString showParametri(const QString &causal);
QString showParametriDitta(const QString &company, const QString &causal);
QString showParamPersReg(const QString &company, const QString &causal);
QString showUtenti(const QString &causal);
QString clearLayout();
QString clearFiltri();
QString clearParametri();
QString clearParametriDitta();
QString clearParamPersReg();
QString clearUtenti();

// The four set-based inserts that give every causal its missing rows.
QStringList completion(const QString &company, const QString &group);
// The same completion for one causal only, for work that must not touch the other causals.
QStringList completionOf(const QString &causal, const QString &company, const QString &group);
// For each completion statement, in the same order, an indexed existence test that returns a
// row only when that statement has something to add.
QStringList completionProbes(const QString &company);
// The tests above in one statement: a row for each completion statement that has rows to add,
// its position in column P.
QString completionProbe(const QString &company);

QString insertNewCausal(const QString &code);
QString existsCausal(const QString &code);
// Copy of a causal: the causal row, then every table of its configuration and its due-date
// selection in the copy's order (ModuleTables).
QStringList duplication(const QString &newCode, const QString &source, const QString &company,
                        const QString &description);
// The one parameter column the copy does not take from its source: the copy has its default.
inline const QString UncopiedParameter = QStringLiteral("CGP5_CREADISTINTA");
inline const QVariant UncopiedParameterDefault = qlonglong(0);

QString compensationUse(const QString &code);
// Rows of a causal in every table but the causal row itself, which its frame deletes, in the
// delete's order (ModuleTables). The due-date selection rows come between the layout and the
// sibling's personalisation rows.
QStringList cascadeDeleteBeforeSelection(const QString &code);
QString deleteSelection(const QString &code);
QStringList cascadeDeleteAfterSelection(const QString &code);
QString deleteCausalRow(const QString &code);

QString settingGestStatiDisable();

// Default check states of an operation type copied onto a causal; without all, the checks
// the user sets for himself keep their states.
QString defaultChecks(const QString &defaultColumn, const QString &causal, bool all);
QString causalWithWithholding(const QString &code);
// The write of one check box.
QString updateCheck(const QString &causal, int check, int value);

// Look-up lists and decodes of the code fields. A decode reads the code's description.
QString causalList();
QString causalDecode(const QString &code);
QString ledgerCausalList();
QString ledgerCausalDecode(const QString &code);
// A ledger-causal list narrowed to the causals of unpaid bills.
QString onlyUnpaidLedgerCausals(const QString &listStatement);
// Causals of this module of one kind: 1 collections from customers, 2 payments to suppliers.
QString extractionCausalList(int kind);
QString extractionCausalDecode(int kind, const QString &code);
QString paymentTermsList();
// Trailing blanks of the code are not part of it.
QString paymentTermsDecode(const QString &code);
QString numberingSectionList(const QString &company);
QString accountList(const QString &group);
QString accountDecode(const QString &group, const QString &code);
QString groupList();
QString groupDecode(const QString &id);
QString userList();
QString userDecode(const QString &id);
// One column of a group or a user, by id, for the exclusion grid.
QString groupColumn(const QString &column, const QString &id);
QString userColumn(const QString &column, const QString &id);

// Ledger records the parameters refer to.
QString ledgerCausalAttributes(const QString &code);
QString paymentTermsWithBills(const QString &code);
// The section is looked up by its first two characters; an empty company is company 0.
QString sectionExists(const QString &code, const QString &company);
QString extractionCausalOfKind(const QString &code, int kind);
// An empty group is group 0.
QString accountPostable(const QString &group, const QString &code);

// Stored parameters of a causal, for the checks of the stored configuration and the tool's
// show (every company's rows).
QString causalCodes();
QString parametersOf(const QString &causal);
QString companyParametersOf(const QString &causal);
QString postingPersonalisationOf(const QString &causal, const QString &company);

// Field catalogue and layout grid.
QString fieldCatalogue();
QString fieldId(const QString &table, const QString &field);
QString fieldTable(const QString &field);
QString deleteLayout(const QString &causal);
QString insertLayoutRow(const QString &causal, int field, int visibleOrder, int sortType, int grouped);
QString layoutRows(const QString &causal);

// Rows of one causal in one of its tables; the due-date selection is read for this module's
// object only. An empty company column reads every company; an empty order leaves it out.
QString rowsOfCausal(const QString &table, const QString &causalColumn, const QString &code,
                     const QString &companyColumn, const QString &company, const QString &orderBy);

// Who may use which causal: the users, the groups, and which user belongs to which group, read
// from a table and two columns the caller names (checked identifiers, never typed text).
QString accessUsers();
QString accessGroups();
QString groupMemberships(const QString &table, const QString &userColumn, const QString &groupColumn);
// The exclusions of one causal, or of every causal for an empty code.
QString exclusionsOf(const QString &code);
QString causalDescription(const QString &code);
QString causalsInOrder();

// The command-line tool's: what "show" lists of a causal, what a completion may add, the
// company's account group, the causal row, its description, the export and the import.
QString showPostingRows(const QString &code);
QString showDueDateSelection(const QString &code);
QString rowCount(const QString &table);
QString companyGroup(const QString &company);
QString causalRow(const QString &code);
QString setCausalDescription(const QString &code, const QString &description);
QString catalogueKeys(const QString &table, const QString &column);
QString catalogueNames(const QString &table, const QString &keyColumn, const QString &nameColumn);  // K, N
QString noRowsOf(const QString &table);
QString insertRow(const QString &table, const QStringList &columns);  // one ? a column
// With a company column, only that company's rows.
QString deleteRowsOfCausal(const QString &table, const QString &causalColumn, const QString &code,
                           const QString &companyColumn = {}, const QString &company = {});

// Change history, with bound values: recorded rows, nine values each, in one statement
// (SQL Server takes at most 2100 values: HistoryRowsPerInsert rows), and the rows read back
// (by causal and from a time when asked).
inline const QString HistoryTable = QStringLiteral("CGPL_DUEBILSTORICO");
inline constexpr int HistoryRowsPerInsert = 200;
QString historyInsert(int rows = 1);
QString historyRead(bool byCausal, bool since);

} // namespace DueBilStatements
