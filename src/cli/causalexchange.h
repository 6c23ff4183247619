#pragma once

#include "ado/connection.h"
#include "causals/causalconfiguration.h"
#include "params/parametercontrols.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QList>
#include <QString>
#include <QStringList>

class TextStore;

// Causals carried from one database to another as a JSON document: the causal row and every
// row of its configuration tables and of its due-date selection, column names as keys.
// An import is whole or nothing: every value is checked against its column (type, size, the
// window's limits, the catalogue or host table it names) and every row against the window's
// rules before anything is written; then every causal of the file is written in one
// transaction, completed with the rows the window's completion would give it, and checked
// against the target's ledger with the rules of the window's fields.
class CausalExchange
{
public:
    static inline const QString Format = QStringLiteral("duebilconfig-causali");
    static constexpr int Version = 1;
    // No message repeats more of a value read from the file than this.
    static constexpr int EchoLimit = 80;

    enum class Result { Added, Replaced, Refused };
    struct Outcome
    {
        QString code;        // as the file gives it, shortened for messages
        Result result = Result::Refused;
        QString reason;      // Italian, for a refused causal
        QList<QPair<QString, int>> completed;              // table, rows the completion added
        QList<CausalConfiguration::Change> changes;        // replaced causal, trial run only
        int history = 0;                                   // rows of its change history stored
        QStringList corrected;   // values imported as the window saves them for the operation type
    };
    struct ImportReport
    {
        bool written = false;     // committed (never on a trial run)
        bool acceptable = false;  // every causal passed and every statement ran
        QString error;            // Italian, for a file or a database refused as a whole
        QString company;          // the one company the file carries; empty: every company
        QList<Outcome> causals;
    };
    struct ImportOptions
    {
        bool replace = false;
        bool dryRun = false;      // everything a real import does, then rolled back
        QString userName;         // decides whether the reserved codes below 300 may be imported
        QString company;          // the completion's company and group
        QString group;
        bool withHistory = false; // the causals' change history too, when the file carries it
    };

    CausalExchange(ado::ConnectionPtr connection, const TextStore &texts);

    // Every causal when codes is empty; company restricts the per-company rows (empty: all),
    // and the document says so: its import replaces only that company's rows.
    // Codes must be existing causals in the window's format. Throws ado::AdoError.
    // With the history, each causal carries its rows of the change history.
    QJsonDocument exportCausals(const QStringList &codes, const QString &company = {}, bool withHistory = false) const;

    ImportReport importCausals(const QByteArray &json, const ImportOptions &options);

    // Stored or imported texts reach a terminal: control characters (and the marks that
    // reorder text) are shown as escapes, never sent as they are; a backslash is doubled so
    // that an escape is never ambiguous.
    static QString printable(const QString &text);
    // The text made printable and shortened to EchoLimit characters, for messages that repeat
    // the input.
    static QString echo(const QString &text);

private:
    struct Causal;
    struct References;
    bool readCausal(const QJsonObject &object, const ImportOptions &options, References &references, Causal *causal,
                    QString *reason) const;
    bool resolveExclusion(QJsonObject &row, References &references, QString *reason) const;
    // An exclusion's change names its group or user beside the id, as the target knows them.
    void nameExclusions(QList<CausalConfiguration::Change> &changes, References &references) const;
    bool screenCheck(Causal *causal, bool stateManagementDisabled, QString *reason) const;
    bool codeExists(const ParameterControls::Control &control, const QString &code, const QString &company) const;
    QString write(const Causal &causal) const;
    QList<QPair<QString, int>> complete(const Causal &causal, const ImportOptions &options) const;
    QString ledgerRefusal(const QString &code) const;

    ado::ConnectionPtr m_connection;
    const TextStore &m_texts;
};
