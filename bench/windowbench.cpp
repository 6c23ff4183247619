#include "windowbench.h"

#include "ado/recordset.h"
#include "ado/sqlitestatement.h"
#include "controls/lookupdialog.h"
#include "form/frmcg_duebilconfig.h"
#include "form/frmcg_duebilconfigfactory.h"
#include "framework/clsglobal.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "host/clscg_duebilconfig.h"
#include "installer/databaseinstaller.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QMdiArea>
#include <QAbstractItemView>
#include <QTest>
#include <atomic>
#include <sqlite3.h>
#include <unistd.h>

struct WindowBench::Private
{
    ClsGlobal global;
    RecordingMessageService messages;
    QMdiArea area;
    SimpleNavigator navigator;
    std::unique_ptr<CLSCG_DUEBILCONFIG> cls;
    FRMCG_DUEBILCONFIG *form = nullptr;
    std::unique_ptr<StatementCapture> capture;
    QHash<QString, TextField *> fields;

    // Found once per window: searching the form's widgets by name is the benchmark's work, not
    // the window's, and would otherwise weigh more than the decode it times.
    TextField *field(const QString &name)
    {
        auto it = fields.find(name);
        if (it == fields.end())
            it = fields.insert(name, form->findChild<TextField *>(name));
        return it.value();
    }
};

StatementCapture::StatementCapture(const QSqlDatabase &database) : m_handle(ado::sqliteHandleOf(database))
{
}

StatementCapture::~StatementCapture()
{
    stop();
}

void StatementCapture::start()
{
    m_captured.clear();
    if (m_handle)
        sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &StatementCapture::traced, this);
}

QStringList StatementCapture::stop()
{
    if (m_handle)
        sqlite3_trace_v2(m_handle, 0, nullptr, nullptr);
    return m_captured;
}

int StatementCapture::traced(unsigned, void *self, void *statement, void *)
{
    char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
    // Statements of triggers come as comments; only the caller's own statements count.
    if (sql && qstrncmp(sql, "--", 2) != 0)
        static_cast<StatementCapture *>(self)->m_captured.append(QString::fromUtf8(sql));
    sqlite3_free(sql);
    return 0;
}

WindowBench::WindowBench() : d(std::make_unique<Private>())
{
    d->global.loadTexts(DatabaseInstaller::textFiles());
    d->global.setMessageService(&d->messages);
    d->global.setCompany(1);
    d->global.setCompanyAccountGroup(1);
    d->global.setUserName(QStringLiteral("VELTO"));
    d->global.setMdiArea(&d->area);
    d->messages.setDefaultAnswer(MsgAnswer::No);
    d->area.resize(1100, 700);
    d->area.show();
}

WindowBench::~WindowBench()
{
    close();
}

bool WindowBench::open(const QString &databasePath)
{
    d->global.setConnectionString(QStringLiteral("sqlite:") + databasePath);
    d->cls = std::make_unique<CLSCG_DUEBILCONFIG>(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
    d->cls->setClsGlobal(&d->global);
    d->cls->setActiveNavigator(&d->navigator);
    d->cls->setCaption(QStringLiteral("Configurazione"));
    d->cls->ShowForm();
    d->form = dynamic_cast<FRMCG_DUEBILCONFIG *>(d->cls->form());
    if (!d->form)
        return false;
    // Events are handled as they come: QTest::qWaitFor sleeps 10 ms between its looks, which
    // would be timed as the window's.
    QElapsedTimer waited;
    waited.start();
    while (!d->form->isActivated() && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return d->form->isActivated();
}

void WindowBench::close()
{
    if (d->cls)
        d->cls->CloseForm();
    d->cls.reset();
    d->form = nullptr;
    d->fields.clear();
    QCoreApplication::processEvents();
    // The sub-window goes with deleteLater(), which no event loop of the benchmark reaches: the
    // next window would open beside the last one instead of alone in the area.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!d->area.subWindowList().isEmpty())
        qFatal("the window's sub-window outlived its closing");
}

bool WindowBench::show(int code)
{
    FormUi &ui = d->form->context().ui;
    if (d->form->context().FME_CAUSALI->Status() != DataFrame::StatusQuery)
        ui.INTERNAV->press(QStringLiteral("Nuovo"));
    ui.TXT_CAUSALE->lineEdit()->setText(QString::number(code));
    ui.TXT_CAUSALE->commit();
    return d->form->context().FME_CAUSALI->Status() == DataFrame::StatusRecord;
}

bool WindowBench::newRecord()
{
    d->form->context().ui.INTERNAV->press(QStringLiteral("Nuovo"));
    return d->form->context().FME_CAUSALI->Status() == DataFrame::StatusQuery;
}

bool WindowBench::saveWithOneChangePerTab(int round)
{
    FormContext &ctx = d->form->context();
    FormUi &ui = ctx.ui;
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Causale di prova %1").arg(round));
    ui.TXT_MESI->setText(QString::number(1 + round % 12));
    ui.TXT_TESTOPARAMETRICO->setText(QStringLiteral("Riga %1 [NUMDOC]").arg(round));
    CheckField *box = ui.CHK_FILTER[5];
    box->setText(box->Text() == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1"));
    emit box->Click();
    ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
    return ui.INTERNAV->press(QStringLiteral("Conferma"));
}

bool WindowBench::newExclusion()
{
    return d->form->context().ui.GRIDNAVREVOKE->press(QStringLiteral("NUOVO"));
}

bool WindowBench::decode(const QString &field, const QString &code)
{
    TextField *edit = d->field(field);
    if (!edit || !edit->isEnabled())
        return false;
    edit->lineEdit()->setText(code);
    return edit->commit() && edit->isFound();
}

int WindowBench::lookup(const QString &field, bool toTheEnd)
{
    TextField *edit = d->field(field);
    if (!edit || !edit->isEnabled())
        return -1;
    int rows = -1;
    const ado::ConnectionPtr connection = d->form->context().Gcnn_Connessione;
    edit->setLookupPicker([&](const QString &statement, const QVariant &columns, const QString &title, const QString &,
                              QString *) {
        LookupDialog dialog(connection, statement, columns, title, 0, d->form);
        rows = dialog.loadedRowCount();
        if (toTheEnd) {
            // On screen, as the user sees it, with the cursor on its first row.
            dialog.show();
            auto *table = dialog.findChild<QAbstractItemView *>();
            QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);
            rows = table->currentIndex().row() == dialog.loadedRowCount() - 1 ? dialog.loadedRowCount() : -1;
        }
        return false;
    });
    edit->lookup();
    return rows;
}

bool WindowBench::next()
{
    return d->form->context().ui.INTERNAV->press(QStringLiteral("Successivo"));
}

bool WindowBench::saveOneChange(int round)
{
    d->form->context().ui.TXT_DESCRIZIONE->setText(QStringLiteral("Causale di prova %1").arg(round));
    return d->form->context().ui.INTERNAV->press(QStringLiteral("Conferma"));
}

bool WindowBench::undoOneChange(int round)
{
    d->form->context().ui.TXT_DESCRIZIONE->setText(QStringLiteral("Causale annullata %1").arg(round));
    d->messages.enqueueAnswer(MsgAnswer::Yes);  // should the undo ask first
    return d->form->context().ui.INTERNAV->press(QStringLiteral("Annulla"));
}

bool WindowBench::duplicateTo(int code)
{
    d->messages.enqueueInput(QString::number(code));
    // The closing message of the copy is answered by the default answer.
    return d->form->context().ui.INTERNAV->press(QStringLiteral("Duplica"));
}

void WindowBench::startCapture()
{
    d->capture = std::make_unique<StatementCapture>(d->form->context().Gcnn_Connessione->database());
    d->capture->start();
}

QStringList WindowBench::stopCapture()
{
    const QStringList statements = d->capture->stop();
    d->capture.reset();
    return statements;
}

double WindowBench::residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

namespace RoundTrip {

namespace {

std::atomic<int> delay{0};
std::atomic<qint64> sent{0};

int waited(unsigned, void *, void *statement, void *)
{
    const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(statement));
    // Statements of triggers come as comments: they run on the server within their statement.
    if (sql && qstrncmp(sql, "--", 2) == 0)
        return 0;
    ++sent;
    if (const int us = delay.load())
        ::usleep(useconds_t(us));
    return 0;
}

int opened(sqlite3 *handle, const char **, const struct sqlite3_api_routines *)
{
    sqlite3_trace_v2(handle, SQLITE_TRACE_STMT, &waited, nullptr);
    return SQLITE_OK;
}

} // namespace

void install()
{
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&opened));
}

void setDelayMicroseconds(int microseconds)
{
    delay = microseconds;
}

qint64 statements()
{
    return sent.load();
}

} // namespace RoundTrip
