#pragma once

#include <QFile>
#include <QTemporaryDir>

// A script for the host's --script, written in the run's folder as `name`: the text as it is or,
// given a file of helpers, the helpers and then the text as the body run once the window opens,
// after which the run ends. Empty when it cannot be written.
inline QString writeScript(const QTemporaryDir &dir, const QString &name, const QString &text,
                           const QString &helpersPath = {})
{
    QByteArray content = text.toUtf8();
    if (!helpersPath.isEmpty()) {
        QFile helpers(helpersPath);
        if (!helpers.open(QIODevice::ReadOnly))
            return {};
        content = helpers.readAll() + QStringLiteral("host.onOpen(function () {\n%1\nhost.quit(0);\n});\n").arg(text).toUtf8();
    }
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return {};
    return file.fileName();
}
