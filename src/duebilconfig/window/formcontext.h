#pragma once

#include "ado/connection.h"
#include "dataframe/dataframe.h"
#include "framework/clsservizi.h"
#include "framework/errortrap.h"
#include "store/operationtype.h"
#include "window/formtranslator.h"
#include "window/formui.h"
#include "window/icausalparameters.h"
#include "window/ilayoutpersonalisation.h"
#include "window/iselectionchecks.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <memory>

class Cinterface;
class ClsGlobal;
class ClsServizi;
class TestiParametrizzabili;

// What the procedures of the window share: the controls, the frames, the host's objects, the
// connection and the form-level flags. Each subsystem works through it, never through the
// form class itself.
struct FormContext
{
    QWidget *form = nullptr;
    FormUi ui;
    FormTranslator translator;

    Cinterface *Gcls_Interface = nullptr;
    QObject *Gcls_Parent = nullptr;       // the module's class that showed the window
    ClsGlobal *global = nullptr;
    std::unique_ptr<ClsServizi> Gcls_Servizi;
    ado::ConnectionPtr Gcnn_Connessione;
    QString connectionString;
    QVariant company;
    std::unique_ptr<TestiParametrizzabili> Gcls_TestiParametrizzabili;

    // Frames and their recordsets, created at the first activation.
    std::unique_ptr<DataFrame> FME_CAUSALI, FME_LAYOUT, FME_FILTRI, FME_PARAMETRI, FME_PARAMETRIDITTA,
        FME_PARAMPERSREG, FME_UTENTI;
    // The six child frames in the order every procedure handles them.
    QList<DataFrame *> children() const;

    // Form-level flags.
    bool activated = false;
    bool closing = false;                 // close check and unload running
    bool Gbol_ImpostaCombo = false;       // option lists being rebuilt
    bool buildingChecks = false;          // check boxes being filled by code
    bool attivaEditBusy = false;          // AttivaEditControlli running
    QVariant Gvar_TipoOperazioneFocus;
    qint16 Gint_TipoOperazionePrec = 0;

    // What one subsystem asks of another, wired by the form: a handler sees the others only
    // through these, so the subsystems do not depend on one another.
    ISelectionChecks *checks = nullptr;
    ICausalParameters *params = nullptr;
    ILayoutPersonalisation *layout = nullptr;

    // Values as the procedures read them.
    QString causalCode() const;           // TXT_CAUSALE, empty when missing
    QString companyText() const;          // company, 0 when missing
    QString userName() const;             // logged-in user
    QString caption() const;              // form caption, without the mark of pending changes
    OperationType operationType() const;  // CBO_TIPOOPERAZIONE, None when none
    bool anyBusyFlag() const;             // check structure, option lists or closing

    // Services.
    QString t(int textId, const QVariantList &params = {}) const;
    // The form's message box in the host's style (a warning unless told otherwise).
    int msgBox(int textId, const QStringList &params = {},
               ClsServizi::StyleCode styleCode = ClsServizi::StyleCode::Warning) const;
    // The name of a field as the screen shows it: its label as it reads for the operation
    // type, else its tool tip, else its caption.
    QString shownName(const QWidget *field) const;
    // A refusal about a field: the message names the field on a line of its own, and the
    // field's tab comes to the front with the focus in the field.
    void refuseField(QWidget *field, int textId, const QStringList &params = {},
                     ClsServizi::StyleCode styleCode = ClsServizi::StyleCode::Warning) const;
    // Takes the user to the field (focusField) with its text selected, ready to be typed over.
    void goTo(QWidget *control) const;
    // A message with the buttons and icon of a MsgStyle combination.
    int showMessage(int textId, const QStringList &params, int style) const;
    ErrorTrap::Outcome trapped(const QString &procedure, std::initializer_list<TrapStep> steps) const;
    ErrorTrap::Outcome trapped(const QString &procedure, const std::vector<TrapStep> &steps) const;
    // Controls changed on the tab pages not on show: those pages are laid out once, when the
    // user's action (the outermost trapped procedure) ends, so the window learns their size.
    void pagesBehindChanged() const { m_pagesBehindChanged = true; }
    // Called when the user's action (the outermost trapped procedure) ends.
    std::function<void()> afterAction;
    // Tells the user in the host's status bar what an action did.
    void showStatus(int textId, const QStringList &params = {}) const;
    QVariant nz(const QVariant &value, const QVariant &defaultValue) const;
    static QString text(const QWidget *control);  // the value of a control as text
    // The form's control of that name, as findChild finds it. Remembered: the enabling rules
    // look the same few dozen controls up several hundred times at every change of status.
    QWidget *control(const QString &name) const;
    // Shows the tab that holds the field and gives it the focus, where the user is to correct it.
    void focusField(QWidget *field) const;

    // Gives a code field its decode (runs the statement of its StartDecode on the form's
    // connection) and its look-up list window; returnColumn is the list column it takes.
    void installFieldServices(TextField *field, int returnColumn = 0);

    // The end of a child frame's batch when the causal is saved: nothing without pending
    // changes; a row being added in query status is dropped (when cancelNewRow); the rows are
    // written; a frame left with rows is refreshed, an empty one returns to query status.
    // False when the write failed (already reported by the frame).
    static bool endBatch(DataFrame *frame, bool cancelNewRow);
    // The grid shows the frame's recordset and is redrawn whenever the frame's rows change.
    static void attachGrid(DataFrame *frame, GridControl *grid);

private:
    mutable QHash<QString, QPointer<QWidget>> m_controls;
    mutable int m_trapDepth = 0;
    mutable bool m_pagesBehindChanged = false;
};
