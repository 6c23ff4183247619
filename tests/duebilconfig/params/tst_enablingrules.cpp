#include "params/enablingrules.h"
#include "support/casefile.h"

#include <QTest>

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
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/enablingrules.cases")});
    }

    void byOperationType()
    {
        QFETCH(TextCase, c);
        const auto names = [&c](const char *part) { return c.text(part).split(' ', Qt::SkipEmptyParts); };
        const QString tipo = c.text("type");
        MapSurface s = screenOf(tipo);
        for (const QString &set : names("set"))
            s.setValue(set.section('=', 0, 0), set.section('=', 1));
        const EnablingRules::Inputs inputs{c.parts.value("causal", {"400"}).value(0), c.parts.value("user", {"mrossi"}).value(0)};
        // Captions by their text id. One pass, as a single change runs the rules; "until stable" as
        // the window runs them.
        const auto text = [](int id) { return QString::number(id); };
        c.parts.contains("until stable") ? EnablingRules::applyUntilStable(s, inputs, text) : EnablingRules::apply(s, inputs, text);
        for (const QString &name : names("disabled"))
            QVERIFY2(!s.isEnabled(name), qPrintable(name + " should be disabled"));
        for (const QString &name : names("enabled"))
            QVERIFY2(s.isEnabled(name), qPrintable(name + " should be enabled"));
        for (const QString &name : names("hidden"))
            QVERIFY2(!s.isVisible(name), qPrintable(name + " should be hidden"));
        for (const QString &name : names("visible"))
            QVERIFY2(s.isVisible(name), qPrintable(name + " should be shown"));
        for (const QString &forced : names("forced"))
            QCOMPARE(forced.section('=', 0, 0) + '=' + s.value(forced.section('=', 0, 0)), forced);
        // The baseline enables the posting causal unless the type posts nothing.
        QCOMPARE(!s.isEnabled("TXT_CAUSALECOGE"), tipo == "5" || tipo == "7");
        if (!c.parts.contains("caption"))
            return;
        QCOMPARE(s.caption("LBL_CAUCOGE"), c.text("caption"));
        QCOMPARE(s.currentTab(), c.text("tab").toInt());
        QCOMPARE(tabsDisabled(s).join(','), c.text("disabled tabs"));
    }
};

QTEST_GUILESS_MAIN(TestEnablingRules)
#include "tst_enablingrules.moc"
