#pragma once

#include "textfield.h"

// Id look-up field: shows a code (sql_textfield of sql_nometabella) but binds the row's id
// (sql_idfield). Its bound value is the id; the shown code follows a successful decode.
class IdLookupField : public TextField
{
    Q_OBJECT
    Q_PROPERTY(QVariant Value READ Value WRITE setValue NOTIFY ValueChanged USER true)
    Q_PROPERTY(QString sql_nometabella READ tableName WRITE setTableName)
    Q_PROPERTY(QString sql_idfield READ idField WRITE setIdField)
    Q_PROPERTY(QString sql_textfield READ textField WRITE setTextField)

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

signals:
    void ValueChanged(const QVariant &id);

protected:
    void decoded(const DecodeResult &result) override;

private:
    QVariant m_value;
    QString m_table;
    QString m_idField;
    QString m_textField;
};
