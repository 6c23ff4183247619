#include "params_ui/parametercodes.h"

#include "dataframe/dataframe.h"
#include "params_ui/parameterscreen.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formcontext.h"

#include <QApplication>
#include <QLineEdit>

#include <optional>

namespace {

// A decode target: the control that receives a column of the decode's row.
QVariantMap columnTarget(const QString &control, const QString &column)
{
    return QVariantMap{{QStringLiteral("control"), control}, {QStringLiteral("column"), column}};
}

} // namespace

ParameterCodes::ParameterCodes(FormContext &ctx) : ctx(ctx) {}

ParameterCodes::~ParameterCodes() = default;

void ParameterCodes::connectValidations()
{
    FormUi &ui = ctx.ui;
    connect(ui.CHK_MODIFICACONTI, &CheckField::Click, this, &ParameterCodes::CHK_MODIFICACONTI_Click);
    connect(ui.TXT_CAUSALECOGE, &TextField::Validate, this, &ParameterCodes::TXT_CAUSALECOGE_Validate);
    connect(ui.TXT_CAUABBUONI, &TextField::Validate, this, &ParameterCodes::TXT_CAUABBUONI_Validate);
    for (TextField *field : {static_cast<TextField *>(ui.TXT_CAUSALECOMPCLI), static_cast<TextField *>(ui.TXT_CAUSALECOMPFOR)})
        connect(field, &TextField::Validate, this, [this, field](bool *cancel) { TXT_CAUSALECOMP_Validate(field, cancel); });
    connect(ui.TXT_CODPAGACCONTI, &TextField::Validate, this, &ParameterCodes::TXT_CODPAGACCONTI_Validate);
    connect(ui.TXT_SEZIONALEACCONTI, &TextField::Validate, this, &ParameterCodes::TXT_SEZIONALEACCONTI_Validate);
    for (AccountField *field : {ui.TXT_CONTODARE, ui.TXT_CONTOAVERE, ui.TXT_CONTOABBUONIATTIVI, ui.TXT_CONTOABBUONIPASSIVI})
        connect(field, &TextField::Validate, this, [this, field](bool *cancel) { TXT_CONTO_Validate(field, cancel); });
}

// How each code field's requests meet an error, as each field has always done.
enum class ParameterCodes::ErrorPolicy {
    Ignored,            // decode and look-up skip a failing step without a word
    Reported,           // decode and look-up run under the error trap as <field>_StartDecode / _StartLookup
    DecodeIgnoredOnly,  // the decode is ignored on error; the look-up is not trapped and its error goes on
};

// The decode and look-up requests of one code field.
struct ParameterCodes::CodeFieldRequests
{
    struct Decode
    {
        std::function<QString(const QString &text)> statement;  // from the text in the field
        const char *codeColumn;
        QWidget *readOut;               // the box named to receive the description
        const char *descriptionColumn;
    };
    struct LookUp
    {
        std::function<QString()> statement;
        int titleId;
        const char *idLookup;           // the table the chosen code comes from; null: not told
    };
    TextField *field;
    std::optional<Decode> decode;       // none: the field has no decode
    LookUp lookup;
    ErrorPolicy policy;
};

QList<ParameterCodes::CodeFieldRequests> ParameterCodes::codeFieldRequests()
{
    FormUi &ui = ctx.ui;
    using Decode = CodeFieldRequests::Decode;
    using LookUp = CodeFieldRequests::LookUp;
    const auto ledgerCausal = [this](TextField *field, QWidget *readOut) {
        return CodeFieldRequests{
            field,
            Decode{[](const QString &text) { return DueBilStatements::ledgerCausalDecode(text.trimmed()); },
                   "CG33_CODICE", readOut, "CG33_DESCR"},
            LookUp{[this] {
                       return LedgerChecks::ledgerCausalLookup(DueBilStatements::ledgerCausalList(),
                                                                   ctx.operationType());
                   },
                   FormText::TitleCausaliContabili, "CG33_TABCAU"},
            ErrorPolicy::Ignored};
    };
    // Extraction causals of this module: kind 1 collections from customers, 2 payments to suppliers.
    const auto extractionCausal = [&ui](TextField *field, int kind, int titleId) {
        return CodeFieldRequests{
            field,
            Decode{[kind](const QString &text) { return DueBilStatements::extractionCausalDecode(kind, text); },
                   "CGP0_CAUSALE", ui.TXT_CAUSALICOMPDESCR, "CGP0_DESCRIZIONE"},
            LookUp{[kind] { return DueBilStatements::extractionCausalList(kind); }, titleId, "CGP0_DUEBILCAUSALI"},
            ErrorPolicy::Reported};
    };
    // Accounts of the company's group; the field marks a postable account by the id the decode returns.
    const auto account = [this](AccountField *field, QWidget *readOut) {
        return CodeFieldRequests{
            field,
            Decode{[this](const QString &text) {
                       return DueBilStatements::accountDecode(QString::number(ParameterScreen::accountGroup(ctx)), text.trimmed());
                   },
                   "CG24_CODICE", readOut, "CG24_DESCR"},
            LookUp{[this] { return DueBilStatements::accountList(QString::number(ParameterScreen::accountGroup(ctx))); },
                   FormText::TitleConti, nullptr},
            ErrorPolicy::DecodeIgnoredOnly};
    };
    return {
        ledgerCausal(ui.TXT_CAUSALECOGE, ui.TXT_DESCCAUINCPAG),
        ledgerCausal(ui.TXT_CAUABBUONI, ui.TXT_DESCCAUABBUONI),
        extractionCausal(ui.TXT_CAUSALECOMPCLI, 1, FormText::TitleCausaliIncassi),
        extractionCausal(ui.TXT_CAUSALECOMPFOR, 2, FormText::TitleCausaliPagamenti),
        // Payment terms of the advances.
        {ui.TXT_CODPAGACCONTI,
         Decode{[](const QString &text) { return DueBilStatements::paymentTermsDecode(text); }, "CG62_CODICE",
                ui.TXT_DESCRPAGACCONTI, "CG62_DESCR"},
         LookUp{[] { return DueBilStatements::paymentTermsList(); }, FormText::TitleCondizioniPagamento, "CG62_CONDPAG"},
         ErrorPolicy::Reported},
        // Numbering sections of the company.
        {ui.TXT_SEZIONALEACCONTI, std::nullopt,
         LookUp{[this] { return DueBilStatements::numberingSectionList(ctx.companyText()); }, FormText::TitleSezionali,
                nullptr},
         ErrorPolicy::Ignored},
        account(ui.TXT_CONTODARE, ui.TXT_DESCCONTODARE),
        account(ui.TXT_CONTOAVERE, ui.TXT_DESCCONTOAVERE),
        account(ui.TXT_CONTOABBUONIATTIVI, ui.TXT_DESCCONTOABBUONIATTIVI),
        account(ui.TXT_CONTOABBUONIPASSIVI, ui.TXT_DESCCONTOABBUONIPASSIVI),
    };
}

void ParameterCodes::runRequest(ErrorPolicy policy, const QString &procedure, bool lookUp,
                                  const std::function<void()> &request)
{
    if (policy == ErrorPolicy::Reported)
        ctx.trapped(procedure, {request});
    else if (policy == ErrorPolicy::DecodeIgnoredOnly && lookUp)
        request();
    else
        ErrorTrap::runIgnoringErrors({request});
}

void ParameterCodes::connectRequests(const CodeFieldRequests &r)
{
    TextField *field = r.field;
    const QString name = field->objectName();
    if (r.decode) {
        connect(field, &TextField::StartDecode, this,
                [this, field, name, r](short *handled, QString *statement, QVariant *targets, QString *connection) {
                    runRequest(r.policy, name + QStringLiteral("_StartDecode"), false, [&] {
                        const CodeFieldRequests::Decode &d = *r.decode;
                        *handled = 0;
                        *statement = d.statement(field->Text());
                        *targets = QVariantList{columnTarget(name, d.codeColumn),
                                                columnTarget(d.readOut->objectName(), d.descriptionColumn)};
                        *connection = ctx.connectionString;
                    });
                });
    }
    connect(field, &TextField::StartLookup, this,
            [this, field, name, r](short *handled, QString *statement, QVariant *columns, QString *title,
                                   QString *connection) {
                runRequest(r.policy, name + QStringLiteral("_StartLookup"), true, [&] {
                    *handled = 0;
                    *statement = r.lookup.statement();
                    *columns = QVariantList{QVariantMap{{"title", ctx.t(FormText::ColCodice)}, {"index", 0}},
                                            QVariantMap{{"title", ctx.t(FormText::ColDescrizione)}, {"index", 1}}};
                    *title = ctx.t(r.lookup.titleId);
                    *connection = ctx.connectionString;
                    if (r.lookup.idLookup)
                        field->setIdLookup(QLatin1String(r.lookup.idLookup));
                });
            });
}

void ParameterCodes::connectAccountFields()
{
    FormUi &ui = ctx.ui;
    for (TextField *field : std::initializer_list<TextField *>{
             ui.TXT_CAUSALE, ui.TXT_CAUSALECOMPCLI, ui.TXT_CAUSALECOMPFOR, ui.TXT_CAUSALECOGE, ui.TXT_CAUABBUONI,
             ui.TXT_CODPAGACCONTI, ui.TXT_SEZIONALEACCONTI, ui.TXT_CONTODARE, ui.TXT_CONTOAVERE,
             ui.TXT_CONTOABBUONIATTIVI, ui.TXT_CONTOABBUONIPASSIVI})
        ctx.installFieldServices(field);
    ctx.installFieldServices(ui.TXT_GRUPPO, 2);
    ctx.installFieldServices(ui.TXT_UTENTE, 2);

    ui.TXT_CAUSALECOGE->setDescriptionLabel(ui.TXT_DESCCAUINCPAG);
    ui.TXT_CAUABBUONI->setDescriptionLabel(ui.TXT_DESCCAUABBUONI);
    ui.TXT_CONTODARE->setDescriptionLabel(ui.TXT_DESCCONTODARE);
    ui.TXT_CONTOAVERE->setDescriptionLabel(ui.TXT_DESCCONTOAVERE);
    ui.TXT_CONTOABBUONIATTIVI->setDescriptionLabel(ui.TXT_DESCCONTOABBUONIATTIVI);
    ui.TXT_CONTOABBUONIPASSIVI->setDescriptionLabel(ui.TXT_DESCCONTOABBUONIPASSIVI);
    ui.TXT_CODPAGACCONTI->setDescriptionLabel(ui.TXT_DESCRPAGACCONTI);
    ui.TXT_GRUPPO->setDescriptionLabel(ui.LBL_DESCRGRUPPO);
    ui.TXT_UTENTE->setDescriptionLabel(ui.LBL_DESCRUTENTE);

    for (const CodeFieldRequests &requests : codeFieldRequests())
        connectRequests(requests);

    // The extraction causals share one read-out box.
    for (TextField *field : {ui.TXT_CAUSALECOMPCLI, ui.TXT_CAUSALECOMPFOR}) {
        connect(field, &TextField::AfterItem, this, [this, field] {
            ctx.ui.TXT_CAUSALICOMPDESCR->setText(field->isFound() ? field->Text().trimmed() : QString());
        });
    }
}

bool ParameterCodes::refused(QWidget *field, const QList<LedgerChecks::Message> &messages)
{
    for (const LedgerChecks::Message &m : messages) {
        if (m.textId != 0)
            ctx.refuseField(field, m.textId, m.params);
    }
    return !messages.isEmpty();
}

void ParameterCodes::TXT_CAUSALECOGE_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CAUSALECOGE_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CAUSALECOGE->Text(), QString()).toString().trimmed();
        if (refused(ctx.ui.TXT_CAUSALECOGE, LedgerChecks(ctx.Gcnn_Connessione).postingCausalRefusals(code, ctx.operationType())))
            *cancel = true;
    }});
}

void ParameterCodes::TXT_CAUABBUONI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CAUABBUONI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CAUABBUONI->Text(), QString()).toString().trimmed();
        if (refused(ctx.ui.TXT_CAUABBUONI, LedgerChecks(ctx.Gcnn_Connessione).discountCausalRefusals(code)))
            *cancel = true;
    }});
}

void ParameterCodes::TXT_CAUSALECOMP_Validate(TextField *field, bool *cancel)
{
    ctx.trapped(field->objectName() + QStringLiteral("_Validate"), {[&] {
        const QString code = ctx.nz(field->Text(), QString()).toString().trimmed();
        if (code.isEmpty())
            return;
        if (!field->isFound()) {
            *cancel = true;
            field->SetFocus();
            return;
        }
        if (ctx.checks->IsCausalePerRitenute(QString::number(qint16(code.toInt())))) {
            ctx.refuseField(field, MessageId::WithholdingCausal, {code});
            *cancel = true;
        }
    }});
}

void ParameterCodes::TXT_CODPAGACCONTI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CODPAGACCONTI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CODPAGACCONTI->Text(), QString()).toString();
        if (refused(ctx.ui.TXT_CODPAGACCONTI, LedgerChecks(ctx.Gcnn_Connessione).paymentTermsRefusals(code)))
            *cancel = true;
    }});
}

void ParameterCodes::TXT_SEZIONALEACCONTI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_SEZIONALEACCONTI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_SEZIONALEACCONTI->Text(), QString()).toString();
        if (refused(ctx.ui.TXT_SEZIONALEACCONTI, LedgerChecks(ctx.Gcnn_Connessione).sectionRefusals(code, ctx.companyText()))) {
            *cancel = true;
            ctx.ui.TXT_SEZIONALEACCONTI->lineEdit()->selectAll();
            ctx.ui.TXT_SEZIONALEACCONTI->SetFocus();
        }
    }});
}

void ParameterCodes::TXT_CONTO_Validate(AccountField *field, bool *cancel)
{
    ctx.trapped(field->objectName() + QStringLiteral("_Validate"), {[&] {
        const QString code = ctx.nz(field->Text(), QString()).toString().trimmed();
        if (code.isEmpty())
            return;
        // An account that does not exist is one refusal, in one box: whether it could be
        // posted to is no question then.
        if (!field->isFound()) {
            ctx.refuseField(field, MessageId::AccountMissing, {});
            *cancel = true;
            return;
        }
        const bool debitCredit = field == ctx.ui.TXT_CONTODARE || field == ctx.ui.TXT_CONTOAVERE;
        const bool rule = debitCredit ? field->isEnabled() && ctx.ui.CHK_MODIFICACONTI->Text() == QLatin1String("0") : true;
        if (rule && !field->isPostable()) {
            ctx.refuseField(field, MessageId::NotPostable, {});
            *cancel = true;
        }
    }});
}

void ParameterCodes::CHK_MODIFICACONTI_Click()
{
    ctx.trapped(QStringLiteral("CHK_MODIFICACONTI_Click"), {[&] {
        if (ctx.causalCode().isEmpty() || ctx.ui.CHK_MODIFICACONTI->Text() != QLatin1String("0"))
            return;
        for (AccountField *field : {ctx.ui.TXT_CONTODARE, ctx.ui.TXT_CONTOAVERE}) {
            QWidget *focus = QApplication::focusWidget();
            const bool hasFocus = focus && (focus == field || field->isAncestorOf(focus));
            if (field->isEnabled() && !field->Text().trimmed().isEmpty() && !field->isPostable() && !hasFocus)
                ctx.refuseField(field, MessageId::NotPostable, {});
        }
    }});
}
