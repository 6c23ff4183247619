#include "windowfixture.h"

#include "databaseinstaller.h"
#include "frmcg_duebilconfigfactory.h"

#include <QTest>

bool WindowFixture::setUpWindow()
{
    m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
    if (!m_db->isValid()) {
        qWarning("demo database: %s", qPrintable(m_db->errorString()));
        return false;
    }
    m_global = std::make_unique<ClsGlobal>();
    QString textError;
    if (!m_global->loadTexts(DatabaseInstaller::textFiles(), &textError)) {
        qWarning("texts: %s", qPrintable(textError));
        return false;
    }
    m_messages = std::make_unique<RecordingMessageService>();
    m_global->setMessageService(m_messages.get());
    m_global->setConnectionString(m_db->connectionString());
    m_global->setCompany(1);
    m_global->setCompanyAccountGroup(1);
    m_area = std::make_unique<QMdiArea>();
    m_area->resize(1100, 700);
    m_area->show();
    m_global->setMdiArea(m_area.get());
    m_navigator = std::make_unique<SimpleNavigator>();
    return true;
}

void WindowFixture::tearDownWindow()
{
    if (m_cls)
        m_cls->CloseForm();
    m_cls.reset();
    m_form = nullptr;
    m_navigator.reset();
    m_area.reset();
    m_global.reset();
    m_messages.reset();
    m_db.reset();
}

FRMCG_DUEBILCONFIG *WindowFixture::open(const QString &user, int waitMs)
{
    m_global->setUserName(user);
    m_cls = std::make_unique<CLSCG_DUEBILCONFIG>(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
    m_cls->setClsGlobal(m_global.get());
    m_cls->setActiveNavigator(m_navigator.get());
    m_cls->setCaption(QStringLiteral("Configurazione"));
    m_cls->ShowForm();
    m_form = dynamic_cast<FRMCG_DUEBILCONFIG *>(m_cls->form());
    if (!m_form || !QTest::qWaitFor([this] { return m_form->isActivated(); }, waitMs))
        return nullptr;
    return m_form;
}
