#pragma once

#include "framework/instanceid.h"
#include "framework/mdiform.h"
#include "window/formcontext.h"

#include <memory>

class CausalParameters;
class QMdiSubWindow;

// The configuration window: its life cycle, its local objects and data frames, and the
// services the subsystems share. The procedures of the causals, checks, parameters, layout
// and exclusions live in their own classes and reach the window through the context.
class FRMCG_DUEBILCONFIG : public MdiForm
{
    Q_OBJECT
    Q_PROPERTY(bool GestioneStatiDisabilitata READ GestioneStatiDisabilitata)

public:
    static QString moduleName();   // "CGUO_DUEBILCONFIG"
    static QString formClassName(); // "FRMCG_DUEBILCONFIG"

    explicit FRMCG_DUEBILCONFIG(QWidget *parent = nullptr);
    ~FRMCG_DUEBILCONFIG() override;  // Form_Terminate

    void setCaption(const QString &caption) override;

    FormContext &context();
    // The handler of the parameters, for the tests that run its procedures on their own.
    CausalParameters &parameters();
    bool isActivated() const;

    // Form_Activate: every activation refreshes the navigator; the first one also builds
    // the window's objects.
    void Form_Activate();
    QVariant AggiornaNavigatore();
    QVariant ExecuteFormEvent(const QVariant &eventName);
    bool GestioneStatiDisabilitata() const;
    QVariant IdIstanza();
    QString GeneraGuid() const;
    void MDIActiveX1_FormLoad();
    // The causal on display has changes a save would write.
    bool holdsUnsavedChanges() const;

protected:
    void queryUnload(bool *cancel) override;   // Form_QueryUnload
    void unloadForm() override;                // Form_Unload
    void showEvent(QShowEvent *event) override;

private slots:
    void subWindowActivated(QMdiSubWindow *window);
    void updatePendingMark();

private:
    void Form_Initialize();
    void Form_Load();
    void InizializzaOggettiLocali();
    void ImpostaVirtualFrame();
    void InizializzaScriptELayout();
    void connectHandlers();
    // Every data frame exists; requireFrames() raises the error that names the missing ones.
    bool framesReady() const;
    void requireFrames() const;

    struct Private;
    std::unique_ptr<Private> d;
    FormContext ctx;
};
