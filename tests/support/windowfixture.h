#pragma once

#include "form/frmcg_duebilconfig.h"
#include "framework/clsglobal.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "host/clscg_duebilconfig.h"
#include "support/testdatabase.h"

#include <QMdiArea>
#include <QObject>
#include <functional>
#include <memory>

class CheckField;
class ComboField;
class LookupDialog;
class TextField;

// The configuration window opened in an MDI area over a fresh demo database, as the host
// opens it, with every message answered from a queue. A window test derives from it, calls
// setUpWindow() from init() and tearDownWindow() from cleanup().
class WindowFixture : public QObject
{
protected:
    // The database and the host's services for company 1, with these texts beside the module's;
    // false when the demo database or the texts cannot be made.
    bool setUpServices(const QStringList &moreTexts = {});
    // The services and the MDI area the window opens in.
    bool setUpWindow();
    // Closes the window as the host does, then drops everything setUpWindow() made.
    void tearDownWindow();
    // The window shown for that user, once its first activation is done; null otherwise.
    FRMCG_DUEBILCONFIG *open(const QString &user = QStringLiteral("MROSSI"), int waitMs = 5000);
    // The window opened for that user, its area the active window (keys reach it), with the
    // causal shown by its code; true once the causal is on display.
    bool openAt(const QString &code, const QString &user = QStringLiteral("MROSSI"));

    // A user's hands on the window: a causal code typed into the header and left with a key
    // (while a causal is on display the header is locked, and the code goes in as the host's
    // navigator puts it), an entry picked from a list with the keyboard, a box ticked with the
    // space bar, a field typed and left with Return, the confirm button.
    void show(const QString &code, Qt::Key leaveWith = Qt::Key_Return);
    void choose(ComboField *field, const QString &value);
    void tick(CheckField *box);
    void type(TextField *field, const QString &text);
    bool confirm();
    // The next modal list the window opens is answered from inside its own loop, as the user's
    // click would: `pick` acts on it, then it is accepted when `pick` says so, else dismissed.
    void answerList(std::function<bool(LookupDialog *)> pick);
    // The database read and written beside the window, on a connection of its own.
    void execute(const QString &sql) const;
    QVariant scalar(const QString &sql) const;
    // The tab whose page holds the control; -1 for the header's.
    int tabOf(const QWidget *control) const;
    // " FROM <table> WHERE ..." for the row of that causal (company 1) in the table that holds the
    // column, as the table definitions say; a column no table of a causal holds stops the test.
    static QString rowOf(const QString &column, const QString &causal);
    // The ids of the messages shown so far, in order.
    QList<int> messageIds() const;
    FormUi &ui() const { return m_form->context().ui; }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ClsGlobal> m_global;
    std::unique_ptr<RecordingMessageService> m_messages;
    std::unique_ptr<QMdiArea> m_area;
    std::unique_ptr<SimpleNavigator> m_navigator;
    std::unique_ptr<CLSCG_DUEBILCONFIG> m_cls;
    FRMCG_DUEBILCONFIG *m_form = nullptr;
};
