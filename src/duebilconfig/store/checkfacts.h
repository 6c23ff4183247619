#pragma once

#include <QString>

#include <array>

// The selection checks of a causal (CGP2_DUEBILCHECK, one CGP4_DUEBILFILTRI row each): which
// ones the user sets on the causal himself, which ones the defaults of the operation type own
// and stay locked until "Modifica impostazioni", which ones are never shown. The window's
// checks tab and the statements that reset the defaults both read them here.
namespace CheckFacts {

// Ids run from 1 to Count, one box CHK_FILTER_<id> each.
inline constexpr int Count = 32;

// The check that marks a causal for withholding tax.
inline constexpr int WithholdingCheckId = 30;

// The checks the user sets on the causal himself (kind of movement, of due date, sign,
// withholding, advances): loading the type's defaults leaves them as they are.
inline constexpr std::array<int, 13> UserChecks = {3, 4, 5, 6, 7, 25, 26, 27, 28, 29, 30, 31, 32};

// The checks the window never shows.
inline constexpr std::array<int, 3> HiddenChecks = {6, 7, 12};

constexpr bool isUserCheck(int id)
{
    for (const int user : UserChecks) {
        if (user == id)
            return true;
    }
    return false;
}

constexpr bool isHidden(int id)
{
    for (const int hidden : HiddenChecks) {
        if (hidden == id)
            return true;
    }
    return false;
}

// The shown checks the type's defaults own: locked until the user asks to change them.
constexpr bool isLockable(int id)
{
    return id >= 1 && id <= Count && !isUserCheck(id) && !isHidden(id);
}

// The catalogue's groups (CGP2_TIPOFILTRO) of the checks the type's defaults own.
inline bool isLockedGroup(const QString &group)
{
    const QString upper = group.trimmed().toUpper();
    return upper == QLatin1String("STATOMOVIMENTO") || upper == QLatin1String("TIPOOPERAZIONE")
        || upper == QLatin1String("TIPOPRESENTAZIONE");
}

// The id of a check box's design name ("CHK_FILTER_30" is 30), 0 for any other name.
constexpr int idOfBox(const char *name)
{
    constexpr const char prefix[] = "CHK_FILTER_";
    int i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (name[i] != prefix[i])
            return 0;
    }
    int id = 0;
    for (; name[i] != '\0'; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        id = id * 10 + (name[i] - '0');
    }
    return id;
}

} // namespace CheckFacts
