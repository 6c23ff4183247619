#pragma once

#include "ado/connection.h"

#include <QMap>
#include <QWidget>
#include <functional>

class QListWidget;

// The due-date type selector: which kinds of bill (cash, bank receipt, transfer, ...) a causal
// selects. It keeps its selection itself, per company, user object and code, in
// FW41_SELEZIONEPARAMSCADENZE: the form only hands it the code and asks it to save or delete.
class DueDateSelector : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool abilitasottotipo READ subtypesEnabled WRITE setSubtypesEnabled)

public:
    struct Type
    {
        int code;        // FW41_INDTIPOPAG
        const char *flag;
    };
    static const QList<Type> &types();
    static constexpr int AllTypes = 0;
    static constexpr int TextBase = 994000;   // caption of a type: text id TextBase + code

    explicit DueDateSelector(QWidget *parent = nullptr);
    ~DueDateSelector() override;

    void setConnection(const ado::ConnectionPtr &connection);
    void setHostInterface(QObject *contract);
    void setForm(QObject *form);
    void setCompany(const QString &company);
    void setUObject(const QString &uobject);
    void setTextLookup(const std::function<QString(int)> &text);
    bool subtypesEnabled() const;
    void setSubtypesEnabled(bool enabled);
    void setTypeShown(int code, bool shown);

    // Shows the stored selection of a code (empty: nothing selected).
    void Codice(const QString &code);
    QString codice() const;
    // Writes the selection of the current code, rewritten whole, when it differs from the one
    // read: a selection this user left alone stays as stored (another user's included). False
    // when there is no code, the write failed, or another user changed the stored selection
    // since it was read (conflict() then says so and nothing is written).
    bool Salva();
    bool conflict() const;
    // Removes the stored selection of the current code.
    bool Elimina();

    // The stored rows of the current code as last read or written: type, selected, from, to.
    QList<QStringList> storedSelection() const { return written(m_read); }
    // The selection as Salva writes it, and whether it differs from the stored one.
    QList<QStringList> selection() const { return written(m_rows); }
    bool changed() const { return written(m_rows) != written(m_read); }

    QList<int> tickedTypes() const;
    void setTicked(int code, bool ticked);
    bool isTicked(int code) const;

signals:
    void AfterChange();

private:
    struct Row
    {
        bool selected = false;
        QVariant from;
        QVariant to;
    };
    void fill();
    QMap<int, Row> storedRows() const;
    // The rows as Salva writes them: type, selected, from, to.
    static QList<QStringList> written(const QMap<int, Row> &rows);

    ado::ConnectionPtr m_connection;
    QObject *m_contract = nullptr;
    QObject *m_form = nullptr;
    QString m_company = QStringLiteral("1");
    QString m_uobject = QStringLiteral("CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG");
    QString m_code;
    QMap<int, Row> m_rows;
    QMap<int, Row> m_read;  // as last read or written
    bool m_conflict = false;
    QListWidget *m_list;
    std::function<QString(int)> m_text;
    bool m_subtypes = true;
    bool m_filling = false;
};
