#include "causals/causalaccess.h"

#include "ado/recordset.h"
#include "store/duebilstatements.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlRecord>
#include <algorithm>

namespace {

std::optional<int> idOf(const QVariant &v)
{
    if (v.isNull() || v.toString().isEmpty())
        return std::nullopt;
    return v.toInt();
}

// The names of a membership go into a statement as they are: only plain identifiers do.
bool isIdentifier(const QString &name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(name).hasMatch();
}

// The users with their groups, as far as the membership can be read.
struct Directory
{
    QList<CausalAccess::User> users;
    QHash<int, QString> groupCodes;
    CausalAccess::MembershipState state = CausalAccess::MembershipState::Read;
    QString missing;

    CausalAccess::Group group(int id) const { return {id, groupCodes.value(id)}; }
};

Directory readDirectory(ado::Connection &c, const CausalAccess::Membership &m)
{
    namespace S = DueBilStatements;
    using State = CausalAccess::MembershipState;
    Directory d;
    for (const ado::RecordsetPtr rs = c.Execute(S::accessGroups()); !rs->isEOF(); rs->MoveNext())
        d.groupCodes.insert(rs->value("FW06_ID").toInt(), rs->value("FW06_CODICE").toString());

    // Asked of the database's catalogue, so that a missing column is told from a failing statement.
    const QSqlRecord columns = c.database().record(m.table);
    if (columns.isEmpty()) {
        d.state = State::TableMissing;
        d.missing = m.table;
    } else {
        for (const QString &column : {m.userColumn, m.groupColumn}) {
            if (d.state == State::Read && columns.indexOf(column) < 0) {
                d.state = State::ColumnMissing;
                d.missing = column;
            }
        }
    }
    QHash<int, QList<int>> groupsOf;
    if (d.state == State::Read) {
        const ado::RecordsetPtr rs = c.Execute(S::groupMemberships(m.table, m.userColumn, m.groupColumn));
        for (; !rs->isEOF(); rs->MoveNext()) {
            if (const auto group = idOf(rs->value("MEMBRO_GRUPPO")))
                groupsOf[rs->value("MEMBRO_UTENTE").toInt()].append(*group);
        }
    }
    for (const ado::RecordsetPtr rs = c.Execute(S::accessUsers()); !rs->isEOF(); rs->MoveNext()) {
        CausalAccess::User u{rs->value("FW07_ID").toInt(), rs->value("FW07_USERNAME").toString(),
                             rs->value("FW07_DESCR").toString(), rs->value("FW07_FLGATTIVO").toInt() == 1, {}};
        for (const int id : groupsOf.value(u.id))
            u.groups.append(d.group(id));
        d.users.append(u);
    }
    return d;
}

QList<int> idsOf(const QList<CausalAccess::Group> &groups)
{
    QList<int> ids;
    for (const CausalAccess::Group &g : groups)
        ids.append(g.id);
    return ids;
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

template <typename T>
void takeMembership(CausalAccess::Listing<T> &listing, const Directory &d)
{
    listing.membership = d.state;
    listing.missing = d.missing;
}

// Without the membership, the group rows of a causal are named instead of applied.
template <typename T>
void noteUnresolved(CausalAccess::Listing<T> &listing, const Directory &d, const QString &code,
                    const QList<CausalAccess::Exclusion> &rows)
{
    if (d.state == CausalAccess::MembershipState::Read)
        return;
    for (const CausalAccess::Exclusion &e : rows) {
        if (e.group)
            listing.unresolved.append({code, d.group(*e.group)});
    }
}

} // namespace

CausalAccess::Withdrawal CausalAccess::withdrawal(int userId, const QList<int> &groups,
                                                  const QList<Exclusion> &exclusions, int *group)
{
    Withdrawal found = Withdrawal::None;
    for (const Exclusion &e : exclusions) {
        if (e.user && *e.user == userId)
            return Withdrawal::ByUser;
        if (found == Withdrawal::None && e.group && groups.contains(*e.group)) {
            found = Withdrawal::ByGroup;
            if (group)
                *group = *e.group;
        }
    }
    return found;
}

std::optional<CausalAccess::Membership> CausalAccess::Membership::fromText(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    const QStringList table = parts.at(0).split(QLatin1Char('.'));
    if (table.size() > 2 || !std::all_of(table.cbegin(), table.cend(), isIdentifier) || !isIdentifier(parts.at(1))
        || !isIdentifier(parts.at(2)))
        return std::nullopt;
    return Membership{parts.at(0), parts.at(1), parts.at(2)};
}

std::optional<CausalAccess::Membership> CausalAccess::Membership::fromEnvironment()
{
    const QString text = qEnvironmentVariable(Variable);
    if (text.isEmpty())
        return Membership{};
    return fromText(text);
}

QString CausalAccess::Membership::text() const
{
    return table + QLatin1Char(':') + userColumn + QLatin1Char(':') + groupColumn;
}

CausalAccess::CausalAccess(ado::Connection &connection) : CausalAccess(connection, Membership()) {}

CausalAccess::CausalAccess(ado::Connection &connection, Membership membership)
    : m_connection(connection), m_membership(std::move(membership))
{
}

std::optional<CausalAccess::Listing<CausalAccess::User>> CausalAccess::forCausal(const QString &code,
                                                                                  QString *description)
{
    const ado::RecordsetPtr causal = m_connection.Execute(DueBilStatements::causalDescription(code));
    if (causal->RecordCount() == 0)
        return std::nullopt;
    if (description)
        *description = causal->value("CGP0_DESCRIZIONE").toString();
    const QList<Exclusion> rows = exclusions(m_connection, code).value(code);
    const Directory d = readDirectory(m_connection, m_membership);
    Listing<User> listing;
    takeMembership(listing, d);
    QList<Entry<User>> withdrawn;
    for (const User &u : d.users) {
        int group = 0;
        const Withdrawal w = withdrawal(u.id, idsOf(u.groups), rows, &group);
        if (mayUse(u.active, w))
            listing.entries.append({u, w, {}});
        else if (w != Withdrawal::None)
            withdrawn.append({u, w, d.group(group)});
    }
    listing.entries += withdrawn;
    noteUnresolved(listing, d, code, rows);
    return listing;
}

std::optional<CausalAccess::Listing<CausalAccess::Causal>>
CausalAccess::forUser(const QString &userName, User *user, QStringList *ambiguous)
{
    const Directory d = readDirectory(m_connection, m_membership);
    const QString name = userName.trimmed();
    QList<const User *> exact, anyCase;
    for (const User &u : d.users) {
        if (u.userName == name)
            exact.append(&u);
        else if (u.userName.compare(name, Qt::CaseInsensitive) == 0)
            anyCase.append(&u);
    }
    const QList<const User *> &matches = exact.isEmpty() ? anyCase : exact;
    if (matches.size() != 1) {
        if (ambiguous && matches.size() > 1) {
            for (const User *u : matches)
                ambiguous->append(u->userName);
        }
        return std::nullopt;
    }
    const User &found = *matches.first();
    if (user)
        *user = found;
    const QList<int> groups = idsOf(found.groups);
    const QHash<QString, QList<Exclusion>> byCausal = exclusions(m_connection);
    Listing<Causal> listing;
    takeMembership(listing, d);
    QList<Entry<Causal>> withdrawn;
    const ado::RecordsetPtr rs = m_connection.Execute(DueBilStatements::causalsInOrder());
    for (; !rs->isEOF(); rs->MoveNext()) {
        const Causal c{rs->value("CGP0_CAUSALE").toString(), rs->value("CGP0_DESCRIZIONE").toString()};
        const QList<Exclusion> rows = byCausal.value(c.code);
        int group = 0;
        const Withdrawal w = withdrawal(found.id, groups, rows, &group);
        if (mayUse(found.active, w))
            listing.entries.append({c, w, {}});
        else if (w != Withdrawal::None)
            withdrawn.append({c, w, d.group(group)});
        if (w != Withdrawal::ByUser)
            noteUnresolved(listing, d, c.code, rows);
    }
    listing.entries += withdrawn;
    return listing;
}
