#pragma once

#include <QList>
#include <QMetaType>
#include <QMap>
#include <QString>
#include <QStringList>

// Cases kept as text under tests/data: "=== name" starts a case, "--- part" one of its parts,
// every other line belongs to the part above it, but for the lines starting with "#", which are
// comments. A file that cannot be read, or holds no case, stops the test program.
struct TextCase
{
    QString name;
    QMap<QString, QStringList> parts;

    QStringList lines(const QString &part) const { return parts.value(part); }
    QString text(const QString &part) const { return parts.value(part).join(QLatin1Char('\n')); }
};

QList<TextCase> readCases(const QString &path);

// A data function's rows: one column "c", a row per case of the files, named by the case.
void addCaseRows(const QStringList &paths);

Q_DECLARE_METATYPE(TextCase)
