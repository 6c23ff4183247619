#include "form/frmcg_duebilconfig.h"

#include "ado/recordset.h"
#include "causals_ui/causalrecords.h"
#include "checks_ui/selectionchecks.h"
#include "exclusions_ui/userexclusions.h"
#include "framework/activenavigator.h"
#include "framework/cinterface.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/debugtrace.h"
#include "framework/scriptobjectmodel.h"
#include "framework/testiparametrizzabili.h"
#include "layout_ui/layoutpersonalisation.h"
#include "params/parametercontrols.h"
#include "params/valuerules.h"
#include "params_ui/causalparameters.h"
#include "store/adoerrorclassifier.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formkeyboard.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTimer>

namespace S = DueBilStatements;

struct FRMCG_DUEBILCONFIG::Private
{
    InstanceId instance;
    bool placed = false;
    std::unique_ptr<CausalRecords> causals;
    std::unique_ptr<SelectionChecks> checks;
    std::unique_ptr<CausalParameters> params;
    std::unique_ptr<LayoutPersonalisation> layout;
    std::unique_ptr<UserExclusions> exclusions;
    QObject *formBinding = nullptr;
    FormKeyboard *keyboard = nullptr;  // child of the form
    bool loaded = false;
    bool handlersConnected = false;
    // Called on a causal that does not exist: the window says so once it is open.
    bool calledCausalMissing = false;
    QTimer pendingMark;   // the title's mark, brought up to date once the action ends
};

QString FRMCG_DUEBILCONFIG::moduleName()
{
    return QStringLiteral("CGUO_DUEBILCONFIG");
}

QString FRMCG_DUEBILCONFIG::formClassName()
{
    return QStringLiteral("FRMCG_DUEBILCONFIG");
}

FRMCG_DUEBILCONFIG::FRMCG_DUEBILCONFIG(QWidget *parent)
    : MdiForm(formClassName(), parent), d(std::make_unique<Private>())
{
    Form_Initialize();
}

FRMCG_DUEBILCONFIG::~FRMCG_DUEBILCONFIG()
{
    // Form_Terminate: the same identifier as the creation line.
    DebugTrace::write(d->instance.value(), DebugTrace::Phase::Ter, moduleName(), formClassName());
}

void FRMCG_DUEBILCONFIG::Form_Initialize()
{
    ErrorTrap::runIgnoringErrors({
        [&] { DebugTrace::write(d->instance.value(), DebugTrace::Phase::Ini, moduleName(), formClassName()); },
        [&] {
            ctx.activated = false;
            ctx.Gbol_ImpostaCombo = false;
            ctx.closing = false;
        },
    });
    ctx.form = this;
    ctx.translator.setTextService([this](int id, const QStringList &params, bool *ok) {
        if (!ctx.global) {
            *ok = false;
            return QString();
        }
        return ctx.global->text(id, params, ok);
    });
}

void FRMCG_DUEBILCONFIG::setCaption(const QString &caption)
{
    MdiForm::setCaption(caption);
    // Setting the caption loads the form, as the host's forms do.
    if (!d->loaded)
        Form_Load();
}

void FRMCG_DUEBILCONFIG::Form_Load()
{
    d->loaded = true;
    ctx.Gcls_Interface = Gcls_Interface();
    ctx.Gcls_Parent = Gcls_Parent();
    ctx.global = ctx.Gcls_Interface ? ctx.Gcls_Interface->clsGlobal() : nullptr;
    // The controls exist from the load on, so the host can place and show the window.
    ctx.ui.setupUi(this, [this](int id) { return ctx.t(id); });
    d->keyboard = new FormKeyboard(this, ctx.ui);
    d->causals = std::make_unique<CausalRecords>(ctx);
    d->checks = std::make_unique<SelectionChecks>(ctx);
    d->params = std::make_unique<CausalParameters>(ctx);
    d->layout = std::make_unique<LayoutPersonalisation>(ctx);
    d->exclusions = std::make_unique<UserExclusions>(ctx);
    ctx.checks = d->checks.get();
    ctx.params = d->params.get();
    ctx.layout = d->layout.get();
    ErrorTrap::runIgnoringErrors({[&] {
        // The form binding of the host: an object tied to the contract for the form's life.
        d->formBinding = new QObject(this);
        d->formBinding->setObjectName(QStringLiteral("ClsFormBinding"));
    }});
    resize(960, 620);
}

FormContext &FRMCG_DUEBILCONFIG::context()
{
    return ctx;
}

CausalParameters &FRMCG_DUEBILCONFIG::parameters()
{
    return *d->params;
}

bool FRMCG_DUEBILCONFIG::isActivated() const
{
    return ctx.activated;
}

void FRMCG_DUEBILCONFIG::showEvent(QShowEvent *event)
{
    MdiForm::showEvent(event);
    if (ctx.activated || d->placed)
        return;
    d->placed = true;
    MDIActiveX1_FormLoad();
    if (QMdiSubWindow *sub = subWindow()) {
        if (QMdiArea *area = sub->mdiArea()) {
            connect(area, &QMdiArea::subWindowActivated, this, &FRMCG_DUEBILCONFIG::subWindowActivated);
            // The host's WindowState (2 maximised), Top and Left (twips) place the window;
            // it never starts larger than the area nor outside it.
            const QSize room = area->viewport()->size();
            sub->resize(fittingFrameSize(size()));
            const int left = ctx.Gcls_Interface ? ctx.Gcls_Interface->left().toInt() / 15 : 0;
            const int top = ctx.Gcls_Interface ? ctx.Gcls_Interface->top().toInt() / 15 : 0;
            sub->move(qBound(0, left, qMax(0, room.width() - sub->width())),
                      qBound(0, top, qMax(0, room.height() - sub->height())));
            if (ctx.Gcls_Interface && ctx.Gcls_Interface->windowState() == 2)
                sub->showMaximized();
        }
    }
    QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void FRMCG_DUEBILCONFIG::subWindowActivated(QMdiSubWindow *window)
{
    if (window && window == subWindow())
        Form_Activate();
}

void FRMCG_DUEBILCONFIG::Form_Activate()
{
    if (!ctx.Gcls_Interface || ctx.closing)
        return;
    AggiornaNavigatore();
    if (ctx.activated)
        return;
    const ado::ReadScope action;
    const ErrorTrap::Outcome outcome = ctx.trapped(QStringLiteral("Form_Activate"), {
        [&] {
            ctx.connectionString = ctx.global->connectionString();
        },
        [&] {
            auto connection = std::make_shared<ado::Connection>();
            connection->setConnectionString(ctx.connectionString);
            connection->setStatementsLogged(true);
            // Held before it opens: when it cannot open and the user goes on, every later
            // statement reports the closed connection instead of reaching for none.
            ctx.Gcnn_Connessione = connection;
            connection->Open(QString(), QString(), QString(), -1);
            ctx.Gcls_Interface->setConnection(connection);
            // The tables a save writes, and the history's, described now in one statement: the
            // first save then asks the catalogue nothing. Should this fail, each is asked alone.
            QStringList written{DueBilStatements::HistoryTable};
            for (const CausalConfiguration::Table &t : CausalConfiguration::tables())
                written.append(QLatin1String(t.table));
            ErrorTrap::runIgnoringErrors({[&] { connection->describeTables(written); }});
        },
        [&] {
            // A start-up run again keeps the services: their error trap is running it.
            if (!ctx.Gcls_Servizi) {
                ctx.Gcls_Servizi = std::make_unique<ClsServizi>(ctx.global);
                ctx.Gcls_Servizi->errorTrap().setClassifier(adoErrorClassifier(&ctx.global->textStore()));
            }
            ctx.Gcls_Servizi->Prepara();
            ctx.Gcls_Servizi->Inizializza(ctx.Gcls_Interface, ctx.Gcnn_Connessione, ctx.t(FormText::FormCaption),
                                          quintptr(winId()), windowTitle());
        },
        [&] {
            ctx.company = ctx.global->company();
        },
        [&] {
            d->causals->completeMissingRows();
        },
        [&] {
            d->params->ImpostaCombo(false);
        },
        [&] {
            InizializzaOggettiLocali();
        },
        [&] {
            d->layout->CaricaTreeViewCampi();
        },
        [&] {
            d->layout->InitGrid();
            d->exclusions->InitGrid();
        },
        [&] {
            if (!framesReady()) {
                // A start-up left half-way runs again at the next activation: frames anew.
                for (auto *frame : {&ctx.FME_CAUSALI, &ctx.FME_LAYOUT, &ctx.FME_FILTRI, &ctx.FME_PARAMETRI,
                                    &ctx.FME_PARAMETRIDITTA, &ctx.FME_PARAMPERSREG, &ctx.FME_UTENTI})
                    frame->reset();
                ImpostaVirtualFrame();
            }
            requireFrames();
            // The handlers work on every frame: connected once, when all of them exist.
            if (!d->handlersConnected) {
                connectHandlers();
                d->handlersConnected = true;
            }
        },
        [&] {
            requireFrames();
            ctx.FME_CAUSALI->setStatus(DataFrame::StatusQuery);
        },
        [&] {
            const QString external =
                ctx.Gcls_Parent ? ctx.nz(ctx.Gcls_Parent->property("CausaleEsterna"), QString()).toString() : QString();
            if (ctx.Gcls_Interface->isCalled() && !external.trimmed().isEmpty()) {
                ctx.ui.INTERNAV->setCalledMode(true, false);
                ctx.ui.INTERNAV->setOption(2, false);
                // Only a code as the field holds it opens a causal: the field's digit filter and
                // length would otherwise turn "3100" or "3x10" into another code.
                static const QRegularExpression code(QStringLiteral("^[0-9]{1,3}$"));
                if (code.match(external.trimmed()).hasMatch()) {
                    requireFrames();
                    ctx.ui.TXT_CAUSALE->setText(external.trimmed());
                    if (!d->causals->EseguiQuery())
                        d->calledCausalMissing = true;
                }
            } else {
                ctx.ui.INTERNAV->setCalledMode(false, false);
            }
        },
        [&] {
            requireFrames();
            d->params->AttivaEditControlli();
        },
        [&] {
            InizializzaScriptELayout();
        },
        [&] {
            ctx.ui.TAB_CONFIG->setTabVisible(4, ctx.global->securityUsersTab());
            ctx.ui.TAB_CONFIG->setTab(0);
        },
        [&] {
            ctx.ui.TXT_CAUSALE->setEnabled(true);
            ctx.ui.TXT_CAUSALE->SetFocus();
        },
        [&] {
            // Called for one causal that is not there: the window says so and offers nothing
            // to type, since nothing typed could be saved.
            if (!d->calledCausalMissing)
                return;
            ctx.ui.TXT_CAUSALE->setEnabled(false);
            ctx.ui.TXT_DESCRIZIONE->setEnabled(false);
            ctx.msgBox(MessageId::CausalMissing, {ctx.causalCode()});
        },
        [&] {
            ctx.activated = true;
        },
    });
    Q_UNUSED(outcome);
}

bool FRMCG_DUEBILCONFIG::holdsUnsavedChanges() const
{
    // Read from the frames' flags, not through their change event: looking must not run the
    // enabling rules the event runs.
    if (!ctx.FME_CAUSALI || ctx.FME_CAUSALI->Status() == DataFrame::StatusQuery)
        return false;
    for (DataFrame *frame : QList<DataFrame *>{ctx.FME_CAUSALI.get()} + ctx.children()) {
        if (frame->RecordChanged() || frame->BatchPending())
            return true;
        // A text typed and not yet accepted is a change too: it reaches the row on leaving.
        for (QWidget *control : frame->boundControls()) {
            if (auto *field = qobject_cast<TextField *>(control); field && field->hasUncommittedText())
                return true;
        }
    }
    return false;
}

void FRMCG_DUEBILCONFIG::updatePendingMark()
{
    if (!ctx.closing)
        setPendingChanges(holdsUnsavedChanges());
}

QVariant FRMCG_DUEBILCONFIG::AggiornaNavigatore()
{
    ErrorTrap::runIgnoringErrors({
        [&] { ctx.global->activate(ctx.Gcls_Interface); },
        [&] {
            if (QObject *frame = ctx.Gcls_Interface->activeFrame())
                ctx.Gcls_Interface->activeNavigator()->setStatus(qint16(frame->property("Status").toInt()));
        },
        [&] { ctx.Gcls_Interface->activeNavigator()->refresh(); },
    });
    return {};
}

void FRMCG_DUEBILCONFIG::InizializzaOggettiLocali()
{
    ctx.trapped(QStringLiteral("InizializzaOggettiLocali"), {
        [&] {
            for (AccountField *account : {ctx.ui.TXT_CONTODARE, ctx.ui.TXT_CONTOAVERE, ctx.ui.TXT_CONTOABBUONIATTIVI,
                                          ctx.ui.TXT_CONTOABBUONIPASSIVI}) {
                account->setProperty("hostInterface", QVariant::fromValue(static_cast<QObject *>(ctx.Gcls_Parent)));
                account->setProperty("accountGroup", int(ctx.global->companyAccountGroup()));
                account->setProperty("company", ctx.company);
                account->setProperty("date", QDate::currentDate());
            }
            d->params->connectAccountFields();
        },
        [&] { ctx.Gcls_TestiParametrizzabili = std::make_unique<TestiParametrizzabili>(); },
        [&] {
            ctx.ui.KVS_SELSCADENZE->setConnection(ctx.Gcnn_Connessione);
            ctx.ui.KVS_SELSCADENZE->setHostInterface(ctx.Gcls_Parent);
            ctx.ui.KVS_SELSCADENZE->setForm(this);
            ctx.ui.KVS_SELSCADENZE->setCompany(ctx.companyText());
            ctx.ui.KVS_SELSCADENZE->setTextLookup([this](int id) { return ctx.t(id); });
        },
    });
}

namespace {

// A frame over its own recordset, opened on the form's connection with the statement given.
std::unique_ptr<DataFrame> makeFrame(FormContext &ctx, const QString &name, const QString &statement,
                                     const QString &keyColumn, QObject *navigator, QWidget *grid, int marshal)
{
    auto rs = std::make_shared<ado::Recordset>();
    rs->setActiveConnection(ctx.Gcnn_Connessione);
    rs->setSource(statement);
    rs->Open(QString(), {}, -1, -1, -1);
    if (marshal >= 0)
        rs->setMarshalOptions(marshal);
    auto frame = std::make_unique<DataFrame>();
    frame->setObjectName(name);
    frame->Initialize(ctx.Gcls_Parent, ctx.Gcnn_Connessione, rs, statement, keyColumn, navigator, grid);
    frame->setErrorHandler([&ctx, name](const QString &operation, const QString &message) {
        if (ctx.Gcls_Servizi)
            ctx.Gcls_Servizi->errorTrap().report(name + QLatin1Char('.') + operation, ErrorTrap::GenericErrorNumber,
                                                 message);
    });
    return frame;
}

// Every bound control writes its column's own type: the conversion of its kind.
void bindControls(FormContext &ctx, DataFrame &frame, const QList<ParameterControls::Control> &controls)
{
    for (const ParameterControls::Control &c : controls) {
        const ParameterControls::Kind kind = c.kind;
        frame.Bind(ctx.control(QLatin1String(c.name)), QLatin1String(c.column),
                   [kind](const QVariant &shown) { return ParameterControls::columnValue(kind, shown); });
    }
}

} // namespace

void FRMCG_DUEBILCONFIG::ImpostaVirtualFrame()
{
    FormUi &ui = ctx.ui;
    auto child = [&](DataFrame &frame) {
        frame.setChildOption(0);
        if (!ctx.FME_CAUSALI)
            throw NumberedError(ErrorTrap::GenericErrorNumber,
                                ctx.t(FormText::NotAvailable, {QStringLiteral("FME_CAUSALI")}));
        ctx.FME_CAUSALI->AddChild(&frame);
    };
    ctx.trapped(QStringLiteral("ImpostaVirtualFrame"), {
        [&] {
            ctx.FME_CAUSALI = makeFrame(ctx, QStringLiteral("FME_CAUSALI"), S::frameCausali(), QStringLiteral("CGP0_CODICE"),
                                        ui.INTERNAV, nullptr, 1);
            bindControls(ctx, *ctx.FME_CAUSALI, ParameterControls::causalHeader());
            ctx.FME_CAUSALI->setKeyControl(ui.TXT_CAUSALE);
            ui.INTERNAV->setHostInterface(ctx.Gcls_Parent);
            ui.INTERNAV->setFrame(ctx.FME_CAUSALI.get());
            ctx.Gcls_Interface->setActiveFrame(ctx.FME_CAUSALI.get());
            ui.INTERNAV->AddCommand(QStringLiteral("Duplica"), ctx.t(2803), QStringLiteral("Annulla"));
            const bool options[6] = {false, false, true, false, false, false};
            for (int i = 0; i < 6; ++i)
                ui.INTERNAV->setOption(i, options[i]);
            ui.INTERNAV->setCommandEnabled(QStringLiteral("Duplica"), false);
            ctx.FME_CAUSALI->setAskSave([this] {
                const int answer = ctx.showMessage(FormText::AskSave, {}, MsgStyle::YesNoCancel | MsgStyle::Question);
                return answer == MsgAnswer::Yes ? DataFrame::SaveYes
                    : answer == MsgAnswer::No   ? DataFrame::SaveNo
                                                : DataFrame::SaveCancel;
            });
            ui.INTERNAV->setConfirmDelete([this] {
                const int answer = ctx.showMessage(FormText::AskDelete, {ctx.causalCode(), ctx.ui.TXT_DESCRIZIONE->Text()},
                                                   MsgStyle::YesNo | MsgStyle::Question);
                return answer == MsgAnswer::Yes;
            });
        },
        [&] {
            ctx.FME_LAYOUT = makeFrame(ctx, QStringLiteral("FME_LAYOUT"), S::frameLayout(), QStringLiteral("CGP3_CAUSALE_CGP0"),
                                       nullptr, ui.QGRID_LAYOUT, -1);
            child(*ctx.FME_LAYOUT);
        },
        [&] {
            ctx.FME_FILTRI = makeFrame(ctx, QStringLiteral("FME_FILTRI"), S::frameFiltri(), QStringLiteral("CGP4_IDCHECK_CGP2"),
                                       nullptr, nullptr, 1);
            child(*ctx.FME_FILTRI);
        },
        [&] {
            ctx.FME_PARAMETRI = makeFrame(ctx, QStringLiteral("FME_PARAMETRI"), S::frameParametri(),
                                          QStringLiteral("CGP5_CAUSALE_CGP0"), nullptr, nullptr, 1);
            bindControls(ctx, *ctx.FME_PARAMETRI, ParameterControls::generalParameters());
            child(*ctx.FME_PARAMETRI);
        },
        [&] {
            ctx.FME_PARAMETRIDITTA = makeFrame(ctx, QStringLiteral("FME_PARAMETRIDITTA"), S::frameParametriDitta(),
                                               QStringLiteral(" CGP6_CAUSALE_CGP0"), nullptr, nullptr, 1);
            bindControls(ctx, *ctx.FME_PARAMETRIDITTA, ParameterControls::companyParameters());
            child(*ctx.FME_PARAMETRIDITTA);
        },
        [&] {
            ctx.FME_PARAMPERSREG = makeFrame(ctx, QStringLiteral("FME_PARAMPERSREG"), S::frameParamPersReg(),
                                             QStringLiteral(" CGP7_CAUSALE_CGP0"), nullptr, nullptr, 1);
            bindControls(ctx, *ctx.FME_PARAMPERSREG, ParameterControls::postingParameters());
            child(*ctx.FME_PARAMPERSREG);
        },
        [&] {
            ctx.FME_UTENTI = makeFrame(ctx, QStringLiteral("FME_UTENTI"), S::frameUtenti(), QStringLiteral("ID"),
                                       ui.GRIDNAVREVOKE, ui.QGRID_GRUPPIUTENTI, 1);
            bindControls(ctx, *ctx.FME_UTENTI, ParameterControls::exclusionRows());
            ui.GRIDNAVREVOKE->setFrame(ctx.FME_UTENTI.get());
            ui.QGRID_GRUPPIUTENTI->setNavigator(ui.GRIDNAVREVOKE);
            child(*ctx.FME_UTENTI);
        },
    });
}

bool FRMCG_DUEBILCONFIG::framesReady() const
{
    return ctx.FME_CAUSALI && ctx.children().size() == 6;
}

void FRMCG_DUEBILCONFIG::requireFrames() const
{
    if (framesReady())
        return;
    const QList<QPair<QString, const DataFrame *>> frames = {
        {QStringLiteral("FME_CAUSALI"), ctx.FME_CAUSALI.get()},
        {QStringLiteral("FME_LAYOUT"), ctx.FME_LAYOUT.get()},
        {QStringLiteral("FME_FILTRI"), ctx.FME_FILTRI.get()},
        {QStringLiteral("FME_PARAMETRI"), ctx.FME_PARAMETRI.get()},
        {QStringLiteral("FME_PARAMETRIDITTA"), ctx.FME_PARAMETRIDITTA.get()},
        {QStringLiteral("FME_PARAMPERSREG"), ctx.FME_PARAMPERSREG.get()},
        {QStringLiteral("FME_UTENTI"), ctx.FME_UTENTI.get()}};
    QStringList missing;
    for (const auto &frame : frames) {
        if (!frame.second)
            missing << frame.first;
    }
    throw NumberedError(ErrorTrap::GenericErrorNumber, ctx.t(FormText::NotAvailable, {missing.join(QStringLiteral(", "))}));
}

void FRMCG_DUEBILCONFIG::connectHandlers()
{
    d->causals->connectEvents();
    d->pendingMark.setSingleShot(true);
    d->pendingMark.setInterval(0);
    connect(&d->pendingMark, &QTimer::timeout, this, &FRMCG_DUEBILCONFIG::updatePendingMark);
    ctx.afterAction = [this] { d->pendingMark.start(); };
    for (DataFrame *frame : QList<DataFrame *>{ctx.FME_CAUSALI.get()} + ctx.children()) {
        connect(frame, &DataFrame::RecordEdited, &d->pendingMark, qOverload<>(&QTimer::start));
        for (QWidget *control : frame->boundControls()) {
            if (auto *field = qobject_cast<TextField *>(control))
                connect(field, &TextField::Change, &d->pendingMark, qOverload<>(&QTimer::start));
        }
    }
    d->checks->connectEvents();
    d->params->connectEvents();
    d->layout->connectEvents();
    d->exclusions->connectEvents();
    // A causal found or moved to: the user goes on in the tab in front, not in the code field
    // just disabled. Queued, so that a Tab or a look-up list that showed it has finished moving
    // the focus; the start-up places the focus itself.
    connect(ctx.FME_CAUSALI.get(), &DataFrame::ChangeStatus, d->keyboard, [this](int status, int reason) {
        if (status == DataFrame::StatusRecord && ctx.activated && !ctx.closing
            && (reason == DataFrame::ReasonQuery || reason == DataFrame::ReasonMove || reason == DataFrame::ReasonNew))
            QTimer::singleShot(0, d->keyboard, [this] {
                if (!ctx.closing && ctx.FME_CAUSALI && ctx.FME_CAUSALI->Status() == DataFrame::StatusRecord)
                    d->keyboard->focusFirstField();
            });
    });
    // The host's tool bar presses the buttons of the window's navigator.
    if (ActiveNavigator *navigator = ctx.Gcls_Interface->activeNavigator()) {
        connect(navigator, &ActiveNavigator::commandTriggered, this, [this](ActiveNavigator::Command command) {
            if (ctx.global->activeWindow() != ctx.Gcls_Interface)
                return;
            static const QHash<int, QString> keys = {
                {ActiveNavigator::First, QStringLiteral("Primo")},    {ActiveNavigator::Previous, QStringLiteral("Precedente")},
                {ActiveNavigator::Next, QStringLiteral("Successivo")}, {ActiveNavigator::Last, QStringLiteral("Ultimo")},
                {ActiveNavigator::New, QStringLiteral("Nuovo")},      {ActiveNavigator::Confirm, QStringLiteral("Conferma")},
                {ActiveNavigator::Undo, QStringLiteral("Annulla")},   {ActiveNavigator::Delete, QStringLiteral("Elimina")},
                {ActiveNavigator::Query, QStringLiteral("Nuovo")},
            };
            ctx.ui.INTERNAV->press(keys.value(command));
        });
        connect(navigator, &ActiveNavigator::extraCommandTriggered, this, [this](const QString &key) {
            if (ctx.global->activeWindow() == ctx.Gcls_Interface)
                ctx.ui.INTERNAV->press(key);
        });
        navigator->addExtraCommand(QStringLiteral("Duplica"), ctx.t(2803));
    }
}

void FRMCG_DUEBILCONFIG::InizializzaScriptELayout()
{
    ctx.trapped(QStringLiteral("InizializzaScriptELayout"), {
        [&] { ctx.Gcls_Interface->activeNavigator()->buildObjectModels(); },
        [&] { ExecuteFormEvent(QStringLiteral("kvOpen")); },
        [&] { ctx.global->setApplicationObject(ctx.Gcls_Parent); },
    });
}

QVariant FRMCG_DUEBILCONFIG::ExecuteFormEvent(const QVariant &eventName)
{
    const QString name = eventName.toString();
    ctx.trapped(QStringLiteral("ExecuteFormEvent"), {[&] {
        ActiveNavigator *navigator = ctx.Gcls_Interface->activeNavigator();
        if (name == QLatin1String("kvOpen")) {
            navigator->beforeFormOpen();
            if (ScriptObjectModel *model = navigator->scriptObjectModel())
                model->FormEvent(formName(), 0, 1, QString());
        } else if (name == QLatin1String("kvClose")) {
            if (ScriptObjectModel *model = navigator->scriptObjectModel())
                model->FormEvent(formName(), 0, 0, QString());
        }
    }});
    return {};
}

void FRMCG_DUEBILCONFIG::queryUnload(bool *cancel)
{
    ctx.trapped(QStringLiteral("Form_QueryUnload"), {
        [&] {
            AggiornaNavigatore();
            ctx.closing = true;
        },
        [&] {
            if (ctx.FME_CAUSALI)
                *cancel = !ctx.FME_CAUSALI->CloseCheck(true, 0, true);
            else
                *cancel = false;
        },
        [&] {
            ActiveNavigator *navigator = ctx.Gcls_Interface->activeNavigator();
            if (!*cancel && navigator && navigator->scriptObjectModel()) {
                ExecuteFormEvent(QStringLiteral("kvClose"));
                *cancel = navigator->scriptObjectModel()->QueryCloseForm();
            }
        },
    });
    ctx.closing = false;
}

void FRMCG_DUEBILCONFIG::unloadForm()
{
    ErrorTrap::runIgnoringErrors({
        [&] {
            ctx.closing = true;
            ctx.afterAction = nullptr;
            d->pendingMark.stop();
            // The focus leaves the fields as the window goes: a code left half-typed must not
            // be validated against a connection being released.
            for (FieldControl *field : findChildren<FieldControl *>())
                field->blockSignals(true);
        },
        [&] {
            for (AccountField *account : {ctx.ui.TXT_CONTODARE, ctx.ui.TXT_CONTOAVERE, ctx.ui.TXT_CONTOABBUONIATTIVI,
                                          ctx.ui.TXT_CONTOABBUONIPASSIVI}) {
                account->setProperty("hostInterface", QVariant());
                account->setDecoder({});
            }
        },
        [&] {
            if (ctx.Gcls_TestiParametrizzabili)
                ctx.Gcls_TestiParametrizzabili->setConnection({});
            ctx.Gcls_TestiParametrizzabili.reset();
        },
        [&] { ctx.global->closing(ctx.Gcls_Interface); },
        [&] {
            QObject *menuItem = ctx.Gcls_Interface->clsVoceMenu();
            if (ScriptObjectModel *model = ctx.Gcls_Interface->activeNavigator()->scriptObjectModel())
                model->FormClosed(menuItem ? menuItem->property("value") : QVariant());
        },
        [&] {
            ctx.Gcls_Interface->activeNavigator()->clearLayoutObjectModel();
            ctx.Gcls_Interface->activeNavigator()->clearScriptObjectModel();
        },
        [&] {
            for (auto *frame : {&ctx.FME_CAUSALI, &ctx.FME_LAYOUT, &ctx.FME_FILTRI, &ctx.FME_PARAMETRI,
                                &ctx.FME_PARAMETRIDITTA, &ctx.FME_PARAMPERSREG, &ctx.FME_UTENTI}) {
                if (!*frame)
                    continue;
                const ado::RecordsetPtr rs = (*frame)->recordset();
                (*frame)->Release();
                frame->reset();
                if (rs)
                    rs->Close();
            }
        },
        [&] {
            ctx.ui.QGRID_GRUPPIUTENTI->setRecordset({});
            ctx.ui.QGRID_LAYOUT->setRecordset({});
            ctx.ui.KVS_SELSCADENZE->setConnection({});
        },
        [&] {
            if (ctx.Gcls_Interface->activeFrame())
                ctx.Gcls_Interface->setActiveFrame(nullptr);
            ctx.Gcls_Interface->setConnection({});
            ctx.Gcnn_Connessione.reset();
            ctx.Gcls_Parent = nullptr;
        },
        [&] { ctx.global->clearActive(); },
        [&] {
            ctx.Gcls_Interface->setActiveDll(nullptr);
            ctx.Gcls_Interface->activeNavigator()->setContract(nullptr);
        },
    });
    // Empties Gcls_Interface: that is what CloseForm reads as "closed". The host has been
    // told above, once.
    releaseContract();
    ErrorTrap::runIgnoringErrors({
        [&] {
            delete d->formBinding;
            d->formBinding = nullptr;
        },
        [&] {
            if (ctx.Gcls_Servizi)
                ctx.Gcls_Servizi->Termina();
            ctx.Gcls_Servizi.reset();
        },
    });
    ctx.Gcls_Interface = nullptr;
}

bool FRMCG_DUEBILCONFIG::GestioneStatiDisabilitata() const
{
    bool disabled = false;
    ctx.trapped(QStringLiteral("GestioneStatiDisabilitata"), {[&] {
        disabled = ValueRules::stateManagementDisabled(*ctx.Gcnn_Connessione);
    }});
    return disabled;
}

QVariant FRMCG_DUEBILCONFIG::IdIstanza()
{
    return d->instance.value();
}

QString FRMCG_DUEBILCONFIG::GeneraGuid() const
{
    return InstanceId::GeneraGuid();
}

void FRMCG_DUEBILCONFIG::MDIActiveX1_FormLoad()
{
    ctx.trapped(QStringLiteral("MDIActiveX1_FormLoad"), {[&] {
        // 7095 x 12000 twips, at 15 twips a pixel.
        resize(12000 / 15, 7095 / 15);
    }});
}
