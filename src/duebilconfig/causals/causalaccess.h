#pragma once

#include "connection.h"

#include <QList>
#include <QString>
#include <optional>

// Who may use a causal. A causal is withdrawn from a user when an exclusion row of the causal
// names the user, or the group the user belongs to; every other user may use it.
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

    // The rule, on its own: the user's id and group against the causal's exclusion rows.
    // A withdrawal of the user by name wins over one through the group.
    static Withdrawal withdrawal(int userId, std::optional<int> groupId, const QList<Exclusion> &exclusions);

    struct User
    {
        int id = 0;
        QString userName;
        QString description;
        bool active = false;
        std::optional<int> group;
        QString groupCode;
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
    };

    // Every active user who may use the causal, then every user it is withdrawn from (active
    // or not), by user name; nothing when the causal does not exist. Throw ado::AdoError.
    static std::optional<QList<Entry<User>>> forCausal(ado::Connection &connection, const QString &code,
                                                       QString *description = nullptr);
    // Every causal with what it means for the user named (in any letter case); nothing when
    // there is no such user.
    static std::optional<QList<Entry<Causal>>> forUser(ado::Connection &connection, const QString &userName,
                                                       User *user = nullptr);
};
