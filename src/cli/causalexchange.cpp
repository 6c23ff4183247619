#include "cli/causalexchange.h"

#include "ado/adoerror.h"
#include "ado/recordset.h"
#include "ado/statementlog.h"
#include "ado/transactionguard.h"
#include "causals/causalhistory.h"
#include "causals/causaloperations.h"
#include "framework/textstore.h"
#include "params/saverules.h"
#include "params/storedparameterchecks.h"
#include "params/valuerules.h"
#include "store/checkfacts.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "store/moduletables.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSet>

#include <cmath>
#include <optional>

namespace S = DueBilStatements;
using Table = CausalConfiguration::Table;

namespace {

namespace Text {
enum : int {
    NotJson = 992101, WrongFormat, MissingField, UnknownColumn, Duplicated, NotObject, DatabaseError, LedgerFinding,
    CodeMissing,
    NotConfiguration = 992116, WrongType, TooLong, OutOfRange, NotInTable, ExclusionEmpty, ExclusionBoth, RepeatedRow,
    MissingValue,
    CompanyMissing = 992016, UserMissing = 992144,
    GroupMissing = 992170, ExclusionUnnamed, OtherCompany,
    RawControl = 992180, LoneSurrogate, Corrected
};
} // namespace Text

// The section of a causal that carries its change history, when asked for.
const Table &historyTable()
{
    return *ModuleTables::find(S::HistoryTable);
}
const QString HistorySection = QLatin1String(historyTable().section);

// A recorded history row of the file, past its columns' rules: a moment as the history writes
// it, a table of the configuration, key and values as JSON objects.
bool historyRowIsSound(const QJsonObject &row, QString *column)
{
    static const QRegularExpression operation(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    static const QRegularExpression moment(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"));
    *column = QStringLiteral("CGPL_IDOPERAZIONE");
    if (!operation.match(row.value(*column).toString()).hasMatch())
        return false;
    *column = QStringLiteral("CGPL_DATAORA");
    const QString when = row.value(*column).toString();
    if (!moment.match(when).hasMatch()
        || !QDateTime::fromString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).isValid())
        return false;
    *column = QStringLiteral("CGPL_TABELLA");
    bool known = false;
    for (const CausalConfiguration::Table &t : CausalConfiguration::tables())
        known = known || row.value(*column).toString() == QLatin1String(t.table);
    if (!known)
        return false;
    for (const char *json : {"CGPL_CHIAVE", "CGPL_VALORI"}) {
        *column = QLatin1String(json);
        QJsonParseError error;
        if (!QJsonDocument::fromJson(row.value(*column).toString().toUtf8(), &error).isObject())
            return false;
    }
    return true;
}

// The framework's ids differ from one database to another: an exclusion row carries, beside
// the id, the group's code or the user's name, and an import finds the id by it.
struct NamedId
{
    const char *idColumn;    // of CGP8_DUEBILREVOKE
    const char *table;
    const char *keyColumn;
    const char *nameColumn;  // also the name of the value in an exported row
    int missingText;
};
const NamedId namedIds[] = {
    {"CGP8_ID_FW06", "FW06_GROUPUSR", "FW06_ID", "FW06_CODICE", Text::GroupMissing},
    {"CGP8_ID_FW07", "FW07_APPUSER", "FW07_ID", "FW07_USERNAME", Text::UserMissing},
};
const QString ExclusionTable = QStringLiteral("CGP8_DUEBILREVOKE");

// What a column of a table accepts: its type and size as the table definition gives them,
// the kind of the control bound to it and the characters that control takes (ValueRules).
using Kind = ModuleTables::Type;
struct ColumnRule
{
    Kind kind;
    int size;                      // Text: characters
    bool notNull;
    const char *refTable;          // the catalogue or host table the value is a key of
    const char *refColumn;
    int min, max;                  // Integer: a range when max > min
};

constexpr int IntMin = -2147483647 - 1;
constexpr int IntMax = 2147483647;

// Only the table's own columns that take a value from outside have a rule.
std::optional<ColumnRule> ruleOf(const Table &table, const QString &column)
{
    const ModuleTables::Column *c = table.column(column);
    if (!c || c->generated)
        return std::nullopt;
    const ValueRules::Accepted accepted = ValueRules::accepted(*c);
    return ColumnRule{accepted.type, accepted.characters, c->notNull, c->refTable, c->refColumn, c->min, c->max};
}

QJsonObject rowAsJson(const ado::Recordset &rs, const QStringList &fields)
{
    QJsonObject row;
    for (const QString &f : fields) {
        const QVariant v = rs.value(f);
        row.insert(f, v.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue::fromVariant(v));
    }
    return row;
}

bool isWhole(double d)
{
    return std::isfinite(d) && std::trunc(d) == d;
}

// The value a checked JSON value is bound as: JSON knows only doubles, and whole numbers go
// back as integers so that integer columns get the value they had.
QVariant bindable(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (isWhole(d) && std::fabs(d) < 9e15)
            return static_cast<qlonglong>(d);
        return d;
    }
    case QJsonValue::String:
        return v.toString();
    default:
        return QVariant();
    }
}

QString shownValue(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Double: return bindable(v).toString();
    case QJsonValue::String: return v.toString();
    case QJsonValue::Bool: return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Array: return QStringLiteral("[...]");
    case QJsonValue::Object: return QStringLiteral("{...}");
    default: return QString();
    }
}

// The offset of the first control character written as it is inside a string, -1 when none:
// JSON wants it escaped.
qsizetype rawControlInString(const QByteArray &json)
{
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto b = static_cast<unsigned char>(json.at(i));
        if (!inString) {
            inString = b == '"';
        } else if (escaped) {
            escaped = false;
        } else if (b == '\\') {
            escaped = true;
        } else if (b == '"') {
            inString = false;
        } else if (b < 0x20) {
            return i;
        }
    }
    return -1;
}

// The screens a causal's rows make, as (company row, posting row) indexes, -1 for none: each
// company row with each posting row of its company, posting rows of a company without its row
// alone, and one screen of the causal's own parameters when there are neither.
QList<QPair<int, int>> companyScreens(const QJsonArray &companies, const QJsonArray &postings)
{
    QList<QPair<int, int>> screens;
    QSet<int> paired;
    for (int i = 0; i < companies.size(); ++i) {
        const QJsonValue company = companies.at(i)[QLatin1String("CGP6_DITTA_CG18")];
        bool any = false;
        for (int j = 0; j < postings.size(); ++j) {
            if (postings.at(j)[QLatin1String("CGP7_DITTA_CG18")] == company) {
                screens.append({i, j});
                paired.insert(j);
                any = true;
            }
        }
        if (!any)
            screens.append({i, -1});
    }
    for (int j = 0; j < postings.size(); ++j) {
        if (!paired.contains(j))
            screens.append({-1, j});
    }
    if (screens.isEmpty())
        screens.append({-1, -1});
    return screens;
}

// Half of a character outside the basic plane, given alone by an escape: it has no UTF-8 form.
bool hasLoneSurrogate(const QJsonValue &v)
{
    if (v.isString())
        return !QStringView(v.toString()).isValidUtf16();
    if (v.isArray()) {
        const QJsonArray array = v.toArray();
        return std::any_of(array.begin(), array.end(), [](const QJsonValue &e) { return hasLoneSurrogate(e); });
    }
    if (v.isObject()) {
        const QJsonObject object = v.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!QStringView(it.key()).isValidUtf16() || hasLoneSurrogate(it.value()))
                return true;
        }
    }
    return false;
}

} // namespace

// The keys of the catalogues and host tables that rows name, read once per import or export.
struct CausalExchange::References
{
    ado::Connection &connection;
    QHash<QString, QSet<qlonglong>> keys;
    QHash<QString, QHash<qlonglong, QString>> names;  // by table: id -> code or name
    QString company;  // the one company the file carries; empty: every company

    const QHash<qlonglong, QString> &namesOf(const NamedId &n)
    {
        const QString table = QLatin1String(n.table);
        if (!names.contains(table)) {
            QHash<qlonglong, QString> byId;
            const ado::RecordsetPtr rs =
                connection.Execute(S::catalogueNames(table, QLatin1String(n.keyColumn), QLatin1String(n.nameColumn)));
            for (; !rs->isEOF(); rs->MoveNext())
                byId.insert(rs->value(QStringLiteral("K")).toLongLong(), rs->value(QStringLiteral("N")).toString());
            names.insert(table, byId);
        }
        return names[table];
    }

    // An exclusion row as exported: beside each id, the code or name it has here (null when
    // the id is empty or names nobody).
    void addNames(QJsonObject &row)
    {
        for (const NamedId &n : namedIds) {
            const QJsonValue id = row.value(QLatin1String(n.idColumn));
            const QHash<qlonglong, QString> &byId = namesOf(n);
            row.insert(QLatin1String(n.nameColumn), id.isNull() || !byId.contains(id.toInteger())
                                                      ? QJsonValue(QJsonValue::Null)
                                                      : QJsonValue(byId.value(id.toInteger())));
        }
    }

    // Codes and user names are compared as SQL Server's usual collation does, without case.
    std::optional<qlonglong> idOf(const NamedId &n, const QString &name)
    {
        const QHash<qlonglong, QString> &byId = namesOf(n);
        for (auto it = byId.begin(); it != byId.end(); ++it) {
            if (it.value().compare(name, Qt::CaseInsensitive) == 0)
                return it.key();
        }
        return std::nullopt;
    }

    std::optional<bool> stateManagement;

    bool stateManagementDisabled()
    {
        if (!stateManagement)
            stateManagement = ValueRules::stateManagementDisabled(connection);
        return *stateManagement;
    }

    bool contains(const char *table, const char *column, qlonglong value)
    {
        const QString name = QLatin1String(table);
        if (!keys.contains(name)) {
            QSet<qlonglong> values;
            const ado::RecordsetPtr rs =
                connection.Execute(S::catalogueKeys(name, QLatin1String(column)));
            for (; !rs->isEOF(); rs->MoveNext())
                values.insert(rs->value(QStringLiteral("K")).toLongLong());
            keys.insert(name, values);
        }
        return keys.value(name).contains(value);
    }
};

struct CausalExchange::Causal
{
    QString code;
    bool exists = false;
    QString company;  // replaced only in this company's rows; empty: every company
    QJsonObject row;
    QHash<QString, QJsonArray> rows;   // by table name
    QList<QVariantList> history;       // CausalHistory::storedColumns() of each row
    CausalConfiguration before;
    QStringList corrected;             // report lines of the values imported as the window saves them
};

CausalExchange::CausalExchange(ado::ConnectionPtr connection, const TextStore &texts)
    : m_connection(std::move(connection)), m_texts(texts)
{
}

QString CausalExchange::printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        // A character outside the basic plane is two halves that belong together.
        const bool paired = c.isHighSurrogate() ? i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                                                : c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate();
        if (u == u'\\')
            shown += QStringLiteral("\\\\");
        else if (u == u'\n')
            shown += QStringLiteral("\\n");
        else if (u == u'\r')
            shown += QStringLiteral("\\r");
        else if (u == u'\t')
            shown += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control || (c.isSurrogate() && !paired) || (u >= 0x202A && u <= 0x202E)
                 || (u >= 0x2066 && u <= 0x2069))
            shown += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString CausalExchange::echo(const QString &text)
{
    const QString shown = printable(text);
    if (shown.size() <= EchoLimit)
        return shown;
    return shown.left(EchoLimit - 3) + QStringLiteral("...");
}

QJsonDocument CausalExchange::exportCausals(const QStringList &codes, const QString &company, bool withHistory) const
{
    QStringList all = codes;
    if (all.isEmpty()) {
        const ado::RecordsetPtr rs =
            m_connection->Execute(S::causalCodes());
        for (; !rs->isEOF(); rs->MoveNext())
            all << rs->value("CGP0_CAUSALE").toString();
    }
    QJsonArray causals;
    References references{*m_connection, {}, {}, company, {}};
    for (const QString &code : std::as_const(all)) {
        const ado::RecordsetPtr head = m_connection->Execute(S::causalRow(code));
        if (head->RecordCount() == 0)
            continue;
        QJsonObject causal = rowAsJson(*head, head->fieldNames());
        for (const Table &s : CausalConfiguration::tables().mid(1)) {
            const CausalConfiguration::Scope scope = company.isEmpty()
                ? CausalConfiguration::Scope{}
                : CausalConfiguration::Scope{CausalConfiguration::Scope::OneCompany, company.toInt()};
            const ado::RecordsetPtr rs = m_connection->Execute(CausalConfiguration::rowsOf(s, code, scope) + " ORDER BY "
                                                               + QLatin1String(s.orderBy));
            const QStringList fields = rs->fieldNames();
            if (s.single) {
                causal.insert(QLatin1String(s.section), rs->isEOF() ? QJsonValue(QJsonValue::Null) : QJsonValue(rowAsJson(*rs, fields)));
                continue;
            }
            const bool exclusions = QLatin1String(s.table) == ExclusionTable;
            QJsonArray rows;
            for (; !rs->isEOF(); rs->MoveNext()) {
                QJsonObject row = rowAsJson(*rs, fields);
                if (exclusions)
                    references.addNames(row);
                rows.append(row);
            }
            causal.insert(QLatin1String(s.section), rows);
        }
        if (withHistory) {
            QJsonArray history;
            for (const QVariantList &stored : CausalHistory::storedRows(*m_connection, code)) {
                QJsonObject row;
                for (int i = 0; i < stored.size(); ++i)
                    row.insert(CausalHistory::storedColumns().at(i), QJsonValue::fromVariant(stored.at(i)));
                history.append(row);
            }
            causal.insert(HistorySection, history);
        }
        causals.append(causal);
    }
    QJsonObject doc;
    doc.insert(QStringLiteral("format"), Format);
    doc.insert(QStringLiteral("version"), Version);
    if (!company.isEmpty())
        doc.insert(QStringLiteral("ditta"), company.toInt());
    doc.insert(QStringLiteral("causali"), causals);
    return QJsonDocument(doc);
}

bool CausalExchange::readCausal(const QJsonObject &object, const ImportOptions &options, References &references,
                                Causal *causal, QString *reason) const
{
    auto columnsOf = [this](const char *table) {
        return m_connection->Execute(S::noRowsOf(QLatin1String(table)))->fieldNames();
    };
    auto refuse = [&](int textId, const QStringList &params) {
        QStringList shown;
        for (const QString &p : params)
            shown << echo(p);
        *reason = m_texts.text(textId, shown);
        return false;
    };
    // Column names become part of the insert statements: only the target's own columns, with
    // values of their type and size, pass. The causal's own columns are set on writing.
    auto checkRow = [&](const QJsonObject &row, const Table &table, const QStringList &columns) {
        for (const QString &key : table.keyColumns) {
            if (key == QLatin1String(table.causalColumn))
                continue;
            const std::optional<ColumnRule> rule = ruleOf(table, key);
            if (rule && rule->notNull && (!row.contains(key) || row.value(key).isNull()))
                return refuse(Text::MissingValue, {key, QLatin1String(table.table)});
        }
        for (auto it = row.begin(); it != row.end(); ++it) {
            const QString column = it.key();
            const std::optional<ColumnRule> found = ruleOf(table, column);
            if (!columns.contains(column) || !found)
                return refuse(Text::UnknownColumn, {column, QLatin1String(table.table)});
            if (column == QLatin1String(table.causalColumn) || column == QLatin1String(table.objectColumn))
                continue;
            const ColumnRule &rule = *found;
            const QJsonValue v = it.value();
            if (v.isNull()) {
                if (rule.notNull)
                    return refuse(Text::MissingValue, {column, QLatin1String(table.table)});
                continue;
            }
            if (rule.kind == Kind::Text) {
                if (!v.isString())
                    return refuse(Text::WrongType, {column, shownValue(v)});
                if (v.toString().size() > rule.size)
                    return refuse(Text::TooLong, {column, QString::number(rule.size), QString::number(v.toString().size())});
                continue;
            }
            if (!v.isDouble())
                return refuse(Text::WrongType, {column, shownValue(v)});
            const double d = v.toDouble();
            if (rule.kind == Kind::Decimal) {
                // DECIMAL(18, 4): fourteen whole digits, four decimals.
                const double scaled = d * 1e4;
                if (!std::isfinite(d) || std::fabs(d) >= 1e14 || std::fabs(scaled - std::round(scaled)) > 1e-6)
                    return refuse(Text::OutOfRange, {column, shownValue(v)});
                continue;
            }
            if (!isWhole(d) || d < IntMin || d > IntMax)
                return refuse(Text::OutOfRange, {column, shownValue(v)});
            const auto n = static_cast<qlonglong>(d);
            if ((rule.kind == Kind::Flag && n != 0 && n != 1) || (rule.max > rule.min && (n < rule.min || n > rule.max)))
                return refuse(Text::OutOfRange, {column, shownValue(v)});
            if (rule.refTable && !references.contains(rule.refTable, rule.refColumn, n))
                return refuse(Text::NotInTable, {column, shownValue(v), QLatin1String(rule.refTable)});
        }
        return true;
    };

    const QString codeColumn = QStringLiteral("CGP0_CAUSALE");
    if (!object.contains(codeColumn))
        return refuse(Text::MissingField, {codeColumn});
    const QJsonValue codeValue = object.value(codeColumn);
    causal->code = shownValue(codeValue);
    if (!codeValue.isDouble())
        return refuse(Text::WrongType, {codeColumn, shownValue(codeValue)});
    if (const CausalOperations::Outcome checked = CausalOperations::checkNewCode(shownValue(codeValue), options.userName);
        !checked.done()) {
        *reason = m_texts.text(checked.textId, checked.params);
        return false;
    }
    const QList<Table> &tables = CausalConfiguration::tables();
    for (const Table &s : tables.mid(1)) {
        const QString key = QLatin1String(s.section);
        // A section left out is an empty one: the completion gives the causal its rows.
        const QJsonValue value = object.value(key);
        QJsonArray rows;
        if (s.single && value.isObject())
            rows.append(value);
        else if (!s.single && value.isArray())
            rows = value.toArray();
        else if (!value.isNull() && !value.isUndefined())
            return refuse(Text::NotObject, {key});
        const QStringList columns = columnsOf(s.table);
        QSet<QString> keys;
        QJsonArray resolved;
        for (const QJsonValue &row : std::as_const(rows)) {
            if (!row.isObject())
                return refuse(Text::NotObject, {key});
            QJsonObject r = row.toObject();
            if (QLatin1String(s.table) == ExclusionTable && !resolveExclusion(r, references, reason))
                return false;
            if (!checkRow(r, s, columns))
                return false;
            // A file of one company replaces that company's rows only: it carries no other's.
            if (s.companyColumn && !references.company.isEmpty()
                && bindable(r.value(QLatin1String(s.companyColumn))).toString() != references.company)
                return refuse(Text::OtherCompany, {QLatin1String(s.table), shownValue(r.value(QLatin1String(s.companyColumn))),
                                                   references.company});
            resolved.append(r);
            QStringList keyValues;
            // A key left out is an empty one, as a null is: both rows name the same item.
            for (const QString &k : s.keyColumns)
                keyValues << shownValue(r.value(k).isUndefined() ? QJsonValue() : r.value(k));
            if (!s.single && keys.contains(keyValues.join(QLatin1Char('/'))))
                return refuse(Text::RepeatedRow, {QLatin1String(s.table), keyValues.join(QStringLiteral(", "))});
            keys.insert(keyValues.join(QLatin1Char('/')));
            // An exclusion withdraws the causal from one group or one user, never from none or both.
            if (QLatin1String(s.table) == ExclusionTable) {
                const bool group = !r.value(QLatin1String("CGP8_ID_FW06")).isNull() && r.contains(QLatin1String("CGP8_ID_FW06"));
                const bool user = !r.value(QLatin1String("CGP8_ID_FW07")).isNull() && r.contains(QLatin1String("CGP8_ID_FW07"));
                if (!group && !user)
                    return refuse(Text::ExclusionEmpty, {});
                if (group && user)
                    return refuse(Text::ExclusionBoth, {});
            }
        }
        causal->rows.insert(QLatin1String(s.table), resolved);
    }
    // The history comes only when asked for; otherwise the section is left aside.
    const QJsonValue history = object.value(HistorySection);
    if (options.withHistory && !history.isUndefined() && !history.isNull()) {
        if (!history.isArray())
            return refuse(Text::NotObject, {HistorySection});
        const QStringList columns = columnsOf(historyTable().table);
        for (const QJsonValue &value : history.toArray()) {
            if (!value.isObject())
                return refuse(Text::NotObject, {HistorySection});
            const QJsonObject r = value.toObject();
            QVariantList stored;
            for (const QString &column : CausalHistory::storedColumns()) {
                if (!r.contains(column))
                    return refuse(Text::MissingValue, {column, QLatin1String(historyTable().table)});
                stored << bindable(r.value(column));
            }
            if (!checkRow(r, historyTable(), columns))
                return false;
            if (QString column; !historyRowIsSound(r, &column))
                return refuse(Text::OutOfRange, {column, shownValue(r.value(column))});
            causal->history.append(stored);
        }
    }
    QSet<QString> sectionNames{HistorySection};
    for (const Table &s : tables.mid(1))
        sectionNames.insert(QLatin1String(s.section));
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!sectionNames.contains(it.key()))
            causal->row.insert(it.key(), it.value());
    }
    if (!checkRow(causal->row, CausalConfiguration::causalTable(), columnsOf(CausalConfiguration::causalTable().table)))
        return false;
    causal->code = shownValue(codeValue);
    causal->company = references.company;
    if (!screenCheck(causal, references.stateManagementDisabled(), reason))
        return false;
    causal->exists = m_connection->Execute(S::existsCausal(causal->code), 1)->RecordCount() >= 1;
    if (causal->exists && !options.replace)
        return refuse(MessageId::Exists, {causal->code});
    return true;
}

bool CausalExchange::resolveExclusion(QJsonObject &row, References &references, QString *reason) const
{
    for (const NamedId &n : namedIds) {
        const QString nameColumn = QLatin1String(n.nameColumn);
        // A row written by hand may name the target's id alone.
        if (!row.contains(nameColumn))
            continue;
        const QJsonValue name = row.take(nameColumn);
        const QJsonValue id = row.value(QLatin1String(n.idColumn));
        if (name.isNull()) {
            // An id whose group or user the source did not know would name anybody here.
            if (!id.isNull() && !id.isUndefined()) {
                *reason = m_texts.text(Text::ExclusionUnnamed, {QLatin1String(n.idColumn), echo(shownValue(id)), nameColumn});
                return false;
            }
            continue;
        }
        if (!name.isString()) {
            *reason = m_texts.text(Text::WrongType, {nameColumn, echo(shownValue(name))});
            return false;
        }
        const std::optional<qlonglong> found = references.idOf(n, name.toString());
        if (!found) {
            *reason = m_texts.text(n.missingText, {echo(name.toString())});
            return false;
        }
        row.insert(QLatin1String(n.idColumn), *found);
    }
    return true;
}

// Each company's rows are put on a screen as the window shows them. A value its controls cannot
// hold refuses the causal; what its rules clear or force for the operation type, and its save
// writes whatever the rows held, is imported as the window would save it, and reported.
bool CausalExchange::screenCheck(Causal *causal, bool stateManagementDisabled, QString *reason) const
{
    QJsonArray &general = causal->rows[QStringLiteral("CGP5_DUEBILPARAM")];
    QJsonArray &companies = causal->rows[QStringLiteral("CGP6_DUEBILPARAMDITTA")];
    QJsonArray &postings = causal->rows[QStringLiteral("CGP7_DUEBILPERSREG")];
    bool withholding = false;
    for (const QJsonValue &row : causal->rows.value(QStringLiteral("CGP4_DUEBILFILTRI"))) {
        withholding = withholding
            || (row[QLatin1String("CGP4_IDCHECK_CGP2")].toDouble() == CheckFacts::WithholdingCheckId && row[QLatin1String("CGP4_CHECKED")].toDouble() == 1);
    }
    const QList<QPair<int, int>> screens = companyScreens(companies, postings);
    for (const auto &[i, j] : std::as_const(screens)) {
        MapSurface screen;
        auto put = [&](const QJsonArray &rows, int index, const QList<ParameterControls::Control> &controls) {
            if (index < 0 || index >= rows.size())
                return;
            const QJsonObject row = rows.at(index).toObject();
            for (const ParameterControls::Control &c : controls) {
                const QJsonValue v = row.value(QLatin1String(c.column));
                screen.setValue(QLatin1String(c.name), v.isNull() || v.isUndefined() ? QString() : shownValue(v));
            }
        };
        screen.setValue(QStringLiteral("TXT_CAUSALE"), causal->code);
        put(general, 0, ParameterControls::generalParameters());
        if (screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")).isEmpty())
            screen.setValue(QStringLiteral("CBO_TIPOOPERAZIONE"), QStringLiteral("1"));
        put(companies, i, ParameterControls::companyParameters());
        put(postings, j, ParameterControls::postingParameters());
        screen.setValue(QLatin1String(ParameterControls::WithholdingCheck), withholding ? "1" : "0");
        const QString company = i >= 0 ? shownValue(companies.at(i)[QLatin1String("CGP6_DITTA_CG18")])
                                       : shownValue(postings.at(j)[QLatin1String("CGP7_DITTA_CG18")]);

        // A value the field cannot hold (not in its list, too long, naming nothing) is refused
        // where the user can reach the field, and so is a choice no operation type offers. Where
        // the type takes the field out of reach, the value is imported as the window's save
        // leaves it when the type clears the field, and refused when it does not.
        MapSurface shown;
        const QList<ValueRules::Correction> corrections = ValueRules::corrections(screen, causal->code, &shown);
        auto refuseValue = [&](const ParameterControls::Control *c, const QString &value, const QString &why) {
            *reason = m_texts.text(Text::LedgerFinding, {QLatin1String(c->column), echo(value), company, why});
            return false;
        };
        QList<QPair<const ParameterControls::Control *, QString>> unreachable;   // control, why
        for (const ValueRules::Finding &f : ValueRules::check(screen, stateManagementDisabled)) {
            const QString why = m_texts.text(ValueRules::textId(f), ValueRules::params(f));
            if (SaveRules::editable(shown, QLatin1String(f.control->name))
                || (f.problem == ValueRules::Finding::NotOffered && f.anyType))
                return refuseValue(f.control, f.value, why);
            unreachable.append({f.control, why});
        }
        for (const ParameterControls::Control &c : ParameterControls::postingParameters()) {
            const QString value = screen.value(QLatin1String(c.name)).trimmed();
            const bool listed = std::any_of(unreachable.cbegin(), unreachable.cend(), [&](const auto &u) { return u.first == &c; });
            if (c.kind == ParameterControls::Kind::Code && !value.isEmpty() && !listed
                && !SaveRules::editable(shown, QLatin1String(c.name)) && !codeExists(c, value, company))
                unreachable.append({&c, m_texts.text(Text::CodeMissing)});
        }
        for (const auto &[control, why] : std::as_const(unreachable)) {
            const auto correction = std::find_if(corrections.cbegin(), corrections.cend(),
                                                 [&](const ValueRules::Correction &k) { return k.control == control; });
            const QString value = screen.value(QLatin1String(control->name)).trimmed();
            if (correction == corrections.cend())
                return refuseValue(control, value, why);
            const QString column = QLatin1String(control->column);
            QJsonArray *rows = column.startsWith(QLatin1String("CGP5")) ? &general
                : column.startsWith(QLatin1String("CGP6"))              ? &companies
                                                                        : &postings;
            const int index = rows == &general ? 0 : rows == &companies ? i : j;
            QJsonObject row = rows->at(index).toObject();
            row.insert(column, QJsonValue::fromVariant(correction->after));
            rows->replace(index, row);
            const QVariant after = correction->after;
            const QString line = m_texts.text(Text::Corrected, {echo(causal->code), company,
                                                                column + QStringLiteral(" = '") + echo(value) + '\'',
                                                                after.isNull() ? QStringLiteral("NULL")
                                                                               : '\'' + echo(after.toString()) + '\''});
            if (!causal->corrected.contains(line))
                causal->corrected.append(line);
        }
    }
    return true;
}

void CausalExchange::nameExclusions(QList<CausalConfiguration::Change> &changes, References &references) const
{
    for (CausalConfiguration::Change &c : changes) {
        if (c.table != ExclusionTable)
            continue;
        QList<QPair<QString, QVariant>> key;
        for (const auto &[column, value] : std::as_const(c.key)) {
            key.append({column, value});
            for (const NamedId &n : namedIds) {
                if (column != QLatin1String(n.idColumn) || value.isNull())
                    continue;
                // A row the target keeps for an id it no longer knows shows the id alone.
                const auto &names = references.namesOf(n);
                if (names.contains(value.toLongLong()))
                    key.append({QLatin1String(n.nameColumn), names.value(value.toLongLong())});
            }
        }
        c.key = key;
    }
}

bool CausalExchange::codeExists(const ParameterControls::Control &control, const QString &code,
                               const QString &company) const
{
    const LedgerChecks ledger(m_connection);
    const QByteArray name(control.name);
    if (name == "TXT_CAUSALECOGE" || name == "TXT_CAUABBUONI")
        return ledger.LeggiAttributiCausaleContabile(code).found;
    if (name == "TXT_CODPAGACCONTI")
        return ledger.VerificaCondizionePagamento(code);
    if (name == "TXT_SEZIONALEACCONTI")
        return ledger.EsisteSezionale(code, company);
    const ado::RecordsetPtr group = m_connection->Execute(S::companyGroup(company));
    return group->RecordCount() > 0 && ledger.account(code, group->value("CG18_GRUPPO_CG10").toString()).found;
}

QString CausalExchange::write(const Causal &causal) const
{
    QSqlDatabase db = m_connection->database();
    // Answers the driver's message of a refused row, empty when written.
    auto insert = [&](const char *table, const QJsonObject &row) -> QString {
        QSqlQuery q(db);
        const QString sql = S::insertRow(QLatin1String(table), row.keys());
        ado::StatementLog::record(*m_connection, sql);
        if (!q.prepare(sql))
            return q.lastError().text();
        for (auto it = row.begin(); it != row.end(); ++it)
            q.addBindValue(bindable(it.value()));
        return q.exec() ? QString() : q.lastError().text();
    };

    const QList<Table> &tables = CausalConfiguration::tables();
    if (causal.exists) {
        // The causal row goes last, as in the window's delete.
        for (const Table &s : tables.mid(1)) {
            const bool oneCompany = s.companyColumn && !causal.company.isEmpty();
            m_connection->Execute(S::deleteRowsOfCausal(QLatin1String(s.table), QLatin1String(s.causalColumn), causal.code,
                                                        oneCompany ? QLatin1String(s.companyColumn) : QString(),
                                                        causal.company),
                                  1);
        }
        m_connection->Execute(S::deleteCausalRow(causal.code), 1);
    }
    QJsonObject head = causal.row;
    head.insert(QStringLiteral("CGP0_CAUSALE"), causal.code.toLongLong());
    if (const QString error = insert(CausalConfiguration::causalTable().table, head); !error.isEmpty())
        return error;
    // The rows belong to the causal under which they are imported, whatever their key says.
    for (const Table &s : tables.mid(1)) {
        for (const QJsonValue &value : causal.rows.value(QLatin1String(s.table))) {
            QJsonObject row = value.toObject();
            row.insert(QLatin1String(s.causalColumn), causal.code.toLongLong());
            if (s.objectColumn)
                row.insert(QLatin1String(s.objectColumn), S::UObjectConfig);
            if (const QString error = insert(s.table, row); !error.isEmpty())
                return error;
        }
    }
    return {};
}

QList<QPair<QString, int>> CausalExchange::complete(const Causal &causal, const ImportOptions &options) const
{
    const QList<const ModuleTables::Table *> completedTables = ModuleTables::completionOrder();
    QList<QPair<QString, int>> added;
    QStringList statements = S::completionOf(causal.code, options.company, options.group);
    // Without the company's group there is no company to complete for.
    if (options.company.isEmpty() || options.group.isEmpty())
        statements = statements.mid(0, 2);
    for (int i = 0; i < statements.size(); ++i) {
        int rows = 0;
        m_connection->Execute(statements.at(i), 1, &rows);
        if (rows > 0)
            added.append({QLatin1String(completedTables.at(i)->table), rows});
    }
    return added;
}

QString CausalExchange::ledgerRefusal(const QString &code) const
{
    QStringList reasons;
    StoredParameterChecks checks(m_connection);
    checks.setValueRules(true);
    for (const auto &f : checks.check(code)) {
        QStringList params;
        for (const QString &p : f.params)
            params << echo(p);
        const QString why = f.textId == 0 ? m_texts.text(Text::CodeMissing) : m_texts.text(f.textId, params);
        reasons << m_texts.text(Text::LedgerFinding, {f.column, echo(f.value), f.company, why});
    }
    return reasons.join(QStringLiteral("; "));
}

CausalExchange::ImportReport CausalExchange::importCausals(const QByteArray &json, const ImportOptions &options)
{
    ImportReport report;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        report.error = m_texts.text(Text::NotJson, {parseError.errorString()});
        return report;
    }
    // The parser lets both through; neither is a text a column can hold as the file meant it.
    if (const qsizetype at = rawControlInString(json); at >= 0) {
        report.error = m_texts.text(Text::NotJson, {m_texts.text(Text::RawControl, {QString::number(at)})});
        return report;
    }
    if (hasLoneSurrogate(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()))) {
        report.error = m_texts.text(Text::NotJson, {m_texts.text(Text::LoneSurrogate)});
        return report;
    }
    if (!doc.isObject()) {
        report.error = m_texts.text(Text::NotConfiguration, {Format});
        return report;
    }
    const QJsonObject root = doc.object();
    const QJsonValue version = root.value(QLatin1String("version"));
    if (root.value(QLatin1String("format")).toString() != Format || !version.isDouble() || version.toDouble() != Version
        || !root.value(QLatin1String("causali")).isArray()) {
        report.error = m_texts.text(Text::WrongFormat, {Format, QString::number(Version)});
        return report;
    }

    try {
        QList<Causal> causals;
        QSet<QString> seen;
        bool refused = false;
        References references{*m_connection, {}, {}, {}, {}};
        // A file of one company: the rows of the others stay as they are.
        if (const QJsonValue company = root.value(QLatin1String("ditta")); !company.isUndefined() && !company.isNull()) {
            if (!company.isDouble() || !isWhole(company.toDouble()) || std::fabs(company.toDouble()) > IntMax
                || !references.contains("CG18_DITTE", "CG18_CODICE", static_cast<qlonglong>(company.toDouble()))) {
                report.error = m_texts.text(Text::CompanyMissing, {echo(shownValue(company))});
                return report;
            }
            references.company = shownValue(company);
            report.company = references.company;
        }
        for (const QJsonValue &value : root.value(QLatin1String("causali")).toArray()) {
            Causal causal;
            Outcome outcome;
            if (!value.isObject()) {
                outcome.reason = m_texts.text(Text::NotObject, {QStringLiteral("causali")});
            } else if (readCausal(value.toObject(), options, references, &causal, &outcome.reason)) {
                if (seen.contains(causal.code))
                    outcome.reason = m_texts.text(Text::Duplicated, {causal.code});
                else
                    outcome.result = causal.exists ? Result::Replaced : Result::Added;
                outcome.corrected = causal.corrected;
            }
            outcome.code = echo(causal.code);
            seen.insert(causal.code);
            refused = refused || outcome.result == Result::Refused;
            report.causals.append(outcome);
            causals.append(causal);
        }
        if (refused)
            return report;

        ado::TransactionGuard transaction(*m_connection);
        CausalHistory history(*m_connection, options.userName);
        for (int i = 0; i < causals.size(); ++i) {
            Causal &causal = causals[i];
            if (options.dryRun && causal.exists)
                causal.before = CausalConfiguration::read(*m_connection, causal.code);
            else if (!options.dryRun)
                causal.before = history.snapshot(causal.code);
            if (const QString error = write(causal); !error.isEmpty()) {
                report.error = m_texts.text(Text::DatabaseError, {echo(error)});
                return report;
            }
            report.causals[i].completed = complete(causal, options);
            if (!causal.history.isEmpty())
                report.causals[i].history = CausalHistory::restore(*m_connection, causal.code, causal.history);
        }
        // Checked after every causal is written, so that causals of the same file may name
        // each other as compensation causals.
        for (Outcome &outcome : report.causals) {
            outcome.reason = ledgerRefusal(outcome.code);
            if (!outcome.reason.isEmpty()) {
                outcome.result = Result::Refused;
                refused = true;
            }
        }
        if (refused)
            return report;
        if (options.dryRun) {
            for (int i = 0; i < causals.size(); ++i) {
                if (causals.at(i).exists) {
                    report.causals[i].changes = CausalConfiguration::diff(
                        causals.at(i).before, CausalConfiguration::read(*m_connection, causals.at(i).code));
                    nameExclusions(report.causals[i].changes, references);
                }
            }
            report.acceptable = true;
            return report;  // the guard rolls everything back
        }
        for (const Causal &causal : causals)
            history.record(CausalHistory::Operation::Import, causal.code, causal.before);
        transaction.commit();
        report.acceptable = true;
        report.written = true;
    } catch (const ado::AdoError &e) {
        report.error = m_texts.text(Text::DatabaseError, {echo(e.message())});
        report.acceptable = false;
    }
    return report;
}
