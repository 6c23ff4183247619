#include "params/enablingrules.h"

#include "causals/causaloperations.h"
#include "params/parametercontrols.h"
#include "store/operationtype.h"

#include <QStringList>

ControlSurface::~ControlSurface() = default;

namespace EnablingRules {

namespace {

const QStringList textFields = {
    QStringLiteral("TXT_MESI"), QStringLiteral("TXT_DELTAIMPORTO"), QStringLiteral("TXT_TESTOPARAMETRICO"),
    QStringLiteral("TXT_CAUABBUONI"), QStringLiteral("TXT_CONTOABBUONIATTIVI"),
    QStringLiteral("TXT_CONTOABBUONIPASSIVI"), QStringLiteral("TXT_CONTODARE"), QStringLiteral("TXT_CONTOAVERE"),
};

class Rules
{
public:
    Rules(ControlSurface &s, const std::function<QString(int)> &text) : s(s), text(text) {}

    void enable(std::initializer_list<const char *> names, bool on = true)
    {
        for (const char *n : names)
            s.setEnabled(QLatin1String(n), on);
    }
    void show(std::initializer_list<const char *> names, bool on = true)
    {
        for (const char *n : names)
            s.setVisible(QLatin1String(n), on);
    }
    // Enabled, set to its empty value, then disabled: the user cannot set it for this type.
    void clear(std::initializer_list<const char *> names)
    {
        for (const char *n : names) {
            const QString name = QLatin1String(n);
            const QString empty = textFields.contains(name) ? QString() : QStringLiteral("0");
            s.setEnabled(name, true);
            if (s.value(name) != empty)
                s.setValue(name, empty);
            s.setEnabled(name, false);
        }
    }
    void empty(const char *name) { s.setValue(QLatin1String(name), QString()); }
    void caption(const char *name, int textId) { s.setCaption(QLatin1String(name), text(textId)); }
    QString v(const char *name) const { return s.value(QLatin1String(name)); }
    void set(const char *name, const QString &value) { s.setValue(QLatin1String(name), value); }
    void mandatory(const char *name, bool on) { s.setMandatory(QLatin1String(name), on); }
    void leaveTabs(std::initializer_list<int> tabs)
    {
        for (int t : tabs) {
            if (s.currentTab() == t) {
                s.setCurrentTab(0);
                break;
            }
        }
        for (int t : tabs)
            s.setTabEnabled(t, false);
    }

    void baseline()
    {
        enable({"CBO_TIPOOPERAZIONE", "CBO_MODRECUPERO", "CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO",
                "TXT_MESI", "CHK_CREADISTINTA", "CHK_STAMPAASSEGNI", "CHK_GESTVALUTE", "CBO_TIPOREGISTRAZIONE",
                "CHK_DESCRAGGTEST", "CHK_MODIFICACONTI", "CHK_NUMDATAORI", "TXT_CAUSALECOGE",
                "CMD_CHECKCAUSALEDEFAULT", "CHK_FILTER_29", ParameterControls::WithholdingCheck});
        enable({"CBO_TIPOSCADENZA"});
        show({"CBO_TIPOSCADENZA"});
        // The row holds the due-date kind again once a compensation causal is left.
        caption("LBL_TIPOSCADENZA", 995006);
        for (const char *n : {"TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR"}) {
            mandatory(n, false);
            show({n}, false);
            enable({n}, false);
        }
        mandatory("TXT_DELTAIMPORTO", false);
        enable({"TXT_DELTAIMPORTO", "CHK_NETTOPREVISIONALI", "CHK_GESTIONEACCONTI"}, false);
        caption("LBL_CAUCOGE", 85467);
        caption("LBL_CONTODARE", 16163);
        enable({"TXT_CONTODARE"});
        mandatory("TXT_CONTODARE", false);
        s.setCaption(QStringLiteral("LBL_CONTOAVERE"), QString());
        enable({"TXT_CONTOAVERE"});
        show({"TXT_CONTOAVERE"});
        mandatory("TXT_CONTOAVERE", false);
        show({"TXT_DESCCONTOAVERE"}, false);
        enable({"CBO_DETTREG", "CBO_DETTRIGACONT", "TXT_TESTOPARAMETRICO"});
        caption("LBL_CAUABBUONI", 10335);
        caption("LBL_CONTOABBUONIATTIVI", 15607);
        caption("LBL_CONTOABBUONIPASSIVI", 15608);
        show({"LBL_CAUABBUONI", "LBL_CONTOABBUONIATTIVI", "LBL_CONTOABBUONIPASSIVI"});
        enable({"TXT_CAUABBUONI", "TXT_CONTOABBUONIATTIVI", "TXT_CONTOABBUONIPASSIVI"});
        show({"TXT_CAUABBUONI", "TXT_CONTOABBUONIATTIVI", "TXT_CONTOABBUONIPASSIVI", "TXT_DESCCAUABBUONI",
              "TXT_DESCCONTOABBUONIATTIVI", "TXT_DESCCONTOABBUONIPASSIVI"});
        show({"LBL_GESTIONERITENUTE", "CBO_GESTIONERITENUTE"});
        enable({"CBO_GESTIONERITENUTE"}, false);
        const QString acconti = v("CHK_GESTIONEACCONTI").isEmpty() ? QStringLiteral("0") : v("CHK_GESTIONEACCONTI");
        show({"FRA_PERSREGISTRAZIONEACCONTI"}, acconti == QLatin1String("1"));
        enable({"FRA_TIPOSCADENZE", "FRA_STATOMOVIMENTO", "FRA_TIPOMOVIMENTO", "FRA_TIPOPERAZIONE",
                "FRA_TIPOPRESENTAZIONE", "FRA_TIPOSCADENZA", "FRA_SEGNOSCADENZA", "FRA_ACCONTO", "FRA_GESTRITENUTE",
                "FRA_LAYOUT", "FRA_REVOKE"});
        show({"LBL_DETTREG", "LBL_MSGSEDE", "LBL_DETTRIGACONT", "LBL_DESCRCONTRAUTO", "CBO_DESCRCONTRAUTO",
              "LBL_TESTOPARAMETRICO", "BUT_LEGENDA", "CBO_DETTREG", "CBO_DETTRIGACONT", "TXT_TESTOPARAMETRICO"});
        show({"LBL_CHECKWARNINGRITENUTE", "LBL_WARNINGRITENUTE", "LBL_CAUNORIT"}, false);
    }

    void collectionsAndPayments(bool payments)
    {
        set("CBO_TIPOSCADENZA", QStringLiteral("0"));
        enable({"CBO_TIPOSCADENZA"}, false);
        if (v("CBO_MODRECUPERO") == QLatin1String("0") && v("CBO_MODIMPMAX") == QLatin1String("1"))
            enable({"CHK_GESTIONEACCONTI"});
        else
            clear({"CHK_GESTIONEACCONTI"});
        if (v("CBO_MODIMPSCAD") == QLatin1String("0"))
            clear({"CHK_INDGESTABBUONO"});
        if (v("CBO_MODIMPMAX") != QLatin1String("0"))
            clear({"CHK_GESTVALUTE"});
        if (!payments)
            clear({"CHK_STAMPAASSEGNI"});
        caption("LBL_CAUCOGE", payments ? 85469 : 85467);
        mandatory("TXT_CONTOAVERE", false);
        enable({"TXT_CONTOAVERE"}, false);
        show({"TXT_CONTOAVERE"}, false);
        // Withholding taxes.
        if (v(ParameterControls::WithholdingCheck) == QLatin1String("1")) {
            if (v("CBO_DETTREG") == QLatin1String("0"))
                set("CBO_DETTREG", QStringLiteral("1"));
            if (payments)
                set("CBO_DETTRIGACONT", QStringLiteral("0"));
            enable({"CBO_DETTRIGACONT"}, false);
            if (v("CBO_DETTREG") != QLatin1String("2"))
                enable({"CBO_GESTIONERITENUTE"});
            show({"LBL_CHECKWARNINGRITENUTE", "LBL_WARNINGRITENUTE", "LBL_CAUNORIT"});
        } else {
            enable({"CBO_GESTIONERITENUTE"}, false);
        }
        // Foreign-currency due dates.
        if (v("CHK_GESTVALUTE") == QLatin1String("1")) {
            if (v("CBO_DETTREG") != QLatin1String("2"))
                set("CBO_DETTREG", QStringLiteral("2"));
            if (!payments)
                enable({"CBO_DETTRIGACONT"}, false);
        }
    }

    void hideAllowances()
    {
        show({"LBL_CAUABBUONI", "LBL_CONTOABBUONIATTIVI", "LBL_CONTOABBUONIPASSIVI", "TXT_DESCCAUABBUONI",
              "TXT_DESCCONTOABBUONIATTIVI", "TXT_DESCCONTOABBUONIPASSIVI"}, false);
        for (const char *n : {"TXT_CAUABBUONI", "TXT_CONTOABBUONIATTIVI", "TXT_CONTOABBUONIPASSIVI"}) {
            empty(n);
            enable({n}, false);
            show({n}, false);
        }
    }

    void noWithholding(bool disableChecks)
    {
        if (disableChecks)
            enable({"CHK_FILTER_29", ParameterControls::WithholdingCheck}, false);
        show({"LBL_GESTIONERITENUTE", "CBO_GESTIONERITENUTE"}, false);
        enable({"FRA_GESTRITENUTE"}, false);
    }

    void closing()  // type 3
    {
        clear({"CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO", "CHK_CREADISTINTA", "CHK_STAMPAASSEGNI",
               "CHK_GESTIONEACCONTI", "CHK_GESTVALUTE"});
        enable({"TXT_DELTAIMPORTO", "CHK_NETTOPREVISIONALI"});
        mandatory("TXT_DELTAIMPORTO", true);
        caption("LBL_CAUCOGE", 85470);
        caption("LBL_CONTODARE", 15608);
        show({"LBL_CONTODARE"});
        caption("LBL_CONTOAVERE", 15607);
        show({"LBL_CONTOAVERE", "TXT_DESCCONTOAVERE"});
        hideAllowances();
        noWithholding(true);
    }

    void unpaidCollections()  // type 4
    {
        clear({"CBO_TIPOSCADENZA", "CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO", "CHK_CREADISTINTA",
               "CHK_STAMPAASSEGNI", "CHK_GESTIONEACCONTI", "CHK_GESTVALUTE"});
        set("CBO_DETTRIGACONT", QStringLiteral("0"));
        enable({"CBO_DETTRIGACONT"}, false);
        caption("LBL_CAUCOGE", 85468);
        caption("LBL_CONTODARE", 15708);
        mandatory("TXT_CONTODARE", true);
        caption("LBL_CONTOAVERE", 15626);
        mandatory("TXT_CONTOAVERE", true);
        show({"TXT_DESCCONTOAVERE"});
        hideAllowances();
        noWithholding(false);
        enable({"FRA_ACCONTO"}, false);
    }

    void withoutPosting()  // types 5 and 7
    {
        clear({"CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO", "CHK_CREADISTINTA", "CHK_STAMPAASSEGNI",
               "CHK_GESTIONEACCONTI", "CHK_DESCRAGGTEST", "CHK_MODIFICACONTI", "CHK_NUMDATAORI",
               "TXT_TESTOPARAMETRICO", "TXT_CAUABBUONI", "TXT_CONTOABBUONIATTIVI", "TXT_CONTOABBUONIPASSIVI"});
        enable({"CBO_TIPOREGISTRAZIONE", "TXT_CAUSALECOGE", "TXT_CONTODARE", "CBO_DETTREG", "CBO_DETTRIGACONT"}, false);
        enable({"TXT_CONTOAVERE"}, false);
        show({"TXT_CONTOAVERE"}, false);
        leaveTabs({1});
    }

    void compensation()  // type 6
    {
        set("CBO_MODIMPMAX", QStringLiteral("0"));
        enable({"CBO_MODIMPMAX"}, false);
        caption("LBL_TIPOSCADENZA", 85471);
        enable({"CBO_TIPOSCADENZA"}, false);
        show({"CBO_TIPOSCADENZA"}, false);
        for (const char *n : {"TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR"}) {
            show({n});
            enable({n});
            mandatory(n, true);
        }
        clear({"CHK_CREADISTINTA", "CHK_STAMPAASSEGNI", "CHK_INDGESTABBUONO", "CHK_GESTIONEACCONTI", "CHK_GESTVALUTE"});
        caption("LBL_CAUCOGE", 10373);
        empty("TXT_CONTODARE");
        enable({"TXT_CONTODARE"}, false);
        empty("TXT_CONTOAVERE");
        enable({"TXT_CONTOAVERE"}, false);
        show({"TXT_CONTOAVERE"}, false);
        set("CBO_DETTREG", QStringLiteral("0"));
        enable({"CBO_DETTREG"}, false);
        leaveTabs({2, 3});
        noWithholding(true);
        enable({"FRA_ACCONTO"}, false);
    }

    void advances()  // type 8
    {
        clear({"CBO_MODRECUPERO", "CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_GESTVALUTE", "CHK_INDGESTABBUONO",
               "TXT_MESI", "TXT_DELTAIMPORTO", "CHK_NETTOPREVISIONALI", "CHK_CREADISTINTA", "CHK_STAMPAASSEGNI",
               "CHK_GESTIONEACCONTI"});
        caption("LBL_CAUCOGE", 85472);
        caption("LBL_CONTODARE", 16163);
        enable({"TXT_CONTODARE"});
        mandatory("TXT_CONTODARE", false);
        show({"TXT_DESCCONTODARE"});
        s.setCaption(QStringLiteral("LBL_CONTOAVERE"), QString());
        empty("TXT_CONTOAVERE");
        enable({"TXT_CONTOAVERE"}, false);
        show({"TXT_CONTOAVERE"}, false);
        mandatory("TXT_CONTOAVERE", false);
        show({"TXT_DESCCONTOAVERE"}, false);
        show({"LBL_DETTREG", "CBO_DETTREG", "LBL_MSGSEDE", "LBL_DETTRIGACONT", "CBO_DETTRIGACONT",
              "LBL_DESCRCONTRAUTO", "CBO_DESCRCONTRAUTO", "LBL_TESTOPARAMETRICO", "TXT_TESTOPARAMETRICO",
              "BUT_LEGENDA"}, false);
        enable({"CBO_DETTREG", "CBO_DETTRIGACONT"}, false);
        empty("TXT_TESTOPARAMETRICO");
        enable({"TXT_TESTOPARAMETRICO"}, false);
        hideAllowances();
        noWithholding(false);
        enable({"FRA_ACCONTO"}, false);
        leaveTabs({2, 3});
    }

    void reservedCode()
    {
        enable({"TXT_DESCRIZIONE", "CBO_TIPOOPERAZIONE", "CBO_TIPOSCADENZA", "CBO_MODRECUPERO", "CBO_MODIMPMAX",
                "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO", "CHK_STAMPAASSEGNI", "FRA_STATOMOVIMENTO", "FRA_TIPOMOVIMENTO",
                "FRA_TIPOPERAZIONE", "FRA_TIPOPRESENTAZIONE", "FRA_TIPOSCADENZA", "FRA_SEGNOSCADENZA", "FRA_ACCONTO",
                "CMD_CHECKCAUSALEDEFAULT"},
               false);
    }

    ControlSurface &s;
    const std::function<QString(int)> &text;
};

} // namespace

void apply(ControlSurface &screen, const Inputs &inputs, const std::function<QString(int)> &text)
{
    Rules r(screen, text);
    r.baseline();
    switch (operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")))) {
    case OperationType::Collections: r.collectionsAndPayments(false); break;
    case OperationType::Payments: r.collectionsAndPayments(true); break;
    case OperationType::Closing: r.closing(); break;
    case OperationType::ClearedCollections: r.unpaidCollections(); break;
    case OperationType::Suspension:
    case OperationType::StateManagement: r.withoutPosting(); break;
    case OperationType::Compensation: r.compensation(); break;
    case OperationType::Advances: r.advances(); break;
    case OperationType::None: break;
    }
    if (CausalOperations::isRestricted(inputs.userName, inputs.causal))
        r.reservedCode();
}

QString inputState(const ControlSurface &screen)
{
    QStringList state;
    for (const char *n : {"CBO_TIPOOPERAZIONE", "CBO_MODRECUPERO", "CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CBO_DETTREG",
                          "CHK_GESTVALUTE", "CHK_GESTIONEACCONTI", ParameterControls::WithholdingCheck})
        state << screen.value(QLatin1String(n));
    return state.join(QLatin1Char('|'));
}

void applyUntilStable(ControlSurface &screen, const Inputs &inputs, const std::function<QString(int)> &text)
{
    for (int round = 0; round < 4; ++round) {
        const QString before = inputState(screen);
        apply(screen, inputs, text);
        if (inputState(screen) == before)
            break;
    }
}

} // namespace EnablingRules
