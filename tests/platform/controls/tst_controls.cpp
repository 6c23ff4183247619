#include "ado/adoerror.h"
#include "ado/connection.h"
#include "ado/recordset.h"
#include "controls/checkfield.h"
#include "controls/codefield.h"
#include "controls/combofield.h"
#include "controls/designfont.h"
#include "controls/gridcontrol.h"
#include "controls/labelcontrol.h"
#include "controls/lookupdialog.h"
#include "controls/richtextfield.h"
#include "controls/tabstrip.h"
#include "controls/textfield.h"
#include "fixture.h"
#include "support/jsoncases.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeView>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QTest>

namespace {

// A connection to a fresh fixture in dir, on a rollback journal, with a table LUNGA of 1000 rows
// R0000..R0999, "Riga 0".."Riga 999": longer than a list reads at once.
ado::ConnectionPtr openLongList(const QTemporaryDir &dir)
{
    const ado::ConnectionPtr connection = openFixture(dir);
    QSqlQuery fill(connection->database());
    const bool filled = fill.exec(QStringLiteral("PRAGMA journal_mode=DELETE"))
        && fill.exec(QStringLiteral("CREATE TABLE LUNGA (CODICE TEXT, DESCR TEXT)"))
        && fill.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999)"
                                    " INSERT INTO LUNGA SELECT printf('R%04d', i), 'Riga ' || i FROM n"));
    return filled ? connection : nullptr;
}

} // namespace

// What the window relies on from its controls.
class tst_Controls : public QObject
{
    Q_OBJECT

private slots:
    void refusedCodeIsNotCommitted()
    {
        TextField field;
        field.setText(QStringLiteral("RIB"));
        QSignalSpy changed(&field, &FieldControl::TextChanged);
        QSignalSpy accepted(&field, &TextField::AfterItem);
        bool refuse = true;
        connect(&field, &TextField::Validate, this, [&](bool *cancel) { *cancel = refuse; });

        field.lineEdit()->setText(QStringLiteral("FTV"));
        QVERIFY(!field.commit());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(accepted.count(), 0);

        refuse = false;
        QVERIFY(field.commit());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("FTV"));
        QCOMPARE(accepted.count(), 1);
        // Committing the same text again tells nobody.
        QVERIFY(field.commit());
        QCOMPARE(changed.count(), 1);
    }

    // Which characters a code field keeps is the window's own table; here, its length.
    void codeFieldStopsAtItsLength()
    {
        CodeField field;
        field.setMaxChar(3);
        field.show();
        field.lineEdit()->setFocus();
        QTest::keyClicks(field.lineEdit(), QStringLiteral("30145"));
        QCOMPARE(field.lineEdit()->text(), QStringLiteral("301"));
    }

    void comboSelectsByStoredValue()
    {
        ComboField combo;
        combo.AddItem(QStringLiteral("Incassi"), 1);
        combo.AddItem(QStringLiteral("Pagamenti"), 2);
        combo.AddItem(QStringLiteral("Compensazioni"), 6);
        QSignalSpy rows(&combo, &ComboField::ChangeRow);
        combo.setText(QStringLiteral("6"));
        QCOMPARE(combo.ListIndex(), 2);
        QCOMPARE(combo.Text(), QStringLiteral("6"));
        QCOMPARE(rows.count(), 1);
        // A value the list does not hold selects nothing rather than a wrong entry.
        combo.setText(QStringLiteral("9"));
        QVERIFY(combo.Text() != QLatin1String("1") && combo.Text() != QLatin1String("2"));
    }

    // A list refilled on screen shows its longest entry whole, gives the room back, pops up in the form's font.
    void comboFollowsItsEntriesAndFont()
    {
        QWidget form;
        auto *layout = new QHBoxLayout(&form);
        auto *combo = new ComboField(&form);
        combo->setMaxChar(5);
        layout->addWidget(combo);
        layout->addStretch();
        form.resize(900, 60);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        combo->AddItem(QStringLiteral("Breve"), 1);
        QApplication::processEvents();
        const int narrow = combo->width();

        const QString longest = QStringLiteral("Un dettaglio di registrazione dalla descrizione molto lunga");
        combo->AddItem(longest, 2);
        QApplication::processEvents();
        QVERIFY(combo->width() > narrow + combo->fontMetrics().horizontalAdvance(longest) / 2);
        QVERIFY(combo->comboBox()->sizeHint().width() > combo->fontMetrics().horizontalAdvance(longest));

        combo->Clear();
        combo->AddItem(QStringLiteral("Breve"), 1);
        QApplication::processEvents();
        QCOMPARE(combo->width(), narrow);

        combo->comboBox()->showPopup();
        combo->comboBox()->hidePopup();
        QFont font = form.font();
        font.setPointSize(font.pointSize() + 5);
        form.setFont(font);
        combo->comboBox()->showPopup();
        QCOMPARE(combo->comboBox()->view()->font(), combo->comboBox()->font());
        QCOMPARE(combo->comboBox()->view()->font().pointSize(), font.pointSize());
        combo->comboBox()->hidePopup();
    }

    // A label asks for the room a QLabel of the same look asks for, also after caption, font or frame change.
    void labelTakesTheRoomQLabelWould_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("changedTo");
        QTest::addColumn<bool>("buddy");
        QTest::addColumn<bool>("border");
        QTest::addColumn<int>("alignment");
        const int left = int(Qt::AlignLeft | Qt::AlignVCenter);
        QTest::newRow("caption") << "Tipo operazione:" << "Modalit\u00e0 recupero scadenze:" << false << false << left;
        QTest::newRow("access key") << "&Causale" << "Ca&usale contabile" << true << false << left;
        QTest::newRow("read-out") << "Incasso RiBa clienti" << "Bonifico" << false << true << left;
        QTest::newRow("centred note") << "Causale senza ritenuta" << "Causale senza ritenuta d'acconto" << false << true << int(Qt::AlignCenter);
        QTest::newRow("right") << "al netto" << "al netto dei previsionali" << false << false << int(Qt::AlignRight | Qt::AlignVCenter);
        QTest::newRow("two lines") << "Prima riga\nseconda" << "Una sola riga" << false << false << int(Qt::AlignLeft | Qt::AlignTop);
    }

    void labelTakesTheRoomQLabelWould()
    {
        QFETCH(QString, caption);
        QFETCH(QString, changedTo);
        QFETCH(bool, buddy);
        QFETCH(bool, border);
        QFETCH(int, alignment);
        QWidget form;
        auto *layout = new QHBoxLayout(&form);
        auto *field = new QLineEdit(&form);
        auto *label = new LabelControl(&form);
        auto *reference = new QLabel(&form);
        for (QLabel *l : {static_cast<QLabel *>(label), reference}) {
            if (border) {
                l->setFrameShape(QFrame::StyledPanel);
                l->setFrameShadow(QFrame::Sunken);
            }
            l->setAlignment(Qt::Alignment(alignment));
            l->setText(caption);
            if (buddy)
                l->setBuddy(field);
            layout->addWidget(l);
        }
        layout->addWidget(field);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(label->sizeHint(), reference->sizeHint());
        QCOMPARE(label->minimumSizeHint(), reference->minimumSizeHint());

        QFont font = form.font();
        font.setPointSize(font.pointSize() + 3);
        for (QLabel *l : {static_cast<QLabel *>(label), reference}) {
            l->setText(changedTo);
            l->setFont(font);
        }
        QCOMPARE(label->sizeHint(), reference->sizeHint());
        QCOMPARE(label->minimumSizeHint(), reference->minimumSizeHint());
        QApplication::processEvents();
        QCOMPARE(label->width(), reference->width());

        label->setFrameShape(border ? QFrame::NoFrame : QFrame::Box);
        reference->setFrameShape(border ? QFrame::NoFrame : QFrame::Box);
        QCOMPARE(label->sizeHint(), reference->sizeHint());
    }

    void richTextKeepsItsLimit()
    {
        RichTextField field;
        field.setMaxChar(240);
        field.setText(QString(230, QLatin1Char('a')));
        field.setSelStart(230);
        field.insertText(QString(20, QLatin1Char('b')));
        QVERIFY(field.Text().size() <= 240);
        QVERIFY(field.Text().startsWith(QString(230, QLatin1Char('a'))));
    }

    // Every tab disabled (no causal chosen) keeps the page on show, showing no other on the way.
    void disablingEveryTabKeepsThePageOnShow_data()
    {
        QTest::addColumn<int>("current");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 2;
        QTest::newRow("last") << 4;
    }

    void disablingEveryTabKeepsThePageOnShow()
    {
        QFETCH(int, current);
        TabStrip strip;
        for (int i = 0; i < 5; ++i)
            strip.addPage(new QWidget, QStringLiteral("Pagina %1").arg(i), QChar());
        strip.setTab(current);
        strip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&strip));
        QSignalSpy changes(&strip, &TabStrip::TabChanged);

        strip.disableTabs(5);

        QCOMPARE(strip.Tab(), current);
        QVERIFY(strip.widget(current)->isVisible());
        QCOMPARE(changes.count(), 0);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(!strip.TabEnabled(i), qPrintable(QString::number(i)));
        // Enabled again, the tabs open as before.
        for (int i = 0; i < 5; ++i)
            strip.setTabEnabledAt(i, true);
        strip.setTab((current + 1) % 5);
        QCOMPARE(strip.Tab(), (current + 1) % 5);
    }

    // A caption set on a page behind another widens the window at once, not when the page opens.
    void aPageBehindPassesOnTheSizeOfItsControls()
    {
        QWidget window;
        auto *outer = new QVBoxLayout(&window);
        auto *strip = new TabStrip;
        outer->addWidget(strip);
        strip->addPage(new QWidget, QStringLiteral("Generale"), QChar());
        auto *page = new QWidget;
        auto *pageLayout = new QVBoxLayout(page);
        auto *row = new QWidget;
        auto *rowLayout = new QHBoxLayout(row);
        auto *check = new CheckField;
        rowLayout->addWidget(check);
        pageLayout->addWidget(row);
        strip->addPage(page, QStringLiteral("Selezione"), QChar());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int before = window.sizeHint().width();

        check->setCaption(QString(60, QLatin1Char('M')));
        strip->layOutHiddenPages();
        QCoreApplication::processEvents();

        const int wanted = check->checkBox()->sizeHint().width();
        QVERIFY2(window.sizeHint().width() >= wanted, qPrintable(QString::number(before)));
    }

    // A list longer than what it reads when it opens offers every row, by keyboard (in the list, or
    // Down and PgDown from the search box) and by search; it opens on the field's code however far
    // down; it returns its hidden code column; no column cuts its texts; it speaks the form's font.
    void lookupReachesEveryRowOfALongList_data() { addJsonRows("controls.json", "longList"); }

    void lookupReachesEveryRowOfALongList()
    {
        QFETCH(QJsonArray, row);
        const bool inSearch = row[3].toBool();  // the keys are pressed in the search box, else in the list
        const QString chosen = row[6].toString();
        QTemporaryDir dir;
        const ado::ConnectionPtr connection = openLongList(dir);
        QVERIFY(connection);
        QSqlQuery(connection->database()).exec(
            QStringLiteral("UPDATE LUNGA SET DESCR = 'Una descrizione molto lunga della riga che non deve essere tagliata' "
                           "WHERE CODICE = 'R0001'"));
        LookupDialog dialog(connection, QStringLiteral("SELECT CODICE, DESCR, CODICE FROM LUNGA ORDER BY CODICE"),
                            QVariantList{QVariantMap{{"title", "Codice"}, {"index", 0}},
                                         QVariantMap{{"title", "Descrizione"}, {"index", 1}}},
                            QStringLiteral("Elenco"), 2);
        dialog.setCurrentCode(row[1].toString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *table = dialog.findChild<QTreeView *>();
        auto *searchBox = dialog.findChild<QLineEdit *>();
        QTRY_VERIFY(searchBox->hasFocus());
        dialog.setSearch(row[2].toString());
        if (!inSearch)
            table->setFocus();
        const QKeyCombination pressed = QKeySequence::fromString(row[4].toString())[0];  // as written: "Ctrl+End"
        for (int i = 0; i < row[5].toInt(); ++i)
            QTest::keyClick(inSearch ? static_cast<QWidget *>(searchBox) : table, pressed.key(), pressed.keyboardModifiers());
        QCOMPARE(table->hasFocus(), row[7].toBool());
        QCOMPARE(table->model()->index(table->currentIndex().row(), 0).data().toString(), chosen);
        QVERIFY(table->visualRect(table->currentIndex()).intersects(table->viewport()->rect()));
        for (int c = 0; c < table->model()->columnCount(); ++c)
            QVERIFY2(table->header()->sectionSize(c) >= static_cast<QAbstractItemView *>(table)->sizeHintForColumn(c), qPrintable(QString::number(c)));
        QCOMPARE(table->header()->count(), 2);
        QCOMPARE(dialog.font().family(), DesignFont::font().family());
        QCOMPARE(table->header()->font().family(), DesignFont::font().family());
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.chosenCode(), chosen);
        QCOMPARE(dialog.rowCount(), row[8].toInt());
    }

    // An open list holds no read that stops another user's save (no WAL, or ODBC reading in blocks).
    void lookupOpenLeavesOtherWritersFree_data()
    {
        QTest::addColumn<bool>("odbc");
        QTest::addColumn<int>("readAtOpen");
        QTest::addColumn<int>("rowsAfterTheInsert");
        QTest::newRow("embedded database, rollback journal") << false << 1000 << 1000;
        QTest::newRow("ODBC") << true << 64 << 1001;
    }

    void lookupOpenLeavesOtherWritersFree()
    {
        QFETCH(bool, odbc);
        QFETCH(int, readAtOpen);
        QFETCH(int, rowsAfterTheInsert);
        QTemporaryDir dir;
        ado::ConnectionPtr connection = openLongList(dir);
        QVERIFY(connection);
        const QString path = dir.filePath(QStringLiteral("t.db"));
        if (odbc) {
            connection = std::make_shared<ado::Connection>();
            try {
                connection->Open(QStringLiteral("Driver=SQLite3;Database=") + path);
            } catch (const ado::AdoError &e) {
                QSKIP(qPrintable("SQLite ODBC driver not available: " + e.message()));
            }
        }
        LookupDialog dialog(connection, QStringLiteral("SELECT CODICE, DESCR FROM LUNGA ORDER BY CODICE"), QVariant(),
                            QStringLiteral("Elenco"));
        QVERIFY2(dialog.errorString().isEmpty(), qPrintable(dialog.errorString()));
        QCOMPARE(dialog.loadedRowCount(), readAtOpen);
        auto other = std::make_shared<ado::Connection>();
        other->setBusyTimeout(100);
        other->Open(QStringLiteral("sqlite:") + path);
        try {
            other->Execute(QStringLiteral("INSERT INTO LUNGA (CODICE, DESCR) VALUES ('R1000', 'Riga 1000')"));
        } catch (const ado::AdoError &e) {
            QFAIL(qPrintable(e.message()));
        }
        QCOMPARE(other->Execute(QStringLiteral("SELECT COUNT(*) FROM LUNGA"))->value(0).toInt(), 1001);
        QVERIFY(dialog.chooseRow(700));
        QCOMPARE(dialog.chosenCode(), QStringLiteral("R0700"));
        QCOMPARE(dialog.rowCount(), rowsAfterTheInsert);
        dialog.setSearch(QStringLiteral("R099"));
        QCOMPARE(dialog.rowCount(), 10);
        QVERIFY(dialog.chooseRow(9));
        QCOMPARE(dialog.chosenCode(), QStringLiteral("R0999"));
    }

    void gridShowsFormattedCellsAndHidesWhatItMust()
    {
        QTemporaryDir dir;
        const ado::ConnectionPtr connection = openFixture(dir);
        const ado::RecordsetPtr rs = connection->Execute(
            QStringLiteral("SELECT * FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 ORDER BY CGP3_VISIBLEORDER"));
        GridControl grid;
        grid.AddColumn(QStringLiteral("CGP3_IDFIELD_CGP1"), QStringLiteral("ID"), GridControl::KindText, 1000, false);
        grid.AddColumn(QStringLiteral("CGP3_SORTTYPE"), QStringLiteral("Tipo ordinam."), GridControl::KindText, 1290, true);
        grid.AddColumn(QStringLiteral("CGP3_GROUPED"), QStringLiteral("Raggrup."), GridControl::KindTick, 1095, true);
        grid.setDataFormatEnabled(true);
        connect(&grid, &GridControl::DataFormatEXT, this, [](QString *text, const QString &column, const FieldReader &) {
            if (column == QLatin1String("CGP3_SORTTYPE"))
                *text = *text == QLatin1String("1") ? QStringLiteral("Crescente") : QString();
        });
        grid.setRecordset(rs);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.cellText(2, QStringLiteral("CGP3_SORTTYPE")), QStringLiteral("Crescente"));
        QCOMPARE(grid.cellText(0, QStringLiteral("CGP3_SORTTYPE")), QString());
        QVERIFY(!grid.isColumnVisible(QStringLiteral("CGP3_IDFIELD_CGP1")));
        // A tick reaching the row is the keyboard suite's (tst_Keyboard::layoutGridWorksFromTheKeyboard).
    }
};

QTEST_MAIN(tst_Controls)
#include "tst_controls.moc"
