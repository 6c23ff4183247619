#pragma once

#include "connection.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QList>
#include <QString>
#include <QStringList>

class TextStore;

// Causals carried from one database to another as a JSON document: the causal row and every
// row of its configuration tables and of its due-date selection, column names as keys.
// An import is whole or nothing: every causal of the file is checked and written in one
// transaction, and the rows are checked against the target's ledger with the same rules the
// window applies to its fields, so a causal whose ledger codes the target does not know is refused.
class CausalExchange
{
public:
    static inline const QString Format = QStringLiteral("duebilconfig-causali");
    static constexpr int Version = 1;

    enum class Result { Added, Replaced, Refused };
    struct Outcome
    {
        QString code;
        Result result = Result::Refused;
        QString reason;      // Italian, for a refused causal
    };
    struct ImportReport
    {
        bool written = false;
        QString error;       // Italian, for a file refused as a whole
        QList<Outcome> causals;
    };

    CausalExchange(ado::ConnectionPtr connection, const TextStore &texts);

    // Every causal when codes is empty; company restricts the per-company rows (empty: all).
    // Codes must be existing causals in the window's format. Throws ado::AdoError.
    QJsonDocument exportCausals(const QStringList &codes, const QString &company = {}) const;

    // userName decides whether the reserved codes below 300 may be imported.
    ImportReport importCausals(const QByteArray &json, bool replace, const QString &userName);

private:
    struct Causal;
    bool readCausal(const QJsonObject &object, const QString &userName, bool replace, Causal *causal,
                    QString *reason) const;
    QString write(const Causal &causal) const;
    QString ledgerRefusal(const QString &code) const;

    ado::ConnectionPtr m_connection;
    const TextStore &m_texts;
};
