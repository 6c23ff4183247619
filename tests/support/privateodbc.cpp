#include "support/privateodbc.h"

#include <QFile>
#include <QFileInfo>

namespace {

const char *const driverLibrary = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

bool append(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(text) == text.size();
}

} // namespace

PrivateOdbc::PrivateOdbc()
{
    QString library = QString::fromLatin1(driverLibrary);
    if (!QFileInfo::exists(library))
        library = QStringLiteral("libsqlite3odbc.so");
    m_valid = m_dir.isValid()
        && append(m_dir.filePath(QStringLiteral("odbcinst.ini")),
                  "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" + library.toUtf8() + "\n")
        && append(m_dir.filePath(QStringLiteral("odbc.ini")), QByteArray());
    if (m_valid) {
        qputenv("ODBCSYSINI", QFile::encodeName(m_dir.path()));
        qputenv("ODBCINI", QFile::encodeName(m_dir.filePath(QStringLiteral("odbc.ini"))));
    }
}

bool PrivateOdbc::isValid() const
{
    return m_valid;
}

bool PrivateOdbc::addDataSource(const QString &name, const QString &databasePath)
{
    return m_valid
        && append(m_dir.filePath(QStringLiteral("odbc.ini")),
                  QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=%2\n").arg(name, databasePath).toUtf8());
}
