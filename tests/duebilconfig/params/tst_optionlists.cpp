#include "params/optionlists.h"
#include "support/casefile.h"

#include <QTest>

using namespace OptionLists;

static QList<int> values(const List &list)
{
    QList<int> v;
    for (const Entry &e : list.entries)
        v.append(e.value);
    return v;
}

class TestOptionLists : public QObject
{
    Q_OBJECT

private slots:
    void stateManagementTypeOnlyWhenEnabled()
    {
        QCOMPARE(values(fixedLists(false).first()), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(values(fixedLists(true).first()), (QList<int>{1, 2, 3, 4, 5, 6, 8}));
        QCOMPARE(fixedLists(true).first().initialPosition, 1);
        QCOMPARE(fixedLists(true).size(), 8);
    }

    void recoveryModes()
    {
        QCOMPARE(values(OptionLists::recoveryModes(OperationType::Compensation)), (QList<int>{0, 1}));
        QCOMPARE(OptionLists::recoveryModes(OperationType::Compensation).entries.at(1).textId, 38584);
        QCOMPARE(values(OptionLists::recoveryModes(OperationType::Collections)), (QList<int>{0, 1, 2}));
        QCOMPARE(OptionLists::recoveryModes(OperationType::Collections).entries.at(1).textId, 38586);
    }

    void dependentListsAndPositions_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/optionlists.cases")});
    }

    void dependentListsAndPositions()
    {
        QFETCH(TextCase, c);
        const OperationType type = operationTypeOf(c.text("type").toInt());
        const bool valute = c.text("currency") == "1";
        const bool ritenute = c.text("withholding") == "1";
        const QList<List> lists = OptionLists::dependentLists(type, valute, ritenute);
        QCOMPARE(lists.size(), 3);
        const auto numbers = [](const QString &line) {
            QList<int> v;
            for (const QString &n : line.split(' ', Qt::SkipEmptyParts))
                v.append(n.toInt());
            return v;
        };
        for (int i = 0; i < c.lines("lists").size(); ++i)
            QCOMPARE(values(lists.at(i)), numbers(c.lines("lists").at(i)));
        if (!c.parts.contains("shown"))
            return;
        const QList<int> stored = numbers(c.text("stored"));
        std::optional<StoredDetails> details;
        if (!stored.isEmpty())
            details = StoredDetails{stored.at(0), stored.at(1), stored.at(2)};
        const QList<int> positions = OptionLists::dependentPositions(lists, type, valute, ritenute, details);
        QCOMPARE(positions.size(), 3);
        QList<int> selected;
        for (int i = 0; i < 3; ++i)
            selected.append(lists.at(i).entries.value(positions.at(i), Entry{-1, 0}).value);
        QCOMPARE(selected, numbers(c.text("shown")));
    }
};

QTEST_GUILESS_MAIN(TestOptionLists)
#include "tst_optionlists.moc"
