#include "idlookupfield.h"

IdLookupField::IdLookupField(QWidget *parent)
    : TextField(parent)
{
    setDecode(true);
}

IdLookupField::~IdLookupField() = default;

QVariant IdLookupField::Value() const { return m_value; }

void IdLookupField::setValue(const QVariant &id)
{
    if (id == m_value)
        return;
    m_value = id;
    if (!id.isValid() || id.isNull())
        setText(QString());
    emit ValueChanged(m_value);
}

QString IdLookupField::tableName() const { return m_table; }
void IdLookupField::setTableName(const QString &table) { m_table = table; }
QString IdLookupField::idField() const { return m_idField; }
void IdLookupField::setIdField(const QString &column) { m_idField = column; }
QString IdLookupField::textField() const { return m_textField; }
void IdLookupField::setTextField(const QString &column) { m_textField = column; }

void IdLookupField::decoded(const DecodeResult &result)
{
    TextField::decoded(result);
    const QVariant id = result.found ? result.id : QVariant();
    if (id != m_value) {
        m_value = id;
        emit ValueChanged(m_value);
    }
}
