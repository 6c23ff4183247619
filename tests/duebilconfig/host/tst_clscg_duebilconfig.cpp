#include "framework/iform.h"
#include "framework/mdiform.h"
#include "framework/scriptobjectmodel.h"
#include "support/windowfixture.h"

#include <QFile>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using Kind = RecordingMessageService::Kind;

namespace {

// A form whose release can be made to fail, as the real form's can.
class TestForm : public MdiForm
{
public:
    explicit TestForm(bool failRelease) : MdiForm(QStringLiteral("FRMCG_DUEBILCONFIG")), m_failRelease(failRelease) {}
    void release() override
    {
        if (m_failRelease)
            throw std::runtime_error("form busy");
        MdiForm::release();
    }

private:
    bool m_failRelease;
};

class TestFormFactory : public FormFactory
{
public:
    bool failRelease = false;
    IForm *createForm() override { return new TestForm(failRelease); }
};

} // namespace

// The host's services and MDI area as the window's suites have them; the forms here are the test's own.
class tst_CLSCG_DUEBILCONFIG : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }

    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tearDownWindow();
    }

    void contractValuesReadBack_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("WindowState in range") << "WindowState" << QVariant(2) << QVariant(2);
        QTest::newRow("WindowState above 16 bits is not stored") << "WindowState" << QVariant(40000) << QVariant(0);
        QTest::newRow("WindowState below 16 bits is not stored") << "WindowState" << QVariant(-40000) << QVariant(0);
        QTest::newRow("ProgramMode lowest 16-bit") << "ProgramMode" << QVariant(-32768) << QVariant(-32768);
        QTest::newRow("ProgramMode above 16 bits is not stored") << "ProgramMode" << QVariant(32768) << QVariant(0);
        QTest::newRow("Top from text") << "Top" << QVariant(QStringLiteral("120")) << QVariant(120);
        QTest::newRow("Top from a value that is no number") << "Top" << QVariant(QStringLiteral("alto")) << QVariant(0);
        QTest::newRow("Filtro is dropped") << "Filtro" << QVariant(QStringLiteral("CGP0_CAUSALE = 301")) << QVariant();
        QTest::newRow("MenuProg copy") << "MenuProg" << QVariant(17) << QVariant(17);
    }

    void contractValuesReadBack()
    {
        QFETCH(QString, member);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);

        CLSCG_DUEBILCONFIG cls;
        Cinterface &c = cls;
        QVariant read;
        if (member == u"WindowState") { c.setWindowState(value.toInt()); read = int(c.windowState()); }
        else if (member == u"ProgramMode") { c.setProgramMode(value.toInt()); read = int(c.programMode()); }
        else if (member == u"Top") { c.setTop(value); read = c.top(); }
        else if (member == u"Filtro") { c.setFiltro(value); read = c.filtro(); }
        else if (member == u"MenuProg") { c.setMenuProg(value); read = c.menuProg(); }
        else QFAIL("unknown member");
        QCOMPARE(read, expected);
    }

    // ShowForm puts the form in the host's MDI area under the host's caption, tied to the class.
    // Its close, refused or not, is the shell's suite's (tst_shellwindow) and the form's.
    void showFormPutsTheFormInTheHostsArea()
    {
        CLSCG_DUEBILCONFIG cls(std::make_shared<TestFormFactory>());
        cls.setClsGlobal(m_global.get());
        cls.setCaption(QStringLiteral("Pagamenti / Incassi effetti massivo - Configurazione"));
        QCOMPARE(cls.ShowForm(), QVariant());
        IForm *form = cls.form();
        QVERIFY(form);
        QCOMPARE(form->widget()->windowTitle(), QStringLiteral("Pagamenti / Incassi effetti massivo - Configurazione"));
        QCOMPARE(form->Gcls_Interface(), static_cast<Cinterface *>(&cls));
        QCOMPARE(form->Gcls_Parent(), &cls);
        QCOMPARE(m_area->subWindowList().size(), 1);
        QCOMPARE(m_area->subWindowList().first()->widget(), form->widget());
    }

    void modalShowFormReturnsAfterClose()
    {
        CLSCG_DUEBILCONFIG cls;
        cls.setClsGlobal(m_global.get());
        cls.setWindowModal(true);
        bool wasVisible = false;
        QTimer::singleShot(0, this, [&] {
            wasVisible = cls.form() && cls.form()->widget()->isVisible();
            cls.CloseForm();
        });
        cls.ShowForm();
        QVERIFY(wasVisible);
        QVERIFY(cls.form());
        QCOMPARE(cls.form()->Gcls_Interface(), nullptr);
        QVERIFY(!cls.form()->widget()->isVisible());
    }

    void scriptObjectModelGetsFormAndFrameOnlyWhenActive_data()
    {
        QTest::addColumn<bool>("active");
        QTest::newRow("active") << true;
        QTest::newRow("not active") << false;
    }

    void scriptObjectModelGetsFormAndFrameOnlyWhenActive()
    {
        QFETCH(bool, active);

        CLSCG_DUEBILCONFIG cls;
        SimpleNavigator navigator;
        QObject frame;
        frame.setObjectName(QStringLiteral("FME_CAUSALI"));
        cls.setClsGlobal(m_global.get());
        cls.setActiveNavigator(&navigator);
        cls.setActiveFrame(&frame);
        cls.setIsActive(active);
        cls.ShowForm();
        QVERIFY(navigator.buildObjectModels());
        const auto &objects = navigator.scriptObjectModel()->objects();
        if (!active) {
            QVERIFY(objects.isEmpty());
            QCOMPARE(frame.objectName(), QStringLiteral("FME_CAUSALI"));
            return;
        }
        QStringList described;
        for (const auto &o : objects)
            described << QString("%1 %2 %3").arg(o.name).arg(o.kind).arg(o.description);
        QCOMPARE(described, (QStringList{"FRMCG_DUEBILCONFIG 0 Lumora UO pag./inc. effetti massivo - Configurazione",
                                         "FME_DUEBILLAYOUT 3 FME_DUEBILLAYOUT"}));
        QCOMPARE(objects.at(0).object.data(), cls.form()->widget());
        QCOMPARE(objects.at(1).object.data(), &frame);
    }

    void transferDataRaisesDataTransfer()
    {
        CLSCG_DUEBILCONFIG cls;
        QSignalSpy spy(&cls, &CLSCG_DUEBILCONFIG::DataTransfer);
        QCOMPARE(cls.TransferData(QVariant(QStringLiteral("301"))), QVariant());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first(), QVariant(QStringLiteral("301")));
    }

    void failureOfDestroyClassIsShownWith76382()
    {
        auto factory = std::make_shared<TestFormFactory>();
        factory->failRelease = true;
        QPointer<QWidget> formWidget;
        {
            CLSCG_DUEBILCONFIG cls(factory);
            cls.setClsGlobal(m_global.get());
            cls.ShowForm();
            formWidget = cls.form()->widget();
        }
        const auto calls = m_messages->callsOf(Kind::Message);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().message.textId, 76382);
        QCOMPARE(calls.first().message.params,
                 (QStringList{QStringLiteral("DestroyClass"), QStringLiteral("440 - form busy")}));
        QCOMPARE(calls.first().message.title, QStringLiteral("Errore"));
        QCOMPARE(calls.first().message.style, 16);
        delete formWidget.data();
    }

    void traceLinesPairPerInstance()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trace.log"));
        qputenv("KVRX_TRACE", path.toLocal8Bit());
        QString firstId, secondId;
        {
            CLSCG_DUEBILCONFIG first;
            CLSCG_DUEBILCONFIG second;
            firstId = first.IdIstanza().toString();
            secondId = second.IdIstanza().toString();
        }
        qunsetenv("KVRX_TRACE");
        QVERIFY(firstId != secondId);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        const QString tail = QStringLiteral("|CGUO_DUEBILCONFIG|CLSCG_DUEBILCONFIG");
        // Members are destroyed in reverse order of construction.
        QCOMPARE(lines, (QStringList{"KVRX:|" + firstId + "|INI" + tail, "KVRX:|" + secondId + "|INI" + tail,
                                     "KVRX:|" + secondId + "|TER" + tail, "KVRX:|" + firstId + "|TER" + tail}));
    }
};

QTEST_MAIN(tst_CLSCG_DUEBILCONFIG)
#include "tst_clscg_duebilconfig.moc"
