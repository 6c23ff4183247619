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
    // The field shows the id itself; its description goes to the read-out label.
    const QString shown = (!id.isValid() || id.isNull()) ? QString() : id.toString();
    if (Text() != shown)
        setText(shown);
    m_value = id;  // the id the program sets stands, whatever the decode found
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
    // The decode reads the description of the typed id: found, the id is the text.
    QVariant id;
    if (result.found)
        id = result.id.isValid() && !result.id.isNull() ? result.id : QVariant(Text().trimmed().toLongLong());
    if (id != m_value) {
        m_value = id;
        emit ValueChanged(m_value);
    }
}
