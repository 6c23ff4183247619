#include "support/windowfixture.h"

#include "support/databasereads.h"

#include "store/moduletables.h"

#include "form/frmcg_duebilconfigfactory.h"
#include "installer/databaseinstaller.h"

#include "controls/lookupdialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

bool WindowFixture::setUpServices(const QStringList &moreTexts)
{
    m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
    if (!m_db->isValid()) {
        qWarning("demo database: %s", qPrintable(m_db->errorString()));
        return false;
    }
    m_global = std::make_unique<ClsGlobal>();
    QString textError;
    if (!m_global->loadTexts(DatabaseInstaller::textFiles() + moreTexts, &textError)) {
        qWarning("texts: %s", qPrintable(textError));
        return false;
    }
    m_messages = std::make_unique<RecordingMessageService>();
    m_global->setMessageService(m_messages.get());
    m_global->setConnectionString(m_db->connectionString());
    m_global->setCompany(1);
    m_global->setCompanyAccountGroup(1);
    return true;
}

bool WindowFixture::setUpWindow()
{
    if (!setUpServices())
        return false;
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

bool WindowFixture::openAt(const QString &code, const QString &user)
{
    if (!open(user))
        return false;
    m_area->activateWindow();
    if (!QTest::qWaitForWindowActive(m_area.get()))
        return false;
    show(code);
    return m_form->context().FME_CAUSALI->Status() == DataFrame::StatusRecord;
}

void WindowFixture::show(const QString &code, Qt::Key leaveWith)
{
    TextField *field = m_form->context().ui.TXT_CAUSALE;
    QLineEdit *edit = field->lineEdit();
    if (!field->isEnabled()) {
        edit->setText(code);
        field->commit();
        return;
    }
    edit->setFocus(Qt::TabFocusReason);
    edit->clear();
    QTest::keyClicks(edit, code);
    QTest::keyClick(edit, leaveWith);
    // The window puts the focus on the tab in front once the causal is on screen.
    QTest::qWait(10);
}

// Opens the list and picks the entry with the keyboard, as a user does: only the chosen entry
// reaches the combo.
void WindowFixture::choose(ComboField *field, const QString &value)
{
    QComboBox *combo = field->comboBox();
    const int target = combo->findData(value);
    QVERIFY2(target >= 0, qPrintable(field->objectName() + QStringLiteral(" offers no ") + value));
    QVERIFY2(combo->isEnabled(), qPrintable(field->objectName() + QStringLiteral(" is disabled")));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    int at = view->currentIndex().row();
    for (; at < target; ++at)
        QTest::keyClick(view, Qt::Key_Down);
    for (; at > target; --at)
        QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(field->Text(), value);
}

void WindowFixture::tick(CheckField *box)
{
    box->checkBox()->setFocus();
    QTest::keyClick(box->checkBox(), Qt::Key_Space);
}

void WindowFixture::type(TextField *field, const QString &text)
{
    QLineEdit *edit = field->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

bool WindowFixture::confirm()
{
    return m_form->context().ui.INTERNAV->press(QStringLiteral("Conferma"));
}

namespace {

// The list is modal: the answer waits in the event loop until the list is up.
void answerWhenUp(const std::function<bool(LookupDialog *)> &pick)
{
    auto *list = qobject_cast<LookupDialog *>(QApplication::activeModalWidget());
    if (!list) {
        QTimer::singleShot(10, [pick] { answerWhenUp(pick); });
        return;
    }
    pick(list) ? list->accept() : list->reject();
}

} // namespace

void WindowFixture::answerList(std::function<bool(LookupDialog *)> pick)
{
    QTimer::singleShot(0, [pick] { answerWhenUp(pick); });
}

void WindowFixture::execute(const QString &sql) const
{
    ::execute(m_db->connectionString(), {sql});
}

QVariant WindowFixture::scalar(const QString &sql) const
{
    return ::scalar(m_db->connectionString(), sql);
}

QList<int> WindowFixture::messageIds() const
{
    QList<int> ids;
    for (const RecordingMessageService::Call &call : m_messages->calls()) {
        if (call.kind == RecordingMessageService::Kind::Message)
            ids.append(call.message.textId);
    }
    return ids;
}

int WindowFixture::tabOf(const QWidget *control) const
{
    for (int i = 0; i < int(std::size(ui().tabPages)); ++i) {
        if (ui().tabPages[i] && ui().tabPages[i]->isAncestorOf(control))
            return i;
    }
    return -1;
}

QString WindowFixture::rowOf(const QString &column, const QString &causal)
{
    for (const ModuleTables::Table *t : ModuleTables::ofCausal()) {
        if (!t->causalColumn || !t->column(column))
            continue;
        QString where = QStringLiteral(" FROM %1 WHERE %2 = %3").arg(QLatin1String(t->table), QLatin1String(t->causalColumn), causal);
        if (t->companyColumn)
            where += QStringLiteral(" AND %1 = 1").arg(QLatin1String(t->companyColumn));
        return where;
    }
    qFatal("no table of a causal holds %s", qPrintable(column));
}
