#include "params/enablingrules.h"

#include <QTest>

static QString text(int id)
{
    return QString::number(id);
}

class TestEnablingRules : public QObject
{
    Q_OBJECT

    static MapSurface screenOf(const QString &tipo)
    {
        MapSurface s;
        for (const auto &[name, value] : QList<std::pair<const char *, const char *>>{
                 {"CBO_MODRECUPERO", "1"}, {"CBO_MODIMPMAX", "0"}, {"CBO_MODIMPSCAD", "1"},
                 {"CBO_DETTREG", "0"}, {"CBO_DETTRIGACONT", "1"}, {"CHK_GESTVALUTE", "0"}, {"CHK_GESTIONEACCONTI", "1"},
                 {"CHK_FILTER_30", "0"}, {"CHK_STAMPAASSEGNI", "1"}, {"CHK_CREADISTINTA", "1"}, {"TXT_CONTODARE", "180101"},
                 {"TXT_CONTOAVERE", "400101"}, {"TXT_CAUABBUONI", "ABB"}, {"TXT_MESI", "6"}, {"TXT_TESTOPARAMETRICO", "Riga"}})
            s.setValue(QLatin1String(name), QLatin1String(value));
        s.setValue(QStringLiteral("CBO_TIPOOPERAZIONE"), tipo);
        s.setCurrentTab(3);
        return s;
    }

    static QStringList tabsDisabled(const MapSurface &s)
    {
        QStringList tabs;
        for (int i = 0; i < 8; ++i)
            if (!s.isTabEnabled(i))
                tabs << QString::number(i);
        return tabs;
    }

private slots:
    void byOperationType_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QStringList>("disabled");   // among the watched controls
        QTest::addColumn<QStringList>("hidden");
        QTest::addColumn<QString>("cogeCaption");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("disabledTabs");

        QTest::newRow("collections") << "1"
            << QStringList{"CBO_TIPOSCADENZA", "CHK_GESTIONEACCONTI", "CHK_STAMPAASSEGNI", "TXT_CONTOAVERE", "CBO_GESTIONERITENUTE"}
            << QStringList{"TXT_CONTOAVERE", "TXT_CAUSALECOMPCLI", "LBL_WARNINGRITENUTE"} << "85467" << 3 << "";
        QTest::newRow("payments") << "2"
            << QStringList{"CBO_TIPOSCADENZA", "CHK_GESTIONEACCONTI", "TXT_CONTOAVERE", "CBO_GESTIONERITENUTE"}
            << QStringList{"TXT_CONTOAVERE", "TXT_CAUSALECOMPCLI"} << "85469" << 3 << "";
        QTest::newRow("closing of open items") << "3"
            << QStringList{"CBO_MODIMPMAX", "CHK_GESTVALUTE", "TXT_CAUABBUONI", "CHK_FILTER_29", "FRA_GESTRITENUTE"}
            << QStringList{"TXT_CAUABBUONI", "LBL_CAUABBUONI", "CBO_GESTIONERITENUTE"} << "85470" << 3 << "";
        QTest::newRow("unpaid bills") << "4"
            << QStringList{"CBO_TIPOSCADENZA", "CBO_DETTRIGACONT", "FRA_ACCONTO", "FRA_GESTRITENUTE"}
            << QStringList{"TXT_CONTOABBUONIATTIVI", "CBO_GESTIONERITENUTE"} << "85468" << 3 << "";
        QTest::newRow("suspension") << "5"
            << QStringList{"TXT_CAUSALECOGE", "TXT_CONTODARE", "CBO_DETTREG", "TXT_TESTOPARAMETRICO", "CHK_MODIFICACONTI"}
            << QStringList{"TXT_CONTOAVERE"} << "85467" << 3 << "1";
        QTest::newRow("compensation") << "6"
            << QStringList{"CBO_TIPOSCADENZA", "CBO_MODIMPMAX", "TXT_CONTODARE", "CBO_DETTREG", "CHK_FILTER_30"}
            << QStringList{"CBO_TIPOSCADENZA", "TXT_CONTOAVERE", "CBO_GESTIONERITENUTE"} << "10373" << 0 << "2,3";
        QTest::newRow("state management") << "7"
            << QStringList{"TXT_CAUSALECOGE", "CBO_TIPOREGISTRAZIONE"} << QStringList{"TXT_CONTOAVERE"} << "85467" << 3 << "1";
        QTest::newRow("advances") << "8"
            << QStringList{"CBO_MODRECUPERO", "TXT_MESI", "CBO_DETTREG", "TXT_TESTOPARAMETRICO", "FRA_ACCONTO"}
            << QStringList{"CBO_DETTREG", "BUT_LEGENDA", "TXT_CONTOAVERE", "TXT_CAUABBUONI"} << "85472" << 0 << "2,3";
        QTest::newRow("unknown type keeps the baseline") << "9" << QStringList{"CBO_GESTIONERITENUTE"}
            << QStringList{"TXT_CAUSALECOMPCLI", "LBL_CAUNORIT"} << "85467" << 3 << "";
    }

    void byOperationType()
    {
        QFETCH(QString, tipo);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, hidden);
        QFETCH(QString, cogeCaption);
        QFETCH(int, tab);
        QFETCH(QString, disabledTabs);
        MapSurface s = screenOf(tipo);
        EnablingRules::apply(s, {"400", "mrossi"}, text);
        for (const QString &name : disabled)
            QVERIFY2(!s.isEnabled(name), qPrintable(name + " should be disabled"));
        for (const QString &name : hidden)
            QVERIFY2(!s.isVisible(name), qPrintable(name + " should be hidden"));
        QCOMPARE(s.caption("LBL_CAUCOGE"), cogeCaption);
        QCOMPARE(s.currentTab(), tab);
        QCOMPARE(tabsDisabled(s).join(','), disabledTabs);
        // The baseline enables the posting causal unless the type posts nothing.
        QCOMPARE(!s.isEnabled("TXT_CAUSALECOGE"), tipo == "5" || tipo == "7");
    }

    // Values the rules force, so a causal of a type never keeps a setting it cannot use.
    void forcedValues_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::newRow("advances flag reset for collections") << "1" << "CHK_GESTIONEACCONTI" << "0";
        QTest::newRow("cheques cleared for collections") << "1" << "CHK_STAMPAASSEGNI" << "0";
        QTest::newRow("cheques kept for payments") << "2" << "CHK_STAMPAASSEGNI" << "1";
        QTest::newRow("allowances emptied for closing") << "3" << "TXT_CAUABBUONI" << "";
        QTest::newRow("line detail zero for unpaid bills") << "4" << "CBO_DETTRIGACONT" << "0";
        QTest::newRow("line text cleared for suspension") << "5" << "TXT_TESTOPARAMETRICO" << "";
        QTest::newRow("credit account emptied for compensation") << "6" << "TXT_CONTOAVERE" << "";
        QTest::newRow("months emptied for advances") << "8" << "TXT_MESI" << "";
        QTest::newRow("registration detail zero for compensation") << "6" << "CBO_DETTREG" << "0";
        QTest::newRow("no maximum amount for compensation") << "6" << "CBO_MODIMPMAX" << "0";
        QTest::newRow("no bill list for compensation") << "6" << "CHK_CREADISTINTA" << "0";
        QTest::newRow("debit account emptied for compensation") << "6" << "TXT_CONTODARE" << "";
        QTest::newRow("no recovery for advances") << "8" << "CBO_MODRECUPERO" << "0";
        QTest::newRow("no due amount for advances") << "8" << "CBO_MODIMPSCAD" << "0";
        QTest::newRow("line text cleared for advances") << "8" << "TXT_TESTOPARAMETRICO" << "";
        QTest::newRow("allowance causal emptied for advances") << "8" << "TXT_CAUABBUONI" << "";
    }

    void forcedValues()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, control);
        QFETCH(QString, value);
        MapSurface s = screenOf(tipo);
        EnablingRules::apply(s, {"400", "mrossi"}, text);
        QCOMPARE(s.value(control), value);
    }

    void advancesEditableOnlyForOneSetting()
    {
        MapSurface s = screenOf("1");
        s.setValue("CBO_MODRECUPERO", "0");
        s.setValue("CBO_MODIMPMAX", "1");
        EnablingRules::apply(s, {"400", "mrossi"}, text);
        QVERIFY(s.isEnabled("CHK_GESTIONEACCONTI"));
        QCOMPARE(s.value("CHK_GESTIONEACCONTI"), QString("1"));
        QVERIFY(s.isVisible("FRA_PERSREGISTRAZIONEACCONTI"));
        // Maximum amount asked: the currency box is cleared.
        QCOMPARE(s.value("CHK_GESTVALUTE"), QString("0"));
        // Another maximum-amount mode takes the advances away again, and with the box cleared
        // their posting frame.
        s.setValue("CBO_MODIMPMAX", "0");
        EnablingRules::applyUntilStable(s, {"400", "mrossi"}, text);
        QVERIFY(!s.isEnabled("CHK_GESTIONEACCONTI"));
        QCOMPARE(s.value("CHK_GESTIONEACCONTI"), QString("0"));
        QVERIFY(!s.isVisible("FRA_PERSREGISTRAZIONEACCONTI"));
    }

    void withholdingAndCurrency_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("valute");
        QTest::addColumn<QString>("dettReg");
        QTest::addColumn<bool>("ritenuteEnabled");
        QTest::addColumn<bool>("rigaEnabled");
        QTest::newRow("collections, withholding") << "1" << "0" << "1" << true << false;
        QTest::newRow("collections, withholding and currency") << "1" << "1" << "2" << true << false;
        QTest::newRow("payments, withholding and currency") << "2" << "1" << "2" << true << false;
    }

    void withholdingAndCurrency()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, valute);
        QFETCH(QString, dettReg);
        QFETCH(bool, ritenuteEnabled);
        QFETCH(bool, rigaEnabled);
        MapSurface s = screenOf(tipo);
        s.setValue("CHK_FILTER_30", "1");
        s.setValue("CHK_GESTVALUTE", valute);
        EnablingRules::apply(s, {"400", "mrossi"}, text);
        QCOMPARE(s.value("CBO_DETTREG"), dettReg);
        // Decided on the detail before the currency rule turned it into 2.
        QCOMPARE(s.isEnabled("CBO_GESTIONERITENUTE"), ritenuteEnabled);
        QCOMPARE(s.isEnabled("CBO_DETTRIGACONT"), rigaEnabled);
        QVERIFY(s.isVisible("LBL_WARNINGRITENUTE"));
    }

    void reservedCodes_data()
    {
        QTest::addColumn<QString>("causal");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("locked");
        QTest::newRow("299, ordinary user") << "299" << "mrossi" << true;
        QTest::newRow("299, reserved user") << "299" << "Velto" << false;
        QTest::newRow("300, ordinary user") << "300" << "mrossi" << false;
    }

    void reservedCodes()
    {
        QFETCH(QString, causal);
        QFETCH(QString, user);
        QFETCH(bool, locked);
        MapSurface s = screenOf("2");
        EnablingRules::apply(s, {causal, user}, text);
        for (const char *name : {"TXT_DESCRIZIONE", "CBO_TIPOOPERAZIONE", "FRA_TIPOPRESENTAZIONE", "CMD_CHECKCAUSALEDEFAULT"})
            QCOMPARE(!s.isEnabled(name), locked);
        QVERIFY(s.isEnabled("FRA_LAYOUT"));
    }
};

QTEST_GUILESS_MAIN(TestEnablingRules)
#include "tst_enablingrules.moc"
