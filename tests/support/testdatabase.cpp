#include "support/testdatabase.h"

#include "installer/databaseinstaller.h"

#include <QTemporaryDir>

struct TestDatabase::Private
{
    QTemporaryDir dir;
    QString path;
    QString error;
    bool valid = false;
};

TestDatabase::TestDatabase(Content c)
    : d(std::make_unique<Private>())
{
    if (!d->dir.isValid()) {
        d->error = QStringLiteral("cannot create a temporary folder: %1").arg(d->dir.errorString());
        return;
    }
    d->path = d->dir.filePath(QStringLiteral("duebilconfig-test.db"));
    d->valid = DatabaseInstaller::create(d->path, c == Demo, &d->error);
}

TestDatabase::~TestDatabase() = default;

bool TestDatabase::isValid() const
{
    return d->valid;
}

QString TestDatabase::errorString() const
{
    return d->error;
}

QString TestDatabase::path() const
{
    return d->path;
}

QString TestDatabase::connectionString() const
{
    return QStringLiteral("sqlite:") + d->path;
}

ConnectedDatabase::ConnectedDatabase(TestDatabase::Content c)
    : database(c), connection(std::make_shared<ado::Connection>())
{
    if (!database.isValid())
        qFatal("cannot create a test database: %s", qPrintable(database.errorString()));
    connection->Open(database.connectionString());
}
