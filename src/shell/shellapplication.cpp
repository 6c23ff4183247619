#include "shell/shellapplication.h"

#include "shell/scriptrunner.h"

#include "ado/connection.h"
#include "framework/clsglobal.h"
#include "framework/componentloader.h"
#include "framework/guimessageservice.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "installer/databaseinstaller.h"
#include "shell/shelloptions.h"
#include "shell/shelltexts.h"
#include "shell/shellwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

void writeLine(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// Ready: the module's window is on screen and the event queue has drained.
bool waitUntilReady(ShellWindow &window, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const auto windows = window.mdiArea()->subWindowList();
        const bool shown = std::any_of(windows.begin(), windows.end(),
                                       [](QMdiSubWindow *w) { return w->isVisible(); });
        const bool modalShown = QApplication::activeModalWidget() != nullptr;
        if (shown || modalShown) {
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return true;
        }
    }
    return false;
}

} // namespace

QStringList ShellApplication::pluginDirectories()
{
    // Beside the host in the build tree; in the installed tree, the package's private folder.
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir, QDir(dir).filePath(QStringLiteral("plugins")),
            QDir::cleanPath(QDir(dir).filePath(QStringLiteral(DUEBIL_PLUGINDIR_FROM_BIN)))};
}

bool ShellApplication::installQtTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int ShellApplication::run(int argc, char **argv)
{
    // Without a display the shell runs offscreen (CI, screenshots).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("duebilconfig"));
    installQtTranslation(app);

    ClsGlobal global;
    const QStringList textFiles = DatabaseInstaller::textFiles();
    QString textError;
    if (!global.loadTexts(textFiles + QStringList{ShellText::file()}, &textError))
        writeLine(stderr, textError);

    ShellOptions options;
    QString error, helpText;
    bool help = false;
    if (!options.parse(QCoreApplication::arguments(), global.textStore(), &error, &help, &helpText)) {
        writeLine(stderr, error);
        return 2;
    }
    if (help) {
        writeLine(stdout, helpText);
        return 0;
    }

    // A screenshot run never waits for a click: its messages are recorded and printed.
    // A script answers the messages itself, from its queue.
    const bool scripted = !options.scriptFile.isEmpty();
    const bool unattended = !options.screenshotFile.isEmpty() || scripted;
    GuiMessageService gui(&global.textStore());
    RecordingMessageService recorder;
    global.setMessageService(unattended ? static_cast<MessageService *>(&recorder) : &gui);

    QString connectionString = options.connectionString;
    if (connectionString.isEmpty()) {
        QString dbError;
        const QString path = DatabaseInstaller::ensureDemoDatabase(&dbError);
        if (path.isEmpty()) {
            global.showMessage(ShellText::DemoDatabaseFailed, {dbError}, global.text(ShellText::WarningTitle),
                               MsgStyle::Critical);
            writeLine(stderr, global.text(ShellText::DemoDatabaseFailed, {dbError}));
            return 1;
        }
        connectionString = QStringLiteral("sqlite:") + path;
    }
    global.setConnectionString(connectionString);
    global.setUserName(options.user);

    ComponentLoader loader(pluginDirectories());
    ShellWindow window(&global, &loader, options);
    gui.setParentWidget(&window);
    window.show();
    const bool databaseRead = window.loadCompanies();

    if (scripted) {
        // A script cannot run against a database that does not open: say why and end, rather
        // than wait for a window that never opens.
        if (!databaseRead) {
            writeLine(stderr, global.text(ShellText::DatabaseUnopenable,
                                          {ado::Connection::maskPassword(connectionString), window.databaseError()}));
            return 1;
        }
        ScriptRunner runner(&global, &recorder);
        QString scriptError;
        if (!runner.load(options.scriptFile, &scriptError)) {
            writeLine(stderr, global.text(ShellText::ScriptFailed, {options.scriptFile, scriptError}));
            return 1;
        }
        // The script answers error reports from its queue too; one it left unanswered is
        // answered 3 and printed at once, since nobody is there to read it.
        recorder.setErrorsAnsweredFromMessageQueue(true);
        recorder.setUnansweredErrorHandler([&](const ErrorReport &report) {
            writeLine(stderr, global.text(ShellText::UnansweredError, {report.text}));
        });
        // The messages not printed yet, when the run ends.
        std::optional<int> ended;
        auto end = [&](int code) {
            ended = code;
            for (const RecordingMessageService::Call &call : recorder.calls()) {
                if (call.kind != RecordingMessageService::Kind::Error)
                    writeLine(stderr, call.message.text);
                else if (call.answered)
                    writeLine(stderr, call.error.text);
            }
            QCoreApplication::exit(code);
        };
        window.navigator()->setScriptObjectModel(&runner);
        QObject::connect(&runner, &ScriptRunner::quitRequested, &app, end, Qt::QueuedConnection);
        // Showing the window queues its start-up; the look below is queued behind it (one hop
        // here, one from the loop that shows the window, modal or not). A start-up that ended
        // without opening the window (a table missing, an error report answered 3) never runs a
        // handler, so the run ends there instead of waiting for one.
        QTimer::singleShot(0, &app, [&] {
            QTimer::singleShot(0, &app, [&] {
                if (!runner.windowOpened() && !ended) {
                    writeLine(stderr, global.text(ShellText::WindowNotStarted, {options.scriptFile}));
                    end(1);
                }
            });
        });
        if (!window.openConfiguration())
            return 1;
        // A modal window returns here only when the run has ended inside its own loop.
        const int code = ended ? *ended : app.exec();
        window.navigator()->setScriptObjectModel(nullptr);
        return code;
    }

    if (!unattended) {
        window.openConfiguration();
        return app.exec();
    }

    int exitCode = 0;
    bool done = false;
    // The grab runs from the event loop, so it works with a modal window as well.
    QTimer::singleShot(0, &window, [&] {
        waitUntilReady(window, 10000);
        if (options.tab.isValid()) {
            for (QObject *strip : window.findChildren<QObject *>(QStringLiteral("TAB_CONFIG")))
                strip->setProperty("Tab", options.tab);
            QCoreApplication::processEvents();
        }
        // A modal form is a window of its own: it is painted over the main window.
        QPixmap picture = window.grab();
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != &window) {
            QPainter painter(&picture);
            painter.drawPixmap(modal->frameGeometry().topLeft() - window.geometry().topLeft(), modal->grab());
        }
        const QImage image = picture.toImage();
        if (!image.save(options.screenshotFile, "PNG")) {
            writeLine(stderr, global.text(ShellText::ScreenshotFailed, {options.screenshotFile}));
            exitCode = 1;
        }
        for (const RecordingMessageService::Call &call : recorder.calls())
            writeLine(stderr, call.kind == RecordingMessageService::Kind::Error ? call.error.text : call.message.text);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top != &window)
                top->close();
        }
        window.close();
        done = true;
        QCoreApplication::exit(exitCode);
    });
    if (!window.openConfiguration())
        exitCode = 1;
    // A modal window returns from ShowForm only after the grab has run in its own loop.
    if (!done)
        app.exec();
    return exitCode;
}
