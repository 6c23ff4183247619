#include "historymemory.h"

#include "ado/connection.h"
#include "ado/transactionguard.h"
#include "causals/causalhistory.h"
#include "installer/databaseinstaller.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace HistoryMemory {

namespace {

using Change = CausalConfiguration::Change;

// One save as the window records it: the description, company parameters, a few checks, two
// layout columns added and an exclusion removed.
QList<Change> aSave(int i)
{
    const int code = 300 + i % 20;
    QList<Change> changes;
    const auto changed = [&](const char *table, QList<QPair<QString, QVariant>> key, const char *column, QVariant before,
                             QVariant after) {
        Change c;
        c.table = QLatin1String(table);
        c.key = std::move(key);
        c.column = QLatin1String(column);
        c.before = std::move(before);
        c.after = std::move(after);
        changes.append(c);
    };
    changed("CGP0_DUEBILCAUSALI", {{"CGP0_CAUSALE", code}}, "CGP0_DESCRIZIONE", QStringLiteral("Incasso RiBa clienti %1").arg(i),
            QStringLiteral("Incasso RiBa clienti %1").arg(i + 1));
    for (const char *column : {"CGP6_MESI", "CGP6_DELTAIMPORTO", "CGP6_TIPOREGISTRAZIONE", "CGP6_INDVISANTEPRIMA"})
        changed("CGP6_DUEBILPARAMDITTA", {{"CGP6_DITTA_CG18", 1}, {"CGP6_CAUSALE_CGP0", code}}, column, i % 7, i % 7 + 1);
    for (int check = 1; check <= 8; ++check)
        changed("CGP4_DUEBILFILTRI", {{"CGP4_CAUSALE_CGP0", code}, {"CGP4_IDCHECK_CGP2", check}}, "CGP4_VALORE", 0, 1);
    for (int field = 0; field < 2; ++field) {
        Change c;
        c.kind = Change::RowAdded;
        c.table = QStringLiteral("CGP3_DUEBILGRIGLIA");
        c.key = {{"CGP3_CAUSALE_CGP0", code}, {"CGP3_IDFIELD_CGP1", 10 + field}};
        c.values = {{"CGP3_VISIBLEORDER", 6 + field}, {"CGP3_SORTTYPE", 0}, {"CGP3_GROUPED", 0}};
        changes.append(c);
    }
    Change removed;
    removed.kind = Change::RowRemoved;
    removed.table = QStringLiteral("CGP8_DUEBILREVOKE");
    removed.key = {{"CGP8_CAUSALE_CGP0", code}, {"ID", i}};
    removed.values = {{"CGP8_ID_FW06", 4}, {"CGP8_ID_FW07", QVariant()}};
    changes.append(removed);
    return changes;
}

bool build(const QString &path, int operations, QString *error)
{
    if (!DatabaseInstaller::create(path, true, error))
        return false;
    ado::Connection c;
    c.Open(QStringLiteral("sqlite:") + path);
    ado::TransactionGuard transaction(c);
    CausalHistory history(c, QStringLiteral("MROSSI"));
    for (int i = 0; i < operations; ++i)
        history.record(CausalHistory::Operation::Save, QString::number(300 + i % 20), aSave(i));
    transaction.commit();
    return true;
}

} // namespace

std::optional<Figure> measure(const QString &dir, int operations, QString *error)
{
    const QString path = dir + QStringLiteral("/storico-%1.db").arg(operations);
    if (!QFile::exists(path) && !build(path, operations, error))
        return std::nullopt;
    const QByteArray output = QFile::encodeName(dir + QStringLiteral("/storico-%1.json").arg(operations));
    const QByteArray tool = QByteArrayLiteral(DUEBIL_CLI_PATH);
    const QByteArray db = QFile::encodeName(QStringLiteral("sqlite:") + path);
    const char *argv[] = {tool.constData(), "--db", db.constData(), "history", "--json", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, tool.constData(), &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        *error = QStringLiteral("cannot start %1").arg(QString::fromLocal8Bit(tool));
        return std::nullopt;
    }
    int status = 0;
    rusage usage{};
    // The child's own peak, not the benchmark's: wait4 reports the one process waited for.
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *error = QStringLiteral("history --json failed on %1").arg(path);
        return std::nullopt;
    }
    return Figure{operations, usage.ru_maxrss / 1024.0, QFileInfo(QFile::decodeName(output)).size(),
                  timer.elapsed() / 1000.0};
}

} // namespace HistoryMemory
