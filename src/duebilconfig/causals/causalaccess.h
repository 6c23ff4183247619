#pragma once

#include "ado/connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Who may use a causal. A causal is withdrawn from a user when an exclusion row of the causal
// names the user, or a group the user belongs to. A user may use a causal when active and not
// withdrawn from it; the two listings below answer by this one rule.
//
// Which user belongs to which group is the host's fact, not the module's: it is read from the
// table and columns of a Membership, by default FW07_APPUSER (FW07_ID, FW07_ID_FW06), elsewhere
// named by the environment variable DUEBIL_MEMBERSHIP as TABLE:USER_COLUMN:GROUP_COLUMN. When
// that table or a column is missing, the listings answer from the user rows alone and name the
// group exclusions they could not resolve to users.
class CausalAccess
{
public:
    enum class Withdrawal { None, ByUser, ByGroup };

    // One exclusion row: a group or a user (a row naming both withdraws from both).
    struct Exclusion
    {
        std::optional<int> group;
        std::optional<int> user;
    };

    // The rule, on its own: the user's id and groups against the causal's exclusion rows.
    // A withdrawal of the user by name wins over one through a group; *group gets the group
    // that withdraws it.
    static Withdrawal withdrawal(int userId, const QList<int> &groups, const QList<Exclusion> &exclusions,
                                 int *group = nullptr);
    static bool mayUse(bool active, Withdrawal w) { return active && w == Withdrawal::None; }

    struct Membership
    {
        QString table = QStringLiteral("FW07_APPUSER");
        QString userColumn = QStringLiteral("FW07_ID");
        QString groupColumn = QStringLiteral("FW07_ID_FW06");

        static constexpr const char *Variable = "DUEBIL_MEMBERSHIP";
        // TABLE:USER_COLUMN:GROUP_COLUMN, each a plain identifier (the table optionally with
        // its schema); nothing when the text is not of that form.
        static std::optional<Membership> fromText(const QString &text);
        // The variable's, or the default when it is not set; nothing when it is set wrong.
        static std::optional<Membership> fromEnvironment();
        QString text() const;
    };
    enum class MembershipState { Read, TableMissing, ColumnMissing };

    struct Group
    {
        int id = 0;
        QString code;  // empty: the group no longer exists
    };
    struct User
    {
        int id = 0;
        QString userName;
        QString description;
        bool active = false;
        QList<Group> groups;
    };
    struct Causal
    {
        QString code;
        QString description;
    };
    template <typename T>
    struct Entry
    {
        T item;
        Withdrawal withdrawal = Withdrawal::None;
        Group byGroup;  // the group that withdraws it, for ByGroup
    };
    // A group exclusion of a causal that could not be resolved to users.
    struct Unresolved
    {
        QString causal;
        Group group;
    };
    template <typename T>
    struct Listing
    {
        QList<Entry<T>> entries;  // those who may use it first, then those it is withdrawn from
        MembershipState membership = MembershipState::Read;
        QString missing;  // the table or column missing
        QList<Unresolved> unresolved;
    };

    // The default membership, or the one given.
    explicit CausalAccess(ado::Connection &connection);
    CausalAccess(ado::Connection &connection, Membership membership);

    // Every user who may use the causal, then every user it is withdrawn from (active or not),
    // by user name; nothing when the causal does not exist. Throw ado::AdoError.
    std::optional<Listing<User>> forCausal(const QString &code, QString *description = nullptr);
    // Every causal the user may use, then those withdrawn from the user, by code. The name
    // matches exactly, else in any letter case when only one user has it; nothing when no
    // user matches, with *ambiguous given the names when several do.
    std::optional<Listing<Causal>> forUser(const QString &userName, User *user = nullptr,
                                           QStringList *ambiguous = nullptr);

private:
    ado::Connection &m_connection;
    Membership m_membership;
};
