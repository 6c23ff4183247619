#pragma once

#include <QString>

class Cinterface;
class QObject;
class QWidget;

// What a module's class needs of the form it shows. The form reads everything else (IsCalled,
// ClsGlobal, the connection string, the class's own properties) through the two references
// it is given: the host's contract and the class that made it.
class IForm
{
public:
    virtual ~IForm();

    virtual QWidget *widget() = 0;
    virtual QString formName() const = 0;

    virtual void setGcls_Interface(Cinterface *contract) = 0;
    // Empty once the form went through its unload: that is how the class knows it closed.
    virtual Cinterface *Gcls_Interface() const = 0;
    virtual void setGcls_Parent(QObject *parent) = 0;
    virtual QObject *Gcls_Parent() const = 0;

    virtual void setCaption(const QString &caption) = 0;
    // Returns when the form has closed.
    virtual void showModal() = 0;
    virtual void showModeless() = 0;
    // Runs the form's close check and, unless it refuses, its unload.
    virtual void unload() = 0;
    // The class no longer holds the form: it goes away (later, if it is still handling an
    // event). May throw; the class reports the failure.
    virtual void release() = 0;
};

// Makes the form for each ShowForm; the plug-in gives its class the factory of its form.
class FormFactory
{
public:
    virtual ~FormFactory();
    virtual IForm *createForm() = 0;
};
