#pragma once

#include "ado/connection.h"

#include <QString>

#include <memory>

// A fresh SQLite database for one test case, in its own temporary folder that
// is removed with the object. Demo holds the host's demo data and the demo
// causals; SchemaOnly holds the tables and the two catalogues only.
class TestDatabase
{
public:
    enum Content { SchemaOnly, Demo };

    explicit TestDatabase(Content c = Demo);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    bool isValid() const;
    QString errorString() const;
    QString path() const;
    QString connectionString() const; // "sqlite:" + path

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A test database with a connection open on it. A database that cannot be made stops the test
// program: no case could run on it.
struct ConnectedDatabase
{
    explicit ConnectedDatabase(TestDatabase::Content c = TestDatabase::Demo);
    TestDatabase database;
    ado::ConnectionPtr connection;
};
