#include "framework/clsglobal.h"
#include "framework/guimessageservice.h"
#include "framework/messageservice.h"
#include "framework/textstore.h"
#include "support/jsoncases.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The host's message boxes as a user answers them: by a button, by Esc or by the close button
// of the title bar. Leaving a box without a button gives the answer that changes nothing.
class tst_GuiMessageService : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QString error;
        QVERIFY2(m_global.loadTexts({}, &error), qPrintable(error));
    }

    void answers_data()
    {
        QTest::addColumn<bool>("errorReport");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("how");  // a button caption, "Esc", "close" or "Alt+" and a letter
        QTest::addColumn<int>("expected");
        for (const QJsonValue &row : jsonCases("guimessageservice.json", "answers"))
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toBool() << row[2].toInt() << row[3].toString() << row[4].toInt();
    }

    void answers()
    {
        QFETCH(bool, errorReport);
        QFETCH(int, style);
        QFETCH(QString, how);
        QFETCH(int, expected);
        GuiMessageService service(&m_global.textStore());
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = true;
            if (how == QLatin1String("Esc")) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else if (how == QLatin1String("close")) {
                box->close();
            } else if (how.startsWith(QLatin1String("Alt+"))) {
                // Access keys work in the window in front.
                box->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(box));
                QTest::keyClick(box, Qt::Key(Qt::Key_A + (how.at(4).unicode() - u'A')), Qt::AltModifier);
                // The button shows itself pressed before it acts; a box still open after the
                // wait is closed below and its answer compared like any other.
                (void)QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
            } else {
                for (QAbstractButton *button : box->buttons()) {
                    if (QString(button->text()).remove(QLatin1Char('&')) == how)
                        QTest::mouseClick(button, Qt::LeftButton);
                }
            }
            // A box the user could not leave this way is closed by its first button.
            if (box->isVisible())
                box->buttons().first()->click();
        });
        int answer = 0;
        if (errorReport) {
            ErrorReport report;
            report.procedure = QStringLiteral("EseguiQuery");
            report.text = QStringLiteral("Errore");
            answer = service.reportError(report);
        } else {
            MessageRequest request;
            request.text = QStringLiteral("Salvare?");
            request.style = style;
            answer = service.showMessage(request);
        }
        QVERIFY(seen);
        QCOMPARE(answer, expected);
    }

private:
    ClsGlobal m_global;
};

QTEST_MAIN(tst_GuiMessageService)
#include "tst_guimessageservice.moc"
