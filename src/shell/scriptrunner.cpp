#include "shell/scriptrunner.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "framework/clsglobal.h"
#include "framework/recordingmessageservice.h"
#include "shell/shelltexts.h"

#include <QFile>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

ScriptRunner::ScriptRunner(ClsGlobal *global, RecordingMessageService *messages, QObject *parent)
    : ScriptObjectModel(parent)
    , m_global(global)
    , m_messages(messages)
    , m_driver([this](int id, const QStringList &args) { return m_texts.text(id, args); })
{
    m_texts.loadFile(ShellText::file());
    m_engine.installExtensions(QJSEngine::ConsoleExtension);
    m_engine.globalObject().setProperty(QStringLiteral("host"), m_engine.newQObject(this));
    QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
}

ScriptRunner::~ScriptRunner() = default;

bool ScriptRunner::load(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return evaluate(QString::fromUtf8(file.readAll()), error);
}

QJSValue ScriptRunner::guarded(const std::function<QJSValue()> &run)
{
    // The engine runs on this thread; only another one can stop a loop that never returns.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    m_timedOut = false;
    std::thread watchdog([&] {
        // The script may change its own limit while it runs: look at it again every few ms.
        const auto start = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; })) {
            if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(m_timeLimit.load())) {
                m_timedOut = true;
                m_engine.setInterrupted(true);
                return;
            }
        }
    });
    const QJSValue result = run();
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    m_engine.setInterrupted(false);
    return result;
}

QString ScriptRunner::describe(const QJSValue &error) const
{
    if (m_timedOut)
        return m_texts.text(ShellText::ScriptTimedOut, {QString::number(m_timeLimit.load())});
    return m_texts.text(ShellText::ScriptError, {error.toString(), error.property("lineNumber").toString()});
}

bool ScriptRunner::evaluate(const QString &program, QString *error)
{
    const QJSValue result = guarded([&] { return m_engine.evaluate(program); });
    if (result.isError() || m_timedOut) {
        if (error)
            *error = describe(result);
        return false;
    }
    return true;
}

void ScriptRunner::setTimeLimit(int milliseconds)
{
    if (milliseconds > 0)
        m_timeLimit = milliseconds;
}

bool ScriptRunner::call(QJSValue handler, bool *result)
{
    const QJSValue answer = guarded([&] { return handler.call(); });
    if (answer.isError() || m_timedOut) {
        log(describe(answer));
        // A handler stopped for its time, or by an error it did not catch, ends the run: what
        // the script meant to do next cannot be trusted.
        m_failed = true;
        quit(m_timedOut ? 2 : 3);
        return false;
    }
    if (result)
        *result = !(answer.isBool() && !answer.toBool());
    return true;
}

void ScriptRunner::FormEvent(const QString &formName, int reserved, int openClose, const QString &text)
{
    ScriptObjectModel::FormEvent(formName, reserved, openClose, text);
    m_formName = formName;
    if (openClose == 1) {
        m_opened = true;
        // The window finishes its start-up first; the handlers run from the event loop.
        QTimer::singleShot(0, this, [this] {
            for (const QJSValue &handler : std::as_const(m_open)) {
                if (m_failed || !call(handler))
                    break;
            }
        });
    }
}

bool ScriptRunner::QueryCloseForm()
{
    bool refuse = ScriptObjectModel::QueryCloseForm();
    for (const QJSValue &handler : std::as_const(m_close)) {
        bool allowed = true;
        if (m_failed || !call(handler, &allowed))
            break;
        refuse = refuse || !allowed;
    }
    return refuse;
}

int ScriptRunner::exitCode() const
{
    return m_exitCode;
}

bool ScriptRunner::windowOpened() const
{
    return m_opened;
}

void ScriptRunner::onOpen(const QJSValue &handler)
{
    if (handler.isCallable())
        m_open.append(handler);
}

void ScriptRunner::onClose(const QJSValue &handler)
{
    if (handler.isCallable())
        m_close.append(handler);
}

QWidget *ScriptRunner::form() const
{
    return qobject_cast<QWidget *>(object(m_formName));
}

template <typename Result, typename Call>
Result ScriptRunner::drive(Call call, Result otherwise)
{
    m_driver.setForm(form());
    try {
        return call();
    } catch (const ControlError &error) {
        m_engine.throwError(error.text);
        return otherwise;
    }
}

QString ScriptRunner::value(const QString &name)
{
    return drive([&] { return m_driver.value(name); }, QString());
}

bool ScriptRunner::isEnabled(const QString &name)
{
    return drive([&] { return m_driver.isEnabled(name); }, false);
}

bool ScriptRunner::isVisible(const QString &name)
{
    return drive([&] { return m_driver.isVisible(name); }, false);
}

QString ScriptRunner::caption(const QString &name)
{
    return drive([&] { return m_driver.caption(name); }, QString());
}

QVariantList ScriptRunner::items(const QString &name)
{
    return drive([&] { return m_driver.items(name); }, QVariantList());
}

bool ScriptRunner::setValue(const QString &name, const QString &value)
{
    return drive([&] { return m_driver.setValue(name, value); }, false);
}

bool ScriptRunner::isNavigatorCommand(const QString &key) const
{
    QWidget *f = form();
    QWidget *navigator = f ? f->findChild<QWidget *>(QStringLiteral("INTERNAV")) : nullptr;
    bool known = false;
    if (navigator && !key.isEmpty())
        QMetaObject::invokeMethod(navigator, "hasCommand", Qt::DirectConnection, Q_RETURN_ARG(bool, known),
                                  Q_ARG(QString, key));
    return known;
}

bool ScriptRunner::press(const QString &command)
{
    // The record navigator's commands, as the host's tool bar presses them; then the buttons.
    if (isNavigatorCommand(command)) {
        QWidget *navigator = form()->findChild<QWidget *>(QStringLiteral("INTERNAV"));
        bool done = false;
        QMetaObject::invokeMethod(navigator, "press", Qt::DirectConnection, Q_RETURN_ARG(bool, done),
                                  Q_ARG(QString, command));
        return done;
    }
    return drive([&] { return m_driver.press(command); }, false);
}

bool ScriptRunner::select(const QString &tree, const QString &key)
{
    return drive([&] { return m_driver.select(tree, key); }, false);
}

QVariantList ScriptRunner::rows(const QString &grid)
{
    return drive([&] { return m_driver.rows(grid); }, QVariantList());
}

bool ScriptRunner::clickRow(const QString &grid, int index)
{
    return drive([&] { return m_driver.clickRow(grid, index); }, false);
}

bool ScriptRunner::doubleClick(const QString &name, const QJSValue &where, const QString &column)
{
    return drive([&] {
        if (where.isNumber())
            return m_driver.doubleClickRow(name, where.toInt(), column);
        return m_driver.doubleClickNode(name, where.toString());
    }, false);
}

QString ScriptRunner::focused()
{
    return drive([&] { return m_driver.focused(); }, QString());
}

int ScriptRunner::tab()
{
    return drive([&] { return m_driver.tab(); }, -1);
}

bool ScriptRunner::setTab(int index)
{
    return drive([&] { return m_driver.setTab(index); }, false);
}

void ScriptRunner::answer(int value)
{
    if (m_messages)
        m_messages->enqueueAnswer(value);
}

void ScriptRunner::input(const QString &text)
{
    if (m_messages)
        m_messages->enqueueInput(text);
}

QStringList ScriptRunner::messages() const
{
    QStringList texts;
    if (!m_messages)
        return texts;
    for (const RecordingMessageService::Call &call : m_messages->calls())
        texts << (call.kind == RecordingMessageService::Kind::Error ? call.error.text : call.message.text);
    return texts;
}

namespace {

// One statement, and a SELECT: the first word of each statement is read past blanks, comments
// and opening brackets; semicolons inside literals, quoted names and comments do not count.
bool onlyReads(const QString &sql)
{
    QStringList firstWords;
    bool atStart = true;
    int i = 0;
    const int n = int(sql.size());
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace() || (atStart && c == QLatin1Char('('))) {
            ++i;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            const int end = int(sql.indexOf(QLatin1Char('\n'), i));
            i = end < 0 ? n : end + 1;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            const int end = int(sql.indexOf(QLatin1String("*/"), i + 2));
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char(';')) {
            atStart = true;
            ++i;
        } else if (atStart) {
            int j = i;
            while (j < n && sql.at(j).isLetter())
                ++j;
            firstWords << sql.mid(i, j - i);
            atStart = false;
            i = qMax(j, i + 1);
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const int end = int(sql.indexOf(c == QLatin1Char('[') ? QLatin1Char(']') : c, i + 1));
            i = end < 0 ? n : end + 1;
        } else {
            ++i;
        }
    }
    return firstWords.size() == 1 && firstWords.first().compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0;
}

} // namespace

QVariantList ScriptRunner::query(const QString &statement)
{
    QVariantList rows;
    if (!onlyReads(statement)) {
        m_engine.throwError(m_texts.text(ShellText::ScriptReadOnly, {statement.simplified()}));
        return rows;
    }
    if (!m_global)
        return rows;
    try {
        auto connection = std::make_shared<ado::Connection>();
        connection->setConnectionString(m_global->connectionString());
        connection->Open(QString(), QString(), QString(), -1);
        const ado::RecordsetPtr rs = connection->Execute(statement);
        for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
            QVariantMap row;
            for (const QString &field : rs->fieldNames())
                row.insert(field, rs->value(field));
            rows.append(row);
        }
    } catch (const std::exception &e) {
        log(QString::fromUtf8(e.what()));
    }
    return rows;
}

void ScriptRunner::log(const QString &text) const
{
    QTextStream(stdout) << text << Qt::endl;
}

void ScriptRunner::quit(int code)
{
    m_exitCode = code;
    emit quitRequested(code);
}
