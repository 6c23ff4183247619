#include "framework/instanceid.h"

#include <QUuid>

QString InstanceId::GeneraGuid()
{
    const QUuid uuid = QUuid::createUuid();
    if (uuid.isNull())
        return QString();
    return QString::fromLatin1(uuid.toRfc4122().toHex().toUpper());
}

QString InstanceId::value()
{
    if (m_value.isEmpty())
        m_value = GeneraGuid();
    return m_value;
}
