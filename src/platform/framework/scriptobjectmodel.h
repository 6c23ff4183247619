#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

// The host's script object model: the objects a script may reach by name, and the form
// events scripts can react to. A script may refuse the close of a form.
class ScriptObjectModel : public QObject
{
    Q_OBJECT
public:
    struct Entry
    {
        QString name;
        QPointer<QObject> object;
        int kind = 0;           // 0 a form, 3 a data frame
        QString description;
    };

    explicit ScriptObjectModel(QObject *parent = nullptr);
    ~ScriptObjectModel() override;

    // The object is passed by reference: the model may hand back the object it keeps.
    virtual void AddObject(const QString &name, QObject *&object, int kind, const QString &description);
    // openClose: 1 the form opened, 0 it is closing.
    virtual void FormEvent(const QString &formName, int reserved, int openClose, const QString &text);
    // Cancel: true when a script keeps the form open.
    virtual bool QueryCloseForm();
    virtual void FormClosed(const QVariant &menuItemValue);

    const QList<Entry> &objects() const;
    QObject *object(const QString &name) const;
    void setRefuseClose(bool refuse);

signals:
    void objectAdded(const QString &name, int kind);
    void formEvent(const QString &formName, int openClose);
    void formClosed(const QVariant &menuItemValue);

private:
    QList<Entry> m_objects;
    bool m_refuseClose = false;
};
