#pragma once

#include "ado/connection.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QDialog;

// The host's parametric-text component: a legend of the placeholders a posting-line text may
// hold. Double-clicking a row raises DoubleClick with the placeholder to insert; the texts
// themselves are expanded by the posting run, never here.
class TestiParametrizzabili : public QObject
{
    Q_OBJECT

public:
    struct Placeholder
    {
        const char *value;
        int textId;  // description
    };
    static const QList<Placeholder> &placeholders();

    explicit TestiParametrizzabili(QObject *parent = nullptr);
    ~TestiParametrizzabili() override;

    void setConnectionString(const QString &connectionString);
    void setConnection(const ado::ConnectionPtr &connection);
    bool hasConnection() const;
    void setContract(QObject *contract);
    bool hasContract() const;
    void setForm(QWidget *form);
    void setOption(bool value);
    void setTextLookup(const std::function<QString(int)> &text);

    // Shows the legend (modeless); its rows raise DoubleClick.
    void ShowLegend();
    QDialog *legend() const;
    bool errorFlag() const;

    // What a double click on a legend row does.
    void chooseRow(int row);

signals:
    void DoubleClick(short *indexRow, QString *value, QString *description);

private:
    QString m_connectionString;
    ado::ConnectionPtr m_connection;
    QPointer<QObject> m_contract;
    QPointer<QWidget> m_form;
    QPointer<QDialog> m_legend;
    std::function<QString(int)> m_text;
    bool m_option = false;
    bool m_error = false;
};
