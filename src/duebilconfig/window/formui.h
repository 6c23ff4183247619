#pragma once

#include "controls/accountfield.h"
#include "controls/buttoncontrol.h"
#include "controls/checkfield.h"
#include "controls/codefield.h"
#include "controls/combofield.h"
#include "controls/duedateselector.h"
#include "controls/framecontrol.h"
#include "controls/gridcontrol.h"
#include "controls/gridnavigator.h"
#include "controls/idlookupfield.h"
#include "controls/labelcontrol.h"
#include "controls/numberfield.h"
#include "controls/recordnavigator.h"
#include "controls/richtextfield.h"
#include "controls/tabstrip.h"
#include "controls/textfield.h"
#include "controls/titlebar.h"
#include "controls/treeviewcontrol.h"

#include <QVector>
#include <functional>
#include <type_traits>

class QScrollArea;

// Text ids of the window's own captions and titles (module texts).
namespace FormText {
enum : int {
    TabGenerale = 995090,
    TabRegistrazione,
    TabSelezione,
    TabLayout,
    TabUtenti,
    CheckCashFlow,
    CheckSimulazioni,
    ColIdGruppo,
    ColCodGruppo,
    ColGruppo,
    ColIdUtente,
    ColCodUtente,
    ColUtente,
    TitleGruppi,
    TitleUtenti,
    ColCodice,
    ColDescrizione,
    ColId,
    TitleCausaliIncassi,
    TitleCausaliPagamenti,
    PromptNuovoCodice,
    FormCaption,
    TitleCausali,
    TitleCausaliContabili,
    TitleConti,
    TitleCondizioniPagamento,
    TitleSezionali,
    ColCampo,
    ColOrdine,
    ColTipoOrdinamento,
    ColRaggruppamento,
    AskSave = 995200,
    AskDelete = 995210,
    NotAvailable = 995211,
    StatusSaved = 995290,
    StatusCreated,
    StatusDeleted,
    StatusUndone,
    FieldNamed,
};
}

// The controls of the configuration window, by design name, laid out on the header, the five
// tabs of TAB_CONFIG and the footer. Captions come from the text store.
class FormUi
{
public:
    using TextLookup = std::function<QString(int)>;

    void setupUi(QWidget *form, const TextLookup &text);

    // Every control the window has, in design order.
    QList<QWidget *> controls() const;
    // The label that names a field on screen (null when it has none of its own).
    LabelControl *labelOf(const QWidget *field) const;
    // The form's contents scroll inside it when the host's area is smaller than they need.
    QScrollArea *scrollArea() const;

    FrameControl *FRA_CAUSALE = nullptr;
    LabelControl *LBL_CAUSALE = nullptr;
    CodeField *TXT_CAUSALE = nullptr;
    TextField *TXT_DESCRIZIONE = nullptr;
    TabStrip *TAB_CONFIG = nullptr;
    FrameControl *FRA_IMPOSTAZIONI = nullptr;
    LabelControl *LBL_TIPOOPERAZIONE = nullptr;
    ComboField *CBO_TIPOOPERAZIONE = nullptr;
    LabelControl *LBL_TIPOSCADENZA = nullptr;
    ComboField *CBO_TIPOSCADENZA = nullptr;
    CodeField *TXT_CAUSALECOMPCLI = nullptr;
    CodeField *TXT_CAUSALECOMPFOR = nullptr;
    TextField *TXT_CAUSALICOMPDESCR = nullptr;
    LabelControl *LBL_MODRECUPERO = nullptr;
    ComboField *CBO_MODRECUPERO = nullptr;
    LabelControl *LBL_MODIMPMAX = nullptr;
    ComboField *CBO_MODIMPMAX = nullptr;
    LabelControl *LBL_GESTVALUTE = nullptr;
    CheckField *CHK_GESTVALUTE = nullptr;
    LabelControl *LBL_MODIMPSCAD = nullptr;
    ComboField *CBO_MODIMPSCAD = nullptr;
    CheckField *CHK_INDGESTABBUONO = nullptr;
    LabelControl *LBL_MESI = nullptr;
    NumberField *TXT_MESI = nullptr;
    LabelControl *LBL_DELTAIMPORTO = nullptr;
    NumberField *TXT_DELTAIMPORTO = nullptr;
    CheckField *CHK_NETTOPREVISIONALI = nullptr;
    LabelControl *LBL_CREADISTINTA = nullptr;
    CheckField *CHK_CREADISTINTA = nullptr;
    LabelControl *LBL_STAMPAASSEGNI = nullptr;
    CheckField *CHK_STAMPAASSEGNI = nullptr;
    LabelControl *LBL_GESTACCONTI = nullptr;
    CheckField *CHK_GESTIONEACCONTI = nullptr;
    LabelControl *LBL_MODVISANTEPRIMA = nullptr;
    ComboField *CBO_MODVISANTEPRIMA = nullptr;
    FrameControl *FRA_REGISTRAZIONI = nullptr;
    LabelControl *LBL_TIPOREGISTRAZIONE = nullptr;
    ComboField *CBO_TIPOREGISTRAZIONE = nullptr;
    CheckField *CHK_DESCRAGGTEST = nullptr;
    CheckField *CHK_MODIFICACONTI = nullptr;
    CheckField *CHK_NUMDATAORI = nullptr;
    FrameControl *FRA_PERSREGISTRAZIONE = nullptr;
    LabelControl *LBL_CAUCOGE = nullptr;
    TextField *TXT_CAUSALECOGE = nullptr;
    LabelControl *TXT_DESCCAUINCPAG = nullptr;
    LabelControl *LBL_CAUNORIT = nullptr;
    LabelControl *LBL_CONTODARE = nullptr;
    AccountField *TXT_CONTODARE = nullptr;
    LabelControl *TXT_DESCCONTODARE = nullptr;
    LabelControl *LBL_CONTOAVERE = nullptr;
    AccountField *TXT_CONTOAVERE = nullptr;
    LabelControl *TXT_DESCCONTOAVERE = nullptr;
    LabelControl *LBL_DETTREG = nullptr;
    ComboField *CBO_DETTREG = nullptr;
    LabelControl *LBL_MSGSEDE = nullptr;
    LabelControl *LBL_DETTRIGACONT = nullptr;
    ComboField *CBO_DETTRIGACONT = nullptr;
    LabelControl *LBL_DESCRCONTRAUTO = nullptr;
    ComboField *CBO_DESCRCONTRAUTO = nullptr;
    LabelControl *LBL_TESTOPARAMETRICO = nullptr;
    RichTextField *TXT_TESTOPARAMETRICO = nullptr;
    ButtonControl *BUT_LEGENDA = nullptr;
    LabelControl *LBL_CAUABBUONI = nullptr;
    TextField *TXT_CAUABBUONI = nullptr;
    LabelControl *TXT_DESCCAUABBUONI = nullptr;
    LabelControl *LBL_CONTOABBUONIATTIVI = nullptr;
    AccountField *TXT_CONTOABBUONIATTIVI = nullptr;
    LabelControl *TXT_DESCCONTOABBUONIATTIVI = nullptr;
    LabelControl *LBL_CONTOABBUONIPASSIVI = nullptr;
    AccountField *TXT_CONTOABBUONIPASSIVI = nullptr;
    LabelControl *TXT_DESCCONTOABBUONIPASSIVI = nullptr;
    LabelControl *LBL_GESTIONERITENUTE = nullptr;
    ComboField *CBO_GESTIONERITENUTE = nullptr;
    FrameControl *FRA_PERSREGISTRAZIONEACCONTI = nullptr;
    LabelControl *LBL_CODPAGACCONTI = nullptr;
    TextField *TXT_CODPAGACCONTI = nullptr;
    LabelControl *TXT_DESCRPAGACCONTI = nullptr;
    LabelControl *LBL_SEZIONALEACCONTI = nullptr;
    TextField *TXT_SEZIONALEACCONTI = nullptr;
    FrameControl *FRA_TIPOSCADENZE = nullptr;
    DueDateSelector *KVS_SELSCADENZE = nullptr;
    FrameControl *FRA_CHECKUTENTE = nullptr;
    TitleBar *TTB_CHECK = nullptr;
    FrameControl *FRA_TIPOMOVIMENTO = nullptr;
    FrameControl *FRA_SEGNOSCADENZA = nullptr;
    FrameControl *FRA_TIPOSCADENZA = nullptr;
    FrameControl *FRA_ACCONTO = nullptr;
    FrameControl *FRA_GESTRITENUTE = nullptr;
    FrameControl *FRA_CHECKCAUSALE = nullptr;
    TitleBar *TTB_IMPCAUSALI = nullptr;
    FrameControl *FRA_STATOMOVIMENTO = nullptr;
    FrameControl *FRA_TIPOPERAZIONE = nullptr;
    FrameControl *FRA_TIPOPRESENTAZIONE = nullptr;
    ButtonControl *CMD_MODIFICACHECKCAUSALE = nullptr;
    ButtonControl *CMD_CHECKCAUSALEDEFAULT = nullptr;
    LabelControl *LBL_CHECKWARNINGRITENUTE = nullptr;
    FrameControl *FRA_LAYOUT = nullptr;
    TreeViewControl *TVCAMPI = nullptr;
    ButtonControl *BUT_SEL = nullptr;
    ButtonControl *BUT_DESEL = nullptr;
    GridControl *QGRID_LAYOUT = nullptr;
    ButtonControl *BUT_UP = nullptr;
    ButtonControl *BUT_DOWN = nullptr;
    FrameControl *FRA_REVOKE = nullptr;
    GridControl *QGRID_GRUPPIUTENTI = nullptr;
    GridNavigator *GRIDNAVREVOKE = nullptr;
    FrameControl *FRA_USER = nullptr;
    LabelControl *LBL_GRUPPO = nullptr;
    IdLookupField *TXT_GRUPPO = nullptr;
    LabelControl *LBL_DESCRGRUPPO = nullptr;
    LabelControl *LBL_UTENTE = nullptr;
    IdLookupField *TXT_UTENTE = nullptr;
    LabelControl *LBL_DESCRUTENTE = nullptr;
    LabelControl *LBL_WARNINGRITENUTE = nullptr;
    RecordNavigator *INTERNAV = nullptr;
    // The selection checks, elements 1 to 32 ("CHK_FILTER_1" ...); element 0 is empty.
    QVector<CheckField *> CHK_FILTER;
    QWidget *tabPages[5] = {};

private:
    template <typename T>
    T *make(const QString &name)
    {
        auto *w = new T(m_form);
        w->setObjectName(name);
        m_controls.append(w);
        return w;
    }
    // One control of the design: creates it into its member.
    template <auto Member>
    static QWidget *create(FormUi &ui, const QString &name)
    {
        auto *control = ui.make<std::remove_pointer_t<std::remove_reference_t<decltype(ui.*Member)>>>(name);
        ui.*Member = control;
        return control;
    }
    struct ControlDesign;
    void createControls();
    void apply(QWidget *control, const ControlDesign &design);
    void applyField(FieldControl *field, const ControlDesign &design);
    void layOut();
    // Tab visits the header, then the controls of the current tab from top to bottom and left
    // to right, then the navigator.
    void setTabOrder();
    // Each field label moves to its field with Alt and a letter of its caption.
    void setBuddies();
    void assignAccessKeys();

    QWidget *m_form = nullptr;
    QScrollArea *m_scroll = nullptr;
    // Labels with buddies: the header's, then each tab's.
    QList<QList<QPair<LabelControl *, QWidget *>>> m_keyedLabels;
    TextLookup t;
    QList<QWidget *> m_controls;
};
