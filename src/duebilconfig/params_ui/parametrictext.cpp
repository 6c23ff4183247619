#include "params_ui/parametrictext.h"

#include "ado/recordset.h"
#include "framework/cinterface.h"
#include "framework/clsservizi.h"
#include "framework/testiparametrizzabili.h"
#include "params/parametercontrols.h"
#include "params_ui/parameterscreen.h"
#include "store/messageids.h"
#include "window/formcontext.h"

ParametricText::ParametricText(FormContext &ctx) : ctx(ctx) {}

ParametricText::~ParametricText() = default;

void ParametricText::connectEvents()
{
    FormUi &ui = ctx.ui;
    connect(ui.BUT_LEGENDA, &ButtonControl::ButtonClick, this, &ParametricText::BUT_LEGENDA_ButtonClick);
    connect(ui.TXT_TESTOPARAMETRICO, &RichTextField::GotFocus, this, &ParametricText::TXT_TESTOPARAMETRICO_GotFocus);
    connect(ui.TXT_TESTOPARAMETRICO, &RichTextField::LostFocus, this, &ParametricText::TXT_TESTOPARAMETRICO_LostFocus);
    connectLegend();
}

void ParametricText::connectLegend()
{
    if (m_legendConnected || !ctx.Gcls_TestiParametrizzabili)
        return;
    connect(ctx.Gcls_TestiParametrizzabili.get(), &TestiParametrizzabili::DoubleClick, this,
            &ParametricText::Gcls_TestiParametrizzabili_DoubleClick);
    m_legendConnected = true;
}

void ParametricText::BUT_LEGENDA_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_LEGENDA_ButtonClick"), {[&] {
        if (!ctx.Gcls_TestiParametrizzabili) {
            ctx.Gcls_TestiParametrizzabili = std::make_unique<TestiParametrizzabili>();
            m_legendConnected = false;
        }
        connectLegend();
        TestiParametrizzabili *legend = ctx.Gcls_TestiParametrizzabili.get();
        if (!legend->hasConnection()) {
            legend->setConnectionString(ctx.connectionString);
            legend->setConnection(ctx.Gcnn_Connessione);
        }
        if (!legend->hasContract())
            legend->setContract(static_cast<QObject *>(ctx.Gcls_Parent));
        legend->setForm(ctx.form);
        legend->setTextLookup([this](int id) { return ctx.t(id); });
        legend->setOption(false);
        legend->ShowLegend();
        if (legend->errorFlag())
            ctx.msgBox(MessageId::NoLegend);
    }});
}

void ParametricText::Gcls_TestiParametrizzabili_DoubleClick(short *, QString *value, QString *)
{
    RichTextField *field = ctx.ui.TXT_TESTOPARAMETRICO;
    ctx.trapped(QStringLiteral("Gcls_TestiParametrizzabili_DoubleClick"), {[&] {
        if (!ParameterScreen::registrationRowPresent(ctx))
            return;
        const QString inserted = ctx.nz(*value, QString()).toString();
        // The legend stays open while the rules hide or lock the text (a causal without
        // posting): the text the user cannot edit is not edited through the legend either.
        const ParameterControls::Control *place = ParameterControls::find(field->objectName());
        if (!field->isEnabled() || field->isHidden() || (place && !ctx.ui.TAB_CONFIG->isTabEnabled(place->tab))) {
            ctx.msgBox(MessageId::LegendFieldLocked, {ctx.shownName(field), inserted},
                       ClsServizi::StyleCode::Information);
            return;
        }
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        const int p = field->SelStart();
        const QString text = field->Text();
        QString result;
        if (p == 0)
            result = text + (inserted == QLatin1String("<T>") ? QString() : QStringLiteral(" ")) + inserted;
        else
            result = text.left(p) + inserted + text.mid(p);
        // Cutting the text to its length would drop part of the placeholder or the user's own
        // words: the insertion is refused whole.
        if (field->maxChar() > 0 && result.size() > field->maxChar()) {
            ctx.msgBox(MessageId::LegendTooLong,
                       {ctx.shownName(field), QString::number(field->maxChar()), inserted,
                        QString::number(field->maxChar() - text.size())});
            ctx.focusField(field);
            field->setSelStart(p);
            return;
        }
        rs->setValue(QStringLiteral("CGP7_TESTORIGA"), result);
        ctx.FME_PARAMPERSREG->setRecordChanged(true);
        ctx.FME_PARAMPERSREG->refreshControls();
        if (p != 0)
            field->setSelStart(p + int(inserted.size()));
    }});
}

void ParametricText::TXT_TESTOPARAMETRICO_GotFocus()
{
    ctx.trapped(QStringLiteral("TXT_TESTOPARAMETRICO_GotFocus"),
                {[&] { ctx.ui.TXT_TESTOPARAMETRICO->setProperty("displayStyle", 3); }});
}

void ParametricText::TXT_TESTOPARAMETRICO_LostFocus()
{
    ctx.trapped(QStringLiteral("TXT_TESTOPARAMETRICO_LostFocus"),
                {[&] { ctx.ui.TXT_TESTOPARAMETRICO->setProperty("displayStyle", 1); }});
}
