#include "framework/testiparametrizzabili.h"

#include <QDialog>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

const QList<TestiParametrizzabili::Placeholder> &TestiParametrizzabili::placeholders()
{
    static const QList<Placeholder> list = {
        {"[NUMDOC]", 996001},  {"[DATADOC]", 996002}, {"[DATASCAD]", 996003}, {"[CLIFOR]", 996004},
        {"[RAGSOC]", 996005},  {"[IMPORTO]", 996006}, {"[NUMPART]", 996007}, {"[ANNOPART]", 996008},
        {"[DESCRPAG]", 996009}, {"<T>", 996010},
    };
    return list;
}

TestiParametrizzabili::TestiParametrizzabili(QObject *parent) : QObject(parent) {}

TestiParametrizzabili::~TestiParametrizzabili()
{
    delete m_legend;
}

void TestiParametrizzabili::setConnectionString(const QString &connectionString) { m_connectionString = connectionString; }
void TestiParametrizzabili::setConnection(const ado::ConnectionPtr &connection) { m_connection = connection; }
bool TestiParametrizzabili::hasConnection() const { return m_connection != nullptr; }
void TestiParametrizzabili::setContract(QObject *contract) { m_contract = contract; }
bool TestiParametrizzabili::hasContract() const { return m_contract != nullptr; }
void TestiParametrizzabili::setForm(QWidget *form) { m_form = form; }
void TestiParametrizzabili::setOption(bool value) { m_option = value; }
void TestiParametrizzabili::setTextLookup(const std::function<QString(int)> &text) { m_text = text; }
QDialog *TestiParametrizzabili::legend() const { return m_legend; }
bool TestiParametrizzabili::errorFlag() const { return m_error; }

void TestiParametrizzabili::ShowLegend()
{
    m_error = false;
    if (!m_legend) {
        m_legend = new QDialog(m_form, Qt::Tool);
        m_legend->setObjectName(QStringLiteral("LegendaTestiParametrizzabili"));
        // A window of its own inherits no font: it speaks the form's.
        if (m_form)
            m_legend->setFont(m_form->font());
        m_legend->resize(420, 320);
        auto *layout = new QVBoxLayout(m_legend);
        auto *table = new QTableWidget(int(placeholders().size()), 2, m_legend);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->verticalHeader()->setVisible(false);
        table->horizontalHeader()->setVisible(false);
        table->horizontalHeader()->setStretchLastSection(true);
        for (int i = 0; i < placeholders().size(); ++i) {
            const Placeholder &p = placeholders().at(i);
            table->setItem(i, 0, new QTableWidgetItem(QString::fromLatin1(p.value)));
            table->setItem(i, 1, new QTableWidgetItem(m_text ? m_text(p.textId) : QString()));
        }
        connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row) { chooseRow(row); });
        layout->addWidget(table);
        if (m_text)
            m_legend->setWindowTitle(m_text(996000));
    }
    m_legend->show();
    m_legend->raise();
}

void TestiParametrizzabili::chooseRow(int row)
{
    if (row < 0 || row >= placeholders().size())
        return;
    short index = short(row);
    QString value = QString::fromLatin1(placeholders().at(row).value);
    QString description = m_text ? m_text(placeholders().at(row).textId) : QString();
    emit DoubleClick(&index, &value, &description);
}
