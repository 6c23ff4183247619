#pragma once

#include "framework/scriptobjectmodel.h"
#include "framework/textstore.h"
#include "shell/controldriver.h"

#include <QJSEngine>
#include <QJSValue>
#include <QPointer>
#include <atomic>
#include <functional>

class ClsGlobal;
class RecordingMessageService;

// The host's script object model on a JavaScript engine. A script registers handlers for the
// opening and the closing of the window (a close handler returning false keeps the window
// open), reads and sets the controls by their names, presses the navigator's commands and
// queues the answers to the messages the window will show. See docs/scripting.md.
class ScriptRunner : public ScriptObjectModel
{
    Q_OBJECT

public:
    ScriptRunner(ClsGlobal *global, RecordingMessageService *messages, QObject *parent = nullptr);
    ~ScriptRunner() override;

    // Runs the script's top level; false with the reason when it does not load.
    bool load(const QString &fileName, QString *error);
    bool evaluate(const QString &program, QString *error);

    void FormEvent(const QString &formName, int reserved, int openClose, const QString &text) override;
    bool QueryCloseForm() override;

    // Exit status the script asked for with host.quit(), or the run's own (2 a piece of it ran
    // out of time, 3 a handler ended on an error it did not catch); -1 while there is none.
    int exitCode() const;
    // Whether the window told the script model it is open (its start-up went through).
    bool windowOpened() const;

    // What the script sees as `host`. A control is named by its design name; a name the window
    // does not have, or a call the control does not take, is a script error naming it.
    Q_INVOKABLE void onOpen(const QJSValue &handler);
    Q_INVOKABLE void onClose(const QJSValue &handler);
    Q_INVOKABLE QString value(const QString &control);
    Q_INVOKABLE bool setValue(const QString &control, const QString &value);
    Q_INVOKABLE bool isEnabled(const QString &control);
    Q_INVOKABLE bool isVisible(const QString &control);
    Q_INVOKABLE QString caption(const QString &control);
    Q_INVOKABLE QVariantList items(const QString &control);
    Q_INVOKABLE bool press(const QString &command);
    Q_INVOKABLE bool select(const QString &tree, const QString &key);
    Q_INVOKABLE QVariantList rows(const QString &grid);
    Q_INVOKABLE bool clickRow(const QString &grid, int index);
    // A grid's cell (row index and column name) or a tree's node (its key).
    Q_INVOKABLE bool doubleClick(const QString &control, const QJSValue &where, const QString &column = QString());
    Q_INVOKABLE QString focused();
    Q_INVOKABLE int tab();
    Q_INVOKABLE bool setTab(int index);
    // The answer to the next message box (1 OK, 2 Annulla, 6 Sì, 7 No) or error report
    // (3 abort, 4 retry, 5 ignore), in the order they come.
    Q_INVOKABLE void answer(int answer);
    Q_INVOKABLE void input(const QString &text);
    Q_INVOKABLE QStringList messages() const;
    // Rows of a SELECT on the window's database; any other statement is refused.
    Q_INVOKABLE QVariantList query(const QString &statement);
    Q_INVOKABLE void log(const QString &text) const;
    Q_INVOKABLE void quit(int code);
    // How long one piece of the script (its top level, one handler) may run, in milliseconds.
    Q_INVOKABLE void setTimeLimit(int milliseconds);

signals:
    void quitRequested(int code);

private:
    QWidget *form() const;
    // Runs a call on the window's controls; a ControlError becomes the script's error.
    template <typename Result, typename Call>
    Result drive(Call call, Result otherwise);
    bool isNavigatorCommand(const QString &key) const;
    bool call(QJSValue handler, bool *result = nullptr);
    // Runs a piece of the script, stopped when it outlasts the time limit.
    QJSValue guarded(const std::function<QJSValue()> &run);
    QString describe(const QJSValue &error) const;

    ClsGlobal *m_global;
    RecordingMessageService *m_messages;
    TextStore m_texts;
    ControlDriver m_driver;
    QJSEngine m_engine;
    QJSValueList m_open, m_close;
    QString m_formName;
    int m_exitCode = -1;
    bool m_opened = false;
    bool m_failed = false;  // a handler failed: the run is ending, no other handler runs
    std::atomic<int> m_timeLimit{10000};
    std::atomic<bool> m_timedOut{false};
};
