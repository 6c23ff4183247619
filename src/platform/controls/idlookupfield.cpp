#include "controls/idlookupfield.h"

#include "ado/connection.h"

#include <QLineEdit>

namespace {

QVariant idOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull() || value.toString().trimmed().isEmpty())
        return {};
    return value;
}

} // namespace

IdLookupField::IdLookupField(QWidget *parent)
    : TextField(parent)
{
    setDecode(true);
    // The row hears of the id once the entry is accepted, or when the program shows one.
    connect(this, &FieldControl::TextChanged, this, [this] {
        if (m_value != m_reported) {
            m_reported = m_value;
            emit ValueChanged(m_value);
        }
    });
}

IdLookupField::~IdLookupField() = default;

QVariant IdLookupField::Value() const { return m_value; }

void IdLookupField::setValue(const QVariant &id)
{
    m_value = idOf(id);
    QString shown;
    if (m_value.isValid()) {
        const DecodeResult found = itemById(m_value);
        // An id without its item is shown as it is, so the user sees what the row holds.
        shown = found.found ? found.description : m_value.toString();
    }
    m_resolved = isUpperCase() ? shown.toUpper() : shown;
    setText(shown);
    if (m_value != m_reported) {
        m_reported = m_value;
        emit ValueChanged(m_value);
    }
}

QString IdLookupField::tableName() const { return m_table; }
void IdLookupField::setTableName(const QString &table) { m_table = table; }
QString IdLookupField::idField() const { return m_idField; }
void IdLookupField::setIdField(const QString &column) { m_idField = column; }
QString IdLookupField::textField() const { return m_textField; }
void IdLookupField::setTextField(const QString &column) { m_textField = column; }
QString IdLookupField::descriptionField() const { return m_descriptionField; }
void IdLookupField::setDescriptionField(const QString &column) { m_descriptionField = column; }

std::optional<IdLookupField::Item> IdLookupField::itemReadNow() const
{
    const quint64 action = ado::ReadScope::current();
    if (action == 0 || action != m_itemAction)
        return std::nullopt;
    return m_item;
}

DecodeResult IdLookupField::item(const QString &condition)
{
    if (!decoder() || m_table.isEmpty() || m_idField.isEmpty() || m_textField.isEmpty())
        return {};
    QString statement = "SELECT " + m_idField + " AS ID, " + m_textField;
    if (!m_descriptionField.isEmpty())
        statement += ", " + m_descriptionField;
    statement += " FROM " + m_table + " WHERE " + condition;
    const QVariantList targets{QVariantMap{{QStringLiteral("column"), m_textField}}};
    const DecodeResult found = decoder()(Text(), statement, targets, QString());
    if (found.found && !m_descriptionField.isEmpty()) {
        m_item = {idOf(found.id), found.description, found.columns.value(m_descriptionField).toString()};
        m_itemAction = ado::ReadScope::current();
    }
    return found;
}

DecodeResult IdLookupField::itemById(const QVariant &id)
{
    bool number = false;
    const qlonglong value = id.toString().trimmed().toLongLong(&number);
    return number ? item(m_idField + " = " + QString::number(value)) : DecodeResult{};
}

void IdLookupField::decode()
{
    // A text other than the code of the item on display was typed: find the item of that code.
    const QString text = Text().trimmed();
    if (text != m_resolved) {
        QVariant id;
        if (!text.isEmpty()) {
            const QString code = QString(text).replace(QLatin1Char('\''), QLatin1String("''"));
            const QString column = isUpperCase() ? "UPPER(" + m_textField + ")" : m_textField;
            const DecodeResult found = item(column + " = N'" + code + "'");
            if (found.found)
                id = idOf(found.id);
        }
        m_value = id;
        m_resolved = text;
    }
    // The item of the id on display was read whole in this action: its description is in hand.
    if (const std::optional<Item> read = itemReadNow(); read && m_value.isValid() && read->id == m_value) {
        DecodeResult result;
        result.found = true;
        result.description = read->description;
        showDecoded(result);
        return;
    }
    TextField::decode();
}

void IdLookupField::takePicked(const QString &id)
{
    const DecodeResult found = itemById(id);
    if (!found.found)
        return;
    const QString shown = isUpperCase() ? found.description.toUpper() : found.description;
    m_value = idOf(found.id);
    m_resolved = shown;
    lineEdit()->setText(shown);
    emit Change();
    commit();
}
