#include "causalaccess.h"

#include "duebilstatements.h"
#include "recordset.h"

#include <QHash>
#include <algorithm>

namespace {

std::optional<int> idOf(const QVariant &v)
{
    if (v.isNull() || v.toString().isEmpty())
        return std::nullopt;
    return v.toInt();
}

QList<CausalAccess::User> allUsers(ado::Connection &c)
{
    const ado::RecordsetPtr rs = c.Execute(DueBilStatements::accessUsers());
    QList<CausalAccess::User> users;
    for (; !rs->isEOF(); rs->MoveNext()) {
        users.append({rs->value("FW07_ID").toInt(), rs->value("FW07_USERNAME").toString(),
                      rs->value("FW07_DESCR").toString(), rs->value("FW07_FLGATTIVO").toInt() == 1,
                      idOf(rs->value("FW07_ID_FW06")), rs->value("FW06_CODICE").toString()});
    }
    return users;
}

// The exclusion rows of every causal (or of one), by causal code.
QHash<QString, QList<CausalAccess::Exclusion>> exclusions(ado::Connection &c, const QString &code = {})
{
    const ado::RecordsetPtr rs = c.Execute(DueBilStatements::exclusionsOf(code));
    QHash<QString, QList<CausalAccess::Exclusion>> byCausal;
    for (; !rs->isEOF(); rs->MoveNext())
        byCausal[rs->value("CGP8_CAUSALE_CGP0").toString()].append(
            {idOf(rs->value("CGP8_ID_FW06")), idOf(rs->value("CGP8_ID_FW07"))});
    return byCausal;
}

} // namespace

CausalAccess::Withdrawal CausalAccess::withdrawal(int userId, std::optional<int> groupId,
                                                  const QList<Exclusion> &exclusions)
{
    Withdrawal found = Withdrawal::None;
    for (const Exclusion &e : exclusions) {
        if (e.user && *e.user == userId)
            return Withdrawal::ByUser;
        if (e.group && groupId && *e.group == *groupId)
            found = Withdrawal::ByGroup;
    }
    return found;
}

std::optional<QList<CausalAccess::Entry<CausalAccess::User>>>
CausalAccess::forCausal(ado::Connection &connection, const QString &code, QString *description)
{
    const ado::RecordsetPtr causal = connection.Execute(DueBilStatements::causalDescription(code));
    if (causal->RecordCount() == 0)
        return std::nullopt;
    if (description)
        *description = causal->value("CGP0_DESCRIZIONE").toString();
    const QList<Exclusion> rows = exclusions(connection, code).value(code);
    QList<Entry<User>> allowed, withdrawn;
    for (const User &u : allUsers(connection)) {
        const Withdrawal w = withdrawal(u.id, u.group, rows);
        if (w != Withdrawal::None)
            withdrawn.append({u, w});
        else if (u.active)
            allowed.append({u, w});
    }
    return allowed + withdrawn;
}

std::optional<QList<CausalAccess::Entry<CausalAccess::Causal>>>
CausalAccess::forUser(ado::Connection &connection, const QString &userName, User *user)
{
    const QList<User> users = allUsers(connection);
    const auto found = std::find_if(users.cbegin(), users.cend(), [&](const User &u) {
        return u.userName.compare(userName.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (found == users.cend())
        return std::nullopt;
    if (user)
        *user = *found;
    const QHash<QString, QList<Exclusion>> byCausal = exclusions(connection);
    const ado::RecordsetPtr rs = connection.Execute(DueBilStatements::causalsInOrder());
    QList<Entry<Causal>> allowed, withdrawn;
    for (; !rs->isEOF(); rs->MoveNext()) {
        const Causal c{rs->value("CGP0_CAUSALE").toString(), rs->value("CGP0_DESCRIZIONE").toString()};
        const Withdrawal w = withdrawal(found->id, found->group, byCausal.value(c.code));
        (w == Withdrawal::None ? allowed : withdrawn).append({c, w});
    }
    return allowed + withdrawn;
}
