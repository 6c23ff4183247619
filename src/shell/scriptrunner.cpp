#include "scriptrunner.h"

#include "clsglobal.h"
#include "connection.h"
#include "recordingmessageservice.h"
#include "recordset.h"

#include <QFile>
#include <QLineEdit>
#include <QMetaMethod>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

ScriptRunner::ScriptRunner(ClsGlobal *global, RecordingMessageService *messages, QObject *parent)
    : ScriptObjectModel(parent), m_global(global), m_messages(messages)
{
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

bool ScriptRunner::evaluate(const QString &program, QString *error)
{
    const QJSValue result = m_engine.evaluate(program);
    if (result.isError()) {
        if (error)
            *error = QStringLiteral("%1 (riga %2)").arg(result.toString(), result.property("lineNumber").toString());
        return false;
    }
    return true;
}

bool ScriptRunner::call(QJSValue handler, bool *result)
{
    const QJSValue answer = handler.call();
    if (answer.isError()) {
        log(QStringLiteral("%1 (riga %2)").arg(answer.toString(), answer.property("lineNumber").toString()));
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
        // The window finishes its start-up first; the handlers run from the event loop.
        QTimer::singleShot(0, this, [this] {
            for (const QJSValue &handler : std::as_const(m_open))
                call(handler);
        });
    }
}

bool ScriptRunner::QueryCloseForm()
{
    bool refuse = ScriptObjectModel::QueryCloseForm();
    for (const QJSValue &handler : std::as_const(m_close)) {
        bool allowed = true;
        call(handler, &allowed);
        refuse = refuse || !allowed;
    }
    return refuse;
}

int ScriptRunner::exitCode() const
{
    return m_exitCode;
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

QWidget *ScriptRunner::control(const QString &name) const
{
    QWidget *f = form();
    return f ? f->findChild<QWidget *>(name) : nullptr;
}

QString ScriptRunner::value(const QString &name) const
{
    QWidget *w = control(name);
    return w ? w->property("Text").toString() : QString();
}

bool ScriptRunner::isEnabled(const QString &name) const
{
    QWidget *w = control(name);
    return w && w->isEnabled();
}

bool ScriptRunner::setValue(const QString &name, const QString &value)
{
    QWidget *w = control(name);
    if (!w || !w->isEnabled())
        return false;
    const QMetaObject *meta = w->metaObject();
    // A code or text field: typed, then accepted or refused as the user's Enter would be.
    if (meta->indexOfMethod("commit()") >= 0) {
        if (auto *edit = w->findChild<QLineEdit *>())
            edit->setText(value);
        bool accepted = false;
        QMetaObject::invokeMethod(w, "commit", Qt::DirectConnection, Q_RETURN_ARG(bool, accepted));
        return accepted;
    }
    w->setProperty("Text", value);
    // Combos and check boxes tell the window of a change as a click does.
    for (const char *signal : {"AfterChange()", "Click()"}) {
        const int index = meta->indexOfSignal(signal);
        if (index >= 0) {
            meta->method(index).invoke(w, Qt::DirectConnection);
            break;
        }
    }
    return w->property("Text").toString() == value;
}

bool ScriptRunner::press(const QString &command)
{
    QWidget *navigator = control(QStringLiteral("INTERNAV"));
    bool done = false;
    if (navigator)
        QMetaObject::invokeMethod(navigator, "press", Qt::DirectConnection, Q_RETURN_ARG(bool, done),
                                  Q_ARG(QString, command));
    return done;
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

QVariantList ScriptRunner::query(const QString &statement) const
{
    QVariantList rows;
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
