#pragma once

#include <QString>
#include <QStringList>

// The statement texts of the configuration, composed as the host's server expects them:
// causal, company and id values bare, ledger codes in quotes, typed text already escaped and
// written as N'..', clauses joined by CR LF. Values are passed as the caller read them.
namespace DueBilStatements {

inline constexpr char16_t crlf[] = u"\r\n";
inline const QString UObjectConfig = QStringLiteral("CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG");
inline const QString UObjectSibling = QStringLiteral("CGUO_DUEBIL.CLSCG_DUEBIL_");

// Lines joined by CR LF, the last one without (a trailing CR LF is passed as an empty line).
QString lines(const QStringList &parts);

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

QString insertNewCausal(const QString &code);
QString existsCausal(const QString &code);
// Copy of a causal: the causal row, layout, checks, due-date selection, parameters, company
// parameters, posting personalisation and exclusions, in this order.
QStringList duplication(const QString &newCode, const QString &source, const QString &company,
                        const QString &escapedDescription);

QString compensationUse(const QString &code);
// Rows of a causal in every table but the causal row itself, which its frame deletes. The
// due-date selection rows come between the layout and the sibling's personalisation rows.
QStringList cascadeDeleteBeforeSelection(const QString &code);
QString deleteSelection(const QString &code);
QStringList cascadeDeleteAfterSelection(const QString &code);
QString deleteCausalRow(const QString &code);

QString settingGestStatiDisable();

// Default check states of an operation type copied onto a causal; without all, the checks
// the user sets for himself keep their states.
QString defaultChecks(const QString &defaultColumn, const QString &causal, bool all);
QString causalWithWithholding(const QString &code);

} // namespace DueBilStatements
