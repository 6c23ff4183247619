#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The tables the module keeps, and the host's due-date selection it keeps rows in, each
// defined once: columns, key, whether kept per company, and the place of its rows in the
// sequences the module runs. The copy and the delete of a causal, its reading for the
// history and the tool's export, import, show and completion all follow this list, so a new
// column or table is added here and in the database scripts, and nowhere else.
namespace ModuleTables {

// What a column holds as the production schema stores it.
enum class Type {
    Integer,  // INT
    Flag,     // INT holding 0 or 1
    Decimal,  // DECIMAL(18, 4)
    Text,     // NVARCHAR(size)
};

struct Column
{
    const char *name;
    Type type;
    int size = 0;                    // Text: characters the column holds
    bool notNull = false;
    const char *refTable = nullptr;  // the catalogue or host table the value is a key of
    const char *refColumn = nullptr;
    int min = 0, max = 0;            // Integer: a range when max > min
    bool generated = false;          // the database gives the value
};

enum class Role {
    Causal,         // the causal's own row
    Configuration,  // rows kept for each causal
    Selection,      // the host's due-date selection, shared by every object
    Catalogue,      // fields and checks shipped with the module
    History,        // the module's record of its changes
};

struct Table
{
    const char *table;                    // its name
    Role role;
    QList<Column> columns = {};           // in the table's order
    const char *section = "";             // its section in an exported causal
    const char *causalColumn = nullptr;   // the causal a row belongs to
    const char *companyColumn = nullptr;  // nullptr: not per company
    const char *objectColumn = nullptr;   // the host object a row belongs to, in a shared table
    QStringList keyColumns = {};          // what tells two rows of one causal apart
    const char *orderBy = "";
    bool single = false;                  // one row per causal, exported as an object (or null)
    bool writtenByTab = false;            // its tab writes the rows itself, not through a frame
    // The place of its statement in the copy, the delete and the completion of a causal, 0
    // when the sequence leaves it out (the causal row and the selection have their own).
    int copyStep = 0;
    int deleteStep = 0;
    int completionStep = 0;
    // The statement the tool's "show" lists a causal's rows of this table with.
    QString (*show)(const QString &code) = nullptr;

    QStringList columnNames() const;
    const Column *column(const QString &name) const;
};

// The causal's row first, then its configuration in the window's order, the due-date
// selection, the catalogues and the history.
const QList<Table> &all();
// The table of that name, nullptr when it is none of the above.
const Table *find(const QString &table);
// The tables holding the rows of one causal (causal row, configuration, selection), in the
// order of all().
QList<const Table *> ofCausal();
// The tables a sequence takes, in its order.
QList<const Table *> copyOrder();
QList<const Table *> deleteOrder();
QList<const Table *> completionOrder();

} // namespace ModuleTables
