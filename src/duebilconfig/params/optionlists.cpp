#include "params/optionlists.h"

namespace OptionLists {

QList<List> fixedLists(bool stateManagementDisabled)
{
    QList<Entry> types = {{1, 32543}, {2, 42968}, {3, 10890}, {4, 32546}, {5, 53507}, {6, 14227}};
    if (!stateManagementDisabled)
        types.append({7, 38234});
    types.append({8, 5133});
    return {
        {QStringLiteral("CBO_TIPOOPERAZIONE"), types, 1},
        {QStringLiteral("CBO_TIPOSCADENZA"), {{0, 11180}, {1, 27554}}, 0},
        {QStringLiteral("CBO_MODRECUPERO"), recoveryModes(OperationType::None).entries, 0},
        {QStringLiteral("CBO_MODIMPMAX"), {{0, 40252}, {1, 31676}, {2, 58060}}, 0},
        {QStringLiteral("CBO_MODIMPSCAD"), {{0, 53352}, {1, 28501}, {2, 28502}}, 0},
        {QStringLiteral("CBO_MODVISANTEPRIMA"), {{0, 39644}, {1, 6901}}, 0},
        {QStringLiteral("CBO_TIPOREGISTRAZIONE"), {{0, 15396}, {1, 17344}, {2, 44968}}, 1},
        {QStringLiteral("CBO_GESTIONERITENUTE"), {{0, 45838}, {1, 57983}}, 1},
    };
}

List recoveryModes(OperationType type)
{
    if (type == OperationType::Compensation)
        return {QStringLiteral("CBO_MODRECUPERO"), {{0, 52705}, {1, 38584}}, 0};
    return {QStringLiteral("CBO_MODRECUPERO"), {{0, 52705}, {1, 38586}, {2, 38585}}, 0};
}

QList<List> dependentLists(OperationType type, bool foreignCurrency, bool withholding)
{
    const QString registration = QStringLiteral("CBO_DETTREG");
    const QString postingLine = QStringLiteral("CBO_DETTRIGACONT");
    const QString description = QStringLiteral("CBO_DESCRCONTRAUTO");
    if (type == OperationType::Collections || type == OperationType::Payments) {
        QList<Entry> reg;
        if (!foreignCurrency && !withholding)
            reg.append({0, 48419});
        if (!foreignCurrency)
            reg.append({1, 48439});
        reg.append({2, 48441});
        return {{registration, reg, -1}, {postingLine, {{0, 49408}, {1, 49546}}, -1}, {description, {{0, 33583}, {1, 48557}}, -1}};
    }
    if (type == OperationType::ClearedCollections)
        return {{registration, {{0, 48419}, {1, 48440}}, -1}, {postingLine, {{0, 49407}}, 0}, {description, {{0, 33583}}, 0}};
    return {{registration, {{0, 48419}, {1, 48439}}, -1}, {postingLine, {{0, 49408}, {1, 49546}}, -1}, {description, {{0, 33583}}, 0}};
}

QList<int> dependentPositions(const QList<List> &lists, OperationType type, bool foreignCurrency, bool withholding,
                              const std::optional<StoredDetails> &stored)
{
    const StoredDetails row = stored.value_or(StoredDetails{});
    // The detail wanted in each list; none keeps the position the list was built with.
    std::optional<int> wanted[3] = {row.registration, row.postingLine, std::nullopt};
    if (type == OperationType::Collections || type == OperationType::Payments) {
        if (stored && withholding)
            wanted[0] = foreignCurrency ? 2 : (row.registration == 0 ? 1 : row.registration);
        wanted[2] = row.description;
    } else if (type == OperationType::ClearedCollections) {
        wanted[1] = std::nullopt;
    }
    QList<int> positions;
    for (int i = 0; i < lists.size(); ++i) {
        const List &list = lists.at(i);
        int position = list.initialPosition;
        if (i < 3 && wanted[i]) {
            position = -1;
            for (int e = 0; e < list.entries.size(); ++e) {
                if (list.entries.at(e).value == *wanted[i])
                    position = e;
            }
        }
        if (position < 0 && !list.entries.isEmpty())
            position = 0;
        positions.append(position);
    }
    return positions;
}

} // namespace OptionLists
