#include "formui.h"

#include "designfont.h"
#include "standardicon.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include <utility>

namespace {

// Asks for the whole form as its preferred size, so the host opens the window at the form's
// size when the area allows it; below that the form scrolls instead of squeezing its controls.
class FormScrollArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const int f = 2 * frameWidth();
        return widget() ? widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) + QSize(f, f)
                        : QScrollArea::sizeHint();
    }

    // Runs once, when the form is first on screen inside its host window.
    std::function<void()> firstShown;

protected:
    void showEvent(QShowEvent *event) override
    {
        QScrollArea::showEvent(event);
        if (firstShown)
            std::exchange(firstShown, nullptr)();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A control shown or hidden by the rules changes what the form needs: the scroll range
        // follows, so the form is never squeezed below its layout.
        if (watched == widget() && event->type() == QEvent::LayoutRequest) {
            QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
            updateGeometry();
        }
        return QScrollArea::eventFilter(watched, event);
    }
};

} // namespace

void FormUi::setupUi(QWidget *form, const TextLookup &text)
{
    m_form = form;
    t = text;
    m_form->setFont(DesignFont::font());
    createControls();
    layOut();
    setTabOrder();
    setBuddies();
}

QScrollArea *FormUi::scrollArea() const
{
    return m_scroll;
}

QList<QWidget *> FormUi::controls() const
{
    return m_controls;
}

void FormUi::createControls()
{
    FRA_CAUSALE = make<FrameControl>(QStringLiteral("FRA_CAUSALE"));
    LBL_CAUSALE = make<LabelControl>(QStringLiteral("LBL_CAUSALE"));
    LBL_CAUSALE->setText(t(995001));
    TXT_CAUSALE = make<CodeField>(QStringLiteral("TXT_CAUSALE"));
    TXT_CAUSALE->setCaption(t(995002));
    TXT_CAUSALE->setTag(t(995002));
    TXT_CAUSALE->setDataField(QStringLiteral("CGP0_CAUSALE"));
    TXT_CAUSALE->setMaxChar(3);
    TXT_CAUSALE->setMaxWidth(5);
    TXT_CAUSALE->setRequired(true);
    TXT_CAUSALE->setLookup(true);
    TXT_CAUSALE->setDecode(true);
    TXT_DESCRIZIONE = make<TextField>(QStringLiteral("TXT_DESCRIZIONE"));
    TXT_DESCRIZIONE->setCaption(t(995003));
    TXT_DESCRIZIONE->setTag(t(995003));
    TXT_DESCRIZIONE->setDataField(QStringLiteral("CGP0_DESCRIZIONE"));
    TXT_DESCRIZIONE->setMaxChar(100);
    TXT_DESCRIZIONE->setMaxWidth(77);
    TAB_CONFIG = make<TabStrip>(QStringLiteral("TAB_CONFIG"));
    FRA_IMPOSTAZIONI = make<FrameControl>(QStringLiteral("FRA_IMPOSTAZIONI"));
    LBL_TIPOOPERAZIONE = make<LabelControl>(QStringLiteral("LBL_TIPOOPERAZIONE"));
    LBL_TIPOOPERAZIONE->setText(t(995004));
    CBO_TIPOOPERAZIONE = make<ComboField>(QStringLiteral("CBO_TIPOOPERAZIONE"));
    CBO_TIPOOPERAZIONE->setCaption(t(995005));
    CBO_TIPOOPERAZIONE->setTag(t(995005));
    CBO_TIPOOPERAZIONE->setDataField(QStringLiteral("CGP5_TIPOCAUSALE"));
    CBO_TIPOOPERAZIONE->setMaxChar(35);
    LBL_TIPOSCADENZA = make<LabelControl>(QStringLiteral("LBL_TIPOSCADENZA"));
    LBL_TIPOSCADENZA->setText(t(995006));
    CBO_TIPOSCADENZA = make<ComboField>(QStringLiteral("CBO_TIPOSCADENZA"));
    CBO_TIPOSCADENZA->setCaption(t(995007));
    CBO_TIPOSCADENZA->setTag(t(995007));
    CBO_TIPOSCADENZA->setDataField(QStringLiteral("CGP5_TIPOSCADENZA"));
    CBO_TIPOSCADENZA->setMaxChar(35);
    TXT_CAUSALECOMPCLI = make<CodeField>(QStringLiteral("TXT_CAUSALECOMPCLI"));
    TXT_CAUSALECOMPCLI->setCaption(t(995008));
    TXT_CAUSALECOMPCLI->setTag(t(995008));
    TXT_CAUSALECOMPCLI->setDataField(QStringLiteral("CGP6_CAUSALECOMPCLI_CGP0"));
    TXT_CAUSALECOMPCLI->setMaxChar(3);
    TXT_CAUSALECOMPCLI->setMaxWidth(5);
    TXT_CAUSALECOMPCLI->setRequired(true);
    TXT_CAUSALECOMPCLI->setLookup(true);
    TXT_CAUSALECOMPCLI->setDecode(true);
    TXT_CAUSALECOMPCLI->setVisible(false);
    TXT_CAUSALECOMPFOR = make<CodeField>(QStringLiteral("TXT_CAUSALECOMPFOR"));
    TXT_CAUSALECOMPFOR->setCaption(t(995009));
    TXT_CAUSALECOMPFOR->setTag(t(995009));
    TXT_CAUSALECOMPFOR->setDataField(QStringLiteral("CGP6_CAUSALECOMPFOR_CGP0"));
    TXT_CAUSALECOMPFOR->setMaxChar(3);
    TXT_CAUSALECOMPFOR->setMaxWidth(5);
    TXT_CAUSALECOMPFOR->setRequired(true);
    TXT_CAUSALECOMPFOR->setLookup(true);
    TXT_CAUSALECOMPFOR->setDecode(true);
    TXT_CAUSALECOMPFOR->setVisible(false);
    TXT_CAUSALICOMPDESCR = make<TextField>(QStringLiteral("TXT_CAUSALICOMPDESCR"));
    TXT_CAUSALICOMPDESCR->setIsDbField(false);
    TXT_CAUSALICOMPDESCR->setMaxChar(5);
    TXT_CAUSALICOMPDESCR->setMaxWidth(5);
    TXT_CAUSALICOMPDESCR->setVisible(false);
    LBL_MODRECUPERO = make<LabelControl>(QStringLiteral("LBL_MODRECUPERO"));
    LBL_MODRECUPERO->setText(t(995010));
    CBO_MODRECUPERO = make<ComboField>(QStringLiteral("CBO_MODRECUPERO"));
    CBO_MODRECUPERO->setCaption(t(995011));
    CBO_MODRECUPERO->setTag(t(995011));
    CBO_MODRECUPERO->setDataField(QStringLiteral("CGP5_INDRECUPERO"));
    CBO_MODRECUPERO->setMaxChar(35);
    LBL_MODIMPMAX = make<LabelControl>(QStringLiteral("LBL_MODIMPMAX"));
    LBL_MODIMPMAX->setText(t(995012));
    CBO_MODIMPMAX = make<ComboField>(QStringLiteral("CBO_MODIMPMAX"));
    CBO_MODIMPMAX->setCaption(t(995013));
    CBO_MODIMPMAX->setTag(t(995013));
    CBO_MODIMPMAX->setDataField(QStringLiteral("CGP5_INDIMPMASSIMO"));
    CBO_MODIMPMAX->setMaxChar(35);
    LBL_GESTVALUTE = make<LabelControl>(QStringLiteral("LBL_GESTVALUTE"));
    LBL_GESTVALUTE->setText(t(995014));
    CHK_GESTVALUTE = make<CheckField>(QStringLiteral("CHK_GESTVALUTE"));
    CHK_GESTVALUTE->setCaption(t(995015));
    CHK_GESTVALUTE->setTag(t(995015));
    CHK_GESTVALUTE->setShowCaption(false);
    CHK_GESTVALUTE->setDataField(QStringLiteral("CGP6_INDPAGVALUTA"));
    LBL_MODIMPSCAD = make<LabelControl>(QStringLiteral("LBL_MODIMPSCAD"));
    LBL_MODIMPSCAD->setText(t(995016));
    CBO_MODIMPSCAD = make<ComboField>(QStringLiteral("CBO_MODIMPSCAD"));
    CBO_MODIMPSCAD->setCaption(t(995017));
    CBO_MODIMPSCAD->setTag(t(995017));
    CBO_MODIMPSCAD->setDataField(QStringLiteral("CGP5_INDIMPSCADENZA"));
    CBO_MODIMPSCAD->setMaxChar(35);
    CHK_INDGESTABBUONO = make<CheckField>(QStringLiteral("CHK_INDGESTABBUONO"));
    CHK_INDGESTABBUONO->setCaption(t(995018));
    CHK_INDGESTABBUONO->setTag(t(995018));
    CHK_INDGESTABBUONO->setDataField(QStringLiteral("CGP5_INDGESTABBUONI"));
    LBL_MESI = make<LabelControl>(QStringLiteral("LBL_MESI"));
    LBL_MESI->setText(t(995019));
    TXT_MESI = make<NumberField>(QStringLiteral("TXT_MESI"));
    TXT_MESI->setCaption(t(995020));
    TXT_MESI->setTag(t(995020));
    TXT_MESI->setDataField(QStringLiteral("CGP6_MESI"));
    TXT_MESI->setMaxChar(5);
    TXT_MESI->setMaxWidth(5);
    LBL_DELTAIMPORTO = make<LabelControl>(QStringLiteral("LBL_DELTAIMPORTO"));
    LBL_DELTAIMPORTO->setText(t(995021));
    TXT_DELTAIMPORTO = make<NumberField>(QStringLiteral("TXT_DELTAIMPORTO"));
    TXT_DELTAIMPORTO->setCaption(t(995022));
    TXT_DELTAIMPORTO->setTag(t(995022));
    TXT_DELTAIMPORTO->setDataField(QStringLiteral("CGP6_DELTAIMPORTO"));
    TXT_DELTAIMPORTO->setMaxChar(5);
    TXT_DELTAIMPORTO->setMaxWidth(5);
    CHK_NETTOPREVISIONALI = make<CheckField>(QStringLiteral("CHK_NETTOPREVISIONALI"));
    CHK_NETTOPREVISIONALI->setCaption(t(995023));
    CHK_NETTOPREVISIONALI->setTag(t(995023));
    CHK_NETTOPREVISIONALI->setDataField(QStringLiteral("CGP6_INDNETTOPREVISIONALI"));
    LBL_CREADISTINTA = make<LabelControl>(QStringLiteral("LBL_CREADISTINTA"));
    LBL_CREADISTINTA->setText(t(995024));
    CHK_CREADISTINTA = make<CheckField>(QStringLiteral("CHK_CREADISTINTA"));
    CHK_CREADISTINTA->setCaption(t(995025));
    CHK_CREADISTINTA->setTag(t(995025));
    CHK_CREADISTINTA->setShowCaption(false);
    CHK_CREADISTINTA->setDataField(QStringLiteral("CGP6_CREADISTINTA"));
    LBL_STAMPAASSEGNI = make<LabelControl>(QStringLiteral("LBL_STAMPAASSEGNI"));
    LBL_STAMPAASSEGNI->setText(t(995026));
    CHK_STAMPAASSEGNI = make<CheckField>(QStringLiteral("CHK_STAMPAASSEGNI"));
    CHK_STAMPAASSEGNI->setCaption(t(995027));
    CHK_STAMPAASSEGNI->setTag(t(995027));
    CHK_STAMPAASSEGNI->setShowCaption(false);
    CHK_STAMPAASSEGNI->setDataField(QStringLiteral("CGP5_CREADISTINTA"));
    LBL_GESTACCONTI = make<LabelControl>(QStringLiteral("LBL_GESTACCONTI"));
    LBL_GESTACCONTI->setText(t(995028));
    CHK_GESTIONEACCONTI = make<CheckField>(QStringLiteral("CHK_GESTIONEACCONTI"));
    CHK_GESTIONEACCONTI->setCaption(t(995029));
    CHK_GESTIONEACCONTI->setTag(t(995029));
    CHK_GESTIONEACCONTI->setShowCaption(false);
    CHK_GESTIONEACCONTI->setDataField(QStringLiteral("CGP6_INDACCONTI"));
    LBL_MODVISANTEPRIMA = make<LabelControl>(QStringLiteral("LBL_MODVISANTEPRIMA"));
    LBL_MODVISANTEPRIMA->setText(t(995030));
    CBO_MODVISANTEPRIMA = make<ComboField>(QStringLiteral("CBO_MODVISANTEPRIMA"));
    CBO_MODVISANTEPRIMA->setTag(t(995031));
    CBO_MODVISANTEPRIMA->setDataField(QStringLiteral("CGP6_INDVISANTEPRIMA"));
    CBO_MODVISANTEPRIMA->setMaxChar(35);
    FRA_REGISTRAZIONI = make<FrameControl>(QStringLiteral("FRA_REGISTRAZIONI"));
    FRA_REGISTRAZIONI->setTitle(t(995032));
    LBL_TIPOREGISTRAZIONE = make<LabelControl>(QStringLiteral("LBL_TIPOREGISTRAZIONE"));
    LBL_TIPOREGISTRAZIONE->setText(t(995033));
    CBO_TIPOREGISTRAZIONE = make<ComboField>(QStringLiteral("CBO_TIPOREGISTRAZIONE"));
    CBO_TIPOREGISTRAZIONE->setCaption(t(995034));
    CBO_TIPOREGISTRAZIONE->setTag(t(995034));
    CBO_TIPOREGISTRAZIONE->setDataField(QStringLiteral("CGP6_TIPOREGISTRAZIONE"));
    CBO_TIPOREGISTRAZIONE->setMaxChar(15);
    CBO_TIPOREGISTRAZIONE->setDefaultValue(QStringLiteral("1"));
    CHK_DESCRAGGTEST = make<CheckField>(QStringLiteral("CHK_DESCRAGGTEST"));
    CHK_DESCRAGGTEST->setCaption(t(995035));
    CHK_DESCRAGGTEST->setTag(t(995036));
    CHK_DESCRAGGTEST->setDataField(QStringLiteral("CGP6_DESCRAGGTESTATA"));
    CHK_MODIFICACONTI = make<CheckField>(QStringLiteral("CHK_MODIFICACONTI"));
    CHK_MODIFICACONTI->setCaption(t(995037));
    CHK_MODIFICACONTI->setTag(t(995037));
    CHK_MODIFICACONTI->setDataField(QStringLiteral("CGP6_MODIFICACONTI"));
    CHK_NUMDATAORI = make<CheckField>(QStringLiteral("CHK_NUMDATAORI"));
    CHK_NUMDATAORI->setCaption(t(995038));
    CHK_NUMDATAORI->setTag(t(995039));
    CHK_NUMDATAORI->setDataField(QStringLiteral("CGP6_INDNUMDATADOC"));
    FRA_PERSREGISTRAZIONE = make<FrameControl>(QStringLiteral("FRA_PERSREGISTRAZIONE"));
    FRA_PERSREGISTRAZIONE->setTitle(t(995040));
    LBL_CAUCOGE = make<LabelControl>(QStringLiteral("LBL_CAUCOGE"));
    LBL_CAUCOGE->setText(t(995041));
    TXT_CAUSALECOGE = make<TextField>(QStringLiteral("TXT_CAUSALECOGE"));
    TXT_CAUSALECOGE->setCaption(t(995042));
    TXT_CAUSALECOGE->setTag(t(995042));
    TXT_CAUSALECOGE->setDataField(QStringLiteral("CGP7_CAUSALECOGE_CG33"));
    TXT_CAUSALECOGE->setMaxChar(4);
    TXT_CAUSALECOGE->setMaxWidth(4);
    TXT_CAUSALECOGE->setUpperCase(true);
    TXT_CAUSALECOGE->setLookup(true);
    TXT_CAUSALECOGE->setDecode(true);
    TXT_CAUSALECOGE->setTxtGestione(QStringLiteral("Causali contabili"));
    TXT_DESCCAUINCPAG = make<LabelControl>(QStringLiteral("TXT_DESCCAUINCPAG"));
    TXT_DESCCAUINCPAG->setBorder(true);
    LBL_CAUNORIT = make<LabelControl>(QStringLiteral("LBL_CAUNORIT"));
    LBL_CAUNORIT->setText(t(995043));
    LBL_CAUNORIT->setBorder(true);
    LBL_CAUNORIT->setLabelStyle(1);
    LBL_CAUNORIT->setVisible(false);
    // Its place is kept while hidden, so showing it never widens the form.
    QSizePolicy keepPlace = LBL_CAUNORIT->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    LBL_CAUNORIT->setSizePolicy(keepPlace);
    LBL_CONTODARE = make<LabelControl>(QStringLiteral("LBL_CONTODARE"));
    LBL_CONTODARE->setText(t(995044));
    TXT_CONTODARE = make<AccountField>(QStringLiteral("TXT_CONTODARE"));
    TXT_CONTODARE->setCaption(t(995045));
    TXT_CONTODARE->setTag(t(995045));
    TXT_CONTODARE->setDataField(QStringLiteral("CGP7_CONTODARE_CG24"));
    TXT_CONTODARE->setLookup(true);
    TXT_CONTODARE->setDecode(true);
    TXT_CONTODARE->setControllaEsistenzaMastro(true);
    TXT_DESCCONTODARE = make<LabelControl>(QStringLiteral("TXT_DESCCONTODARE"));
    TXT_DESCCONTODARE->setBorder(true);
    LBL_CONTOAVERE = make<LabelControl>(QStringLiteral("LBL_CONTOAVERE"));
    LBL_CONTOAVERE->setText(t(995046));
    TXT_CONTOAVERE = make<AccountField>(QStringLiteral("TXT_CONTOAVERE"));
    TXT_CONTOAVERE->setCaption(t(995047));
    TXT_CONTOAVERE->setTag(t(995047));
    TXT_CONTOAVERE->setDataField(QStringLiteral("CGP7_CONTOAVERE_CG24"));
    TXT_CONTOAVERE->setLookup(true);
    TXT_CONTOAVERE->setDecode(true);
    TXT_CONTOAVERE->setControllaEsistenzaMastro(true);
    TXT_DESCCONTOAVERE = make<LabelControl>(QStringLiteral("TXT_DESCCONTOAVERE"));
    TXT_DESCCONTOAVERE->setBorder(true);
    LBL_DETTREG = make<LabelControl>(QStringLiteral("LBL_DETTREG"));
    LBL_DETTREG->setText(t(995048));
    CBO_DETTREG = make<ComboField>(QStringLiteral("CBO_DETTREG"));
    CBO_DETTREG->setCaption(t(995049));
    CBO_DETTREG->setTag(t(995049));
    CBO_DETTREG->setDataField(QStringLiteral("CGP7_INDDETTREGIST"));
    CBO_DETTREG->setMaxChar(35);
    CBO_DETTREG->setDefaultValue(QStringLiteral("0"));
    LBL_MSGSEDE = make<LabelControl>(QStringLiteral("LBL_MSGSEDE"));
    LBL_MSGSEDE->setText(t(995050));
    LBL_MSGSEDE->setLabelStyle(1);
    LBL_DETTRIGACONT = make<LabelControl>(QStringLiteral("LBL_DETTRIGACONT"));
    LBL_DETTRIGACONT->setText(t(995051));
    CBO_DETTRIGACONT = make<ComboField>(QStringLiteral("CBO_DETTRIGACONT"));
    CBO_DETTRIGACONT->setCaption(t(995052));
    CBO_DETTRIGACONT->setTag(t(995052));
    CBO_DETTRIGACONT->setDataField(QStringLiteral("CGP7_INDDETTRIGACONT"));
    CBO_DETTRIGACONT->setMaxChar(35);
    CBO_DETTRIGACONT->setDefaultValue(QStringLiteral("0"));
    LBL_DESCRCONTRAUTO = make<LabelControl>(QStringLiteral("LBL_DESCRCONTRAUTO"));
    LBL_DESCRCONTRAUTO->setText(t(995053));
    CBO_DESCRCONTRAUTO = make<ComboField>(QStringLiteral("CBO_DESCRCONTRAUTO"));
    CBO_DESCRCONTRAUTO->setCaption(t(995054));
    CBO_DESCRCONTRAUTO->setTag(t(995054));
    CBO_DESCRCONTRAUTO->setDataField(QStringLiteral("CGP7_INDDESCRCP"));
    CBO_DESCRCONTRAUTO->setMaxChar(32);
    CBO_DESCRCONTRAUTO->setDefaultValue(QStringLiteral("0"));
    LBL_TESTOPARAMETRICO = make<LabelControl>(QStringLiteral("LBL_TESTOPARAMETRICO"));
    LBL_TESTOPARAMETRICO->setText(t(995055));
    TXT_TESTOPARAMETRICO = make<RichTextField>(QStringLiteral("TXT_TESTOPARAMETRICO"));
    TXT_TESTOPARAMETRICO->setCaption(t(995056));
    TXT_TESTOPARAMETRICO->setTag(t(995056));
    TXT_TESTOPARAMETRICO->setDataField(QStringLiteral("CGP7_TESTORIGA"));
    TXT_TESTOPARAMETRICO->setMaxChar(240);
    TXT_TESTOPARAMETRICO->setMaxWidth(70);
    // A few lines, as the design shows; a taller window leaves the room below the rows.
    TXT_TESTOPARAMETRICO->setMaximumHeight(TXT_TESTOPARAMETRICO->fontMetrics().lineSpacing() * 5 + 8);
    BUT_LEGENDA = make<ButtonControl>(QStringLiteral("BUT_LEGENDA"));
    BUT_LEGENDA->setToolTip(t(995057));
    LBL_CAUABBUONI = make<LabelControl>(QStringLiteral("LBL_CAUABBUONI"));
    LBL_CAUABBUONI->setText(t(995058));
    TXT_CAUABBUONI = make<TextField>(QStringLiteral("TXT_CAUABBUONI"));
    TXT_CAUABBUONI->setCaption(t(995059));
    TXT_CAUABBUONI->setTag(t(995059));
    TXT_CAUABBUONI->setDataField(QStringLiteral("CGP7_CAUSALEABB_CG33"));
    TXT_CAUABBUONI->setMaxChar(4);
    TXT_CAUABBUONI->setMaxWidth(4);
    TXT_CAUABBUONI->setUpperCase(true);
    TXT_CAUABBUONI->setLookup(true);
    TXT_CAUABBUONI->setDecode(true);
    TXT_CAUABBUONI->setTxtGestione(QStringLiteral("Causali contabili"));
    TXT_DESCCAUABBUONI = make<LabelControl>(QStringLiteral("TXT_DESCCAUABBUONI"));
    TXT_DESCCAUABBUONI->setBorder(true);
    LBL_CONTOABBUONIATTIVI = make<LabelControl>(QStringLiteral("LBL_CONTOABBUONIATTIVI"));
    LBL_CONTOABBUONIATTIVI->setText(t(995060));
    TXT_CONTOABBUONIATTIVI = make<AccountField>(QStringLiteral("TXT_CONTOABBUONIATTIVI"));
    TXT_CONTOABBUONIATTIVI->setCaption(t(995061));
    TXT_CONTOABBUONIATTIVI->setTag(t(995061));
    TXT_CONTOABBUONIATTIVI->setDataField(QStringLiteral("CGP7_CONTOABBATTIVI_CG24"));
    TXT_CONTOABBUONIATTIVI->setLookup(true);
    TXT_CONTOABBUONIATTIVI->setDecode(true);
    TXT_DESCCONTOABBUONIATTIVI = make<LabelControl>(QStringLiteral("TXT_DESCCONTOABBUONIATTIVI"));
    TXT_DESCCONTOABBUONIATTIVI->setBorder(true);
    LBL_CONTOABBUONIPASSIVI = make<LabelControl>(QStringLiteral("LBL_CONTOABBUONIPASSIVI"));
    LBL_CONTOABBUONIPASSIVI->setText(t(995062));
    TXT_CONTOABBUONIPASSIVI = make<AccountField>(QStringLiteral("TXT_CONTOABBUONIPASSIVI"));
    TXT_CONTOABBUONIPASSIVI->setCaption(t(995063));
    TXT_CONTOABBUONIPASSIVI->setTag(t(995063));
    TXT_CONTOABBUONIPASSIVI->setDataField(QStringLiteral("CGP7_CONTOABBPASSIVI_CG24"));
    TXT_CONTOABBUONIPASSIVI->setLookup(true);
    TXT_CONTOABBUONIPASSIVI->setDecode(true);
    TXT_DESCCONTOABBUONIPASSIVI = make<LabelControl>(QStringLiteral("TXT_DESCCONTOABBUONIPASSIVI"));
    TXT_DESCCONTOABBUONIPASSIVI->setBorder(true);
    LBL_GESTIONERITENUTE = make<LabelControl>(QStringLiteral("LBL_GESTIONERITENUTE"));
    LBL_GESTIONERITENUTE->setText(t(995064));
    CBO_GESTIONERITENUTE = make<ComboField>(QStringLiteral("CBO_GESTIONERITENUTE"));
    CBO_GESTIONERITENUTE->setTag(t(995065));
    CBO_GESTIONERITENUTE->setDataField(QStringLiteral("CGP7_INDPAGRITENUTE"));
    CBO_GESTIONERITENUTE->setMaxChar(19);
    CBO_GESTIONERITENUTE->setDefaultValue(QStringLiteral("0"));
    FRA_PERSREGISTRAZIONEACCONTI = make<FrameControl>(QStringLiteral("FRA_PERSREGISTRAZIONEACCONTI"));
    FRA_PERSREGISTRAZIONEACCONTI->setTitle(t(995066));
    LBL_CODPAGACCONTI = make<LabelControl>(QStringLiteral("LBL_CODPAGACCONTI"));
    LBL_CODPAGACCONTI->setText(t(995067));
    TXT_CODPAGACCONTI = make<TextField>(QStringLiteral("TXT_CODPAGACCONTI"));
    TXT_CODPAGACCONTI->setCaption(t(995068));
    TXT_CODPAGACCONTI->setTag(t(995068));
    TXT_CODPAGACCONTI->setDataField(QStringLiteral("CGP7_CONDPAGACCONTI_CG62"));
    TXT_CODPAGACCONTI->setMaxChar(6);
    TXT_CODPAGACCONTI->setMaxWidth(4);
    TXT_CODPAGACCONTI->setUpperCase(true);
    TXT_CODPAGACCONTI->setLookup(true);
    TXT_CODPAGACCONTI->setDecode(true);
    TXT_CODPAGACCONTI->setTxtGestione(QStringLiteral("Cond. di pagamento"));
    TXT_DESCRPAGACCONTI = make<LabelControl>(QStringLiteral("TXT_DESCRPAGACCONTI"));
    TXT_DESCRPAGACCONTI->setBorder(true);
    LBL_SEZIONALEACCONTI = make<LabelControl>(QStringLiteral("LBL_SEZIONALEACCONTI"));
    LBL_SEZIONALEACCONTI->setText(t(995069));
    TXT_SEZIONALEACCONTI = make<TextField>(QStringLiteral("TXT_SEZIONALEACCONTI"));
    TXT_SEZIONALEACCONTI->setCaption(t(995070));
    TXT_SEZIONALEACCONTI->setTag(t(995070));
    TXT_SEZIONALEACCONTI->setDataField(QStringLiteral("CGP7_SEZIONALEACCONTI_CG68"));
    TXT_SEZIONALEACCONTI->setMaxChar(2);
    TXT_SEZIONALEACCONTI->setMaxWidth(2);
    TXT_SEZIONALEACCONTI->setUpperCase(true);
    TXT_SEZIONALEACCONTI->setLookup(true);
    TXT_SEZIONALEACCONTI->setTxtGestione(QStringLiteral("Sezionali ditta"));
    TXT_SEZIONALEACCONTI->setDefaultValue(QStringLiteral("00"));
    FRA_TIPOSCADENZE = make<FrameControl>(QStringLiteral("FRA_TIPOSCADENZE"));
    FRA_TIPOSCADENZE->setTitle(t(995071));
    KVS_SELSCADENZE = make<DueDateSelector>(QStringLiteral("KVS_SELSCADENZE"));
    FRA_CHECKUTENTE = make<FrameControl>(QStringLiteral("FRA_CHECKUTENTE"));
    TTB_CHECK = make<TitleBar>(QStringLiteral("TTB_CHECK"));
    TTB_CHECK->setText(t(995072));
    FRA_TIPOMOVIMENTO = make<FrameControl>(QStringLiteral("FRA_TIPOMOVIMENTO"));
    FRA_TIPOMOVIMENTO->setTitle(t(995073));
    FRA_SEGNOSCADENZA = make<FrameControl>(QStringLiteral("FRA_SEGNOSCADENZA"));
    FRA_SEGNOSCADENZA->setTitle(t(995074));
    FRA_TIPOSCADENZA = make<FrameControl>(QStringLiteral("FRA_TIPOSCADENZA"));
    FRA_TIPOSCADENZA->setTitle(t(995007));
    FRA_ACCONTO = make<FrameControl>(QStringLiteral("FRA_ACCONTO"));
    FRA_ACCONTO->setTitle(t(995075));
    FRA_GESTRITENUTE = make<FrameControl>(QStringLiteral("FRA_GESTRITENUTE"));
    FRA_GESTRITENUTE->setTitle(t(995076));
    FRA_CHECKCAUSALE = make<FrameControl>(QStringLiteral("FRA_CHECKCAUSALE"));
    TTB_IMPCAUSALI = make<TitleBar>(QStringLiteral("TTB_IMPCAUSALI"));
    TTB_IMPCAUSALI->setText(t(995077));
    FRA_STATOMOVIMENTO = make<FrameControl>(QStringLiteral("FRA_STATOMOVIMENTO"));
    FRA_STATOMOVIMENTO->setTitle(t(995078));
    FRA_TIPOPERAZIONE = make<FrameControl>(QStringLiteral("FRA_TIPOPERAZIONE"));
    FRA_TIPOPERAZIONE->setTitle(t(995005));
    FRA_TIPOPRESENTAZIONE = make<FrameControl>(QStringLiteral("FRA_TIPOPRESENTAZIONE"));
    FRA_TIPOPRESENTAZIONE->setTitle(t(995079));
    CMD_MODIFICACHECKCAUSALE = make<ButtonControl>(QStringLiteral("CMD_MODIFICACHECKCAUSALE"));
    CMD_MODIFICACHECKCAUSALE->setText(t(995080));
    CMD_CHECKCAUSALEDEFAULT = make<ButtonControl>(QStringLiteral("CMD_CHECKCAUSALEDEFAULT"));
    CMD_CHECKCAUSALEDEFAULT->setText(t(995081));
    LBL_CHECKWARNINGRITENUTE = make<LabelControl>(QStringLiteral("LBL_CHECKWARNINGRITENUTE"));
    LBL_CHECKWARNINGRITENUTE->setText(t(995082));
    LBL_CHECKWARNINGRITENUTE->setLabelStyle(2);
    FRA_LAYOUT = make<FrameControl>(QStringLiteral("FRA_LAYOUT"));
    TVCAMPI = make<TreeViewControl>(QStringLiteral("TVCAMPI"));
    BUT_SEL = make<ButtonControl>(QStringLiteral("BUT_SEL"));
    BUT_SEL->setToolTip(t(995083));
    BUT_DESEL = make<ButtonControl>(QStringLiteral("BUT_DESEL"));
    BUT_DESEL->setToolTip(t(995084));
    QGRID_LAYOUT = make<GridControl>(QStringLiteral("QGRID_LAYOUT"));
    BUT_UP = make<ButtonControl>(QStringLiteral("BUT_UP"));
    BUT_UP->setToolTip(t(995085));
    BUT_DOWN = make<ButtonControl>(QStringLiteral("BUT_DOWN"));
    BUT_DOWN->setToolTip(t(995086));
    FRA_REVOKE = make<FrameControl>(QStringLiteral("FRA_REVOKE"));
    QGRID_GRUPPIUTENTI = make<GridControl>(QStringLiteral("QGRID_GRUPPIUTENTI"));
    GRIDNAVREVOKE = make<GridNavigator>(QStringLiteral("GRIDNAVREVOKE"));
    FRA_USER = make<FrameControl>(QStringLiteral("FRA_USER"));
    LBL_GRUPPO = make<LabelControl>(QStringLiteral("LBL_GRUPPO"));
    LBL_GRUPPO->setText(t(995087));
    TXT_GRUPPO = make<IdLookupField>(QStringLiteral("TXT_GRUPPO"));
    TXT_GRUPPO->setDataField(QStringLiteral("CGP8_ID_FW06"));
    TXT_GRUPPO->setMaxChar(64);
    TXT_GRUPPO->setMaxWidth(30);
    TXT_GRUPPO->setUpperCase(true);
    TXT_GRUPPO->setLookup(true);
    TXT_GRUPPO->setDecode(true);
    TXT_GRUPPO->setTableName(QStringLiteral("FW06_GROUPUSR"));
    TXT_GRUPPO->setIdField(QStringLiteral("FW06_ID"));
    TXT_GRUPPO->setTextField(QStringLiteral("FW06_CODICE"));
    TXT_GRUPPO->setEnabled(false);
    LBL_DESCRGRUPPO = make<LabelControl>(QStringLiteral("LBL_DESCRGRUPPO"));
    LBL_DESCRGRUPPO->setBorder(true);
    LBL_UTENTE = make<LabelControl>(QStringLiteral("LBL_UTENTE"));
    LBL_UTENTE->setText(t(995088));
    TXT_UTENTE = make<IdLookupField>(QStringLiteral("TXT_UTENTE"));
    TXT_UTENTE->setDataField(QStringLiteral("CGP8_ID_FW07"));
    TXT_UTENTE->setMaxChar(64);
    TXT_UTENTE->setMaxWidth(30);
    TXT_UTENTE->setUpperCase(true);
    TXT_UTENTE->setLookup(true);
    TXT_UTENTE->setDecode(true);
    TXT_UTENTE->setTableName(QStringLiteral("FW07_APPUSER"));
    TXT_UTENTE->setIdField(QStringLiteral("FW07_ID"));
    TXT_UTENTE->setTextField(QStringLiteral("FW07_USERNAME"));
    TXT_UTENTE->setEnabled(false);
    LBL_DESCRUTENTE = make<LabelControl>(QStringLiteral("LBL_DESCRUTENTE"));
    LBL_DESCRUTENTE->setBorder(true);
    LBL_WARNINGRITENUTE = make<LabelControl>(QStringLiteral("LBL_WARNINGRITENUTE"));
    LBL_WARNINGRITENUTE->setText(t(995089));
    LBL_WARNINGRITENUTE->setBorder(true);
    LBL_WARNINGRITENUTE->setLabelStyle(1);
    LBL_WARNINGRITENUTE->setVisible(false);
    INTERNAV = make<RecordNavigator>(QStringLiteral("INTERNAV"));

    CHK_FILTER.fill(nullptr, 33);
    for (int i = 1; i <= 32; ++i) {
        CheckField *box = make<CheckField>(QStringLiteral("CHK_FILTER_%1").arg(i));
        box->setIsDbField(false);
        box->setProperty("Index", i);
        CHK_FILTER[i] = box;
    }
    CHK_FILTER[7]->setCaption(t(FormText::CheckCashFlow));
    CHK_FILTER[6]->setCaption(t(FormText::CheckSimulazioni));
    for (int hidden : {6, 7, 12})
        CHK_FILTER[hidden]->setVisible(false);

    TXT_CAUSALECOGE->setDescriptionLabel(TXT_DESCCAUINCPAG);
    TXT_CAUABBUONI->setDescriptionLabel(TXT_DESCCAUABBUONI);
    TXT_CONTODARE->setDescriptionLabel(TXT_DESCCONTODARE);
    TXT_CONTOAVERE->setDescriptionLabel(TXT_DESCCONTOAVERE);
    TXT_CONTOABBUONIATTIVI->setDescriptionLabel(TXT_DESCCONTOABBUONIATTIVI);
    TXT_CONTOABBUONIPASSIVI->setDescriptionLabel(TXT_DESCCONTOABBUONIPASSIVI);
    TXT_CODPAGACCONTI->setDescriptionLabel(TXT_DESCRPAGACCONTI);
    TXT_GRUPPO->setDescriptionLabel(LBL_DESCRGRUPPO);
    TXT_UTENTE->setDescriptionLabel(LBL_DESCRUTENTE);
    QStyle *style = m_form->style();
    BUT_SEL->setPicture(standardIcon(style, QStyle::SP_ArrowRight), BUT_SEL->toolTip());
    BUT_DESEL->setPicture(standardIcon(style, QStyle::SP_ArrowLeft), BUT_DESEL->toolTip());
    BUT_UP->setPicture(standardIcon(style, QStyle::SP_ArrowUp), BUT_UP->toolTip());
    BUT_DOWN->setPicture(standardIcon(style, QStyle::SP_ArrowDown), BUT_DOWN->toolTip());
    BUT_LEGENDA->setPicture(standardIcon(style, QStyle::SP_MessageBoxQuestion), BUT_LEGENDA->toolTip());
    QGRID_LAYOUT->setDataFormatEnabled(true);
    QGRID_GRUPPIUTENTI->setDataFormatEnabled(true);
    LBL_WARNINGRITENUTE->setAlignment(Qt::AlignCenter);
    for (const char *key : {"Primo", "Precedente", "Successivo", "Ultimo", "Elimina", "Annulla"})
        INTERNAV->setButtonVisible(QLatin1String(key), false);
}

namespace {

QWidget *row(std::initializer_list<QWidget *> widgets, bool stretch = true)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    if (stretch)
        layout->addStretch();
    return box;
}

void stack(QWidget *frame, std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout(frame);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch();
}

// Label at the left, field at a common left edge, what stands beside it further right.
void addRow(QGridLayout *grid, int r, QWidget *label, QWidget *field, QWidget *beside = nullptr)
{
    if (label)
        grid->addWidget(label, r, 0);
    grid->addWidget(field, r, 1, Qt::AlignLeft);
    if (beside)
        grid->addWidget(beside, r, 2);
}

} // namespace

void FormUi::layOut()
{
    auto *outer = new QVBoxLayout(m_form);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new FormScrollArea(m_form);
    // The host's own Alt+letter keys are known only once the form is in the host's window.
    scroll->firstShown = [this] { assignAccessKeys(); };
    m_scroll = scroll;
    m_scroll->setObjectName(QStringLiteral("FormScrollArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    outer->addWidget(m_scroll);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("FormContent"));
    auto *main = new QVBoxLayout(content);
    main->setContentsMargins(4, 4, 4, 4);
    main->setSpacing(4);

    auto *header = new QHBoxLayout(FRA_CAUSALE);
    header->setContentsMargins(6, 4, 6, 4);
    header->addWidget(LBL_CAUSALE);
    header->addWidget(TXT_CAUSALE);
    header->addWidget(TXT_DESCRIZIONE, 1);
    main->addWidget(FRA_CAUSALE);
    main->addWidget(TAB_CONFIG, 1);
    auto *footer = new QHBoxLayout;
    footer->addWidget(LBL_WARNINGRITENUTE);
    footer->addStretch();
    footer->addWidget(INTERNAV);
    main->addLayout(footer);

    // Tab 0: general settings.
    auto *general = new QGridLayout(FRA_IMPOSTAZIONI);
    addRow(general, 0, LBL_TIPOOPERAZIONE, CBO_TIPOOPERAZIONE);
    addRow(general, 1, LBL_TIPOSCADENZA,
           row({CBO_TIPOSCADENZA, TXT_CAUSALECOMPCLI, TXT_CAUSALECOMPFOR, TXT_CAUSALICOMPDESCR}));
    addRow(general, 2, LBL_MODRECUPERO, CBO_MODRECUPERO);
    addRow(general, 3, LBL_MODIMPMAX, CBO_MODIMPMAX);
    addRow(general, 4, LBL_GESTVALUTE, CHK_GESTVALUTE);
    addRow(general, 5, LBL_MODIMPSCAD, CBO_MODIMPSCAD, CHK_INDGESTABBUONO);
    addRow(general, 6, LBL_MESI, TXT_MESI);
    addRow(general, 7, LBL_DELTAIMPORTO, TXT_DELTAIMPORTO, CHK_NETTOPREVISIONALI);
    addRow(general, 8, LBL_CREADISTINTA, CHK_CREADISTINTA);
    addRow(general, 9, LBL_STAMPAASSEGNI, CHK_STAMPAASSEGNI);
    addRow(general, 10, LBL_GESTACCONTI, CHK_GESTIONEACCONTI);
    addRow(general, 11, LBL_MODVISANTEPRIMA, CBO_MODVISANTEPRIMA);
    general->setColumnStretch(2, 1);
    general->setRowStretch(12, 1);

    // Tab 1: registration.
    auto *registrazioni = new QHBoxLayout(FRA_REGISTRAZIONI);
    for (QWidget *w : std::initializer_list<QWidget *>{LBL_TIPOREGISTRAZIONE, CBO_TIPOREGISTRAZIONE, CHK_DESCRAGGTEST,
                                                       CHK_MODIFICACONTI, CHK_NUMDATAORI})
        registrazioni->addWidget(w);
    registrazioni->addStretch();
    auto *pers = new QGridLayout(FRA_PERSREGISTRAZIONE);
    // The note on causals without withholding lies over the right end of the read-out.
    auto *readOut = new QWidget;
    auto *overlay = new QGridLayout(readOut);
    overlay->setContentsMargins(0, 0, 0, 0);
    overlay->addWidget(TXT_DESCCAUINCPAG, 0, 0);
    overlay->addWidget(LBL_CAUNORIT, 0, 0, Qt::AlignRight);
    addRow(pers, 0, LBL_CAUCOGE, TXT_CAUSALECOGE, readOut);
    addRow(pers, 1, LBL_CONTODARE, TXT_CONTODARE, TXT_DESCCONTODARE);
    addRow(pers, 2, LBL_CONTOAVERE, TXT_CONTOAVERE, TXT_DESCCONTOAVERE);
    addRow(pers, 3, LBL_DETTREG, CBO_DETTREG, LBL_MSGSEDE);
    addRow(pers, 4, LBL_DETTRIGACONT, CBO_DETTRIGACONT, row({LBL_DESCRCONTRAUTO, CBO_DESCRCONTRAUTO}));
    pers->addWidget(LBL_TESTOPARAMETRICO, 5, 0);
    pers->addWidget(row({TXT_TESTOPARAMETRICO, BUT_LEGENDA}, false), 5, 1, 1, 2);
    addRow(pers, 6, LBL_CAUABBUONI, TXT_CAUABBUONI, TXT_DESCCAUABBUONI);
    addRow(pers, 7, LBL_CONTOABBUONIATTIVI, TXT_CONTOABBUONIATTIVI, TXT_DESCCONTOABBUONIATTIVI);
    addRow(pers, 8, LBL_CONTOABBUONIPASSIVI, TXT_CONTOABBUONIPASSIVI, TXT_DESCCONTOABBUONIPASSIVI);
    addRow(pers, 9, LBL_GESTIONERITENUTE, CBO_GESTIONERITENUTE);
    auto *acconti = new QHBoxLayout(FRA_PERSREGISTRAZIONEACCONTI);
    for (QWidget *w : std::initializer_list<QWidget *>{LBL_CODPAGACCONTI, TXT_CODPAGACCONTI, TXT_DESCRPAGACCONTI,
                                                       LBL_SEZIONALEACCONTI, TXT_SEZIONALEACCONTI})
        acconti->addWidget(w);
    pers->addWidget(FRA_PERSREGISTRAZIONEACCONTI, 10, 0, 1, 3);
    pers->setColumnStretch(2, 1);
    pers->setRowStretch(11, 1);

    // Tab 2: due-date selection.
    auto *selector = new QVBoxLayout(FRA_TIPOSCADENZE);
    selector->addWidget(KVS_SELSCADENZE);
    stack(FRA_TIPOMOVIMENTO, {CHK_FILTER[3], CHK_FILTER[4], CHK_FILTER[5]});
    stack(FRA_SEGNOSCADENZA, {CHK_FILTER[27], CHK_FILTER[28]});
    stack(FRA_TIPOSCADENZA, {CHK_FILTER[25], CHK_FILTER[26]});
    stack(FRA_ACCONTO, {CHK_FILTER[31], CHK_FILTER[32]});
    stack(FRA_GESTRITENUTE, {CHK_FILTER[29], CHK_FILTER[30]});
    stack(FRA_CHECKUTENTE, {TTB_CHECK, FRA_TIPOMOVIMENTO, FRA_SEGNOSCADENZA,
                            row({FRA_TIPOSCADENZA, FRA_ACCONTO}, false), FRA_GESTRITENUTE});
    stack(FRA_STATOMOVIMENTO, {CHK_FILTER[1], CHK_FILTER[2]});
    stack(FRA_TIPOPERAZIONE, {CHK_FILTER[8], CHK_FILTER[9], CHK_FILTER[10], CHK_FILTER[11], CHK_FILTER[13],
                              CHK_FILTER[14], CHK_FILTER[12]});
    auto *presentazione = new QVBoxLayout(FRA_TIPOPRESENTAZIONE);
    for (int i = 15; i <= 24; ++i)
        presentazione->addWidget(CHK_FILTER[i]);
    presentazione->addStretch();
    auto *leftColumn = new QWidget;
    stack(leftColumn, {FRA_STATOMOVIMENTO, FRA_TIPOPERAZIONE});
    leftColumn->layout()->setContentsMargins(0, 0, 0, 0);
    stack(FRA_CHECKCAUSALE, {TTB_IMPCAUSALI, row({leftColumn, FRA_TIPOPRESENTAZIONE}, false),
                             row({CMD_MODIFICACHECKCAUSALE, CMD_CHECKCAUSALEDEFAULT})});
    auto *checks = new QGridLayout;
    checks->addWidget(FRA_TIPOSCADENZE, 0, 0, 2, 1);
    checks->addWidget(FRA_CHECKUTENTE, 0, 1);
    checks->addWidget(FRA_CHECKCAUSALE, 0, 2);
    checks->addWidget(LBL_CHECKWARNINGRITENUTE, 1, 1, 1, 2);
    checks->addWidget(row({CHK_FILTER[7], CHK_FILTER[6]}), 2, 0, 1, 3);
    checks->setColumnStretch(0, 1);

    // Tab 3: grid layout.
    auto *layoutTab = new QHBoxLayout(FRA_LAYOUT);
    layoutTab->addWidget(TVCAMPI, 2);
    auto *moveIn = new QVBoxLayout;
    moveIn->addStretch();
    moveIn->addWidget(BUT_SEL);
    moveIn->addWidget(BUT_DESEL);
    moveIn->addStretch();
    layoutTab->addLayout(moveIn);
    layoutTab->addWidget(QGRID_LAYOUT, 3);
    auto *order = new QVBoxLayout;
    order->addStretch();
    order->addWidget(BUT_UP);
    order->addWidget(BUT_DOWN);
    order->addStretch();
    layoutTab->addLayout(order);

    // Tab 4: users and groups.
    auto *revoke = new QVBoxLayout(FRA_REVOKE);
    revoke->addWidget(row({QGRID_GRUPPIUTENTI, GRIDNAVREVOKE}, false), 1);
    auto *user = new QGridLayout(FRA_USER);
    addRow(user, 0, LBL_GRUPPO, TXT_GRUPPO, LBL_DESCRGRUPPO);
    addRow(user, 1, LBL_UTENTE, TXT_UTENTE, LBL_DESCRUTENTE);
    user->setColumnStretch(2, 1);
    revoke->addWidget(FRA_USER);

    const QList<QPair<int, QChar>> tabs = {{FormText::TabGenerale, u'G'}, {FormText::TabRegistrazione, u'I'},
                                           {FormText::TabSelezione, u'S'}, {FormText::TabLayout, u'P'},
                                           {FormText::TabUtenti, u'U'}};
    for (int i = 0; i < 5; ++i) {
        tabPages[i] = new QWidget;
        tabPages[i]->setObjectName(QStringLiteral("TAB_CONFIG_%1").arg(i));
        TAB_CONFIG->addPage(tabPages[i], t(tabs.at(i).first), tabs.at(i).second);
    }
    auto *page0 = new QVBoxLayout(tabPages[0]);
    page0->addWidget(FRA_IMPOSTAZIONI);
    auto *page1 = new QVBoxLayout(tabPages[1]);
    page1->addWidget(FRA_REGISTRAZIONI);
    page1->addWidget(FRA_PERSREGISTRAZIONE, 1);
    tabPages[2]->setLayout(checks);
    auto *page3 = new QVBoxLayout(tabPages[3]);
    page3->addWidget(FRA_LAYOUT);
    auto *page4 = new QVBoxLayout(tabPages[4]);
    page4->addWidget(FRA_REVOKE);
    TAB_CONFIG->setTab(0);
    // Added last: the scroll area sizes its widget from the complete layout.
    m_scroll->setWidget(content);
}

namespace {

// The widgets that take the focus with Tab inside a control, in their own order.
QList<QWidget *> focusStops(QWidget *control)
{
    QList<QWidget *> stops;
    QWidget *w = control;
    do {
        if ((w == control || control->isAncestorOf(w)) && !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus))
            stops.append(w);
        w = w->nextInFocusChain();
    } while (w && w != control);
    return stops;
}

} // namespace

void FormUi::setTabOrder()
{
    QList<QWidget *> order = {TXT_CAUSALE, TXT_DESCRIZIONE, TAB_CONFIG->tabBar(),
        // Generale
        CBO_TIPOOPERAZIONE, CBO_TIPOSCADENZA, TXT_CAUSALECOMPCLI, TXT_CAUSALECOMPFOR, TXT_CAUSALICOMPDESCR,
        CBO_MODRECUPERO, CBO_MODIMPMAX, CHK_GESTVALUTE, CBO_MODIMPSCAD, CHK_INDGESTABBUONO, TXT_MESI,
        TXT_DELTAIMPORTO, CHK_NETTOPREVISIONALI, CHK_CREADISTINTA, CHK_STAMPAASSEGNI, CHK_GESTIONEACCONTI,
        CBO_MODVISANTEPRIMA,
        // Impostazione registrazione
        CBO_TIPOREGISTRAZIONE, CHK_DESCRAGGTEST, CHK_MODIFICACONTI, CHK_NUMDATAORI, TXT_CAUSALECOGE, TXT_CONTODARE,
        TXT_CONTOAVERE, CBO_DETTREG, CBO_DETTRIGACONT, CBO_DESCRCONTRAUTO, TXT_TESTOPARAMETRICO, BUT_LEGENDA,
        TXT_CAUABBUONI, TXT_CONTOABBUONIATTIVI, TXT_CONTOABBUONIPASSIVI, CBO_GESTIONERITENUTE, TXT_CODPAGACCONTI,
        TXT_SEZIONALEACCONTI,
        // Selezione scadenze
        KVS_SELSCADENZE};
    for (int i : {3, 4, 5, 27, 28, 25, 26, 31, 32, 29, 30, 1, 2, 8, 9, 10, 11, 13, 14, 12, 15, 16, 17, 18, 19, 20, 21,
                  22, 23, 24})
        order.append(CHK_FILTER[i]);
    order << CMD_MODIFICACHECKCAUSALE << CMD_CHECKCAUSALEDEFAULT << CHK_FILTER[7] << CHK_FILTER[6]
          // Personalizzazione layout
          << TVCAMPI << BUT_SEL << BUT_DESEL << QGRID_LAYOUT << BUT_UP << BUT_DOWN
          // Utenti
          << QGRID_GRUPPIUTENTI << GRIDNAVREVOKE << TXT_GRUPPO << TXT_UTENTE << INTERNAV;

    QWidget *previous = nullptr;
    for (QWidget *control : std::as_const(order)) {
        for (QWidget *stop : focusStops(control)) {
            if (previous)
                QWidget::setTabOrder(previous, stop);
            previous = stop;
        }
    }
}

void FormUi::setBuddies()
{
    using Pair = QPair<LabelControl *, QWidget *>;
    m_keyedLabels = {
        {{LBL_CAUSALE, TXT_CAUSALE}},
        {{LBL_TIPOOPERAZIONE, CBO_TIPOOPERAZIONE}, {LBL_TIPOSCADENZA, CBO_TIPOSCADENZA},
         {LBL_MODRECUPERO, CBO_MODRECUPERO}, {LBL_MODIMPMAX, CBO_MODIMPMAX}, {LBL_GESTVALUTE, CHK_GESTVALUTE},
         {LBL_MODIMPSCAD, CBO_MODIMPSCAD}, {LBL_MESI, TXT_MESI}, {LBL_DELTAIMPORTO, TXT_DELTAIMPORTO},
         {LBL_CREADISTINTA, CHK_CREADISTINTA}, {LBL_STAMPAASSEGNI, CHK_STAMPAASSEGNI},
         {LBL_GESTACCONTI, CHK_GESTIONEACCONTI}, {LBL_MODVISANTEPRIMA, CBO_MODVISANTEPRIMA}},
        {{LBL_TIPOREGISTRAZIONE, CBO_TIPOREGISTRAZIONE}, {LBL_CAUCOGE, TXT_CAUSALECOGE},
         {LBL_CONTODARE, TXT_CONTODARE}, {LBL_CONTOAVERE, TXT_CONTOAVERE}, {LBL_DETTREG, CBO_DETTREG},
         {LBL_DETTRIGACONT, CBO_DETTRIGACONT}, {LBL_DESCRCONTRAUTO, CBO_DESCRCONTRAUTO},
         {LBL_TESTOPARAMETRICO, TXT_TESTOPARAMETRICO}, {LBL_CAUABBUONI, TXT_CAUABBUONI},
         {LBL_CONTOABBUONIATTIVI, TXT_CONTOABBUONIATTIVI}, {LBL_CONTOABBUONIPASSIVI, TXT_CONTOABBUONIPASSIVI},
         {LBL_GESTIONERITENUTE, CBO_GESTIONERITENUTE}, {LBL_CODPAGACCONTI, TXT_CODPAGACCONTI},
         {LBL_SEZIONALEACCONTI, TXT_SEZIONALEACCONTI}},
        {},
        {},
        {{LBL_GRUPPO, TXT_GRUPPO}, {LBL_UTENTE, TXT_UTENTE}}};
    // The label hands the focus to the widget that takes it: the field's inner editor.
    for (const QList<Pair> &group : std::as_const(m_keyedLabels)) {
        for (const auto &[label, field] : group)
            label->setBuddy(field->focusProxy() ? field->focusProxy() : field);
    }
}

namespace {

// The letter marked with "&" in a caption, lower case; empty when there is none.
QString markedLetter(const QString &caption)
{
    const qsizetype at = caption.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
    return at >= 0 ? caption.mid(at + 1, 1).toLower() : QString();
}

} // namespace

void FormUi::assignAccessKeys()
{
    // Taken wherever the form is: the host's menus, the tabs' own keys.
    QString taken;
    for (QMenuBar *bar : m_form->window()->findChildren<QMenuBar *>()) {
        for (QAction *action : bar->actions())
            taken += markedLetter(action->text());
    }
    for (int i = 0; i < TAB_CONFIG->count(); ++i)
        taken += markedLetter(TAB_CONFIG->tabBar()->tabText(i));
    // The header's labels are on screen with every tab.
    const auto header = std::make_shared<QString>(taken);
    for (const auto &pair : m_keyedLabels.at(0))
        pair.first->setAccessKeyGroup(header);
    for (int i = 0; i < 5; ++i) {
        auto group = std::make_shared<QString>(*header);
        for (ButtonControl *button : tabPages[i]->findChildren<ButtonControl *>())
            group->append(markedLetter(button->text()));
        for (const auto &pair : m_keyedLabels.at(i + 1))
            pair.first->setAccessKeyGroup(group);
    }
}
