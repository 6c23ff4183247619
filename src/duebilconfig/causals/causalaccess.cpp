#include "causalaccess.h"

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
    const ado::RecordsetPtr rs = c.Execute(
        "SELECT FW07_ID, FW07_USERNAME, FW07_DESCR, FW07_FLGATTIVO, FW07_ID_FW06, FW06_CODICE"
        " FROM FW07_APPUSER LEFT JOIN FW06_GROUPUSR ON FW06_ID = FW07_ID_FW06 ORDER BY FW07_USERNAME");
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
    QString sql = QStringLiteral("SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE");
    if (!code.isEmpty())
        sql += " WHERE CGP8_CAUSALE_CGP0 = " + code;
    const ado::RecordsetPtr rs = c.Execute(sql);
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
    const ado::RecordsetPtr causal =
        connection.Execute("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code);
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
    const ado::RecordsetPtr rs =
        connection.Execute("SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE");
    QList<Entry<Causal>> allowed, withdrawn;
    for (; !rs->isEOF(); rs->MoveNext()) {
        const Causal c{rs->value("CGP0_CAUSALE").toString(), rs->value("CGP0_DESCRIZIONE").toString()};
        const Withdrawal w = withdrawal(found->id, found->group, byCausal.value(c.code));
        (w == Withdrawal::None ? allowed : withdrawn).append({c, w});
    }
    return allowed + withdrawn;
}
