#include "window/formcontext.h"

#include "controls/tabstrip.h"

#include "ado/recordset.h"
#include "controls/fieldcontrol.h"
#include "controls/labelcontrol.h"
#include "controls/lookupdialog.h"
#include "framework/cinterface.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/frameworktexts.h"
#include "framework/mdiform.h"
#include "framework/testiparametrizzabili.h"
#include "store/adoerrorclassifier.h"

#include <QLineEdit>
#include <QMetaProperty>
#include <QScrollArea>

QList<DataFrame *> FormContext::children() const
{
    QList<DataFrame *> list;
    for (const auto *frame : {&FME_LAYOUT, &FME_FILTRI, &FME_PARAMETRI, &FME_PARAMETRIDITTA, &FME_PARAMPERSREG,
                              &FME_UTENTI}) {
        if (*frame)
            list.append(frame->get());
    }
    return list;
}

QString FormContext::causalCode() const
{
    return ui.TXT_CAUSALE ? ui.TXT_CAUSALE->Text().trimmed() : QString();
}

QString FormContext::companyText() const
{
    return nz(company, 0).toString();
}

QString FormContext::userName() const
{
    return global ? global->userName() : QString();
}

QString FormContext::caption() const
{
    if (auto *mdi = qobject_cast<MdiForm *>(form))
        return mdi->caption();
    return form ? form->windowTitle() : QString();
}

void FormContext::showStatus(int textId, const QStringList &params) const
{
    QObject *bar = Gcls_Interface ? Gcls_Interface->statusBar() : nullptr;
    if (!bar)
        return;
    QVariantList values;
    for (const QString &p : params)
        values << p;
    // The host's status bar is any object with a showMessage(QString) slot.
    QMetaObject::invokeMethod(bar, "showMessage", Q_ARG(QString, t(textId, values)));
}

OperationType FormContext::operationType() const
{
    return ui.CBO_TIPOOPERAZIONE ? operationTypeOf(ui.CBO_TIPOOPERAZIONE->Text()) : OperationType::None;
}

bool FormContext::anyBusyFlag() const
{
    return buildingChecks || Gbol_ImpostaCombo || closing;
}

QString FormContext::t(int textId, const QVariantList &params) const
{
    return translator.Traduci_IdTesto(textId, params);
}

int FormContext::msgBox(int textId, const QStringList &params, ClsServizi::StyleCode styleCode) const
{
    if (Gcls_Servizi)
        return Gcls_Servizi->MsgBox(QString(), QString::number(textId), QString(), params, styleCode);
    return showMessage(textId, params, ClsServizi::messageStyle(styleCode));
}

QString FormContext::shownName(const QWidget *field) const
{
    if (!field)
        return {};
    const LabelControl *label = ui.labelOf(field);
    if (!label && form) {
        // A label without an access key of its own names its field as its buddy.
        const QWidget *focusTarget = field->focusProxy() ? field->focusProxy() : field;
        for (const LabelControl *other : form->findChildren<LabelControl *>()) {
            if (other->buddy() == focusTarget || other->buddy() == field) {
                label = other;
                break;
            }
        }
    }
    QString name;
    if (label)
        name = label->caption();
    if (name.trimmed().isEmpty())
        name = field->toolTip();
    if (name.trimmed().isEmpty()) {
        if (const auto *control = qobject_cast<const FieldControl *>(field))
            name = control->caption();
    }
    if (name.trimmed().isEmpty())
        name = field->objectName();
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void FormContext::refuseField(QWidget *field, int textId, const QStringList &params,
                              ClsServizi::StyleCode styleCode) const
{
    const QString named = t(FormText::FieldNamed, {shownName(field)});
    if (Gcls_Servizi)
        Gcls_Servizi->MsgBox(QString(), QString::number(textId), named, params, styleCode);
    else
        showMessage(textId, params, ClsServizi::messageStyle(styleCode));
    goTo(field);
}

void FormContext::goTo(QWidget *control) const
{
    focusField(control);
    if (auto *text = qobject_cast<TextField *>(control))
        text->lineEdit()->selectAll();
}

int FormContext::showMessage(int textId, const QStringList &params, int style) const
{
    return global ? global->showMessage(textId, params, caption(), style) : 0;
}

void FormContext::focusField(QWidget *field) const
{
    if (!field)
        return;
    for (int i = 0; i < 5; ++i) {
        if (ui.tabPages[i] && ui.tabPages[i]->isAncestorOf(field)) {
            if (ui.TAB_CONFIG->isTabEnabled(i))
                ui.TAB_CONFIG->setTab(i);
            break;
        }
    }
    if (auto *text = qobject_cast<TextField *>(field))
        text->SetFocus();
    else
        field->setFocus(Qt::OtherFocusReason);
}

ErrorTrap::Outcome FormContext::trapped(const QString &procedure, std::initializer_list<TrapStep> steps) const
{
    return trapped(procedure, std::vector<TrapStep>(steps));
}

ErrorTrap::Outcome FormContext::trapped(const QString &procedure, const std::vector<TrapStep> &steps) const
{
    ++m_trapDepth;
    ErrorTrap::Outcome outcome;
    if (Gcls_Servizi) {
        outcome = Gcls_Servizi->errorTrap().run(procedure, steps);
    } else {
        // Before the services exist (first activation), errors go to the host's message service.
        ErrorTrap trap(global ? global->messageService() : nullptr, global ? &global->textStore() : nullptr);
        trap.setClassifier(adoErrorClassifier(global ? &global->textStore() : nullptr));
        outcome = trap.run(procedure, steps);
    }
    if (m_trapDepth == 1 && afterAction)
        afterAction();
    if (--m_trapDepth == 0 && m_pagesBehindChanged) {
        m_pagesBehindChanged = false;
        // The window takes the new size now, not a moment after it has been painted.
        if (ui.TAB_CONFIG && ui.TAB_CONFIG->layOutHiddenPages()) {
            ui.scrollArea()->updateGeometry();
            if (auto *mdi = qobject_cast<MdiForm *>(form))
                mdi->fitIntoArea(true);
        }
    }
    return outcome;
}

QVariant FormContext::nz(const QVariant &value, const QVariant &defaultValue) const
{
    return ClsServizi::nullToDefault(value, defaultValue);
}

QWidget *FormContext::control(const QString &name) const
{
    if (!form)
        return nullptr;
    if (form->objectName() == name)
        return form;
    // A remembered control still counts only while it is the form's and keeps its name.
    const QPointer<QWidget> known = m_controls.value(name);
    if (known && known->objectName() == name && form->isAncestorOf(known))
        return known;
    QWidget *found = form->findChild<QWidget *>(name);
    if (found)
        m_controls.insert(name, found);
    else
        m_controls.remove(name);
    return found;
}

QString FormContext::text(const QWidget *control)
{
    if (!control)
        return {};
    if (const auto *field = qobject_cast<const FieldControl *>(control))
        return field->Text();
    const QMetaProperty user = control->metaObject()->userProperty();
    return user.isValid() ? user.read(control).toString() : QString();
}

bool FormContext::endBatch(DataFrame *frame, bool cancelNewRow)
{
    if (!frame->BatchPending())
        return true;
    if (cancelNewRow && frame->Status() == DataFrame::StatusQuery)
        frame->recordset()->CancelUpdate();
    if (!frame->UpdateBatchRecordset({}))
        return false;
    if (frame->recordset()->RecordCount() > 0)
        frame->refreshAfterWrite();
    else
        frame->setStatus(DataFrame::StatusQuery);
    return true;
}

void FormContext::attachGrid(DataFrame *frame, GridControl *grid)
{
    frame->setGridRefresher([grid](const ado::RecordsetPtr &rs) {
        if (grid->recordset() != rs)
            grid->setRecordset(rs);
        else
            grid->Refresh();
    });
    frame->setGridRowRefresher([grid, frame] {
        if (grid->recordset() == frame->recordset())
            grid->refreshCurrentRow();
        else
            grid->setRecordset(frame->recordset());
    });
    grid->setRecordset(frame->recordset());
    // A click on a row moves the frame, so its controls show that row and AfterMove is raised.
    grid->setRowMover([frame](const QVariant &bookmark) { return frame->MoveTo(bookmark); });
}

void FormContext::installFieldServices(TextField *field, int returnColumn)
{
    field->setDecoder([this](const QString &, const QString &statement, const QVariant &targets, const QString &) {
        DecodeResult result;
        if (!Gcnn_Connessione)
            return result;
        ErrorTrap::runIgnoringErrors({[&] {
            const ado::RecordsetPtr rs = Gcnn_Connessione->Execute(statement);
            if (rs->RecordCount() == 0)
                return;
            result.found = true;
            QString column = rs->fieldNames().value(0);
            for (const QVariant &target : targets.toList()) {
                const QString wanted = target.toMap().value(QStringLiteral("column")).toString();
                if (!wanted.isEmpty() && rs->hasField(wanted))
                    column = wanted;
            }
            result.description = rs->value(column).toString();
            for (const QString &name : rs->fieldNames())
                result.columns.insert(name, rs->value(name));
            if (rs->hasField(QStringLiteral("ID")))
                result.id = rs->value(QStringLiteral("ID"));
        }});
        return result;
    });
    field->setLookupPicker([this, field, returnColumn](const QString &statement, const QVariant &columns,
                                                       const QString &title, const QString &, QString *picked) {
        if (!Gcnn_Connessione || statement.isEmpty())
            return false;
        LookupDialog dialog(Gcnn_Connessione, statement, columns, title, returnColumn, form);
        dialog.setButtonCaptions(t(FrameworkText::ButtonOk), t(FrameworkText::ButtonCancel));
        dialog.setCurrentCode(field->lineEdit()->text());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        *picked = dialog.chosenCode();
        return !picked->isEmpty();
    });
}
