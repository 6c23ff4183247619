#include "ado/connection.h"
#include "ado/recordset.h"
#include "form/frmcg_duebilconfig.h"
#include "framework/recordingmessageservice.h"
#include "params/parametercontrols.h"
#include "params/storedparameterchecks.h"
#include "store/messageids.h"
#include "support/windowfixture.h"
#include "causalrows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using Kind = RecordingMessageService::Kind;

// Every way the window saves a causal (Conferma, a move or a close answered Sì, the save that
// Duplica asks for) applies the same checks: what Conferma refuses is never written by another.
class tst_SavePaths : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    void exclusionRowWithoutGroupOrUserIsNeverStored_data();
    void exclusionRowWithoutGroupOrUserIsNeverStored();
    void windowAndValidateGiveOneVerdict_data();
    void windowAndValidateGiveOneVerdict();

private:
    void edit(const QString &control, const QString &value);
    QList<StoredParameterChecks::Finding> validate(const QString &causal) const;
    void execute(const QString &sql) const
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        c.Execute(sql);
    }

    void show(const QString &code)
    {
        FormUi &ui = m_form->context().ui;
        ui.TXT_CAUSALE->lineEdit()->setText(code);
        ui.TXT_CAUSALE->commit();
    }

    QString rows(const QString &sql) const
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        const ado::RecordsetPtr rs = c.Execute(sql);
        QStringList all;
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList values;
            for (const QString &f : rs->fieldNames())
                values << rs->value(f).toString();
            all << values.join('|');
        }
        return all.join(',');
    }

    QList<int> messageIds() const
    {
        QList<int> ids;
        for (const RecordingMessageService::Call &call : m_messages->calls()) {
            if (call.kind == Kind::Message)
                ids.append(call.message.textId);
        }
        return ids;
    }
};

void tst_SavePaths::exclusionRowWithoutGroupOrUserIsNeverStored_data()
{
    QTest::addColumn<QString>("row");    // what the user left in the new row
    QTest::addColumn<QString>("path");   // how the save was asked for
    for (const char *row : {"empty", "group refused", "user refused", "empty, other row clicked", "group chosen, then refused"}) {
        for (const char *path : {"Conferma", "Successivo", "Duplica", "close"})
            QTest::addRow("%s, %s", row, path) << row << path;
    }
}

void tst_SavePaths::exclusionRowWithoutGroupOrUserIsNeverStored()
{
    QFETCH(QString, row);
    QFETCH(QString, path);
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    FormUi &ui = ctx.ui;
    const QString revoke = QStringLiteral("SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE"
                                          " ORDER BY 1, 2, 3");
    const QString before = rows(revoke);
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Con esclusione"));
    ui.TAB_CONFIG->setTab(4);
    QVERIFY(ui.GRIDNAVREVOKE->press(QStringLiteral("Nuovo")));
    if (row == QLatin1String("group refused") || row == QLatin1String("user refused")) {
        IdLookupField *field = row.startsWith(QLatin1String("group")) ? ui.TXT_GRUPPO : ui.TXT_UTENTE;
        field->lineEdit()->setText(QStringLiteral("NESSUNO"));
        field->commit();
    } else if (row == QLatin1String("group chosen, then refused")) {
        ui.TXT_GRUPPO->lineEdit()->setText(QStringLiteral("CONTABILITA"));
        QVERIFY(ui.TXT_GRUPPO->commit());
        ui.TXT_GRUPPO->lineEdit()->setText(QStringLiteral("NESSUNO"));
        ui.TXT_GRUPPO->commit();
    } else if (row == QLatin1String("empty, other row clicked")) {
        ui.QGRID_GRUPPIUTENTI->findChild<QTableWidget *>()->setCurrentCell(0, 0);
    }
    m_messages->clear();
    m_messages->setDefaultAnswer(MsgAnswer::Yes);
    m_messages->enqueueInput(QStringLiteral("400"));
    if (path == QLatin1String("close"))
        QCOMPARE(m_cls->CloseForm(), QVariant(false));
    else
        QVERIFY(!ui.INTERNAV->press(path) || path == QLatin1String("Duplica"));

    // Refused whole: nothing written, nothing copied, the window on the row to correct.
    QCOMPARE(messageIds().constLast(), MessageId::NoGroupNorUser);
    const QString said = m_messages->calls().constLast().message.text;
    QVERIFY2(said.contains(QStringLiteral("\"Gruppo\"")) && said.contains(QStringLiteral("\"Utente\"")), qPrintable(said));
    QCOMPARE(rows(revoke), before);
    QCOMPARE(rows(QStringLiteral("SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI"
                                 " WHERE CGP0_CAUSALE IN (300, 400)")),
             QStringLiteral("300|Incasso RiBa clienti"));
    QCOMPARE(ctx.causalCode(), QStringLiteral("300"));
    QCOMPARE(ui.TAB_CONFIG->Tab(), 4);
    QCOMPARE(QApplication::focusWidget(), ui.TXT_GRUPPO->lineEdit());
    QVERIFY(ui.TXT_GRUPPO->isEnabled() && ui.TXT_UTENTE->isEnabled());
    QVERIFY(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW06")).isNull());
    QVERIFY(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW07")).isNull());

    // Naming a user in that row lets the same save through, with the one row the user made.
    ui.TXT_GRUPPO->lineEdit()->setText(QString());
    QVERIFY(ui.TXT_GRUPPO->commit());
    ui.TXT_UTENTE->lineEdit()->setText(QStringLiteral("LBIANCHI"));
    QVERIFY(ui.TXT_UTENTE->commit());
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(rows(revoke), QStringLiteral("300||3,") + before);
}


// A user's edit: a combo stepped with the arrow keys to the value, a box clicked, a code typed.
void tst_SavePaths::edit(const QString &control, const QString &value)
{
    QWidget *w = m_form->context().control(control);
    QVERIFY2(w, qPrintable(control));
    m_form->context().focusField(w);
    if (auto *combo = qobject_cast<ComboField *>(w)) {
        QVERIFY2(combo->comboBox()->findData(value) >= 0, qPrintable(control + " offers no " + value));
        QTest::keyClick(combo->comboBox(), Qt::Key_Home);
        for (int i = 0; i < combo->ListCount() && combo->Text() != value; ++i)
            QTest::keyClick(combo->comboBox(), Qt::Key_Down);
        QCOMPARE(combo->Text(), value);
    } else if (auto *box = qobject_cast<CheckField *>(w)) {
        if (box->Text() != value)
            box->checkBox()->click();
        QCOMPARE(box->Text(), value);
    } else if (auto *field = qobject_cast<TextField *>(w)) {
        QLineEdit *line = field->lineEdit();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, value);
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(field->Text(), value);
    }
}

QList<StoredParameterChecks::Finding> tst_SavePaths::validate(const QString &causal) const
{
    auto connection = std::make_shared<ado::Connection>();
    connection->Open(m_db->connectionString());
    return StoredParameterChecks(connection).check(causal);
}

void tst_SavePaths::windowAndValidateGiveOneVerdict_data()
{
    QTest::addColumn<QString>("stored");      // a change of the database before the window opens
    QTest::addColumn<QString>("causal");
    QTest::addColumn<QStringList>("edits");   // CONTROL=value, in the order the user makes them
    QTest::addColumn<QString>("refused");     // the field the save is refused on; empty: saved
    QTest::addColumn<int>("message");         // what the window says on Conferma
    QTest::addColumn<QString>("finding");     // "COLUMN textId" that validate reports (another company's, when saved)
    const QString described = QStringLiteral("TXT_DESCRIZIONE=Rivista");
    const int invalid = MessageId::InvalidCode;
    QTest::newRow("collection as shown") << "" << "300" << QStringList{described} << "" << 0 << "";
    QTest::newRow("compensation as shown") << "" << "320" << QStringList{described} << "" << 0 << "";
    QTest::newRow("master debit account once the box is cleared")
        << "" << "300" << QStringList{"CHK_MODIFICACONTI=1", "TXT_CONTODARE=1801", "CHK_MODIFICACONTI=0"} << "" << 0 << "";
    QTest::newRow("advances with posting causals of advances in every company")
        << "UPDATE CGP7_DUEBILPERSREG SET CGP7_CAUSALECOGE_CG33 = 'ACF' WHERE CGP7_CAUSALE_CGP0 = 300"
        << "300" << QStringList{"CBO_TIPOOPERAZIONE=8"} << "" << 0 << "";
    QTest::newRow("unpaid bills keeping a collection's posting causal")
        << "" << "300" << QStringList{"CBO_TIPOOPERAZIONE=4", "TXT_CONTOAVERE=140202"} << "TXT_CAUSALECOGE" << invalid
        << QStringLiteral("CGP7_CAUSALECOGE_CG33 %1").arg(MessageId::NotUnpaid);
    QTest::newRow("advances keeping a collection's posting causal")
        << "" << "300" << QStringList{"CBO_TIPOOPERAZIONE=8"} << "TXT_CAUSALECOGE" << invalid
        << QStringLiteral("CGP7_CAUSALECOGE_CG33 %1").arg(MessageId::NoAdvance);
    // Saved for the company on screen; the other company is named, to be completed there.
    QTest::newRow("advances with a collection's posting causal in another company")
        << "" << "300" << QStringList{"CBO_TIPOOPERAZIONE=8", "TXT_CAUSALECOGE=ACC"} << ""
        << int(MessageId::OtherCompanyIncomplete) << QStringLiteral("CGP7_CAUSALECOGE_CG33 %1").arg(MessageId::NoAdvance);
    QTest::newRow("posting causal deleted from the ledger")
        << "DELETE FROM CG33_TABCAU WHERE CG33_CODICE = 'RIB'" << "300" << QStringList{described}
        << "TXT_CAUSALECOGE" << invalid << QStringLiteral("CGP7_CAUSALECOGE_CG33 %1").arg(MessageId::NotClosing);
    QTest::newRow("stored master allowance account")
        << "UPDATE CGP7_DUEBILPERSREG SET CGP7_CONTOABBATTIVI_CG24 = '1401' WHERE CGP7_CAUSALE_CGP0 = 300"
        << "300" << QStringList{described} << "TXT_CONTOABBUONIATTIVI" << invalid
        << QStringLiteral("CGP7_CONTOABBATTIVI_CG24 %1").arg(MessageId::NotPostable);
    QTest::newRow("compensation causal deleted")
        << "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_CAUSALECOMPFOR_CGP0 = 999 WHERE CGP6_CAUSALE_CGP0 = 320"
        << "320" << QStringList{described} << "TXT_CAUSALECOMPFOR" << invalid << "CGP6_CAUSALECOMPFOR_CGP0 0";
}

// A causal the window saves without refusal validates clean; a save the window refuses is
// refused for a reason that validate reports once the values the user chose are stored.
void tst_SavePaths::windowAndValidateGiveOneVerdict()
{
    QFETCH(QString, stored);
    QFETCH(QString, causal);
    QFETCH(QStringList, edits);
    QFETCH(QString, refused);
    QFETCH(int, message);
    QFETCH(QString, finding);
    if (!stored.isEmpty())
        execute(stored);
    QVERIFY(open());
    show(causal);
    FormContext &ctx = m_form->context();
    for (const QString &e : std::as_const(edits)) {
        edit(e.section(QLatin1Char('='), 0, 0), e.section(QLatin1Char('='), 1));
        if (QTest::currentTestFailed())
            return;
    }
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> before = rows.read();
    m_messages->clear();
    const bool saved = ctx.ui.INTERNAV->press(QStringLiteral("Conferma"));
    QCOMPARE(saved, refused.isEmpty());
    QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
    if (saved) {
        QStringList elsewhere;
        for (const StoredParameterChecks::Finding &f : validate(causal)) {
            if (f.company == QLatin1String("1"))
                QFAIL(qPrintable(QStringLiteral("validate reports %1 = '%2': %3").arg(f.column, f.value).arg(f.textId)));
            elsewhere << f.column + ' ' + QString::number(f.textId);
        }
        QCOMPARE(elsewhere.value(0), finding);
        return;
    }

    // Refused on the field, named as the screen names it, with nothing written.
    QWidget *field = ctx.control(refused);
    QVERIFY(field);
    QVERIFY2(m_messages->calls().constFirst().message.text.contains('"' + ctx.shownName(field) + '"'),
             qPrintable(m_messages->calls().constFirst().message.text));
    QVERIFY(field == QApplication::focusWidget() || field->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(rows.read(), before);

    // The values the user chose, stored behind the window's back, are what validate reports.
    for (const QString &e : std::as_const(edits)) {
        const ParameterControls::Control *edited = ParameterControls::find(e.section(QLatin1Char('='), 0, 0));
        const QString column = edited ? QLatin1String(edited->column) : QString();
        // The parameter tables only: the causal's own row holds nothing validate judges.
        if (!column.startsWith(QLatin1String("CGP5")) && !column.startsWith(QLatin1String("CGP6"))
            && !column.startsWith(QLatin1String("CGP7")))
            continue;
        const QString where = column.startsWith(QLatin1String("CGP5"))
            ? QStringLiteral("CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = %1").arg(causal)
            : QStringLiteral("%1 WHERE %2_DITTA_CG18 = 1 AND %2_CAUSALE_CGP0 = %3")
                  .arg(column.startsWith(QLatin1String("CGP6")) ? "CGP6_DUEBILPARAMDITTA" : "CGP7_DUEBILPERSREG",
                       column.left(4), causal);
        execute(QStringLiteral("UPDATE %1 SET %2 = '%3'").arg(where.section(' ', 0, 0), column, e.section('=', 1))
                + where.mid(where.indexOf(QLatin1String(" WHERE"))));
    }
    QStringList reported;
    for (const StoredParameterChecks::Finding &f : validate(causal))
        reported << f.column + ' ' + QString::number(f.textId);
    QVERIFY2(reported.contains(finding), qPrintable(reported.join(", ")));
}

QTEST_MAIN(tst_SavePaths)
#include "tst_savepaths.moc"
