#include "framework/debugtrace.h"

#include <QFile>

#include <cstdio>

QString DebugTrace::line(const QString &instanceId, Phase phase, const QString &moduleName,
                         const QString &objectName)
{
    const QString sep = QStringLiteral("|");
    return QStringLiteral("KVRX:") + sep + instanceId + sep
        + (phase == Phase::Ini ? QStringLiteral("INI") : QStringLiteral("TER")) + sep + moduleName
        + sep + objectName;
}

void DebugTrace::write(const QString &line)
{
    // The debug output of the host is an 8-bit channel: the line goes out as Latin-1.
    const QByteArray bytes = line.toLatin1() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);

    const QString path = qEnvironmentVariable("KVRX_TRACE");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(bytes);
}

void DebugTrace::write(const QString &instanceId, Phase phase, const QString &moduleName,
                       const QString &objectName)
{
    write(line(instanceId, phase, moduleName, objectName));
}
