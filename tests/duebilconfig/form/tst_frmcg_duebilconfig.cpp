#include "ado/recordset.h"
#include "causals/causaloperations.h"
#include "controls/lookupdialog.h"
#include "form/frmcg_duebilconfigfactory.h"
#include "framework/testiparametrizzabili.h"
#include "store/messageids.h"
#include "support/casefile.h"
#include "support/modulerows.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using Kind = RecordingMessageService::Kind;

class tst_FRMCG_DUEBILCONFIG : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    // A later activation starts nothing again: rows missing then stay missing until the next start.
    void openedWindowWaitsForACode()
    {
        QVERIFY(open());
        FormContext &ctx = m_form->context();
        QVERIFY2(m_messages->calls().isEmpty(), "the start-up reported an error");
        QCOMPARE(ctx.FME_CAUSALI->Status(), int(DataFrame::StatusQuery));
        const int fields = scalar(QStringLiteral("SELECT COUNT(*) FROM CGP1_DUEBILFIELD")).toInt();
        QVERIFY(fields > 0);
        QVERIFY(ctx.ui.TVCAMPI->nodeCount() > fields);
        QVERIFY(ctx.ui.QGRID_LAYOUT->columns().contains(QStringLiteral("CGP3_SORTTYPE")));
        for (int i = 0; i < 5; ++i)
            QVERIFY2(!ctx.ui.TAB_CONFIG->isTabEnabled(i), qPrintable(QString::number(i)));
        QCOMPARE(ctx.ui.TAB_CONFIG->currentIndex(), 0);  // the window opens on "Generale"
        QCOMPARE(ctx.ui.CBO_TIPOOPERAZIONE->comboBox()->findData(QStringLiteral("7")) >= 0, !m_form->GestioneStatiDisabilitata());
        // Every other frame is saved, undone and deleted with the causal's.
        for (DataFrame *frame : {ctx.FME_LAYOUT.get(), ctx.FME_FILTRI.get(), ctx.FME_PARAMETRI.get(),
                                 ctx.FME_PARAMETRIDITTA.get(), ctx.FME_PARAMPERSREG.get(), ctx.FME_UTENTI.get()})
            QVERIFY2(ctx.FME_CAUSALI->children().contains(frame), qPrintable(frame->objectName()));
        QVERIFY(ctx.ui.INTERNAV->hasCommand(QStringLiteral("Duplica")));
        QVERIFY(!ctx.ui.INTERNAV->isCommandEnabled(QStringLiteral("Duplica")));

        const int nodes = ctx.ui.TVCAMPI->nodeCount();
        execute(QStringLiteral("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 7"));
        m_form->Form_Activate();
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310")).toInt(), 31);
        QCOMPARE(ctx.ui.TVCAMPI->nodeCount(), nodes);
        QVERIFY(m_messages->calls().isEmpty());
    }

    void missingRowsAreCompletedAtFirstActivation_data() { rows("startupcompletion.cases"); }

    // Start-up completes only where a row is missing, but whatever is missing is still added, and
    // the causal shows without a fault.
    void missingRowsAreCompletedAtFirstActivation()
    {
        QFETCH(TextCase, c);
        for (const QString &statement : c.lines(QStringLiteral("removal")))
            execute(statement);
        const QString count = c.text(QStringLiteral("count"));
        QCOMPARE(scalar(count).toString(), c.text(QStringLiteral("before")));
        QVERIFY(open());
        const QString after = c.text(QStringLiteral("after"));
        QCOMPARE(scalar(count).toInt(), after == QLatin1String("per causal")
                                            ? scalar(QStringLiteral("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI")).toInt()
                                            : after.toInt());
        show(QStringLiteral("300"));
        QCOMPARE(m_form->context().ui.CHK_FILTER.size(), 33);  // boxes 1 to 32, whatever the catalogue holds
        QVERIFY(!m_form->context().ui.CHK_FILTER[5]->isHidden());
        QVERIFY2(m_messages->calls().isEmpty(), "the start-up or the causal reported an error");
    }

    void typedCodeShowsTheCausalWithItsRows()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(),
                 scalar(QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300")).toString());
        QCOMPARE(ctx.ui.CBO_TIPOOPERAZIONE->Text(), QStringLiteral("1"));
        QCOMPARE(ctx.ui.QGRID_LAYOUT->rowCount(),
                 scalar(QStringLiteral("SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300")).toInt());
        QCOMPARE(ctx.ui.TXT_CAUSALECOGE->Text(),
                 scalar(QStringLiteral("SELECT CGP7_CAUSALECOGE_CG33 FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300"
                                       " AND CGP7_DITTA_CG18 = 1"))
                     .toString());
        // The description of a ledger code is read as the record is shown.
        QVERIFY(!ctx.ui.TXT_DESCCAUINCPAG->text().isEmpty());
        for (int i = 0; i < 4; ++i)
            QVERIFY(ctx.ui.TAB_CONFIG->isTabEnabled(i));
        QVERIFY(!ctx.ui.CHK_FILTER[1]->isHidden());
    }

    void defaultChecksFollowTheOperationType_data()
    {
        QTest::addColumn<int>("tipo");
        for (int tipo = 1; tipo <= 8; ++tipo)
            QTest::addRow("type %d", tipo) << tipo;
    }

    void defaultChecksFollowTheOperationType()
    {
        QFETCH(int, tipo);
        QVERIFY(openAt(QStringLiteral("300"), QStringLiteral("VELTO")));
        FormContext &ctx = m_form->context();
        const auto shown = [&] {
            QStringList boxes;
            for (int i = 1; i <= 32; ++i)
                boxes << ctx.ui.CHK_FILTER[i]->Text();
            return boxes.join(u',');
        };
        const QString before = shown();
        ctx.ui.CBO_TIPOOPERAZIONE->setText(QString::number(tipo));
        emit ctx.ui.CBO_TIPOOPERAZIONE->AfterChange();
        // A type without defaults leaves the boxes as they were.
        const std::optional<QString> column = CausalOperations::defaultColumn(operationTypeOf(tipo));
        QCOMPARE(shown(), column ? scalar(QStringLiteral("SELECT GROUP_CONCAT(IFNULL(%1, 0)) FROM (SELECT %1 FROM CGP2_DUEBILCHECK"
                                                         " WHERE CGP2_ID <= 32 ORDER BY CGP2_ID)").arg(*column)).toString()
                                 : before);
    }

    // The list of users offers the active ones; the chosen one is shown by its user name and its
    // id goes into the row, and the group field closes as for a typed user.
    void lookupListGivesTheChosenItem()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        FormUi &ui = ctx.ui;
        QVERIFY(ui.GRIDNAVREVOKE->press(QStringLiteral("Nuovo")));
        int inactive = -1;
        bool chosen = false;
        answerList([&](LookupDialog *list) {
            list->setSearch(QStringLiteral("GVERDI"));
            inactive = list->rowCount();
            list->setSearch(QStringLiteral("LBIANCHI"));
            return chosen = list->rowCount() == 1 && list->chooseRow(0);
        });
        ui.TXT_UTENTE->lookup();
        QCOMPARE(inactive, 0);
        QVERIFY(chosen);
        QCOMPARE(ui.TXT_UTENTE->Text(), QStringLiteral("LBIANCHI"));
        QCOMPARE(ui.LBL_DESCRUTENTE->text(), QStringLiteral("Laura Bianchi"));
        QVERIFY(!ui.TXT_GRUPPO->isEnabled());
        QCOMPARE(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW07")).toInt(), 3);
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
        QCOMPARE(scalar("SELECT GROUP_CONCAT(CGP8_ID_FW07) FROM (SELECT CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE"
                        " WHERE CGP8_CAUSALE_CGP0 = 300 ORDER BY CGP8_ID_FW07)").toString(),
                 QStringLiteral("3,4"));
    }

    void legendValueIsInsertedAtTheCaret_data() { rows("legendinsertions.cases"); }

    // The legend puts its placeholder into the text where the caret stands, whole or not at all:
    // what does not fit, or a text the causal's type locks, is left as it was and the user told.
    void legendValueIsInsertedAtTheCaret()
    {
        QFETCH(TextCase, c);
        const QString type = c.text(QStringLiteral("type")), expected = c.text(QStringLiteral("expected"));
        QString value = c.text(QStringLiteral("value"));
        const int message = c.text(QStringLiteral("message")).toInt();
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        ctx.ui.TXT_TESTOPARAMETRICO->setText(c.text(QStringLiteral("text")));
        if (!type.isEmpty()) {
            ctx.ui.CBO_TIPOOPERAZIONE->setText(type);
            emit ctx.ui.CBO_TIPOOPERAZIONE->AfterChange();
            QVERIFY(!ctx.ui.TXT_TESTOPARAMETRICO->isEnabled());
        }
        ctx.ui.TXT_TESTOPARAMETRICO->setSelStart(c.text(QStringLiteral("caret")).toInt());
        short row = 0;
        QString description;
        QVERIFY(ctx.Gcls_TestiParametrizzabili);
        m_messages->clear();
        emit ctx.Gcls_TestiParametrizzabili->DoubleClick(&row, &value, &description);
        QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
        if (message) {
            const QString shown = m_messages->calls().constFirst().message.text;
            QVERIFY2(shown.contains(QStringLiteral("\"Testo riga parametrizzabile\"")) && shown.contains(value), qPrintable(shown));
        }
        QCOMPARE(ctx.ui.TXT_TESTOPARAMETRICO->Text(), expected);
        QCOMPARE(ctx.ui.TXT_TESTOPARAMETRICO->SelStart(), c.text(QStringLiteral("caret after")).toInt());
        if (message == MessageId::LegendTooLong)
            QCOMPARE(ctx.ui.TAB_CONFIG->Tab(), 1);
        // A text the type locks keeps its stored row until the next save: the legend never reaches it.
        const QString storedText = ctx.FME_PARAMPERSREG->recordset()->value(QStringLiteral("CGP7_TESTORIGA")).toString();
        if (!type.isEmpty()) {
            QVERIFY2(!storedText.contains(value), qPrintable(storedText));
            return;
        }
        QCOMPARE(storedText, expected);
        QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
        QCOMPARE(scalar("SELECT IFNULL(CGP7_TESTORIGA, '') FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = 1"
                        " AND CGP7_CAUSALE_CGP0 = 300").toString(), expected);
    }

    void calledModeShowsTheGivenCausal_data() { rows("calledmode.cases"); }

    void calledModeShowsTheGivenCausal()
    {
        QFETCH(TextCase, c);
        const QString external = c.text(QStringLiteral("external")), shown = c.text(QStringLiteral("shown"));
        m_global->setUserName(QStringLiteral("MROSSI"));
        m_cls = std::make_unique<CLSCG_DUEBILCONFIG>(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
        m_cls->setClsGlobal(m_global.get());
        m_cls->setActiveNavigator(m_navigator.get());
        m_cls->setIsCalled(true);
        m_cls->setCausaleEsterna(external);
        m_cls->ShowForm();
        m_form = dynamic_cast<FRMCG_DUEBILCONFIG *>(m_cls->form());
        QVERIFY(m_form);
        QVERIFY(QTest::qWaitFor([this] { return m_form->isActivated(); }, 5000));
        FormContext &ctx = m_form->context();
        QCOMPARE(ctx.causalCode(), shown);
        QCOMPARE(ctx.FME_CAUSALI->Status(), int(shown.isEmpty() ? DataFrame::StatusQuery : DataFrame::StatusRecord));
        QCOMPARE(ctx.ui.INTERNAV->calledMode(), !external.isEmpty());
        QCOMPARE(rowsOfAnotherCausal(ctx.children(), ctx.causalCode()), QStringList());
    }

    void refusedCloseKeepsTheWindowAndTheHostIsToldOnce()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        QSignalSpy closing(m_global.get(), &ClsGlobal::windowClosing);
        m_form->context().ui.TXT_DESCRIZIONE->setText(QStringLiteral("Descrizione non salvata"));
        m_messages->enqueueAnswer(MsgAnswer::Cancel);
        QCOMPARE(m_cls->CloseForm(), QVariant(false));
        QVERIFY(m_cls->form());
        QCOMPARE(m_form->context().ui.TXT_DESCRIZIONE->Text(), QStringLiteral("Descrizione non salvata"));
        QCOMPARE(closing.size(), 0);
        // Answering No closes without saving, and the host hears of it once.
        m_messages->enqueueAnswer(MsgAnswer::No);
        QCOMPARE(m_cls->CloseForm(), QVariant(true));
        QCOMPARE(closing.size(), 1);
        QCOMPARE(m_global->activeWindow(), nullptr);
        m_cls.reset();
        QVERIFY(scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300").toString()
                != QLatin1String("Descrizione non salvata"));
    }

    // A node dragged from the tree and dropped on the grid: the drag starts with a press on the
    // node, the events reach the grid as the platform delivers them, and the outcome is Sel's.
    void fieldDraggedOntoTheGridIsAddedAsSelAddsIt_data() { rows("layoutdrops.cases"); }

    void fieldDraggedOntoTheGridIsAddedAsSelAddsIt()
    {
        QFETCH(TextCase, c);
        const QString key = c.text(QStringLiteral("key"));
        const int message = c.text(QStringLiteral("message")).toInt();
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        ctx.ui.TAB_CONFIG->setTab(3);
        const int rows = ctx.FME_LAYOUT->recordset()->RecordCount();
        QTreeWidget *tree = ctx.ui.TVCAMPI->tree();
        const QModelIndexList nodes = tree->model()->match(tree->model()->index(0, 0), Qt::UserRole, key, 1,
                                                           Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(nodes.size(), 1);
        tree->scrollTo(nodes.first());  // opens the branches above it
        const QPoint node = tree->visualRect(nodes.first()).center();
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, node);
        QCOMPARE(ctx.ui.TVCAMPI->selectedKey(), key);
        std::unique_ptr<QMimeData> mime(tree->model()->mimeData(tree->selectionModel()->selectedIndexes()));
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, node);
        QVERIFY(mime);

        QWidget *target = ctx.ui.QGRID_LAYOUT->findChild<QTableWidget *>()->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());

        const ado::RecordsetPtr layout = ctx.FME_LAYOUT->recordset();
        QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
        QCOMPARE(layout->RecordCount(), message ? rows : rows + 1);
        QCOMPARE(ctx.ui.QGRID_LAYOUT->rowCount(), layout->RecordCount());
        if (!message)
            QCOMPARE(layout->value(QStringLiteral("CGP1_FIELD")).toString(), key);
    }

    void causalLevelChecksUnlockOnlyOnRequest()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormUi &ui = m_form->context().ui;
        // The checks of the movement's state, the operation and the presentation are the causal's.
        const QList<int> causalLevel = {1, 2, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
        const auto enabled = [&] {
            QList<int> ids;
            for (int id : causalLevel)
                if (ui.CHK_FILTER[id]->isEnabled())
                    ids << id;
            return ids;
        };
        QCOMPARE(enabled(), QList<int>());
        m_messages->enqueueAnswer(MsgAnswer::No);
        emit ui.CMD_MODIFICACHECKCAUSALE->ButtonClick();
        QCOMPARE(enabled(), QList<int>());
        m_messages->enqueueAnswer(MsgAnswer::Yes);
        emit ui.CMD_MODIFICACHECKCAUSALE->ButtonClick();
        QCOMPARE(enabled(), causalLevel);
        QVERIFY(!ui.CMD_MODIFICACHECKCAUSALE->isEnabled());
    }

    // Closing and compensating items withhold nothing: their save clears the withholding check,
    // on screen and stored; the other types keep it.
    void closingTypesSaveWithoutWithholding_data() { rows("withholdingonsave.cases"); }

    void closingTypesSaveWithoutWithholding()
    {
        QFETCH(TextCase, c);
        const QString causal = c.text(QStringLiteral("causal")), type = c.text(QStringLiteral("type"));
        const QString stored = c.text(QStringLiteral("stored"));
        execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1 WHERE CGP5_CAUSALE_CGP0 = %2").arg(type, causal));
        const QString check30 = QStringLiteral(" WHERE CGP4_CAUSALE_CGP0 = %1 AND CGP4_IDCHECK_CGP2 = 30").arg(causal);
        execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1") + check30);
        QVERIFY(openAt(causal, QStringLiteral("VELTO")));
        FormUi &ui = m_form->context().ui;
        QCOMPARE(ui.CHK_FILTER[30]->Text(), QStringLiteral("1"));
        ui.TXT_DESCRIZIONE->setText(QStringLiteral("Rivista"));
        QVERIFY(confirm());
        QCOMPARE(scalar(QStringLiteral("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI") + check30).toString(), stored);
        QCOMPARE(ui.CHK_FILTER[30]->Text(), stored);
    }

    void movingAfterTheSaveQuestionStartsFromTheCausalShown_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::newRow("No, next") << "Successivo" << int(MsgAnswer::No) << "320";
        QTest::newRow("No, previous") << "Precedente" << int(MsgAnswer::No) << "300";
        QTest::newRow("Annulla, next") << "Successivo" << int(MsgAnswer::Cancel) << "310";
        QTest::newRow("Annulla, previous") << "Precedente" << int(MsgAnswer::Cancel) << "310";
    }

    void movingAfterTheSaveQuestionStartsFromTheCausalShown()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QVERIFY(openAt(QStringLiteral("310")));
        FormContext &ctx = m_form->context();
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        ctx.ui.TXT_DESCRIZIONE->setText(QStringLiteral("Non salvata"));
        m_messages->clear();
        m_messages->enqueueAnswer(answer);
        QTest::mouseClick(ctx.ui.INTERNAV->button(button), Qt::LeftButton);
        QCOMPARE(messageIds(), QList<int>{FormText::AskSave});
        QCOMPARE(ctx.causalCode(), shown);
        QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text() == QLatin1String("Non salvata"), answer == MsgAnswer::Cancel);
        QCOMPARE(rowsOfAnotherCausal(ctx.children(), ctx.causalCode()), QStringList());
        QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>());
    }

    void deleteActsOnlyOnTheCausalShownAndAsksFirst_data()
    {
        QTest::addColumn<QString>("before");  // what the user did first: open, show a causal, Nuovo
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("just opened") << "open" << int(MsgAnswer::Yes) << false;
        QTest::newRow("after Nuovo") << "nuovo" << int(MsgAnswer::Yes) << false;
        QTest::newRow("causal shown, No") << "show" << int(MsgAnswer::No) << false;
        QTest::newRow("causal shown, Sì") << "show" << int(MsgAnswer::Yes) << true;
    }

    void deleteActsOnlyOnTheCausalShownAndAsksFirst()
    {
        QFETCH(QString, before);
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        QVERIFY(open());
        FormContext &ctx = m_form->context();
        if (before != QLatin1String("open"))
            show(QStringLiteral("320"));
        if (before == QLatin1String("nuovo")) {
            m_messages->enqueueAnswer(MsgAnswer::No);  // the save question, when showing it changed a row
            QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Nuovo")));
        }
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> stored = rows.read();
        m_messages->clear();
        // 320 is no compensation causal: only the question can keep it.
        m_messages->enqueueAnswer(answer);
        QTest::mouseClick(ctx.ui.INTERNAV->button(QStringLiteral("Elimina")), Qt::LeftButton);
        const QMap<int, QStringList> after = rows.read();
        QCOMPARE(CausalRows::changed(stored, after), deleted ? QSet<int>{320} : QSet<int>());
        QVERIFY(!deleted || !after.contains(320));
        QCOMPARE(rows.incomplete(1), QStringList());
        if (before == QLatin1String("show")) {
            QCOMPARE(m_messages->calls().size(), 1);
            const MessageRequest question = m_messages->calls().first().message;
            QCOMPARE(question.textId, int(FormText::AskDelete));
            QCOMPARE(question.params, (QStringList{"320", "Compensazione clienti/fornitori"}));
        } else {
            QCOMPARE(m_messages->calls().size(), 0);
        }
    }

    void startUpErrorsLeaveAWindowThatCloses_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("answer");
        for (const char *fault : {"connection", "table"}) {
            QTest::addRow("%s, Ignora", fault) << fault << int(ErrorTrap::Resume);
            QTest::addRow("%s, Abbandona", fault) << fault << int(ErrorTrap::Leave);
        }
    }

    void startUpErrorsLeaveAWindowThatCloses()
    {
        QFETCH(QString, fault);
        QFETCH(int, answer);
        const bool unreachable = fault == QLatin1String("connection");
        if (unreachable)
            m_global->setConnectionString(QStringLiteral("sqlite:/nonexistent-folder/missing.db"));
        else
            execute(QStringLiteral("DROP TABLE CGP0_DUEBILCAUSALI"));
        m_messages->setDefaultErrorAnswer(answer);
        open(QStringLiteral("MROSSI"), 1500);
        QVERIFY(m_form);
        QVERIFY2(!m_messages->callsOf(Kind::Error).isEmpty(), "the fault was not reported");
        // The window takes a user's hands without crashing and closes.
        FormUi &ui = m_form->context().ui;
        ui.TXT_CAUSALE->lineEdit()->setText(QStringLiteral("300"));
        ui.TXT_CAUSALE->commit();
        for (const char *key : {"Successivo", "Elimina", "Annulla", "Conferma", "Nuovo", "Duplica"})
            ui.INTERNAV->press(QLatin1String(key));
        // Left at the fault, a database reachable again is opened at the next activation.
        const bool retried = unreachable && answer == int(ErrorTrap::Leave);
        if (retried) {
            QVERIFY(!m_form->isActivated());
            m_global->setConnectionString(m_db->connectionString());
        }
        m_form->Form_Activate();
        QVERIFY(!retried || m_form->isActivated());
        QCOMPARE(m_cls->CloseForm(), QVariant(true));
        m_cls.reset();
    }

    // Two refused codes: the first field keeps the focus, and closing validates it no more. (What
    // one refused code leaves on screen and in the row: tst_FormFeedback, aRefusalKeepsTheTab...)
    void refusedCodeFieldsKeepTheFocusAndCloseWithoutValidating()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormUi &ui = m_form->context().ui;
        ui.TAB_CONFIG->setTab(1);
        QTest::mouseClick(ui.TXT_CAUSALECOGE->lineEdit(), Qt::LeftButton);
        QTest::keyClick(ui.TXT_CAUSALECOGE->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ui.TXT_CAUSALECOGE->lineEdit(), QStringLiteral("ZZ"));
        ui.TXT_CONTODARE->lineEdit()->setText(QStringLiteral("99"));
        m_messages->clear();
        QTest::mouseClick(ui.TXT_CONTODARE->lineEdit(), Qt::LeftButton);
        QTest::keyClick(ui.TXT_CONTODARE->lineEdit(), Qt::Key_Tab);
        QVERIFY(ui.TXT_CAUSALECOGE->lineEdit()->hasFocus());
        QVERIFY2(m_messages->calls().size() < 10, "the fields took the focus from each other");
        m_messages->clear();
        m_messages->setDefaultAnswer(MsgAnswer::No);
        QCOMPARE(m_cls->CloseForm(), QVariant(true));
        m_cls.reset();
        QVERIFY(m_messages->callsOf(Kind::Error).isEmpty());
        QVERIFY(!messageIds().contains(63441));
    }

    void codeFieldTakesOnlyTheDigitsZeroToNine_data() { rows("codefield.cases"); }

    void codeFieldTakesOnlyTheDigitsZeroToNine()
    {
        QFETCH(TextCase, c);
        const QString typed = c.text(QStringLiteral("typed")), kept = c.text(QStringLiteral("kept"));
        QVERIFY(open());
        FormUi &ui = m_form->context().ui;
        // Key by key, as a keyboard of another script sends them.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, ui.TXT_CAUSALE->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(ui.TXT_CAUSALE->Text(), kept);
        QTest::keyClick(ui.TXT_CAUSALE->lineEdit(), Qt::Key_Return);
        QCOMPARE(m_form->context().FME_CAUSALI->Status(),
                 int(kept == QLatin1String("310") ? DataFrame::StatusRecord : DataFrame::StatusQuery));
        QVERIFY(m_messages->callsOf(Kind::Error).isEmpty());
    }

    void dueDateSelectionIsSavedForTheCausalShown()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        // Reached by the navigator, not typed: the selection ticked is the one of 310.
        m_messages->enqueueAnswer(MsgAnswer::No);
        ctx.ui.INTERNAV->button(QStringLiteral("Successivo"))->click();
        QCOMPARE(ctx.causalCode(), QStringLiteral("310"));
        QListWidget *list = ctx.ui.KVS_SELSCADENZE->findChild<QListWidget *>();
        QVERIFY(list);
        QListWidgetItem *item = list->item(2);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        m_messages->setDefaultAnswer(MsgAnswer::Yes);
        ctx.ui.INTERNAV->button(QStringLiteral("Conferma"))->click();
        QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{310});
    }

private:
    // The cases of tests/data/<file>, one row each.
    static void rows(const char *file)
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/") + QLatin1String(file)});
    }
};

QTEST_MAIN(tst_FRMCG_DUEBILCONFIG)
#include "tst_frmcg_duebilconfig.moc"
