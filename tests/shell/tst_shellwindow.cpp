#include "controls/designfont.h"
#include "framework/componentloader.h"
#include "framework/guimessageservice.h"
#include "framework/mdiform.h"
#include "shell/shellapplication.h"
#include "shell/shelltexts.h"
#include "shell/shellwindow.h"
#include "support/casefile.h"
#include "support/privateodbc.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QMetaEnum>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

using Kind = RecordingMessageService::Kind;

namespace {

class KeepingForm : public MdiForm
{
public:
    KeepingForm() : MdiForm(QStringLiteral("FRMCG_DUEBILCONFIG")) {}
    bool refuse = true;

protected:
    void queryUnload(bool *cancel) override { *cancel = refuse; }
};

class KeepingFormFactory : public FormFactory
{
public:
    IForm *createForm() override { return last = new KeepingForm; }
    KeepingForm *last = nullptr;
};

// Creates the class in-process with a form whose close can be refused.
class InProcessLoader : public ComponentLoader
{
public:
    InProcessLoader() : ComponentLoader({}) {}
    std::shared_ptr<KeepingFormFactory> factory = std::make_shared<KeepingFormFactory>();
    QObject *createInstance(const QString &progId, QString *) override
    {
        return progId == CLSCG_DUEBILCONFIG::progId() ? new CLSCG_DUEBILCONFIG(factory) : nullptr;
    }
};

} // namespace

// The host's services over a demo database, as the window's suites have them, with the shell's texts.
class tst_ShellWindow : public WindowFixture
{
    Q_OBJECT
    // Before the first ODBC connection of the process: the driver manager reads it once.
    PrivateOdbc m_odbc;

private slots:
    void init() { QVERIFY(setUpServices({ShellText::file()})); }

    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tearDownWindow();
    }

    void companiesComeFromTheDatabase_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<bool>("goodDatabase");
        QTest::addColumn<QVariant>("requested");
        QTest::addColumn<QVariant>("expectedCompany");

        QTest::newRow("requested company selected") << "" << true << QVariant(2) << QVariant(2);
        QTest::newRow("unknown company: the first one") << "" << true << QVariant(999) << QVariant(1);
        QTest::newRow("data source name") << "DSN=contabilita;UID=duebil" << true << QVariant(2) << QVariant(2);
        QTest::newRow("unreadable database keeps the requested company")
            << "sqlite:/nonexistent/dir/x.db" << false << QVariant(5) << QVariant(5);
    }

    void companiesComeFromTheDatabase()
    {
        QFETCH(QString, connection);
        QFETCH(bool, goodDatabase);
        QFETCH(QVariant, requested);
        QFETCH(QVariant, expectedCompany);

        if (connection.startsWith(QLatin1String("DSN="))) {
            if (!m_odbc.isValid())
                QSKIP("SQLite ODBC driver not available");
            QVERIFY(m_odbc.addDataSource(QStringLiteral("contabilita"), m_db->path()));
        }
        if (!connection.isEmpty())
            m_global->setConnectionString(connection);
        ShellOptions options;
        options.company = requested;
        InProcessLoader loader;
        ShellWindow window(m_global.get(), &loader, options);
        QCOMPARE(window.loadCompanies(), goodDatabase);
        QCOMPARE(m_global->company(), expectedCompany);
        if (goodDatabase) {
            QVERIFY(window.companySelector()->count() >= 2);
            QCOMPARE(window.companySelector()->currentData().toList().value(0), expectedCompany);
            QVERIFY(m_messages->calls().isEmpty());
        } else {
            QCOMPARE(window.companySelector()->count(), 0);
            QCOMPARE(m_messages->calls().size(), 1);
            QCOMPARE(m_messages->calls().first().message.textId, int(ShellText::CompaniesUnreadable));
        }
    }

    void companyChangeIsRefusedWhileTheWindowIsOpen()
    {
        ShellOptions options;
        options.company = 1;
        ComponentLoader loader({QStringLiteral(DUEBIL_PLUGIN_DIR)});
        ShellWindow window(m_global.get(), &loader, options);
        QVERIFY(window.loadCompanies());
        QVERIFY(window.openConfiguration());
        QCOMPARE(window.openWindows().size(), 1);

        QComboBox *combo = window.companySelector();
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(m_global->company(), QVariant(1));
        const auto calls = m_messages->callsOf(Kind::Message);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().message.textId, 30179);
        QCOMPARE(calls.first().message.title, QStringLiteral("Informazione"));
        QCOMPARE(calls.first().message.style, 64);

        // Once the window is closed the company can change.
        QCOMPARE(window.openWindows().first()->CloseForm(), QVariant(true));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.openWindows().isEmpty());
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(m_global->company(), QVariant(2));
        // The branch-office settings are handed over with the company, for the company chosen only.
        QCOMPARE(m_global->ledgerSetting(QStringLiteral("GestioneSedi")).toInt(), 1);
        QCOMPARE(m_global->ledgerSetting(QStringLiteral("RegistrazioneSedeUnica")).toString(), QStringLiteral("0"));
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QVERIFY(m_global->ledgerSetting(QStringLiteral("GestioneSedi")).isNull());
        QVERIFY(m_global->ledgerSetting(QStringLiteral("RegistrazioneSedeUnica")).isNull());
    }

    void mainWindowClosesOnlyWithTheModuleWindow_data()
    {
        QTest::addColumn<bool>("refuse");
        QTest::newRow("module window agrees") << false;
        QTest::newRow("module window refuses") << true;
    }

    void mainWindowClosesOnlyWithTheModuleWindow()
    {
        QFETCH(bool, refuse);
        InProcessLoader loader;
        ShellWindow window(m_global.get(), &loader, ShellOptions{});
        window.show();
        QVERIFY(window.openConfiguration());
        loader.factory->last->refuse = refuse;
        QPointer<QObject> instance = dynamic_cast<QObject *>(window.openWindows().first());
        QCOMPARE(window.close(), !refuse);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(instance.isNull(), !refuse);
        QCOMPARE(window.isVisible(), refuse);
        QCOMPARE(window.openWindows().size(), refuse ? 1 : 0);
        if (refuse)
            QVERIFY(window.mdiArea()->subWindowList().first()->isVisible());
        loader.factory->last->refuse = false;
    }

    void missingModuleIsToldToTheUser()
    {
        QTemporaryDir emptyPluginDir;
        ComponentLoader loader({emptyPluginDir.path()});
        ShellWindow window(m_global.get(), &loader, ShellOptions{});
        QVERIFY(!window.openConfiguration());
        const auto calls = m_messages->callsOf(Kind::Message);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().message.textId, int(ShellText::ModuleUnavailable));
        QVERIFY(calls.first().message.text.contains(m_global->text(ShellText::WindowCaption)));
        // The loader's reason names the ProgID nobody registers.
        QVERIFY(calls.first().message.text.contains(CLSCG_DUEBILCONFIG::progId()));
    }

    // A message of the host over the window reads in the font the window is designed in.
    void messageBoxesSpeakTheFormsFont()
    {
        QTemporaryDir emptyPluginDir;
        ComponentLoader loader({emptyPluginDir.path()});
        ShellWindow window(m_global.get(), &loader, ShellOptions{});
        GuiMessageService service(&m_global->textStore(), &window);
        QStringList families;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            families << box->font().family();
            for (QWidget *w : box->findChildren<QWidget *>())
                families << w->font().family();
            box->reject();
        });
        service.showMessage(MessageRequest{0, QStringLiteral("Prova"), {}, QStringLiteral("Titolo"), MsgStyle::OkOnly});
        QVERIFY(!families.isEmpty());
        families.removeDuplicates();
        QCOMPARE(families, QStringList{DesignFont::font().family()});
    }

    void recordMenuShowsEveryCommandWithItsShortcut()
    {
        InProcessLoader loader;
        ShellWindow window(m_global.get(), &loader, ShellOptions{});
        window.navigator()->addExtraCommand(QStringLiteral("DUPLICA"), QStringLiteral("Duplica"));
        window.navigator()->addExtraCommand(QStringLiteral("DUPLICA"), QStringLiteral("Duplica"));
        auto *menu = window.findChild<QMenu *>(QStringLiteral("MNU_RECORD"));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("Re&cord"));
        QStringList shown;
        for (const QAction *action : menu->actions()) {
            shown << action->text() + QLatin1Char('=') + action->shortcut().toString(QKeySequence::PortableText);
            // The tool bar's button names its key too.
            QCOMPARE(action->toolTip(), QStringLiteral("%1 (%2)").arg(action->text(),
                                                                      action->shortcut().toString(QKeySequence::NativeText)));
            QVERIFY(window.findChild<QToolBar *>(QStringLiteral("TTB_NAVIGATORE"))->actions().contains(action));
        }
        // Its letter is the one of "Contabilità": the key again reaches the other of the two.
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList opened;
        for (int press = 0; press < 2; ++press) {
            QTest::keyClick(window.menuBar(), Qt::Key_C, Qt::AltModifier);
            QTRY_VERIFY(window.menuBar()->activeAction());
            opened << window.menuBar()->activeAction()->text();
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        }
        opened.sort();
        QCOMPARE(opened, QStringList({QStringLiteral("&Contabilità"), QStringLiteral("Re&cord")}));
        QCOMPARE(shown, QStringList({"Primo=Alt+Home", "Precedente=Alt+Left", "Successivo=Alt+Right", "Ultimo=Alt+End",
                                     "Nuovo=Ctrl+N", "Conferma=Ctrl+S", "Annulla modifiche=Ctrl+Z", "Elimina=Ctrl+Del",
                                     "Ricerca=Ctrl+F", "Duplica=Ctrl+D"}));
    }

    // tests/data/recordshortcuts.cases.
    void recordShortcutsWorkInsideTheWindow_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("expected");
        for (const QString &row : readCases(QStringLiteral(DUEBIL_TEST_DATA "/recordshortcuts.cases")).first().lines("rows")) {
            const QStringList f = row.split(QLatin1Char('\t'));
            QTest::newRow(qPrintable(f.at(0))) << f.at(1) << QKeySequence(f.at(2)) << f.value(3);
        }
    }

    // The keys reach the record commands from the fields of a module's window in the host's MDI
    // area, where the user works, except Ctrl+Z in a text field, which undoes the typing there.
    void recordShortcutsWorkInsideTheWindow()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, expected);
        InProcessLoader loader;
        ShellWindow window(m_global.get(), &loader, ShellOptions{});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.openConfiguration());
        window.navigator()->addExtraCommand(QStringLiteral("DUPLICA"), QStringLiteral("Duplica"));
        KeepingForm *form = loader.factory->last;
        form->refuse = false;
        auto *layout = new QVBoxLayout(form);
        auto *edit = new QLineEdit(QStringLiteral("Incasso"), form);
        edit->setObjectName(QStringLiteral("TXT_DESCRIZIONE"));
        auto *combo = new QComboBox(form);
        combo->setObjectName(QStringLiteral("CBO_TIPOOPERAZIONE"));
        combo->addItems({QStringLiteral("Incassi"), QStringLiteral("Pagamenti")});
        layout->addWidget(edit);
        layout->addWidget(combo);
        auto *target = form->findChild<QWidget *>(focus);
        target->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), target);
        QTest::keyClicks(edit, QStringLiteral(" RiBa"));

        QSignalSpy commands(window.navigator(), &ActiveNavigator::commandTriggered);
        QSignalSpy extras(window.navigator(), &ActiveNavigator::extraCommandTriggered);
        QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
        QStringList received;
        for (const QList<QVariant> &signal : std::as_const(commands))
            received << QString::fromLatin1(QMetaEnum::fromType<ActiveNavigator::Command>().valueToKey(
                signal.first().value<ActiveNavigator::Command>()));
        for (const QList<QVariant> &signal : std::as_const(extras))
            received << signal.first().toString();
        QCOMPARE(received, expected.isEmpty() ? QStringList() : QStringList{expected});
        QCOMPARE(edit->text() == QLatin1String("Incasso RiBa"), !(expected.isEmpty() && target == edit));
        QCOMPARE(combo->currentIndex(), 0);
    }

    void screenshotRunWritesAPicture()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("finestra.png"));
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("DUEBIL_DEMO_DB"), dir.filePath(QStringLiteral("demo.db")));
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(DUEBIL_HOST), {QStringLiteral("--screenshot"), picture, QStringLiteral("--causale"),
                                                 QStringLiteral("301")});
        QVERIFY(host.waitForFinished(60000));
        QCOMPARE(host.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.exitCode(), 0);
        const QImage image(picture);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 400 && image.height() > 300);
        // The class of the module was created and released.
        const QByteArray err = host.readAllStandardError();
        QVERIFY2(err.contains("|INI|CGUO_DUEBILCONFIG|CLSCG_DUEBILCONFIG"), err.constData());
        QVERIFY2(err.contains("|TER|CGUO_DUEBILCONFIG|CLSCG_DUEBILCONFIG"), err.constData());
    }

    // Qt draws some texts of its own: the cut-and-paste menu of every field, standard buttons.
    void rightClickMenuOfAFieldIsItalian()
    {
        QVERIFY(ShellApplication::installQtTranslation(*QCoreApplication::instance()));
        QLineEdit field;
        field.setText(QStringLiteral("300"));
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList captions;
        for (const QAction *action : menu->actions())
            captions.append(action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0));
        QVERIFY2(captions.contains(QStringLiteral("Incolla")) && captions.contains(QStringLiteral("Copia")),
                 qPrintable(captions.join(QLatin1String(", "))));
    }
};

QTEST_MAIN(tst_ShellWindow)
#include "tst_shellwindow.moc"
