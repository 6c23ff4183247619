#pragma once

#include <QObject>
#include <QString>

class Cinterface;
class ScriptObjectModel;

// The host's record navigator: the tool bar of first, previous, next, last, new, confirm,
// undo, delete and query, plus the extra commands a module adds. The module learns of the
// buttons through commandTriggered / extraCommandTriggered and tells the navigator the
// status of the active frame so the tool bar can enable its buttons.
//
// The four events a module class receives carry their by-reference arguments as pointers;
// they must be connected directly so that a handler can cancel.
class ActiveNavigator : public QObject
{
    Q_OBJECT
public:
    enum Command { First, Previous, Next, Last, New, Confirm, Undo, Delete, Query };
    Q_ENUM(Command)

    explicit ActiveNavigator(QObject *parent = nullptr);
    ~ActiveNavigator() override;

    virtual void setStatus(qint16 status) = 0;
    virtual qint16 status() const = 0;
    virtual void refresh() = 0;

    // Asks the module to fill the script and layout object models (the Initialize* events).
    virtual bool buildObjectModels() = 0;
    // Called before a form announces that it opened.
    virtual bool beforeFormOpen() = 0;
    virtual ScriptObjectModel *scriptObjectModel() const = 0;
    virtual QObject *layoutObjectModel() const = 0;
    virtual void clearLayoutObjectModel() = 0;
    virtual void clearScriptObjectModel() = 0;

    virtual void setContract(Cinterface *contract) = 0;
    virtual Cinterface *contract() const = 0;

    // Tool bar side.
    virtual void trigger(Command command) = 0;
    virtual void addExtraCommand(const QString &key, const QString &caption) = 0;
    virtual void triggerExtra(const QString &key) = 0;
    // True when every listener allowed the change of company.
    virtual bool requestCompanyChange() = 0;
    // True when every listener allowed the export; *exporter is what the listeners left.
    virtual bool requestExportToOffice(QObject **exporter) = 0;

signals:
    void BeforeChangeDitta(bool *cancel);
    void BeforeExportToOffice(bool *cancel, QObject **expToOffice);
    void InitializeLayoutObjectModel(bool *cancel, QObject **clsLayout);
    void InitializeScriptObjectModel(bool *cancel, ScriptObjectModel **clsScript);

    void commandTriggered(ActiveNavigator::Command command);
    void extraCommandTriggered(const QString &key);
    void extraCommandAdded(const QString &key, const QString &caption);
    void statusChanged(qint16 status);
    void refreshed();
};
