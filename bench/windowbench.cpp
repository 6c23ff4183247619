#include "windowbench.h"

#include "clscg_duebilconfig.h"
#include "clsglobal.h"
#include "databaseinstaller.h"
#include "frmcg_duebilconfig.h"
#include "frmcg_duebilconfigfactory.h"
#include "recordingmessageservice.h"
#include "recordset.h"
#include "simplenavigator.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <unistd.h>

struct WindowBench::Private
{
    ClsGlobal global;
    RecordingMessageService messages;
    QMdiArea area;
    SimpleNavigator navigator;
    std::unique_ptr<CLSCG_DUEBILCONFIG> cls;
    FRMCG_DUEBILCONFIG *form = nullptr;
};

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
    return d->form && QTest::qWaitFor([this] { return d->form->isActivated(); }, 60000);
}

void WindowBench::close()
{
    if (d->cls)
        d->cls->CloseForm();
    d->cls.reset();
    d->form = nullptr;
    QCoreApplication::processEvents();
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

double WindowBench::residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
