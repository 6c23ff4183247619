#pragma once

#include "controls/textfield.h"

#include <optional>

// Id look-up field: shows the code of an item (sql_textfield of sql_nometabella) and binds the
// item's id (sql_idfield). A typed code is looked up to its id, an id the row holds is shown as
// its code, and the look-up list gives the id of the chosen item. Text() is the code on
// display; Value() the id (null when the text names no item).
class IdLookupField : public TextField
{
    Q_OBJECT
    Q_PROPERTY(QVariant Value READ Value WRITE setValue NOTIFY ValueChanged USER true)
    Q_PROPERTY(QString sql_nometabella READ tableName WRITE setTableName)
    Q_PROPERTY(QString sql_idfield READ idField WRITE setIdField)
    Q_PROPERTY(QString sql_textfield READ textField WRITE setTextField)
    Q_PROPERTY(QString sql_descfield READ descriptionField WRITE setDescriptionField)

public:
    explicit IdLookupField(QWidget *parent = nullptr);
    ~IdLookupField() override;

    QVariant Value() const;
    void setValue(const QVariant &id);

    QString tableName() const;
    void setTableName(const QString &table);
    QString idField() const;
    void setIdField(const QString &column);
    QString textField() const;
    void setTextField(const QString &column);
    // The item's description column: when set, the item is read whole (id, code and
    // description) by the statement that finds it, and its read-out needs no statement more.
    QString descriptionField() const;
    void setDescriptionField(const QString &column);

    // The item as the field read it during the user action under way (typed, chosen or
    // shown): what that action needs of it again is in hand. None outside that action.
    struct Item
    {
        QVariant id;
        QString code;
        QString description;
    };
    std::optional<Item> itemReadNow() const;

    void decode() override;

signals:
    void ValueChanged(const QVariant &id);

protected:
    // The list returns the id of the chosen item.
    void takePicked(const QString &id) override;

private:
    // The item of the look-up table that the condition selects: found, its code, its id.
    DecodeResult item(const QString &condition);
    DecodeResult itemById(const QVariant &id);

    QVariant m_value;
    QVariant m_reported;   // the id the row last heard of
    QString m_resolved;    // the text whose item m_value is
    QString m_table;
    QString m_idField;
    QString m_textField;
    QString m_descriptionField;
    Item m_item;
    quint64 m_itemAction = 0;   // the user action in which m_item was read; 0: none
};
