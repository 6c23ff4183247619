#include "window/formui.h"

#include "controls/designfont.h"
#include "controls/standardicon.h"
#include "params/parametercontrols.h"
#include "store/checkfacts.h"
#include "window/formtranslator.h"

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

namespace {

enum DesignFlag : int {
    Unbound = 1 << 0,          // not bound to a column (isdbfield False)
    UpperCase = 1 << 1,        // displayformat "Maiuscolo"
    Required = 1 << 2,
    Lookup = 1 << 3,           // the look-up key opens a list
    Decode = 1 << 4,           // the code is decoded into a description
    MasterMustExist = 1 << 5,  // an account's ledger master must exist
    NoCaptionShown = 1 << 6,   // a check box whose caption is the label beside it
    Border = 1 << 7,           // a label drawn with a border: a description read-out
    Picture = 1 << 8,          // a button showing an icon: its text is the tool tip
    Disabled = 1 << 9,
    Hidden = 1 << 10,
};

} // namespace

// The design properties of one control, as the form is created; 0 and null keep the
// control's default. The column a field is bound to, its kind and its length come from the
// binding table (params/parametercontrols.cpp), which the rules without a window read too.
struct FormUi::ControlDesign
{
    QWidget *(*create)(FormUi &ui, const QString &name);
    const char *name;
    int text = 0;  // caption, label text, frame or bar title (text id)
    int tag = 0;   // description used in messages (text id)
    int maxChar = 0;  // characters of a field the binding table gives no length
    int maxWidth = 0;  // visible width in characters
    int flags = 0;     // DesignFlag
    int labelStyle = 0;
    const char *lookupList = nullptr;
    const char *defaultValue = nullptr;
};

void FormUi::createControls()
{
    // The member a control is kept in is named as the control.
#define CONTROL(member) &FormUi::create<&FormUi::member>, #member
    // In design order, which is the order controls() gives.
    // control, text, tag, maxchar, maxwidth, flags, label style, look-up list, default
    static const ControlDesign designs[] = {
        // Causal header
        {CONTROL(FRA_CAUSALE)},
        {CONTROL(LBL_CAUSALE), 995001},
        {CONTROL(TXT_CAUSALE), 995002, 995002, 0, 5, Required | Lookup | Decode},
        {CONTROL(TXT_DESCRIZIONE), 995003, 995003, 0, 77},
        // Tab strip
        {CONTROL(TAB_CONFIG)},
        // Tab 0: settings
        {CONTROL(FRA_IMPOSTAZIONI)},
        {CONTROL(LBL_TIPOOPERAZIONE), 995004},
        {CONTROL(CBO_TIPOOPERAZIONE), 995005, 995005, 35},
        {CONTROL(LBL_TIPOSCADENZA), 995006},
        {CONTROL(CBO_TIPOSCADENZA), 995007, 995007, 35},
        {CONTROL(TXT_CAUSALECOMPCLI), 995008, 995008, 0, 5, Required | Lookup | Decode | Hidden},
        {CONTROL(TXT_CAUSALECOMPFOR), 995009, 995009, 0, 5, Required | Lookup | Decode | Hidden},
        {CONTROL(TXT_CAUSALICOMPDESCR), 0, 0, 5, 5, Unbound | Hidden},
        {CONTROL(LBL_MODRECUPERO), 995010},
        {CONTROL(CBO_MODRECUPERO), 995011, 995011, 35},
        {CONTROL(LBL_MODIMPMAX), 995012},
        {CONTROL(CBO_MODIMPMAX), 995013, 995013, 35},
        {CONTROL(LBL_GESTVALUTE), 995014},
        {CONTROL(CHK_GESTVALUTE), 995015, 995015, 0, 0, NoCaptionShown},
        {CONTROL(LBL_MODIMPSCAD), 995016},
        {CONTROL(CBO_MODIMPSCAD), 995017, 995017, 35},
        {CONTROL(CHK_INDGESTABBUONO), 995018, 995018},
        {CONTROL(LBL_MESI), 995019},
        {CONTROL(TXT_MESI), 995020, 995020, 0, 5},
        {CONTROL(LBL_DELTAIMPORTO), 995021},
        {CONTROL(TXT_DELTAIMPORTO), 995022, 995022, 0, 5},
        {CONTROL(CHK_NETTOPREVISIONALI), 995023, 995023},
        {CONTROL(LBL_CREADISTINTA), 995024},
        {CONTROL(CHK_CREADISTINTA), 995025, 995025, 0, 0, NoCaptionShown},
        {CONTROL(LBL_STAMPAASSEGNI), 995026},
        {CONTROL(CHK_STAMPAASSEGNI), 995027, 995027, 0, 0, NoCaptionShown},
        {CONTROL(LBL_GESTACCONTI), 995028},
        {CONTROL(CHK_GESTIONEACCONTI), 995029, 995029, 0, 0, NoCaptionShown},
        {CONTROL(LBL_MODVISANTEPRIMA), 995030},
        {CONTROL(CBO_MODVISANTEPRIMA), 0, 995031, 35},
        // Tab 1: ledger postings
        {CONTROL(FRA_REGISTRAZIONI), 995032},
        {CONTROL(LBL_TIPOREGISTRAZIONE), 995033},
        {CONTROL(CBO_TIPOREGISTRAZIONE), 995034, 995034, 15, 0, 0, 0, nullptr, "1"},
        {CONTROL(CHK_DESCRAGGTEST), 995035, 995036},
        {CONTROL(CHK_MODIFICACONTI), 995037, 995037},
        {CONTROL(CHK_NUMDATAORI), 995038, 995039},
        // Tab 1: posting details
        {CONTROL(FRA_PERSREGISTRAZIONE), 995040},
        {CONTROL(LBL_CAUCOGE), 995041},
        {CONTROL(TXT_CAUSALECOGE), 995042, 995042, 0, 4, UpperCase | Lookup | Decode, 0, "Causali contabili"},
        {CONTROL(TXT_DESCCAUINCPAG), 0, 0, 0, 0, Border},
        {CONTROL(LBL_CAUNORIT), 995043, 0, 0, 0, Border | Hidden, 1},
        {CONTROL(LBL_CONTODARE), 995044},
        {CONTROL(TXT_CONTODARE), 995045, 995045, 0, 0, Lookup | Decode | MasterMustExist},
        {CONTROL(TXT_DESCCONTODARE), 0, 0, 0, 0, Border},
        {CONTROL(LBL_CONTOAVERE), 995046},
        {CONTROL(TXT_CONTOAVERE), 995047, 995047, 0, 0, Lookup | Decode | MasterMustExist},
        {CONTROL(TXT_DESCCONTOAVERE), 0, 0, 0, 0, Border},
        {CONTROL(LBL_DETTREG), 995048},
        {CONTROL(CBO_DETTREG), 995049, 995049, 35, 0, 0, 0, nullptr, "0"},
        {CONTROL(LBL_MSGSEDE), 995050, 0, 0, 0, 0, 1},
        {CONTROL(LBL_DETTRIGACONT), 995051},
        {CONTROL(CBO_DETTRIGACONT), 995052, 995052, 35, 0, 0, 0, nullptr, "0"},
        {CONTROL(LBL_DESCRCONTRAUTO), 995053},
        {CONTROL(CBO_DESCRCONTRAUTO), 995054, 995054, 32, 0, 0, 0, nullptr, "0"},
        {CONTROL(LBL_TESTOPARAMETRICO), 995055},
        {CONTROL(TXT_TESTOPARAMETRICO), 995056, 995056, 0, 70},
        {CONTROL(BUT_LEGENDA), 995057, 0, 0, 0, Picture},
        {CONTROL(LBL_CAUABBUONI), 995058},
        {CONTROL(TXT_CAUABBUONI), 995059, 995059, 0, 4, UpperCase | Lookup | Decode, 0, "Causali contabili"},
        {CONTROL(TXT_DESCCAUABBUONI), 0, 0, 0, 0, Border},
        {CONTROL(LBL_CONTOABBUONIATTIVI), 995060},
        {CONTROL(TXT_CONTOABBUONIATTIVI), 995061, 995061, 0, 0, Lookup | Decode},
        {CONTROL(TXT_DESCCONTOABBUONIATTIVI), 0, 0, 0, 0, Border},
        {CONTROL(LBL_CONTOABBUONIPASSIVI), 995062},
        {CONTROL(TXT_CONTOABBUONIPASSIVI), 995063, 995063, 0, 0, Lookup | Decode},
        {CONTROL(TXT_DESCCONTOABBUONIPASSIVI), 0, 0, 0, 0, Border},
        {CONTROL(LBL_GESTIONERITENUTE), 995064},
        {CONTROL(CBO_GESTIONERITENUTE), 0, 995065, 19, 0, 0, 0, nullptr, "0"},
        // Tab 1: down payments
        // Shown with a causal that manages advances only: with none on screen there is no flag.
        {CONTROL(FRA_PERSREGISTRAZIONEACCONTI), 995066, 0, 0, 0, Hidden},
        {CONTROL(LBL_CODPAGACCONTI), 995067},
        {CONTROL(TXT_CODPAGACCONTI), 995068, 995068, 0, 4, UpperCase | Lookup | Decode, 0, "Cond. di pagamento"},
        {CONTROL(TXT_DESCRPAGACCONTI), 0, 0, 0, 0, Border},
        {CONTROL(LBL_SEZIONALEACCONTI), 995069},
        {CONTROL(TXT_SEZIONALEACCONTI), 995070, 995070, 0, 2, UpperCase | Lookup, 0, "Sezionali ditta", "00"},
        // Tab 2: due-date selection
        {CONTROL(FRA_TIPOSCADENZE), 995071},
        {CONTROL(KVS_SELSCADENZE)},
        {CONTROL(FRA_CHECKUTENTE)},
        {CONTROL(TTB_CHECK), 995072},
        {CONTROL(FRA_TIPOMOVIMENTO), 995073},
        {CONTROL(FRA_SEGNOSCADENZA), 995074},
        {CONTROL(FRA_TIPOSCADENZA), 995007},
        {CONTROL(FRA_ACCONTO), 995075},
        {CONTROL(FRA_GESTRITENUTE), 995076},
        {CONTROL(FRA_CHECKCAUSALE)},
        {CONTROL(TTB_IMPCAUSALI), 995077},
        {CONTROL(FRA_STATOMOVIMENTO), 995078},
        {CONTROL(FRA_TIPOPERAZIONE), 995005},
        {CONTROL(FRA_TIPOPRESENTAZIONE), 995079},
        {CONTROL(CMD_MODIFICACHECKCAUSALE), 995080},
        {CONTROL(CMD_CHECKCAUSALEDEFAULT), 995081},
        {CONTROL(LBL_CHECKWARNINGRITENUTE), 995082, 0, 0, 0, 0, 2},
        // Tab 3: layout
        {CONTROL(FRA_LAYOUT)},
        {CONTROL(TVCAMPI)},
        {CONTROL(BUT_SEL), 995083, 0, 0, 0, Picture},
        {CONTROL(BUT_DESEL), 995084, 0, 0, 0, Picture},
        {CONTROL(QGRID_LAYOUT)},
        {CONTROL(BUT_UP), 995085, 0, 0, 0, Picture},
        {CONTROL(BUT_DOWN), 995086, 0, 0, 0, Picture},
        // Tab 4: users
        {CONTROL(FRA_REVOKE)},
        {CONTROL(QGRID_GRUPPIUTENTI)},
        {CONTROL(GRIDNAVREVOKE)},
        {CONTROL(FRA_USER)},
        {CONTROL(LBL_GRUPPO), 995087},
        {CONTROL(TXT_GRUPPO), 0, 0, 64, 30, UpperCase | Lookup | Decode | Disabled},
        {CONTROL(LBL_DESCRGRUPPO), 0, 0, 0, 0, Border},
        {CONTROL(LBL_UTENTE), 995088},
        {CONTROL(TXT_UTENTE), 0, 0, 64, 30, UpperCase | Lookup | Decode | Disabled},
        {CONTROL(LBL_DESCRUTENTE), 0, 0, 0, 0, Border},
        // Footer
        {CONTROL(LBL_WARNINGRITENUTE), 995089, 0, 0, 0, Border | Hidden, 1},
        {CONTROL(INTERNAV)},
    };
#undef CONTROL
    for (const ControlDesign &design : designs)
        apply(design.create(*this, QString::fromLatin1(design.name)), design);

    // Its place is kept while hidden, so showing it never widens the form.
    QSizePolicy keepPlace = LBL_CAUNORIT->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    LBL_CAUNORIT->setSizePolicy(keepPlace);
    // A few lines, as the design shows; a taller window leaves the room below the rows.
    TXT_TESTOPARAMETRICO->setMaximumHeight(TXT_TESTOPARAMETRICO->fontMetrics().lineSpacing() * 5 + 8);
    TXT_GRUPPO->setTableName(QStringLiteral("FW06_GROUPUSR"));
    TXT_GRUPPO->setIdField(QStringLiteral("FW06_ID"));
    TXT_GRUPPO->setTextField(QStringLiteral("FW06_CODICE"));
    TXT_GRUPPO->setDescriptionField(QStringLiteral("FW06_DESCR"));
    TXT_UTENTE->setTableName(QStringLiteral("FW07_APPUSER"));
    TXT_UTENTE->setIdField(QStringLiteral("FW07_ID"));
    TXT_UTENTE->setTextField(QStringLiteral("FW07_USERNAME"));
    TXT_UTENTE->setDescriptionField(QStringLiteral("FW07_DESCR"));

    CHK_FILTER.fill(nullptr, CheckFacts::Count + 1);
    for (int i = 1; i <= CheckFacts::Count; ++i) {
        CheckField *box = make<CheckField>(QStringLiteral("CHK_FILTER_%1").arg(i));
        box->setIsDbField(false);
        box->setProperty("Index", i);
        CHK_FILTER[i] = box;
    }
    CHK_FILTER[7]->setCaption(t(FormText::CheckCashFlow));
    CHK_FILTER[6]->setCaption(t(FormText::CheckSimulazioni));
    for (const int hidden : CheckFacts::HiddenChecks)
        CHK_FILTER[hidden]->setVisible(false);
    // The checks show only with a causal, under their catalogue captions; captioned and kept in
    // place from the start, they give the tab its width before any causal is shown, so showing
    // one never widens the window.
    for (int i = 1; i <= CheckFacts::Count; ++i) {
        if (CheckFacts::isHidden(i))
            continue;
        if (const int caption = FormTranslator::checkTextId(i))
            CHK_FILTER[i]->setCaption(t(caption));
        QSizePolicy keepPlace = CHK_FILTER[i]->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        CHK_FILTER[i]->setSizePolicy(keepPlace);
        CHK_FILTER[i]->setVisible(false);
    }

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

void FormUi::apply(QWidget *control, const ControlDesign &design)
{
    const QString text = design.text ? t(design.text) : QString();
    if (auto *label = dynamic_cast<LabelControl *>(control)) {
        if (design.text)
            label->setText(text);
        if (design.flags & Border)
            label->setBorder(true);
        if ((design.flags & Border) && !design.text) {
            // A description read from the ledger may be long: it takes the room of its column
            // and never widens the window when a causal is shown.
            QSizePolicy policy = label->sizePolicy();
            policy.setHorizontalPolicy(QSizePolicy::Ignored);
            label->setSizePolicy(policy);
            label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 16);
        }
        if (design.labelStyle)
            label->setLabelStyle(design.labelStyle);
    } else if (auto *frame = dynamic_cast<FrameControl *>(control)) {
        if (design.text)
            frame->setTitle(text);
    } else if (auto *bar = dynamic_cast<TitleBar *>(control)) {
        if (design.text)
            bar->setText(text);
    } else if (auto *button = dynamic_cast<ButtonControl *>(control)) {
        if (design.text && (design.flags & Picture))
            button->setToolTip(text);
        else if (design.text)
            button->setText(text);
    } else if (auto *field = dynamic_cast<FieldControl *>(control)) {
        applyField(field, design);
    }
    if (design.flags & Disabled)
        control->setEnabled(false);
    if (design.flags & Hidden)
        control->setVisible(false);
}

void FormUi::applyField(FieldControl *field, const ControlDesign &design)
{
    auto *text = dynamic_cast<TextField *>(field);
    auto *combo = dynamic_cast<ComboField *>(field);
    auto *rich = dynamic_cast<RichTextField *>(field);
    if (design.text)
        field->setCaption(t(design.text));
    if (design.tag)
        field->setTag(t(design.tag));
    if (design.flags & NoCaptionShown) {
        if (auto *check = dynamic_cast<CheckField *>(field))
            check->setShowCaption(false);
    }
    // A bound field takes its column and what its column's binding says, so that checks
    // without a window hold stored values to the same length.
    const ParameterControls::Control *binding = ParameterControls::find(QLatin1String(design.name));
    if (binding)
        field->setDataField(QLatin1String(binding->column));
    if (design.flags & Unbound)
        field->setIsDbField(false);
    const int maxChar = binding && binding->maxChar ? binding->maxChar : design.maxChar;
    if (maxChar && text)
        text->setMaxChar(maxChar);
    if (design.maxChar && combo)
        combo->setMaxChar(design.maxChar);
    if (maxChar && rich)
        rich->setMaxChar(maxChar);
    if (design.maxWidth && text)
        text->setMaxWidth(design.maxWidth);
    if (design.maxWidth && rich)
        rich->setMaxWidth(design.maxWidth);
    if (text && (design.flags & UpperCase))
        text->setUpperCase(true);
    if (design.flags & Required)
        field->setRequired(true);
    if (text && (design.flags & Lookup))
        text->setLookup(true);
    if (text && (design.flags & Decode))
        text->setDecode(true);
    if (design.flags & MasterMustExist) {
        if (auto *account = dynamic_cast<AccountField *>(field))
            account->setControllaEsistenzaMastro(true);
    }
    if (text && design.lookupList)
        text->setTxtGestione(QString::fromUtf8(design.lookupList));
    if (design.defaultValue)
        field->setDefaultValue(QString::fromLatin1(design.defaultValue));
    // A number field of a whole-number column takes no decimal separator.
    if (binding && binding->kind == ParameterControls::Kind::Integer) {
        if (auto *number = dynamic_cast<NumberField *>(field))
            number->setWholeNumber(true);
    }
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
    // Frames of check boxes stacked three deep: the style's margins at every level would take
    // the room of a whole frame, and the tab no longer fit the host's smallest window.
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(1);
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
    // Made in the scroll area's viewport from the start: moved there with all its controls, it
    // would pass the fonts down to every one of them again.
    auto *content = new QWidget(m_scroll->viewport());
    content->setObjectName(QStringLiteral("FormContent"));
    auto *main = new QVBoxLayout(content);
    main->setContentsMargins(4, 4, 4, 4);
    main->setSpacing(4);

    auto *header = new QHBoxLayout(FRA_CAUSALE);
    header->setContentsMargins(6, 4, 6, 4);
    header->addWidget(LBL_CAUSALE);
    header->addWidget(TXT_CAUSALE);
    // The description stays beside the code however wide the window.
    header->addWidget(TXT_DESCRIZIONE);
    header->addStretch(1);
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
        acconti->addWidget(w, w == TXT_DESCRPAGACCONTI ? 1 : 0);
    pers->addWidget(FRA_PERSREGISTRAZIONEACCONTI, 10, 0, 1, 3);
    pers->setColumnStretch(2, 1);
    pers->setRowStretch(11, 1);
    // Eleven rows with the advances shown: at the style's spacing they need more than the
    // host's smallest window has.
    pers->setVerticalSpacing(3);
    acconti->setContentsMargins(0, 0, 0, 0);
    // The labels take other captions with the operation type: the field column stands where
    // the longest of them puts it, for every type.
    int widest = 0;
    for (int id : {995041, 995044, 995046, 995048, 995051, 995055, 995058, 995060, 995062, 995064, 85467, 85469,
                   85470, 85468, 10373, 85472, 85471, 16163, 15607, 15608, 10335, 15708, 15626})
        widest = qMax(widest, LBL_CAUCOGE->fontMetrics().horizontalAdvance(t(id) + QStringLiteral("  ")));
    pers->setColumnMinimumWidth(0, widest + LBL_CAUCOGE->contentsMargins().left()
                                         + LBL_CAUCOGE->contentsMargins().right() + 2 * LBL_CAUCOGE->margin());

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
    // The walk ends at the last of the control's own widgets, not once around the whole form's
    // chain for every control.
    qsizetype left = 1 + control->findChildren<QWidget *>().size();  // the control and all below it
    QList<QWidget *> stops;
    QWidget *w = control;
    do {
        if (w == control || control->isAncestorOf(w)) {
            --left;
            if (!w->focusProxy() && (w->focusPolicy() & Qt::TabFocus))
                stops.append(w);
        }
        w = w->nextInFocusChain();
    } while (w && w != control && left > 0);
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

LabelControl *FormUi::labelOf(const QWidget *field) const
{
    for (const auto &group : m_keyedLabels) {
        for (const auto &[label, control] : group) {
            if (control == field)
                return label;
        }
    }
    return nullptr;
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
    // The two compensation causals of type 6 share the row's label: the pointer names each.
    for (CodeField *field : {TXT_CAUSALECOMPCLI, TXT_CAUSALECOMPFOR})
        field->setToolTip(field->caption());
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
    static const QRegularExpression marker(QStringLiteral("&[^&]"));
    const qsizetype at = caption.indexOf(marker);
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
        const QList<QPair<LabelControl *, QWidget *>> &labels = m_keyedLabels.at(i + 1);
        QStringList captions;
        for (const auto &pair : labels)
            captions.append(pair.first->caption());
        const QList<QChar> keys = LabelControl::matchAccessKeys(captions, *group);
        // Keyed labels first: a label left without a letter must not take another's.
        for (bool keyed : {true, false}) {
            for (qsizetype k = 0; k < labels.size(); ++k) {
                if (keys.at(k).isNull() != keyed)
                    labels.at(k).first->setAccessKeyGroup(group, keys.at(k));
            }
        }
    }
}
