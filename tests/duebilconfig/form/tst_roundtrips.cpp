#include "controls/gridcontrol.h"
#include "controls/idlookupfield.h"
#include "controls/recordnavigator.h"
#include "form/frmcg_duebilconfig.h"
#include "framework/messageservice.h"
#include "support/windowfixture.h"
#include "window/formcontext.h"
#include "generator.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sqlite3.h>

// Every statement a window action sends is a round trip to the server: each action may send
// at most so many, counted as the database receives them (transaction statements included) on
// a database of a thousand causals in a hundred companies.
class tst_Roundtrips : public WindowFixture
{
    Q_OBJECT

public:
    // What is done before the count starts (the window is open by then), and the action counted.
    struct Action
    {
        std::function<void(tst_Roundtrips &)> before;
        std::function<void(tst_Roundtrips &)> counted;
    };

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void statementsPerAction_data();
    void statementsPerAction();

public:
    void pressRecord(const QString &key) { ui().INTERNAV->press(key); }

private:
    QTemporaryDir m_dir;
    QString m_generated;
};

Q_DECLARE_METATYPE(tst_Roundtrips::Action)

namespace {

// Every connection the process opens reports the statements it starts while counting is on;
// those that triggers run come as comments and are not the caller's.
bool g_counting = false;
QStringList g_sent;

int traced(unsigned, void *, void *statement, void *)
{
    if (!g_counting)
        return 0;
    const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(statement));
    if (sql && qstrncmp(sql, "--", 2) != 0)
        g_sent.append(QString::fromUtf8(sql));
    return 0;
}

int traceConnection(sqlite3 *db, char **, const void *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &traced, nullptr);
    return SQLITE_OK;
}

} // namespace

void tst_Roundtrips::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_generated = m_dir.filePath(QStringLiteral("generated.db"));
    QString error;
    QVERIFY2(BenchGenerator::build(m_generated, 1000, 100, &error), qPrintable(error));
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceConnection));
}

void tst_Roundtrips::init()
{
    QVERIFY(setUpWindow());
    const QString copy = m_dir.filePath(QStringLiteral("window.db"));
    QFile::remove(copy);
    QVERIFY(QFile::copy(m_generated, copy));
    m_global->setConnectionString(QStringLiteral("sqlite:") + copy);
    m_messages->setDefaultAnswer(MsgAnswer::No);
}

void tst_Roundtrips::cleanup()
{
    g_counting = false;
    tearDownWindow();
}

void tst_Roundtrips::statementsPerAction_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("written");   // statements from BEGIN to COMMIT; 0: the action writes nothing

    using T = tst_Roundtrips;
    const auto open = [](T &t) { QVERIFY(t.open()); };
    const auto show300 = [](T &t) { QVERIFY(t.openAt(QStringLiteral("300"))); };
    const auto show300Edited = [](T &t) {
        QVERIFY(t.openAt(QStringLiteral("300")));
        t.type(t.ui().TXT_DESCRIZIONE, QStringLiteral("Cambiata"));
    };

    // The tables a save writes are described without a statement on the embedded database.
    QTest::newRow("open window") << Action{{}, open} << 13 << 0;
    QTest::newRow("show causal") << Action{open, [](T &t) { t.show(QStringLiteral("300")); }} << 17 << 0;
    QTest::newRow("Successivo answered No")
        << Action{show300Edited, [](T &t) { t.pressRecord(QStringLiteral("Successivo")); }} << 15 << 0;
    QTest::newRow("Precedente") << Action{show300, [](T &t) { t.pressRecord(QStringLiteral("Precedente")); }} << 14 << 0;
    QTest::newRow("Annulla") << Action{show300Edited, [](T &t) { t.pressRecord(QStringLiteral("Annulla")); }} << 13 << 0;
    // A save: the ledger check, BEGIN, the checks read once (another user's change is found),
    // the changed row's UPDATE, its history INSERT, COMMIT; no other company's rows are read.
    const auto confirmAfter = [show300](std::function<void(T &)> edit) {
        return Action{show300, [edit](T &t) {
                          edit(t);
                          t.pressRecord(QStringLiteral("Conferma"));
                      }};
    };
    QTest::newRow("Conferma description")
        << Action{show300Edited, [](T &t) { t.pressRecord(QStringLiteral("Conferma")); }} << 6 << 5;
    QTest::newRow("Conferma company months")
        << confirmAfter([](T &t) { t.ui().TXT_MESI->setText(QStringLiteral("7")); }) << 6 << 5;
    QTest::newRow("Conferma posting text")
        << confirmAfter([](T &t) { t.ui().TXT_TESTOPARAMETRICO->setText(QStringLiteral("Riga [NUMDOC]")); }) << 6 << 5;
    QTest::newRow("Conferma check") << confirmAfter([](T &t) { t.tick(t.ui().CHK_FILTER[5]); }) << 6 << 5;
    // A copy: every row added in one transaction, however many companies the source has.
    QTest::newRow("Duplica")
        << Action{[](T &t) {
                      QVERIFY(t.openAt(QStringLiteral("999")));
                      t.m_messages->enqueueAnswer(MsgAnswer::Yes);  // the copy's code made free
                      t.pressRecord(QStringLiteral("Elimina"));
                      t.show(QStringLiteral("300"));
                  },
                  [](T &t) {
                      t.m_messages->enqueueInput(QStringLiteral("999"));
                      t.pressRecord(QStringLiteral("Duplica"));
                  }}
        << 12 << 11;
    // Leaving the field: its decode, then the ledger causal's attributes its check needs.
    QTest::newRow("posting causal typed")
        << Action{show300, [](T &t) { t.type(t.ui().TXT_CAUSALECOGE, BenchGenerator::ledgerCausalCode(7)); }} << 2 << 0;
    // The user found by the code typed, with its description: the read-out and the grid's new
    // row show what that read gave; the other rows are not read again.
    QTest::newRow("exclusion user typed")
        << Action{[](T &t) {
                      QVERIFY(t.openAt(QStringLiteral("300")));
                      t.ui().TAB_CONFIG->setTab(4);
                      QVERIFY(t.ui().GRIDNAVREVOKE->press(QStringLiteral("NUOVO")));
                  },
                  [](T &t) {
                      t.type(t.ui().TXT_UTENTE, QStringLiteral("MROSSI"));
                      GridControl *grid = t.ui().QGRID_GRUPPIUTENTI;
                      QCOMPARE(t.ui().LBL_DESCRUTENTE->text(), QStringLiteral("Mario Rossi"));
                      QCOMPARE(grid->cellText(grid->currentRow(), QStringLiteral("FW07_USERNAME")), QStringLiteral("MROSSI"));
                      QCOMPARE(grid->cellText(grid->currentRow(), QStringLiteral("FW07_DESCR")), QStringLiteral("Mario Rossi"));
                  }}
        << 1 << 0;
}

void tst_Roundtrips::statementsPerAction()
{
    QFETCH(Action, action);
    QFETCH(int, limit);
    QFETCH(int, written);
    if (action.before)
        action.before(*this);
    if (QTest::currentTestFailed())
        return;
    g_sent.clear();
    g_counting = true;
    action.counted(*this);
    QCoreApplication::processEvents();
    g_counting = false;
    if (QTest::currentTestFailed())
        return;
    // An action that reads nothing did not happen: its count would prove nothing.
    QVERIFY(!g_sent.isEmpty());
    if (g_sent.size() > limit || qEnvironmentVariableIsSet("DUEBIL_ROUNDTRIPS_SHOW")) {
        for (const QString &sql : std::as_const(g_sent))
            qInfo("%s", qPrintable(QString(sql).replace(QLatin1String("\r\n"), QLatin1String(" "))));
    }
    QVERIFY2(g_sent.size() <= limit, qPrintable(QStringLiteral("%1 statements sent").arg(g_sent.size())));
    const qsizetype begin = g_sent.indexOf(QStringLiteral("BEGIN IMMEDIATE"));
    const qsizetype commit = g_sent.lastIndexOf(QStringLiteral("COMMIT"));
    if (written == 0) {
        QCOMPARE(begin, qsizetype(-1));
        return;
    }
    QVERIFY(begin >= 0 && commit > begin);
    QVERIFY2(commit + 1 - begin <= written, qPrintable(QStringLiteral("%1 statements written").arg(commit + 1 - begin)));
}

QTEST_MAIN(tst_Roundtrips)
#include "tst_roundtrips.moc"
