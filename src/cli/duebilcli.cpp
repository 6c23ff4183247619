#include "cli/duebilcli.h"

#include "ado/transactionguard.h"
#include "cli/causalexchange.h"

#include "ado/adoerror.h"
#include "ado/recordset.h"
#include "causals/causalaccess.h"
#include "causals/causalhistory.h"
#include "causals/causaloperations.h"
#include "cli/consolemessageservice.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/frameworktexts.h"
#include "framework/textstore.h"
#include "installer/databaseinstaller.h"
#include "params/storedparameterchecks.h"
#include "params/valuerules.h"
#include "store/adoerrorclassifier.h"
#include "store/duebilstatements.h"
#include "store/moduletables.h"

#include <QDateTime>
#include <QJsonArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace S = DueBilStatements;

namespace {

namespace CliText {
enum : int {
    Usage = 992001, UnknownCommand, WrongArguments, CannotOpen, Created, AlreadyHasTables,
    CausalCreated, CausalDuplicated, CausalDeleted, CausalMissing, Completed, CannotCreate,
    NotDone, ErrorReport, InitNeedsFile, CompanyMissing, Finding, CodeMissing, NothingFound,
    ImportAdded = 992110, ImportReplaced, ImportRefused, ImportNothingWritten, ImportCannotRead, ImportDone,
    TooLong = 992118,
    ImportCompleted = 992125, DryAdded, DryReplaced, DryUnchanged, DiffChanged, DiffAdded, DiffRemoved, DryDone,
    DryRefused, ReadOnly, DryReplacing, AccessCausal, AccessAllowedUsers, AccessWithdrawnUsers, WithdrawnByUser,
    WithdrawnByGroup, AccessUser, AccessAllowedCausals, AccessWithdrawnCausals, UserMissing, AccessNobody, Inactive,
    HistoryEntry, OperationSave, OperationCreate, OperationDuplicate, OperationDelete, OperationImport, HistoryEmpty,
    BadDate, HistoryMissing, OperationCompletion, HistoryEntryAll, SchemaTableCreated, SchemaRowsAdded, SchemaNothingToCreate,
    SchemaNeedsDatabase,
    UnknownOption = 992300, OptionNeedsValue, OptionNotForCommand, BadLimit,
    GroupGone = 992310, MembershipUnread, TableMissing, ColumnMissing, BadMembership, UserAmbiguous, UnresolvedOfCausal,
    DryOneCompany = 992173, HistoryCarried
};
}

// The longest description the window's field takes.
const int DescriptionLimit = ValueRules::accepted(
    *ModuleTables::find(QStringLiteral("CGP0_DUEBILCAUSALI"))->column(QStringLiteral("CGP0_DESCRIZIONE"))).characters;

struct Options
{
    QString db;
    QString company = QStringLiteral("1");
    bool companyGiven = false;
    QString user;
    bool userGiven = false;
    QString description;
    bool descriptionGiven = false;
    bool demo = false;
    bool schemaOnly = false;
    bool json = false;
    bool replace = false;
    bool dryRun = false;
    bool withHistory = false;
    QString since;
    QString limit;
    bool help = false;
    // The options given, as typed, to tell a command the ones it does not take.
    QStringList given;
    QStringList positional;
};

// What each command takes: its count of arguments (-1: none or one, -2: any number) and its
// options besides --db, --company and --user, which every command takes.
struct CommandForm
{
    int arity;
    QStringList options;
};

const QHash<QString, CommandForm> &commandForms()
{
    static const QHash<QString, CommandForm> forms = {
        {"init", {0, {"--demo", "--schema-only"}}},
        {"list", {0, {"--json"}}},
        {"show", {1, {"--json"}}},
        {"complete", {0, {}}},
        {"create", {1, {"--description"}}},
        {"duplicate", {2, {"--description"}}},
        {"delete", {1, {}}},
        {"validate", {-1, {"--json"}}},
        {"export", {-2, {"--with-history"}}},
        {"import", {1, {"--replace", "--dry-run", "--with-history"}}},
        {"access", {-1, {"--json"}}},
        {"history", {-1, {"--since", "--limit", "--json"}}},
    };
    return forms;
}

// The per-causal tables as "show" lists them: section name and statement.
QList<QPair<QString, QString>> causalSections(const QString &code)
{
    QList<QPair<QString, QString>> sections;
    for (const ModuleTables::Table *t : ModuleTables::ofCausal()) {
        if (t->show)
            sections.append({QLatin1String(t->table), t->show(code)});
    }
    return sections;
}

// A stored value as a change line shows it: NULL, a number bare, a text in quotes.
QString shownValue(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    const QString text = CausalExchange::echo(v.toString());
    if (v.typeId() == QMetaType::QString)
        return "'" + text + "'";
    return text;
}

QJsonArray rowsAsJson(ado::Recordset &rs)
{
    QJsonArray rows;
    const QStringList fields = rs.fieldNames();
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        QJsonObject row;
        for (const QString &f : fields) {
            if (!row.contains(f))
                row.insert(f, QJsonValue::fromVariant(rs.value(f)));
        }
        rows.append(row);
    }
    return rows;
}


} // namespace

struct DueBilCli::Private
{
    QTextStream &out;
    QTextStream &err;
    TextStore texts;
    ConsoleMessageService messages;
    ErrorTrap trap;
    Options options;
    ado::ConnectionPtr connection;

    Private(QTextStream &o, QTextStream &e) : out(o), err(e), messages(e), trap(&messages, &texts)
    {
        trap.setClassifier(adoErrorClassifier(&texts));
        texts.loadFile(FrameworkText::file());
        for (const QString &file : DatabaseInstaller::textFiles())
            texts.loadFile(file);
        texts.loadFile(QStringLiteral(":/duebil/cli/texts/cli.tsv"));
    }

    int say(int textId, const QStringList &params = {}, int code = Done)
    {
        (code == Done ? out : err) << texts.text(textId, params) << Qt::endl;
        return code;
    }

    int usage(int textId, const QStringList &params = {})
    {
        err << texts.text(textId, params) << Qt::endl << Qt::endl << texts.text(CliText::Usage) << Qt::endl;
        return UsageError;
    }

    // An operation not done: refused with its own message, or given up after the error
    // report has already told the user why.
    int refused(const CausalOperations::Outcome &outcome)
    {
        if (outcome.result == CausalOperations::Outcome::Result::Refused)
            return say(outcome.textId, outcome.params, Refused);
        return say(CliText::NotDone, {}, Refused);
    }

    // A causal code as the window accepts it: at most three digits.
    static CausalOperations::Outcome checkCode(const QString &code)
    {
        return CausalOperations::checkNewCode(code, CausalOperations::ReservedUser);
    }

    // On a bad option answers false with the text that says why and the option.
    bool parse(const QStringList &arguments, int *problemText, QString *problem)
    {
        static const QHash<QString, QString Options::*> valued = {
            {"--db", &Options::db},   {"--company", &Options::company}, {"--user", &Options::user},
            {"--description", &Options::description}, {"--since", &Options::since}, {"--limit", &Options::limit},
        };
        static const QHash<QString, bool Options::*> flags = {
            {"--demo", &Options::demo}, {"--schema-only", &Options::schemaOnly}, {"--json", &Options::json},
            {"--replace", &Options::replace}, {"--dry-run", &Options::dryRun}, {"--with-history", &Options::withHistory},
            {"--help", &Options::help}, {"-h", &Options::help},
        };
        for (int i = 0; i < arguments.size(); ++i) {
            const QString a = arguments.at(i);
            *problem = a;
            if (const auto field = valued.value(a)) {
                if (i + 1 >= arguments.size()) {
                    *problemText = CliText::OptionNeedsValue;
                    return false;
                }
                options.*field = arguments.at(++i);
                options.given << a;
            } else if (const auto flag = flags.value(a)) {
                options.*flag = true;
                options.given << a;
            } else if (a.size() > 1 && a.startsWith('-') && !a.at(1).isDigit()) {
                // A negative number is a code (refused as a code); anything else with a dash is an option.
                *problemText = CliText::UnknownOption;
                return false;
            } else {
                options.positional.append(a);
            }
        }
        options.companyGiven = options.given.contains(QLatin1String("--company"));
        options.userGiven = options.given.contains(QLatin1String("--user"));
        options.descriptionGiven = options.given.contains(QLatin1String("--description"));
        if (options.user.isEmpty())
            options.user = ClsGlobal::loginName();
        return true;
    }

    bool open()
    {
        QString cs = options.db;
        if (cs.isEmpty()) {
            QString error;
            const QString path = DatabaseInstaller::ensureDemoDatabase(&error);
            if (path.isEmpty()) {
                say(CliText::CannotOpen, {error}, Refused);
                return false;
            }
            cs = QStringLiteral("sqlite:") + path;
        }
        connection = std::make_shared<ado::Connection>();
        connection->setStatementsLogged(true);
        try {
            connection->Open(cs);
        } catch (const ado::AdoError &e) {
            say(CliText::CannotOpen, {e.message()}, Refused);
            return false;
        }
        return true;
    }

    // The group code the host's company object supplies for the posting personalisation.
    QString companyGroup()
    {
        const ado::RecordsetPtr rs = connection->Execute(S::companyGroup(options.company));
        return rs->RecordCount() > 0 ? ClsServizi::nullToDefault(rs->value("CG18_GRUPPO_CG10"), 0).toString()
                                     : QString();
    }

    int init()
    {
        if (options.schemaOnly)
            return initModuleSchema();
        QString path = options.db;
        if (path.startsWith(QLatin1String("sqlite:")))
            path = path.mid(7);
        if (path.isEmpty() || ado::Connection::isOdbc(path))
            return usage(CliText::InitNeedsFile);
        if (DatabaseInstaller::hasSchema(path))
            return say(CliText::AlreadyHasTables, {path}, Refused);
        QString error;
        if (!DatabaseInstaller::create(path, options.demo, &error))
            return say(CliText::CannotCreate, {error}, Refused);
        return say(CliText::Created, {path});
    }

    // The statements that create the module's own tables, indexes and catalogue rows, each one
    // harmless when what it creates is already there: on SQL Server the batches of the module's
    // script; on SQLite the module's part of the embedded scripts, made to skip what exists.
    QStringList moduleSchemaStatements()
    {
        auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QStringList statements;
        if (connection->dialect() == ado::Dialect::SqlServer) {
            for (const QString &batch : read(QStringLiteral(":/db/sqlserver/module.sql"))
                                            .split(QRegularExpression(QStringLiteral("^\\s*GO\\s*$"),
                                                                      QRegularExpression::MultilineOption))) {
                if (!batch.trimmed().isEmpty())
                    statements << batch.trimmed();
            }
            return statements;
        }
        static const QRegularExpression ours(QStringLiteral("^(CREATE TABLE CGP|CREATE (UNIQUE )?INDEX \\w+ ON CGP|INSERT INTO CGP)"));
        static const QRegularExpression comment(QStringLiteral("^--[^\\n]*\\n?"), QRegularExpression::MultilineOption);
        for (const QString &script : {QStringLiteral(":/db/sqlite/schema.sql"), QStringLiteral(":/db/sqlite/catalogue.sql")}) {
            for (QString statement : read(script).remove(comment).split(QRegularExpression(QStringLiteral(";\\s*(\\n|$)")))) {
                statement = statement.trimmed();
                if (!ours.match(statement).hasMatch())
                    continue;
                statement.replace(QRegularExpression(QStringLiteral("^CREATE TABLE ")), QStringLiteral("CREATE TABLE IF NOT EXISTS "));
                statement.replace(QRegularExpression(QStringLiteral("^CREATE (UNIQUE )?INDEX ")), QStringLiteral("CREATE \\1INDEX IF NOT EXISTS "));
                statement.replace(QRegularExpression(QStringLiteral("^INSERT INTO ")), QStringLiteral("INSERT OR IGNORE INTO "));
                statements << statement;
            }
        }
        return statements;
    }

    // Creates or completes the module's tables and catalogues on a database whose other tables
    // belong to the host; what exists stays as it is. One transaction: all of it or nothing.
    int initModuleSchema()
    {
        if (options.db.isEmpty())
            return usage(CliText::SchemaNeedsDatabase);
        if (!open())
            return Refused;
        static const QStringList catalogues = [] {
            QStringList names;
            for (const ModuleTables::Table &t : ModuleTables::all()) {
                if (t.role == ModuleTables::Role::Catalogue)
                    names << QLatin1String(t.table);
            }
            return names;
        }();
        auto tables = [this] {
            QStringList names;
            for (const QString &name : connection->database().tables())
                names << name.toUpper();
            return names;
        };
        auto catalogueRows = [this](const QStringList &present) {
            QList<qlonglong> counts;
            for (const QString &table : catalogues)
                counts << (present.contains(table)
                               ? connection->Execute(QStringLiteral("SELECT COUNT(*) AS N FROM ") + table)->value("N").toLongLong()
                               : 0);
            return counts;
        };
        const QStringList statements = moduleSchemaStatements();
        if (statements.isEmpty())
            return say(CliText::CannotCreate, {QStringLiteral("no script")}, Refused);
        QStringList before;
        QList<qlonglong> rowsBefore;
        QStringList after;
        QList<qlonglong> rowsAfter;
        try {
            before = tables();
            rowsBefore = catalogueRows(before);
            // The scripts' text is checked as a whole file; on SQLite it is not T-SQL, so it
            // stays out of the log of statements checked as T-SQL.
            connection->setStatementsLogged(false);
            connection->BeginTrans();
            for (const QString &statement : statements)
                connection->Execute(statement);
            connection->CommitTrans();
            connection->setStatementsLogged(true);
            after = tables();
            rowsAfter = catalogueRows(after);
        } catch (const ado::AdoError &e) {
            if (connection->inTransaction())
                connection->RollbackTrans();
            connection->setStatementsLogged(true);
            return say(CliText::CannotCreate, {e.message()}, Refused);
        }
        bool created = false;
        for (const QString &table : after) {
            if (table.startsWith(QLatin1String("CGP")) && !before.contains(table)) {
                say(CliText::SchemaTableCreated, {table});
                created = true;
            }
        }
        for (qsizetype i = 0; i < catalogues.size(); ++i) {
            if (rowsAfter.at(i) > rowsBefore.at(i)) {
                say(CliText::SchemaRowsAdded, {catalogues.at(i), QString::number(rowsAfter.at(i) - rowsBefore.at(i))});
                created = true;
            }
        }
        return created ? Done : say(CliText::SchemaNothingToCreate);
    }

    int list()
    {
        const ado::RecordsetPtr rs = connection->Execute(S::causalList());
        if (options.json) {
            QJsonArray causals;
            for (; !rs->isEOF(); rs->MoveNext())
                causals.append(QJsonObject{{"causale", rs->value("CGP0_CAUSALE").toInt()},
                                           {"descrizione", rs->value("CGP0_DESCRIZIONE").toString()}});
            out << QJsonDocument(causals).toJson(QJsonDocument::Indented);
            out.flush();
            return Done;
        }
        for (; !rs->isEOF(); rs->MoveNext())
            out << rs->value("CGP0_CAUSALE").toString() << '\t' << CausalExchange::printable(rs->value("CGP0_DESCRIZIONE").toString()) << '\n';
        out.flush();
        return Done;
    }

    int show(const QString &code)
    {
        const ado::RecordsetPtr causal =
            connection->Execute(S::causalRow(code));
        if (causal->RecordCount() == 0)
            return say(CliText::CausalMissing, {code}, Refused);
        if (options.json) {
            QJsonObject doc;
            doc.insert(QStringLiteral("CGP0_DUEBILCAUSALI"), rowsAsJson(*causal).first());
            for (const auto &section : causalSections(code))
                doc.insert(section.first, rowsAsJson(*connection->Execute(section.second)));
            out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
            out.flush();
            return Done;
        }
        out << causal->value("CGP0_CAUSALE").toString() << '\t' << CausalExchange::printable(causal->value("CGP0_DESCRIZIONE").toString()) << '\n';
        for (const auto &section : causalSections(code)) {
            const ado::RecordsetPtr rs = connection->Execute(section.second);
            out << '\n' << "[" << section.first << "] " << rs->RecordCount() << '\n';
            const QStringList fields = rs->fieldNames();
            for (; !rs->isEOF(); rs->MoveNext()) {
                QStringList cells;
                for (const QString &f : fields)
                    cells << f + '=' + CausalExchange::printable(rs->value(f).toString());
                out << "  " << cells.join(QStringLiteral("  ")) << '\n';
            }
        }
        out.flush();
        return Done;
    }

    // The work of one command in one transaction: committed when the work is done and none of
    // its statements failed, otherwise rolled back whole. The success line comes after the commit.
    template <typename Work>
    int atomically(Work work)
    {
        const int errorsBefore = messages.errorCount();
        ado::TransactionGuard transaction(*connection);
        const int status = work();
        if (status != Done)
            return status;
        if (messages.errorCount() > errorsBefore)
            return say(CliText::NotDone, {}, Refused);
        transaction.commit();
        return Done;
    }

    bool descriptionTooLong() const
    {
        return options.descriptionGiven && options.description.size() > DescriptionLimit;
    }

    int complete(CausalOperations &ops)
    {
        const QString group = companyGroup();
        if (group.isEmpty())
            return say(CliText::CompanyMissing, {options.company}, Refused);
        int added = 0;
        const int status = atomically([&] {
            for (const auto &table : ops.completeRecorded(options.company, group, options.user))
                added += table.second;
            return int(Done);
        });
        if (status != Done)
            return status;
        return say(CliText::Completed, {QString::number(added)});
    }

    int create(CausalOperations &ops, const QString &code)
    {
        const QString group = companyGroup();
        if (group.isEmpty())
            return say(CliText::CompanyMissing, {options.company}, Refused);
        if (descriptionTooLong())
            return say(CliText::TooLong, {QStringLiteral("CGP0_DESCRIZIONE"), QString::number(DescriptionLimit),
                                          QString::number(options.description.size())}, Refused);
        const int status = atomically([&] {
            const CausalOperations::Outcome outcome = ops.create(code, options.user, options.company, group,
                                                                 options.descriptionGiven ? options.description : QString());
            return outcome.done() ? int(Done) : refused(outcome);
        });
        if (status != Done)
            return status;
        return say(CliText::CausalCreated, {code});
    }

    int duplicate(CausalOperations &ops, const QString &source, const QString &target)
    {
        const ado::RecordsetPtr rs =
            connection->Execute(S::causalDescription(source));
        if (rs->RecordCount() == 0)
            return say(CliText::CausalMissing, {source}, Refused);
        if (descriptionTooLong())
            return say(CliText::TooLong, {QStringLiteral("CGP0_DESCRIZIONE"), QString::number(DescriptionLimit),
                                          QString::number(options.description.size())}, Refused);
        const QString description = options.descriptionGiven
            ? options.description
            : ClsServizi::nullToDefault(rs->value("CGP0_DESCRIZIONE"), QString()).toString();
        const int status = atomically([&] {
            const CausalOperations::Outcome outcome =
                ops.duplicate(source, target, description, options.user, options.company);
            return outcome.done() ? int(Done) : refused(outcome);
        });
        if (status != Done)
            return status;
        return say(CliText::CausalDuplicated, {source, target});
    }

    int remove(CausalOperations &ops, const QString &code)
    {
        if (!ops.exists(code))
            return say(CliText::CausalMissing, {code}, Refused);
        const int status = atomically([&] {
            const CausalOperations::Outcome outcome = ops.remove(code, options.user);
            return outcome.done() ? int(Done) : refused(outcome);
        });
        if (status != Done)
            return status;
        return say(CliText::CausalDeleted, {code});
    }

    int validate(const QString &code)
    {
        StoredParameterChecks checks(connection, [this](int id) { return texts.text(id); });
        checks.setValueRules(true);
        if (!code.isEmpty() && !CausalOperations(connection, &trap).exists(code))
            return say(CliText::CausalMissing, {code}, Refused);
        const QList<StoredParameterChecks::Finding> findings = code.isEmpty() ? checks.checkAll() : checks.check(code);
        QJsonArray found;
        for (const auto &f : findings) {
            QStringList params;
            for (const QString &p : f.params)
                params << CausalExchange::echo(p);
            const QString why = f.textId == 0 ? texts.text(CliText::CodeMissing) : texts.text(f.textId, options.json ? f.params : params);
            if (options.json)
                found.append(QJsonObject{{"causale", f.causal.toInt()},
                                         {"ditta", f.company.isEmpty() ? QJsonValue() : QJsonValue(f.company.toInt())},
                                         {"colonna", f.column}, {"valore", f.value}, {"motivo", why}});
            else
                out << texts.text(CliText::Finding, {f.causal, f.company, f.column, CausalExchange::echo(f.value)})
                           .replace(QLatin1String("%5"), why)
                    << '\n';
        }
        if (options.json) {
            // The findings are the answer: the exit status still tells whether there are any.
            out << QJsonDocument(found).toJson(QJsonDocument::Indented);
            out.flush();
            return findings.isEmpty() ? int(Done) : int(Refused);
        }
        out.flush();
        if (findings.isEmpty())
            return say(CliText::NothingFound);
        return Refused;
    }

    // A group by its code; one deleted since it was named is named by its id.
    QString groupText(const CausalAccess::Group &g) const
    {
        return g.code.isEmpty() ? texts.text(CliText::GroupGone, {QString::number(g.id)}) : g.code;
    }

    static QJsonValue groupAsJson(const CausalAccess::Group &g)
    {
        return QJsonObject{{"id", g.id}, {"codice", g.code.isEmpty() ? QJsonValue() : QJsonValue(g.code)}};
    }

    template <typename T>
    QString withdrawalText(const CausalAccess::Entry<T> &e) const
    {
        return e.withdrawal == CausalAccess::Withdrawal::ByUser ? texts.text(CliText::WithdrawnByUser)
                                                                : texts.text(CliText::WithdrawnByGroup, {groupText(e.byGroup)});
    }

    template <typename T>
    static QJsonObject withdrawalAsJson(QJsonObject item, const CausalAccess::Entry<T> &e)
    {
        const bool byUser = e.withdrawal == CausalAccess::Withdrawal::ByUser;
        item.insert("motivo", byUser ? QStringLiteral("utente") : QStringLiteral("gruppo"));
        if (!byUser)
            item.insert("gruppoEscluso", groupAsJson(e.byGroup));
        return item;
    }

    // The user's groups; null when the membership could not be read.
    static QJsonObject userAsJson(const CausalAccess::User &u, bool membershipRead)
    {
        QJsonArray groups;
        for (const CausalAccess::Group &g : u.groups)
            groups.append(groupAsJson(g));
        return {{"id", u.id}, {"utente", u.userName}, {"descrizione", u.description}, {"attivo", u.active},
                {"gruppi", membershipRead ? QJsonValue(groups) : QJsonValue()}};
    }

    // Where group membership comes from; nothing, and the reason said, when it is set wrong.
    std::optional<CausalAccess> access()
    {
        const auto membership = CausalAccess::Membership::fromEnvironment();
        if (!membership) {
            say(CliText::BadMembership, {CausalExchange::echo(qEnvironmentVariable(CausalAccess::Membership::Variable))},
                Refused);
            return std::nullopt;
        }
        return CausalAccess(*connection, *membership);
    }

    // What the listing could not apply for want of the group membership, on screen and in JSON.
    template <typename T>
    void membershipNotice(const CausalAccess::Listing<T> &listing, bool causalsNamed, QJsonObject *doc)
    {
        const auto membership = CausalAccess::Membership::fromEnvironment().value_or(CausalAccess::Membership());
        if (listing.membership == CausalAccess::MembershipState::Read) {
            if (doc)
                doc->insert("appartenenzaGruppi", QJsonObject{{"fonte", membership.text()}, {"letta", true}});
            return;
        }
        const QString why = listing.membership == CausalAccess::MembershipState::TableMissing
            ? texts.text(CliText::TableMissing, {listing.missing})
            : texts.text(CliText::ColumnMissing, {listing.missing, membership.table});
        if (doc) {
            QJsonArray unresolved;
            for (const auto &u : listing.unresolved)
                unresolved.append(QJsonObject{{"causale", u.causal.toInt()}, {"gruppo", groupAsJson(u.group)}});
            doc->insert("appartenenzaGruppi", QJsonObject{{"fonte", membership.text()}, {"letta", false}, {"motivo", why}});
            doc->insert("esclusioniGruppoNonRisolte", unresolved);
            return;
        }
        // A listing that had no group exclusion to apply is whole without the membership.
        if (listing.unresolved.isEmpty())
            return;
        QStringList named;
        for (const auto &u : listing.unresolved)
            named << (causalsNamed ? texts.text(CliText::UnresolvedOfCausal, {u.causal, groupText(u.group)}) : groupText(u.group));
        out << texts.text(CliText::MembershipUnread, {why, named.join(QStringLiteral(", "))}) << '\n';
    }

    // Who may use the causal, and who may not and why.
    int accessOfCausal(const QString &code)
    {
        auto causalAccess = access();
        if (!causalAccess)
            return Refused;
        QString description;
        const auto listing = causalAccess->forCausal(code, &description);
        if (!listing)
            return say(CliText::CausalMissing, {code}, Refused);
        const bool membershipRead = listing->membership == CausalAccess::MembershipState::Read;
        if (options.json) {
            QJsonArray allowed, withdrawn;
            for (const auto &e : listing->entries) {
                const QJsonObject user = userAsJson(e.item, membershipRead);
                if (e.withdrawal == CausalAccess::Withdrawal::None)
                    allowed.append(user);
                else
                    withdrawn.append(withdrawalAsJson(user, e));
            }
            QJsonObject doc{{"causale", code.toInt()}, {"descrizione", description}, {"abilitati", allowed}, {"esclusi", withdrawn}};
            membershipNotice(*listing, false, &doc);
            out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
            out.flush();
            return Done;
        }
        out << texts.text(CliText::AccessCausal, {code, CausalExchange::printable(description)}) << '\n';
        for (const bool allowedPart : {true, false}) {
            out << texts.text(allowedPart ? CliText::AccessAllowedUsers : CliText::AccessWithdrawnUsers) << '\n';
            int shown = 0;
            for (const auto &e : listing->entries) {
                if ((e.withdrawal == CausalAccess::Withdrawal::None) != allowedPart)
                    continue;
                ++shown;
                QStringList cells = {CausalExchange::printable(e.item.userName), CausalExchange::printable(e.item.description)};
                if (!allowedPart)
                    cells << withdrawalText(e);
                if (!e.item.active)
                    cells << texts.text(CliText::Inactive);
                out << "  " << cells.join('\t') << '\n';
            }
            if (shown == 0)
                out << texts.text(CliText::AccessNobody) << '\n';
        }
        membershipNotice(*listing, false, nullptr);
        out.flush();
        return Done;
    }

    // The causals the user may use, and those withdrawn and why. An inactive user may use none.
    int accessOfUser(const QString &userName)
    {
        auto causalAccess = access();
        if (!causalAccess)
            return Refused;
        CausalAccess::User user;
        QStringList ambiguous;
        const auto listing = causalAccess->forUser(userName, &user, &ambiguous);
        const QString shownName = CausalExchange::echo(userName);
        if (!listing && !ambiguous.isEmpty())
            return say(CliText::UserAmbiguous, {shownName, CausalExchange::printable(ambiguous.join(QStringLiteral(", ")))}, Refused);
        if (!listing)
            return say(CliText::UserMissing, {shownName}, Refused);
        const bool membershipRead = listing->membership == CausalAccess::MembershipState::Read;
        if (options.json) {
            QJsonArray allowed, withdrawn;
            for (const auto &e : listing->entries) {
                const QJsonObject causal{{"causale", e.item.code.toInt()}, {"descrizione", e.item.description}};
                if (e.withdrawal == CausalAccess::Withdrawal::None)
                    allowed.append(causal);
                else
                    withdrawn.append(withdrawalAsJson(causal, e));
            }
            QJsonObject doc = userAsJson(user, membershipRead);
            doc.insert("abilitate", allowed);
            doc.insert("escluse", withdrawn);
            membershipNotice(*listing, true, &doc);
            out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
            out.flush();
            return Done;
        }
        QString heading = texts.text(CliText::AccessUser, {CausalExchange::printable(user.userName), CausalExchange::printable(user.description)});
        if (!user.active)
            heading += " (" + texts.text(CliText::Inactive) + ")";
        out << heading << '\n';
        for (const bool allowedPart : {true, false}) {
            out << texts.text(allowedPart ? CliText::AccessAllowedCausals : CliText::AccessWithdrawnCausals) << '\n';
            int shown = 0;
            for (const auto &e : listing->entries) {
                if ((e.withdrawal == CausalAccess::Withdrawal::None) != allowedPart)
                    continue;
                ++shown;
                QStringList cells = {e.item.code, CausalExchange::printable(e.item.description)};
                if (!allowedPart)
                    cells << withdrawalText(e);
                out << "  " << cells.join('\t') << '\n';
            }
            if (shown == 0)
                out << texts.text(CliText::AccessNobody) << '\n';
        }
        membershipNotice(*listing, true, nullptr);
        out.flush();
        return Done;
    }

    QString operationText(CausalHistory::Operation operation) const
    {
        switch (operation) {
        case CausalHistory::Operation::Save: return texts.text(CliText::OperationSave);
        case CausalHistory::Operation::Create: return texts.text(CliText::OperationCreate);
        case CausalHistory::Operation::Duplicate: return texts.text(CliText::OperationDuplicate);
        case CausalHistory::Operation::Delete: return texts.text(CliText::OperationDelete);
        case CausalHistory::Operation::Import: return texts.text(CliText::OperationImport);
        case CausalHistory::Operation::Completion: return texts.text(CliText::OperationCompletion);
        }
        return QString::number(int(operation));
    }

    static QString keyText(const QJsonObject &key)
    {
        QStringList parts;
        for (auto it = key.begin(); it != key.end(); ++it)
            parts << it.key() + '=' + shownValue(it.value().toVariant());
        return parts.join(QLatin1Char(','));
    }

    // One operation of the record as a member of the JSON array "history --json" writes.
    static QJsonObject historyEntryAsJson(const CausalHistory::Entry &e)
    {
        static const char *const kinds[] = {"modificata", "aggiunta", "eliminata"};
        static const char *const operations[] = {"", "salvataggio", "nuova", "duplicazione", "eliminazione",
                                                 "importazione", "completamento"};
        QJsonArray rows;
        for (const CausalHistory::RowChange &r : e.rows)
            rows.append(QJsonObject{{"tabella", r.table}, {"modifica", kinds[int(r.kind)]}, {"chiave", r.key},
                                    {"valori", r.values}});
        return QJsonObject{{"causale", e.causal.toInt()}, {"dataOra", e.when}, {"utente", e.user},
                           {"operazione", operations[int(e.operation)]}, {"righe", rows}};
    }

    void printHistoryEntry(const CausalHistory::Entry &e)
    {
        using RowKind = CausalHistory::RowKind;
        out << (e.operation == CausalHistory::Operation::Completion
                    ? texts.text(CliText::HistoryEntryAll, {e.when, CausalExchange::printable(e.user), operationText(e.operation)})
                    : texts.text(CliText::HistoryEntry, {e.when, CausalExchange::printable(e.user), operationText(e.operation), e.causal}))
            << '\n';
        for (const CausalHistory::RowChange &r : e.rows) {
            if (r.kind == RowKind::Changed) {
                for (auto it = r.values.begin(); it != r.values.end(); ++it) {
                    const QJsonArray pair = it.value().toArray();
                    out << texts.text(CliText::DiffChanged, {r.table, keyText(r.key), it.key(),
                                                             shownValue(pair.at(0).toVariant())})
                               .replace(QLatin1String("%5"), shownValue(pair.at(1).toVariant()))
                        << '\n';
                }
                continue;
            }
            QStringList cells;
            for (auto it = r.values.begin(); it != r.values.end(); ++it) {
                if (!r.key.contains(it.key()))
                    cells << it.key() + '=' + shownValue(it.value().toArray().at(r.kind == RowKind::Added ? 1 : 0).toVariant());
            }
            out << texts.text(r.kind == RowKind::Added ? CliText::DiffAdded : CliText::DiffRemoved, {r.table, keyText(r.key)})
                << "  " << cells.join(QLatin1Char(' ')) << '\n';
        }
    }

    // The changes recorded, newest first, each row's columns as the trial import shows them.
    // Written as they are read: the record of a busy database is far larger than its causals.
    int history(const QString &code)
    {
        QString since;
        if (!options.since.isEmpty()) {
            for (const char *format : {"yyyy-MM-dd", "yyyy-MM-dd HH:mm", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss"}) {
                const QDateTime moment = QDateTime::fromString(options.since, QLatin1String(format));
                if (moment.isValid()) {
                    since = moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
                    break;
                }
            }
            if (since.isEmpty())
                return usage(CliText::BadDate, {CausalExchange::echo(options.since)});
        }
        int limit = 0;
        if (!options.limit.isEmpty()) {
            bool number = false;
            limit = options.limit.toInt(&number);
            if (!number || limit <= 0)
                return usage(CliText::BadLimit, {CausalExchange::echo(options.limit)});
        }
        if (!CausalHistory::exists(*connection))
            return say(CliText::HistoryMissing, {CausalHistory::TableName}, Refused);
        if (options.json) {
            // The array as QJsonDocument indents it, one member at a time.
            out << '[';
            bool first = true;
            CausalHistory::read(*connection, code, since, limit, [this, &first](const CausalHistory::Entry &e) {
                const QByteArray member = QJsonDocument(historyEntryAsJson(e)).toJson(QJsonDocument::Indented);
                QByteArray indented(first ? "\n    " : ",\n    ");
                indented.reserve(member.size() * 3 / 2);
                // Each line one level deeper; the member's last line break is the array's.
                for (qsizetype from = 0, to; from < member.size() - 1; from = to + 1) {
                    to = member.indexOf('\n', from);
                    indented.append(member.constData() + from, to - from);
                    if (to < member.size() - 1)
                        indented.append("\n    ", 5);
                }
                out << QString::fromUtf8(indented);
                first = false;
            });
            out << "\n]\n";
            out.flush();
            return Done;
        }
        const int given = CausalHistory::read(*connection, code, since, limit,
                                              [this](const CausalHistory::Entry &e) { printHistoryEntry(e); });
        out.flush();
        if (given == 0)
            return say(CliText::HistoryEmpty);
        return Done;
    }

    int exportCausals(const QStringList &codes)
    {
        CausalOperations ops(connection, &trap);
        for (const QString &code : codes) {
            if (!ops.exists(code))
                return say(CliText::CausalMissing, {code}, Refused);
        }
        const QString company = options.companyGiven ? options.company : QString();
        if (!company.isEmpty() && companyGroup().isEmpty())
            return say(CliText::CompanyMissing, {company}, Refused);
        if (options.withHistory && !CausalHistory::exists(*connection))
            return say(CliText::HistoryMissing, {CausalHistory::TableName}, Refused);
        out << CausalExchange(connection, texts).exportCausals(codes, company, options.withHistory).toJson(QJsonDocument::Indented);
        out.flush();
        return Done;
    }

    QString keyText(const QList<QPair<QString, QVariant>> &key) const
    {
        QStringList parts;
        for (const auto &[column, value] : key)
            parts << column + '=' + shownValue(value);
        return parts.join(QLatin1Char(','));
    }

    void printChanges(const CausalExchange::Outcome &o)
    {
        for (const CausalConfiguration::Change &c : o.changes) {
            if (c.kind == CausalConfiguration::Change::ValueChanged)
                out << texts.text(CliText::DiffChanged,
                                  {c.table, keyText(c.key), c.column, shownValue(c.before)}).replace(QLatin1String("%5"), shownValue(c.after));
            else
                out << texts.text(c.kind == CausalConfiguration::Change::RowAdded ? CliText::DiffAdded : CliText::DiffRemoved,
                                  {c.table, keyText(c.key)});
            out << '\n';
        }
    }

    void printCompleted(const CausalExchange::Outcome &o)
    {
        if (o.completed.isEmpty())
            return;
        QStringList counts;
        for (const auto &[table, rows] : o.completed)
            counts << table + ' ' + QString::number(rows);
        out << texts.text(CliText::ImportCompleted, {o.code, counts.join(QStringLiteral(", "))}) << '\n';
    }

    void printHistory(const CausalExchange::Outcome &o)
    {
        if (o.history > 0)
            out << texts.text(CliText::HistoryCarried, {o.code, QString::number(o.history)}) << '\n';
    }

    void printCorrected(const CausalExchange::Outcome &o)
    {
        for (const QString &line : o.corrected)
            out << line << '\n';
    }

    int importCausals(const QString &fileName)
    {
        const QString group = companyGroup();
        if (group.isEmpty())
            return say(CliText::CompanyMissing, {options.company}, Refused);
        if (options.withHistory && !CausalHistory::exists(*connection))
            return say(CliText::HistoryMissing, {CausalHistory::TableName}, Refused);
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            return say(CliText::ImportCannotRead, {CausalExchange::echo(fileName), file.errorString()}, Refused);
        CausalExchange::ImportOptions importOptions;
        importOptions.replace = options.replace;
        importOptions.dryRun = options.dryRun;
        importOptions.userName = options.user;
        importOptions.company = options.company;
        importOptions.group = group;
        importOptions.withHistory = options.withHistory;
        CausalExchange exchange(connection, texts);
        const CausalExchange::ImportReport report = exchange.importCausals(file.readAll(), importOptions);
        using Result = CausalExchange::Result;
        if (options.dryRun) {
            if (!report.company.isEmpty())
                out << texts.text(CliText::DryOneCompany, {report.company}) << '\n';
            // The trial run shows what each causal would become, refused ones included.
            for (const CausalExchange::Outcome &o : report.causals) {
                if (o.result == Result::Refused) {
                    out << texts.text(CliText::ImportRefused, {o.code, o.reason}) << '\n';
                    continue;
                }
                if (o.result == Result::Added)
                    out << texts.text(CliText::DryAdded, {o.code}) << '\n';
                else if (!report.acceptable)
                    out << texts.text(CliText::DryReplacing, {o.code}) << '\n';
                else if (o.changes.isEmpty())
                    out << texts.text(CliText::DryUnchanged, {o.code}) << '\n';
                else
                    out << texts.text(CliText::DryReplaced, {o.code}) << '\n';
                printCorrected(o);
                if (report.acceptable) {
                    printChanges(o);
                    printCompleted(o);
                    printHistory(o);
                }
            }
            out.flush();
            if (!report.error.isEmpty())
                err << report.error << Qt::endl;
            if (!report.acceptable)
                return say(CliText::DryRefused, {}, Refused);
            return say(CliText::DryDone, {QString::number(report.causals.size())});
        }
        if (!report.written) {
            // Only why: nothing was written, so nothing else is reported.
            for (const CausalExchange::Outcome &o : report.causals) {
                if (o.result == Result::Refused)
                    err << texts.text(CliText::ImportRefused, {o.code, o.reason}) << '\n';
            }
            if (!report.error.isEmpty())
                err << report.error << '\n';
            err.flush();
            return Refused;
        }
        for (const CausalExchange::Outcome &o : report.causals) {
            out << texts.text(o.result == Result::Added ? CliText::ImportAdded : CliText::ImportReplaced, {o.code}) << '\n';
            printCorrected(o);
            printCompleted(o);
            printHistory(o);
        }
        out.flush();
        return say(CliText::ImportDone, {QString::number(report.causals.size())});
    }

    int dispatch()
    {
        if (options.help || options.positional.value(0) == QLatin1String("help")) {
            out << texts.text(CliText::Usage) << Qt::endl;
            return Done;
        }
        if (options.positional.isEmpty())
            return usage(CliText::WrongArguments, {QString()});
        const QString command = options.positional.first();
        const QStringList args = options.positional.mid(1);
        if (!commandForms().contains(command))
            return usage(CliText::UnknownCommand, {command});
        const CommandForm &form = commandForms().value(command);
        if (form.arity >= 0 ? args.size() != form.arity : (form.arity == -1 && args.size() > 1))
            return usage(CliText::WrongArguments, {command});
        static const QStringList everyCommand = {"--db", "--company", "--user"};
        for (const QString &option : std::as_const(options.given)) {
            if (!everyCommand.contains(option) && !form.options.contains(option))
                return usage(CliText::OptionNotForCommand, {option, command});
        }
        bool numericCompany = false;
        options.company.toInt(&numericCompany);
        if (!numericCompany)
            return usage(CliText::WrongArguments, {QStringLiteral("--company")});
        if (command == QLatin1String("init"))
            return init();
        // A causal, or without one the user named by --user.
        if (command == QLatin1String("access") && args.isEmpty() && !options.userGiven)
            return usage(CliText::WrongArguments, {command});
        // Codes go bare into the statements: only what the window would accept gets there.
        for (const QString &code : command == QLatin1String("import") ? QStringList() : args) {
            if (const CausalOperations::Outcome checked = checkCode(code); !checked.done())
                return refused(checked);
        }
        if (!open())
            return Refused;
        CausalOperations ops(connection, &trap);
        static const QStringList writers = {"complete", "create", "duplicate", "delete", "import"};
        if (writers.contains(command) && connection->isReadOnly())
            return say(CliText::ReadOnly, {}, Refused);
        try {
            if (command == QLatin1String("list"))
                return list();
            if (command == QLatin1String("show"))
                return show(args.at(0));
            if (command == QLatin1String("complete"))
                return complete(ops);
            if (command == QLatin1String("create"))
                return create(ops, args.at(0));
            if (command == QLatin1String("duplicate"))
                return duplicate(ops, args.at(0), args.at(1));
            if (command == QLatin1String("validate"))
                return validate(args.value(0));
            if (command == QLatin1String("export"))
                return exportCausals(args);
            if (command == QLatin1String("import"))
                return importCausals(args.at(0));
            if (command == QLatin1String("history"))
                return history(args.value(0));
            if (command == QLatin1String("access"))
                return args.isEmpty() ? accessOfUser(options.user) : accessOfCausal(args.at(0));
            return remove(ops, args.at(0));
        } catch (const ado::AdoError &e) {
            if (e.kind() == ado::AdoError::ReadOnly)
                return say(CliText::ReadOnly, {}, Refused);
            const QString description = adoErrorDescription(e, &texts);
            ErrorReport report{command, e.number(), description, {}};
            report.text = texts.text(CliText::ErrorReport, {command, QString::number(e.number()), description});
            messages.reportError(report);
            return Refused;
        }
    }
};

DueBilCli::DueBilCli(QTextStream &out, QTextStream &err) : d(std::make_unique<Private>(out, err)) {}

DueBilCli::~DueBilCli() = default;

int DueBilCli::run(const QStringList &arguments)
{
    QString problem;
    int problemText = 0;
    if (!d->parse(arguments, &problemText, &problem))
        return d->usage(problemText, {problem});
    return d->dispatch();
}
