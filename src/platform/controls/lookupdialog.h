#pragma once

#include "ado/connection.h"

#include <QDialog>
#include <memory>

class QDialogButtonBox;
class QLineEdit;

// The list window of a look-up: the rows of the statement the form gives, narrowed by what the
// user types in the search box; the chosen row's value of the return column is the code.
// The rows are read as the list needs them (a block at a time while the user scrolls down, all
// of them for the last row or a search), so a ledger of a hundred thousand accounts opens at once.
class LookupDialog : public QDialog
{
    Q_OBJECT

public:
    // columns: a list of {title, index} maps (index: column of the statement); an empty list
    // shows every column under its name.
    LookupDialog(const ado::ConnectionPtr &connection, const QString &statement, const QVariant &columns,
                 const QString &title, int returnColumn = 0, QWidget *parent = nullptr);
    ~LookupDialog() override;

    int rowCount() const;          // rows the list offers after the search, read to the last
    int loadedRowCount() const;    // rows the list holds so far
    void setSearch(const QString &text);
    bool chooseRow(int visibleRow);
    QString chosenCode() const;
    QString errorString() const;
    // The captions of the two buttons, in the user's language.
    void setButtonCaptions(const QString &ok, const QString &cancel);
    // The list opens at the row whose first shown column holds this code (the value of the
    // field the list was asked from), at the first row when none does.
    void setCurrentCode(const QString &code);
    int currentRow() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applySearch();
    void selectFirstRow();
    void fitColumns();

    class Rows;
    class Table;
    QLineEdit *m_search;
    Table *m_table;
    QDialogButtonBox *m_buttons;
    std::unique_ptr<Rows> m_rows;
    int m_returnColumn;
    QString m_chosen;
    QString m_current;
    QString m_error;
};
