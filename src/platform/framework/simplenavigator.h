#pragma once

#include "framework/activenavigator.h"

#include <QPointer>

class ScriptObjectModel;

// The navigator of the stand-in host: keeps the status, the object models and the contract
// and raises the events; the host's tool bar calls trigger().
class SimpleNavigator : public ActiveNavigator
{
    Q_OBJECT
public:
    explicit SimpleNavigator(QObject *parent = nullptr);
    ~SimpleNavigator() override;

    void setStatus(qint16 status) override;
    qint16 status() const override;
    void refresh() override;

    bool buildObjectModels() override;
    bool beforeFormOpen() override;
    ScriptObjectModel *scriptObjectModel() const override;
    QObject *layoutObjectModel() const override;
    void clearLayoutObjectModel() override;
    void clearScriptObjectModel() override;
    // A script model of the host's own (not owned), used instead of the default one.
    void setScriptObjectModel(ScriptObjectModel *model);

    void setContract(Cinterface *contract) override;
    Cinterface *contract() const override;

    void trigger(Command command) override;
    void addExtraCommand(const QString &key, const QString &caption) override;
    void triggerExtra(const QString &key) override;
    bool requestCompanyChange() override;
    bool requestExportToOffice(QObject **exporter) override;

private:
    qint16 m_status = 0;
    Cinterface *m_contract = nullptr;
    ScriptObjectModel *m_script = nullptr;   // owned (child) unless set from outside
    bool m_scriptOwned = true;
    QObject *m_layout = nullptr;             // owned (child)
};
