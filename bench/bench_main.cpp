// Times of the causal operations against the same statements run raw through SQLite, at
// growing numbers of causals (N) and companies (M). Prints a table and writes it as JSON.
#include "ado/recordset.h"
#include "ado/sqlrewriter.h"
#include "causals/causaloperations.h"
#include "framework/recordingmessageservice.h"
#include "store/duebilstatements.h"
#include "generator.h"
#include "historymemory.h"
#include "windowbench.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHash>
#include <QMap>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <optional>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

namespace S = DueBilStatements;

namespace {

// The median of five repetitions: on a shared machine one of three is often slowed by
// something else, and then the median is the slower of the other two.
constexpr int Repetitions = 5;

struct Size
{
    int n;
    int m;
};

// A window operation is timed as the window runs it, its statements replayed raw, and the same
// statements replayed through the database layer alone (the layer's part of the operation).
enum class Mode { Window, Raw, Layer };

QString workDir;

// One generated database per size, copied for the raw baseline so both start equal.
QString databaseFor(const Size &size, bool raw)
{
    static QMap<QString, QString> built;
    const QString key = QStringLiteral("%1x%2").arg(size.n).arg(size.m);
    if (!built.contains(key)) {
        const QString path = workDir + QLatin1Char('/') + key + ".db";
        QString error;
        // A kept directory (DUEBIL_BENCH_DIR) reuses the databases already generated there.
        if (qEnvironmentVariableIsSet("DUEBIL_BENCH_DIR") && QFile::exists(path)) {
            built.insert(key, path);
            return databaseFor(size, raw);
        }
        if (!BenchGenerator::build(path, size.n, size.m, &error))
            qFatal("cannot build %s: %s", qPrintable(key), qPrintable(error));
        built.insert(key, path);
    }
    const QString target = workDir + QLatin1Char('/') + key + (raw ? "-raw.db" : "-ado.db");
    if (!QFile::exists(target))
        QFile::copy(built.value(key), target);
    return target;
}

class Raw
{
public:
    explicit Raw(const QString &path)
    {
        // Opened as Qt's driver opens the layer's connection: one thread per connection, so
        // SQLite takes no lock of its own around each call.
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Raw() { sqlite3_close(m_db); }
    void exec(const QString &tsql)
    {
        const QByteArray sql = native(tsql);
        char *error = nullptr;
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            const QString message = QString::fromUtf8(error);
            sqlite3_free(error);
            qFatal("raw statement failed: %s\n%s", qPrintable(message), sql.constData());
        }
    }
    // Statements as SQLite ran them for the window, each read to its last row. Not inlined, so
    // that a profile can tell the baseline's work apart (callgrind --toggle-collect=*Raw::replay*).
    [[gnu::noinline]] int replay(const QStringList &native)
    {
        int rows = 0;
        for (const QString &sql : native)
            rows += countNative(sql);
        return rows;
    }
    // Every value of every row is fetched in its own type, as any reader of the rows must.
    int countNative(const QString &native)
    {
        const QByteArray sql = native.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
        int rows = 0;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    m_fetched += quint64(sqlite3_column_int64(stmt, c));
                    break;
                case SQLITE_FLOAT:
                    m_fetched += quint64(sqlite3_column_double(stmt, c));
                    break;
                case SQLITE_TEXT:
                    m_fetched += quint64(sqlite3_column_bytes(stmt, c)) + *sqlite3_column_text(stmt, c);
                    break;
                case SQLITE_BLOB:
                    m_fetched += quint64(sqlite3_column_bytes(stmt, c)) + quintptr(sqlite3_column_blob(stmt, c));
                    break;
                default:
                    break;
                }
            }
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(m_fetched);
        return rows;
    }

private:
    // The statements as SQLite runs them: rewritten once, so the baseline holds SQLite's work
    // alone and the layer's rewriting counts against the layer.
    QByteArray native(const QString &tsql)
    {
        auto it = m_native.find(tsql);
        if (it == m_native.end())
            it = m_native.insert(tsql, ado::SqlRewriter::toSqlite(tsql).toUtf8());
        return it.value();
    }

    sqlite3 *m_db = nullptr;
    QHash<QString, QByteArray> m_native;
    quint64 m_fetched = 0;
};

// The same statements through the database layer: rewriting, the statement cache and the
// recordset each answer is read into.
class Layer
{
public:
    explicit Layer(const QString &path) : m_connection(std::make_shared<ado::Connection>())
    {
        m_connection->Open(QStringLiteral("sqlite:") + path);
    }
    // Out of line, for a profile of the layer alone (callgrind --toggle-collect=*Layer::replay*).
    [[gnu::noinline]] int replay(const QStringList &statements)
    {
        int rows = 0;
        for (const QString &sql : statements) {
            const ado::RecordsetPtr rs = m_connection->Execute(sql);
            if (rs && rs->State() == ado::ObjectState::Open)
                rows += rs->RecordCount();
        }
        return rows;
    }

private:
    ado::ConnectionPtr m_connection;
};

struct Ado
{
    explicit Ado(const QString &path) : trap(&messages, nullptr)
    {
        connection = std::make_shared<ado::Connection>();
        connection->Open(QStringLiteral("sqlite:") + path);
        ops = std::make_unique<CausalOperations>(connection, &trap);
    }
    RecordingMessageService messages;
    ErrorTrap trap;
    ado::ConnectionPtr connection;
    std::unique_ptr<CausalOperations> ops;
};

QString str(int v)
{
    return QString::number(v);
}

void removeRows(const std::function<void(const QString &)> &exec, const QString &code)
{
    for (const QString &sql : S::cascadeDeleteBeforeSelection(code))
        exec(sql);
    exec(S::deleteSelection(code));
    exec(S::deleteCausalRow(code));
}

void removeRows(Raw &sqlite, const QString &code)
{
    removeRows([&sqlite](const QString &sql) { sqlite.exec(sql); }, code);
}

// The untimed preparation of a timed run goes through the connection that is timed: a write
// through another connection would empty the timed one's page cache (SQLite drops it when it
// sees another connection's commit), a cost neither the window nor the raw baseline meets.
std::function<void(const QString &)> executor(Ado &ado, Raw &sqlite, bool raw)
{
    if (raw)
        return [&sqlite](const QString &sql) { sqlite.exec(sql); };
    return [&ado](const QString &sql) { ado.connection->Execute(sql); };
}

// Untimed, before each run that writes: the write-ahead log is copied back into the database
// and emptied. Otherwise SQLite does that within whichever timed run fills the log, a run of
// the layer in one repetition and of the raw baseline in another.
void settle(const std::function<void(const QString &)> &prepare)
{
    prepare(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

// A new company each iteration, so every run has all the rows to add.
void completeNewCompany(benchmark::State &state, Size size, Mode mode)
{
    const bool raw = mode == Mode::Raw;
    const QString path = databaseFor(size, raw);
    Ado ado(path);
    Raw sqlite(path);
    // Unique across repetitions: a company already completed would add nothing.
    static int company = 10000;
    const auto prepare = executor(ado, sqlite, raw);
    for (auto _ : state) {
        state.PauseTiming();
        ++company;
        settle(prepare);
        state.ResumeTiming();
        if (raw) {
            for (const QString &sql : S::completion(str(company), "1"))
                sqlite.exec(sql);
        } else {
            ado.ops->AggiornaConfigurazioneCausali(str(company), "1");
        }
        // The company's rows go again: the other operations, run in between, find the
        // database as it was generated.
        state.PauseTiming();
        prepare("DELETE FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 = " + str(company));
        prepare("DELETE FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = " + str(company));
        state.ResumeTiming();
    }
}

// A check added to the catalogue reaches every causal at the next completion.
void completeNewCheck(benchmark::State &state, Size size, Mode mode)
{
    const bool raw = mode == Mode::Raw;
    const QString path = databaseFor(size, raw);
    Ado ado(path);
    Raw sqlite(path);
    const auto prepare = executor(ado, sqlite, raw);
    static int check = 100;
    // A kept database (DUEBIL_BENCH_DIR) holds the checks of earlier runs.
    check = qMax(check, ado.connection->Execute("SELECT MAX(CGP2_ID) AS N FROM CGP2_DUEBILCHECK")->value(0).toInt());
    for (auto _ : state) {
        state.PauseTiming();
        ++check;
        prepare("INSERT INTO CGP2_DUEBILCHECK (CGP2_ID, CGP2_TIPOFILTRO, CGP2_DESCRIZIONE) VALUES (" + str(check)
                + ", 'TIPOMOVIMENTO', 'Nuovo')");
        settle(prepare);
        ado.connection->clearStatementCache();
        state.ResumeTiming();
        if (raw) {
            for (const QString &sql : S::completion("1", "1"))
                sqlite.exec(sql);
        } else {
            ado.ops->AggiornaConfigurazioneCausali("1", "1");
        }
        state.PauseTiming();
        prepare("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_IDCHECK_CGP2 = " + str(check));
        prepare("DELETE FROM CGP2_DUEBILCHECK WHERE CGP2_ID = " + str(check));
        state.ResumeTiming();
    }
}

// Start-up on a database where every causal is complete: the window probes for missing rows,
// the raw baseline runs the four completion statements, which then add nothing.
void completeNothingMissing(benchmark::State &state, Size size, Mode mode)
{
    const bool raw = mode == Mode::Raw;
    const QString path = databaseFor(size, raw);
    Ado ado(path);
    Raw sqlite(path);
    for (auto _ : state) {
        state.PauseTiming();
        ado.connection->clearStatementCache();
        state.ResumeTiming();
        if (raw) {
            for (const QString &sql : S::completion("1", "1"))
                sqlite.exec(sql);
        } else {
            ado.ops->AggiornaConfigurazioneCausali("1", "1", true);
        }
    }
}

// The raw baseline replays what the layer ran for one duplication, the existence test, the
// transaction and the change history's reading and writing included.
void duplicate(benchmark::State &state, Size size, Mode mode)
{
    const bool raw = mode == Mode::Raw;
    const QString source = str(BenchGenerator::firstCode(size.n));
    const QString target = str(BenchGenerator::firstCode(size.n) + size.n - 1);
    Ado ado(databaseFor(size, false));
    QStringList statements;
    if (raw) {
        // The copy is captured on the layer's database, where an earlier run may have left it.
        Raw layerDatabase(databaseFor(size, false));
        removeRows(layerDatabase, target);
        StatementCapture capture(ado.connection->database());
        capture.start();
        const bool refused = !ado.ops->duplicate(source, target, "Copia", "VELTO", "1").done();
        statements = capture.stop();
        if (refused) {
            state.SkipWithError("duplication refused");
            return;
        }
    }
    Raw sqlite(databaseFor(size, raw));
    const auto prepare = executor(ado, sqlite, raw);
    for (auto _ : state) {
        state.PauseTiming();
        removeRows(prepare, target);
        settle(prepare);
        ado.connection->clearStatementCache();
        state.ResumeTiming();
        if (raw)
            benchmark::DoNotOptimize(sqlite.replay(statements));
        else if (!ado.ops->duplicate(source, target, "Copia", "VELTO", "1").done())
            state.SkipWithError("duplication refused");
    }
}

// The raw baseline replays what the layer ran for one deletion, the refusal checks, the
// transaction and the change history's reading and writing included.
void remove(benchmark::State &state, Size size, Mode mode)
{
    const bool raw = mode == Mode::Raw;
    const QString source = str(BenchGenerator::firstCode(size.n));
    const QString target = str(BenchGenerator::firstCode(size.n) + size.n - 1);
    // The causal to delete, put back as a copy of the first.
    const auto putBack = [&](const std::function<void(const QString &)> &prepare) {
        removeRows(prepare, target);
        prepare("BEGIN IMMEDIATE");
        for (const QString &sql : S::duplication(target, source, "1", "Copia"))
            prepare(sql);
        prepare("COMMIT");
    };
    Ado ado(databaseFor(size, false));
    QStringList statements;
    if (raw) {
        // The deletion is captured on the layer's database.
        Raw layerDatabase(databaseFor(size, false));
        putBack([&layerDatabase](const QString &sql) { layerDatabase.exec(sql); });
        StatementCapture capture(ado.connection->database());
        capture.start();
        const bool refused = !ado.ops->remove(target, "VELTO").done();
        statements = capture.stop();
        if (refused) {
            state.SkipWithError("delete refused");
            return;
        }
    }
    Raw sqlite(databaseFor(size, raw));
    const auto prepare = executor(ado, sqlite, raw);
    for (auto _ : state) {
        state.PauseTiming();
        putBack(prepare);
        settle(prepare);
        ado.connection->clearStatementCache();
        state.ResumeTiming();
        if (raw)
            benchmark::DoNotOptimize(sqlite.replay(statements));
        else if (!ado.ops->remove(target, "VELTO").done())
            state.SkipWithError("delete refused");
    }
}

// The window opened in a running host: the host's text store and area are built once, as
// when it starts; each run opens the window on a connection of its own and closes it.
void firstActivation(benchmark::State &state, Size size, Mode)
{
    const QString path = databaseFor(size, false);
    WindowBench window;
    for (auto _ : state) {
        if (!window.open(path))
            state.SkipWithError("the window did not start");
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}

// A window operation repeated on alternating inputs; its raw baseline replays, on a copy of the
// same database, the statements the window ran for each input in a first, untimed round.
void windowOperation(benchmark::State &state, Size size, Mode mode, const std::function<bool(WindowBench &)> &prepare,
                     const QList<std::function<bool(WindowBench &)>> &inputs)
{
    WindowBench window;
    if (!window.open(databaseFor(size, false)) || !prepare(window)) {
        state.SkipWithError("the window did not start");
        return;
    }
    QList<QStringList> statements;
    for (const auto &input : inputs) {
        window.startCapture();
        const bool done = input(window);
        statements.append(window.stopCapture());
        if (qEnvironmentVariableIsSet("DUEBIL_BENCH_SHOW_STATEMENTS"))
            qInfo().noquote() << statements.last().join(QStringLiteral("\n---\n"));
        if (!done) {
            state.SkipWithError("the window refused the operation");
            return;
        }
    }
    // A replay runs on the copy, on a connection warmed by one untimed round: the window's has
    // read the schema and the pages it needs while it opened and in the first round. The layer
    // replays on a connection of its own, not the window's, which also holds the pages of all
    // the window read before: the page cache's misses that follow are SQLite's, not the layer's.
    std::optional<Raw> sqlite;
    std::optional<Layer> layer;
    if (mode == Mode::Raw)
        sqlite.emplace(databaseFor(size, true));
    else if (mode == Mode::Layer)
        layer.emplace(databaseFor(size, true));
    for (const QStringList &native : statements) {
        if (sqlite)
            sqlite->replay(native);
        else if (layer)
            layer->replay(native);
    }
    qsizetype i = 0;
    for (auto _ : state) {
        const qsizetype k = i++ % inputs.size();
        if (sqlite)
            benchmark::DoNotOptimize(sqlite->replay(statements.at(k)));
        else if (layer)
            benchmark::DoNotOptimize(layer->replay(statements.at(k)));
        else if (!inputs.at(k)(window))
            state.SkipWithError("the window refused the operation");
    }
}

bool showFirst(WindowBench &window, Size size)
{
    return window.show(BenchGenerator::firstCode(size.n));
}

// Each window operation cycles through inputs enough that a statement of one input comes back
// only after the layer's statement cache (64 statements) has let it go: every run prepares its
// statements, as when the user goes from one causal or code to another. Statements with no
// value in them, and those an operation runs more than once, are still found prepared.
using Inputs = QList<std::function<bool(WindowBench &)>>;

void causalSwitch(benchmark::State &state, Size size, Mode mode)
{
    const int first = BenchGenerator::firstCode(size.n);
    Inputs inputs;
    for (int i = 0; i < qMin(8, size.n); ++i) {
        const int code = first + i * size.n / qMin(8, size.n);
        inputs.append([code](WindowBench &w) { return w.show(code); });
    }
    windowOperation(state, size, mode, [](WindowBench &) { return true; }, inputs);
}

Inputs decodes(const char *field, QString (*code)(int), int spread)
{
    Inputs inputs;
    for (int i = 0; i < 100; ++i) {
        const QString typed = code(1 + i * spread);
        inputs.append([field, typed](WindowBench &w) { return w.decode(QLatin1String(field), typed); });
    }
    return inputs;
}

void decodeAccount(benchmark::State &state, Size size, Mode mode)
{
    windowOperation(state, size, mode, [size](WindowBench &w) { return showFirst(w, size); },
                    decodes("TXT_CONTODARE", BenchGenerator::accountCode, BenchGenerator::LedgerAccounts / 100));
}

void decodeLedgerCausal(benchmark::State &state, Size size, Mode mode)
{
    windowOperation(state, size, mode, [size](WindowBench &w) { return showFirst(w, size); },
                    decodes("TXT_CAUSALECOGE", BenchGenerator::ledgerCausalCode, BenchGenerator::LedgerCausals / 100));
}

// The list reads its rows as the view needs them: the timed run opens it, the untimed
// preparation proves that its last row is reached (Ctrl+End) and that it offers every row.
void lookupOf(benchmark::State &state, Size size, Mode mode, const QString &field, int atLeast)
{
    const bool exclusion = field == QLatin1String("TXT_UTENTE");
    windowOperation(state, size, mode,
                    [size, exclusion, field, atLeast](WindowBench &w) {
                        return showFirst(w, size) && (!exclusion || w.newExclusion()) && w.lookup(field, true) >= atLeast;
                    },
                    {[field](WindowBench &w) { return w.lookup(field) > 0; }});
}

void lookupAccounts(benchmark::State &state, Size size, Mode mode)
{
    lookupOf(state, size, mode, QStringLiteral("TXT_CONTODARE"), BenchGenerator::LedgerAccounts);
}

void lookupLedgerCausals(benchmark::State &state, Size size, Mode mode)
{
    lookupOf(state, size, mode, QStringLiteral("TXT_CAUSALECOGE"), BenchGenerator::LedgerCausals);
}

void lookupUsers(benchmark::State &state, Size size, Mode mode)
{
    lookupOf(state, size, mode, QStringLiteral("TXT_UTENTE"), BenchGenerator::Users / 2);
}

// One change in every tab and "Conferma", each round writing other values, so that each save
// changes something; the history of each save included.
void save(benchmark::State &state, Size size, Mode mode)
{
    Inputs rounds;
    for (int round = 1; round <= 8; ++round)
        rounds.append([round](WindowBench &w) { return w.saveWithOneChangePerTab(round); });
    windowOperation(state, size, mode, [size](WindowBench &w) { return showFirst(w, size); }, rounds);
}

// Keeps the median of every benchmark for the table.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    QMap<QString, double> medians;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.aggregate_name == "median") {
                // "operation/N/M" without the iteration and repetition suffixes.
                const QStringList parts = QString::fromStdString(run.run_name.str()).split('/');
                medians.insert(parts.mid(0, 3).join('/'), run.GetAdjustedRealTime());
            }
        }
    }
};

// Every database the run will use, generated and copied before the first timing: a database
// written just before a timed run is still being written back to the disk during it.
void prepareDatabases(const QList<QPair<QString, Size>> &registered, const QString &filter)
{
    const QRegularExpression selected(filter);
    for (const auto &[name, size] : registered) {
        // databaseFor() builds and copies each size once; later calls only find the files.
        if (filter.isEmpty() || selected.match(name).hasMatch()) {
            databaseFor(size, false);
            databaseFor(size, true);
        }
    }
    ::sync();
}

} // namespace

// Resident memory of a process that only opens the window on one database: "--memory PATH".
int memoryRun(const QString &path)
{
    WindowBench window;
    if (!window.open(path))
        return 1;
    QTextStream(stdout) << WindowBench::residentMegabytes() << "\n";
    return 0;
}

double memoryFor(const Size &size)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), databaseFor(size, false)});
    child.waitForFinished(120000);
    return child.readAllStandardOutput().trimmed().toDouble();
}

// Statements sent and time of each window action over a simulated network, a delay before
// every statement: none, 1 ms (a LAN), 20 ms (a branch office over a VPN). Median of a few runs.
int roundTripRun()
{
    RoundTrip::install();
    const Size size{1000, 100};
    const QString path = databaseFor(size, false);
    const int first = BenchGenerator::firstCode(size.n);
    const int copyCode = first + size.n - 1;  // freed before each copy, untimed
    struct Action
    {
        const char *name;
        std::function<bool(WindowBench &, int)> run;
        bool opensWindow = false;
        // Done before the count starts, on the causal on display.
        std::function<bool(WindowBench &)> before = {};
    };
    // Showing a causal is counted as the user does it, from the window waiting for a code:
    // "Nuovo", which empties the one on display, is an action of its own.
    const QList<Action> actions = {
        {"apertura_su_causale", [first](WindowBench &w, int) { return w.show(first); }, true},
        {"nuovo", [](WindowBench &w, int) { return w.newRecord(); }},
        {"mostra_causale", [first](WindowBench &w, int i) { return w.show(first + 1 + i % 8); }, false,
         [](WindowBench &w) { return w.newRecord(); }},
        {"successivo", [](WindowBench &w, int) { return w.next(); }},
        {"salva_una_modifica", [](WindowBench &w, int i) { return w.saveOneChange(i); }},
        {"annulla", [](WindowBench &w, int i) { return w.undoOneChange(i); }},
        {"duplica", [copyCode](WindowBench &w, int) { return w.duplicateTo(copyCode); }},
        {"decodifica_conto",
         [](WindowBench &w, int i) { return w.decode(QStringLiteral("TXT_CONTODARE"), BenchGenerator::accountCode(1 + i)); }},
    };
    const auto freeCopyCode = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("viaggi"));
        db.setDatabaseName(path);
        if (db.open()) {
            for (const char *table : {"CGP0_DUEBILCAUSALI CGP0_CAUSALE", "CGP3_DUEBILGRIGLIA CGP3_CAUSALE_CGP0",
                                      "CGP4_DUEBILFILTRI CGP4_CAUSALE_CGP0", "CGP5_DUEBILPARAM CGP5_CAUSALE_CGP0",
                                      "CGP6_DUEBILPARAMDITTA CGP6_CAUSALE_CGP0", "CGP7_DUEBILPERSREG CGP7_CAUSALE_CGP0",
                                      "CGP8_DUEBILREVOKE CGP8_CAUSALE_CGP0", "FW41_SELEZIONEPARAMSCADENZE FW41_CODICE"}) {
                const QStringList parts = QString::fromLatin1(table).split(u' ');
                QSqlQuery(db).exec(QStringLiteral("DELETE FROM %1 WHERE %2 = %3").arg(parts.at(0), parts.at(1)).arg(copyCode));
            }
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("viaggi"));
    };
    constexpr int Runs = 3;
    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 %3 %4 %5\n").arg("azione", -22).arg("istruzioni", 10).arg("0 ms", 9).arg("1 ms", 9).arg("20 ms", 9);
    for (const Action &action : actions) {
        qint64 statements = 0;
        QStringList times;
        for (int delayMs : {0, 1, 20}) {
            QList<double> ms;
            for (int run = 0; run < Runs; ++run) {
                RoundTrip::setDelayMicroseconds(0);
                if (QLatin1String(action.name) == QLatin1String("duplica"))
                    freeCopyCode();
                WindowBench window;
                if (!action.opensWindow && (!window.open(path) || !window.show(first))) {
                    out << action.name << ": the window did not start\n";
                    return 1;
                }
                if (action.before && !action.before(window)) {
                    out << action.name << ": the window refused the step before the action\n";
                    return 1;
                }
                RoundTrip::setDelayMicroseconds(delayMs * 1000);
                const qint64 before = RoundTrip::statements();
                QElapsedTimer timer;
                timer.start();
                const bool done = action.opensWindow ? window.open(path) && action.run(window, run) : action.run(window, run);
                ms.append(double(timer.nsecsElapsed()) / 1e6);
                statements = RoundTrip::statements() - before;
                RoundTrip::setDelayMicroseconds(0);
                if (!done) {
                    out << action.name << ": the window refused the action\n";
                    return 1;
                }
            }
            std::sort(ms.begin(), ms.end());
            times << QString::number(ms.at(Runs / 2), 'f', 1);
        }
        out << QStringLiteral("%1 %2 %3 %4 %5\n").arg(action.name, -22).arg(statements, 10).arg(times.at(0), 9)
                   .arg(times.at(1), 9).arg(times.at(2), 9);
        out.flush();
    }
    return 0;
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--memory")
        return memoryRun(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    // Profiling runs keep their databases there: generating the larger ones takes longer than the run.
    workDir = qEnvironmentVariableIsSet("DUEBIL_BENCH_DIR") ? qEnvironmentVariable("DUEBIL_BENCH_DIR") : dir.path();
    if (!QDir().mkpath(workDir))
        qFatal("cannot create %s", qPrintable(workDir));
    if (argc == 2 && QByteArray(argv[1]) == "--round-trips")
        return roundTripRun();
    // The memory rows run only when the filter (if any) names them: each builds its databases
    // again in a process of its own.
    QString filter;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith("--benchmark_filter="))
            filter = QString::fromLocal8Bit(argv[i]).section(QLatin1Char('='), 1);
    }
    const bool measureMemory
        = filter.isEmpty() || QRegularExpression(filter).match(QStringLiteral("memoria_finestra_mb/10/100")).hasMatch();
    const bool measureHistory
        = filter.isEmpty() || QRegularExpression(filter).match(QStringLiteral("memoria_storico_json/10000")).hasMatch();
    // The repetitions of every benchmark are run in a random order among all the others: the
    // machine's speed drifts over a run, and would otherwise favour whichever of the window, the
    // layer and the raw baseline ran during a fast minute.
    std::vector<char *> arguments(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(arguments.begin(), arguments.end(),
                     [](const char *a) { return qstrncmp(a, "--benchmark_enable_random_interleaving", 38) == 0; }))
        arguments.insert(arguments.begin() + 1, interleave);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());

    const QList<Size> sizes = {{10, 1},   {10, 10},   {10, 100},  {10, 1000},  {100, 1},    {100, 10},
                               {100, 100}, {100, 1000}, {1000, 1}, {1000, 10}, {1000, 100}, {1000, 1000}};
    using Fn = void (*)(benchmark::State &, Size, Mode);
    struct Operation
    {
        const char *name;
        Fn run;
        // Runs timed per repetition: an operation of a few hundredths of a millisecond needs
        // hundreds of them, or the timer, the first run's cold caches and a moment of another
        // process on the machine are what is measured.
        int iterations = 5;
        // A window operation: also timed as its statements replayed through the layer alone.
        bool window = false;
    };
    const QList<Operation> operations = {
        {"completamento_avvio", completeNothingMissing},
        {"completamento_nuova_ditta", completeNewCompany},
        {"completamento_nuovo_check", completeNewCheck},
        {"duplicazione", duplicate, 20},
        {"eliminazione", remove, 20},
        {"finestra_cambio_causale", causalSwitch, 20, true},
        {"decodifica_conto", decodeAccount, 1000, true},
        {"decodifica_causale_contabile", decodeLedgerCausal, 1000, true},
        {"ricerca_conti", lookupAccounts, 20},
        {"ricerca_causali_contabili", lookupLedgerCausals, 20},
        {"ricerca_utenti", lookupUsers, 20},
        {"finestra_salvataggio", save, 20, true},
    };
    // Without a raw counterpart of its own: the first activation is set beside the raw
    // completion it replaces.
    const QList<QPair<const char *, Fn>> windowOperations = {
        {"finestra_attivazione", firstActivation},
    };
    QList<QPair<QString, Size>> registered;
    for (const auto &op : windowOperations) {
        for (const Size &size : sizes) {
            const std::string name = std::string(op.first) + "/" + std::to_string(size.n) + "/" + std::to_string(size.m);
            // Each run builds a window afresh; twenty of them steady the median against the
            // memory and page faults of one.
            registered.append({QString::fromStdString(name), size});
            benchmark::RegisterBenchmark(name.c_str(), op.second, size, Mode::Window)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(20)
                ->Repetitions(Repetitions)
                ->ReportAggregatesOnly(true);
        }
    }
    for (const Operation &op : operations) {
        for (const Size &size : sizes) {
            for (Mode mode : {Mode::Window, Mode::Raw, Mode::Layer}) {
                if (mode == Mode::Layer && !op.window)
                    continue;
                const char *suffix = mode == Mode::Raw ? "_raw" : mode == Mode::Layer ? "_strato" : "";
                const std::string name = std::string(op.name) + suffix + "/" + std::to_string(size.n) + "/"
                    + std::to_string(size.m);
                registered.append({QString::fromStdString(name), size});
                benchmark::RegisterBenchmark(name.c_str(), op.run, size, mode)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(op.iterations)
                    ->Repetitions(Repetitions)
                    ->ReportAggregatesOnly(true);
            }
        }
    }
    prepareDatabases(registered, filter);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    QJsonArray rows;
    QTextStream out(stdout);
    out << "\n" << QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg("operazione", -28).arg("N", 5).arg("M", 4)
            .arg("mediana ms", 11).arg("base ms", 9).arg("rapporto", 8);
    for (auto it = reporter.medians.cbegin(); it != reporter.medians.cend(); ++it) {
        const QStringList parts = it.key().split('/');
        if (parts.size() < 3 || parts.first().endsWith("_raw"))
            continue;
        QString rawOperation = parts.at(0) == QLatin1String("finestra_attivazione") ? QStringLiteral("completamento_avvio")
                                                                                   : parts.at(0);
        if (rawOperation.endsWith(QLatin1String("_strato")))
            rawOperation.chop(7);
        const QString rawKey = rawOperation + "_raw/" + parts.at(1) + "/" + parts.at(2);
        const double base = reporter.medians.value(rawKey, 0);
        const double ratio = base > 0 ? it.value() / base : 0;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg(parts.at(0), -28).arg(parts.at(1), 5).arg(parts.at(2), 4)
                   .arg(it.value(), 11, 'f', 3)
                   .arg(base > 0 ? QString::number(base, 'f', 3) : QStringLiteral("-"), 9)
                   .arg(base > 0 ? QString::number(ratio, 'f', 2) : QStringLiteral("-"), 8);
        rows.append(QJsonObject{{"operazione", parts.at(0)}, {"N", parts.at(1).toInt()}, {"M", parts.at(2).toInt()},
                                {"mediana_ms", it.value()}, {"base_ms", base}, {"rapporto", ratio}});
    }
    // Resident memory of the host with the window open, each size in a process of its own.
    for (const Size &size : sizes) {
        if (!measureMemory || size.m != 100)
            continue;
        const double mb = memoryFor(size);
        out << QStringLiteral("%1 %2 %3 %4\n").arg("memoria_finestra_mb", -28).arg(size.n, 5).arg(size.m, 4).arg(mb, 11, 'f', 1);
        rows.append(QJsonObject{{"operazione", "memoria_finestra_mb"}, {"N", size.n}, {"M", size.m}, {"valore", mb}});
    }
    // Peak memory of "history --json" against the operations recorded and the bytes it writes:
    // flat while the output grows tenfold.
    for (const int operations : {1000, 10000}) {
        if (!measureHistory)
            break;
        QString error;
        const auto figure = HistoryMemory::measure(workDir, operations, &error);
        if (!figure) {
            out << "memoria_storico_json: " << error << "\n";
            break;
        }
        out << QStringLiteral("%1 %2 operazioni %3 MB di picco, %4 MB scritti, %5 s\n")
                   .arg("memoria_storico_json", -28).arg(operations, 6).arg(figure->peakMegabytes, 0, 'f', 1)
                   .arg(figure->bytesOut / 1e6, 0, 'f', 1).arg(figure->seconds, 0, 'f', 2);
        rows.append(QJsonObject{{"operazione", "memoria_storico_json"}, {"operazioni", operations},
                                {"picco_mb", figure->peakMegabytes}, {"byte_scritti", double(figure->bytesOut)},
                                {"secondi", figure->seconds}});
    }
    QDir().mkpath(QStringLiteral(DUEBIL_BENCH_RESULTS));
    QFile file(QStringLiteral(DUEBIL_BENCH_RESULTS "/latest.json"));
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(QJsonObject{{"risultati", rows}}).toJson());
    benchmark::Shutdown();
    return 0;
}
