#include "params/optionlists.h"

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

    void dependentLists_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("valute");
        QTest::addColumn<bool>("ritenute");
        QTest::addColumn<QList<int>>("dettReg");
        QTest::addColumn<QList<int>>("dettRiga");
        QTest::addColumn<QList<int>>("descr");
        QTest::newRow("collections") << 1 << false << false << QList<int>{0, 1, 2} << QList<int>{0, 1} << QList<int>{0, 1};
        QTest::newRow("payments with withholding") << 2 << false << true << QList<int>{1, 2} << QList<int>{0, 1}
                                                   << QList<int>{0, 1};
        QTest::newRow("currency and withholding") << 1 << true << true << QList<int>{2} << QList<int>{0, 1}
                                                  << QList<int>{0, 1};
        QTest::newRow("currency only") << 2 << true << false << QList<int>{2} << QList<int>{0, 1} << QList<int>{0, 1};
        QTest::newRow("unpaid collections") << 4 << true << true << QList<int>{0, 1} << QList<int>{0} << QList<int>{0};
        QTest::newRow("compensation") << 6 << false << false << QList<int>{0, 1} << QList<int>{0, 1} << QList<int>{0};
    }

    void dependentLists()
    {
        QFETCH(int, tipo);
        QFETCH(bool, valute);
        QFETCH(bool, ritenute);
        QFETCH(QList<int>, dettReg);
        QFETCH(QList<int>, dettRiga);
        QFETCH(QList<int>, descr);
        const QList<List> lists = OptionLists::dependentLists(operationTypeOf(tipo), valute, ritenute);
        QCOMPARE(lists.size(), 3);
        QCOMPARE(values(lists.at(0)), dettReg);
        QCOMPARE(values(lists.at(1)), dettRiga);
        QCOMPARE(values(lists.at(2)), descr);
    }

    // The details a rebuilt list shows: what the registration row holds where the list offers
    // it, never an empty list box.
    void dependentPositions_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("valute");
        QTest::addColumn<bool>("ritenute");
        QTest::addColumn<bool>("row");
        QTest::addColumn<QList<int>>("stored");   // registration, posting line, description
        QTest::addColumn<QList<int>>("shown");    // the values selected in the three lists
        const QList<int> none = {0, 0, 0};
        QTest::newRow("stored details kept") << 1 << false << false << true << QList<int>{2, 1, 1} << QList<int>{2, 1, 1};
        QTest::newRow("no row starts from detail 0") << 2 << false << false << false << none << QList<int>{0, 0, 0};
        QTest::newRow("withholding turns detail 0 into 1") << 1 << false << true << true << QList<int>{0, 1, 0}
                                                          << QList<int>{1, 1, 0};
        QTest::newRow("withholding keeps detail 2") << 2 << false << true << true << QList<int>{2, 0, 1}
                                                   << QList<int>{2, 0, 1};
        QTest::newRow("withholding without a row offers no 0") << 1 << false << true << false << none
                                                              << QList<int>{1, 0, 0};
        QTest::newRow("currency forces detail 2") << 1 << true << false << true << QList<int>{0, 0, 0}
                                                 << QList<int>{2, 0, 0};
        QTest::newRow("currency and withholding") << 2 << true << true << true << QList<int>{1, 1, 1}
                                                 << QList<int>{2, 1, 1};
        QTest::newRow("unpaid collections keep their fixed lines") << 4 << false << false << true
                                                                  << QList<int>{1, 1, 1} << QList<int>{1, 0, 0};
        QTest::newRow("detail no longer offered takes the first") << 3 << false << false << true
                                                                 << QList<int>{2, 5, 1} << QList<int>{0, 0, 0};
        QTest::newRow("compensation stored details") << 6 << false << false << true << QList<int>{1, 1, 1}
                                                    << QList<int>{1, 1, 0};
        QTest::newRow("unknown type as a plain one") << 0 << false << false << true << QList<int>{1, 1, 1}
                                                    << QList<int>{1, 1, 0};
    }

    void dependentPositions()
    {
        QFETCH(int, tipo);
        QFETCH(bool, valute);
        QFETCH(bool, ritenute);
        QFETCH(bool, row);
        QFETCH(QList<int>, stored);
        QFETCH(QList<int>, shown);
        const OperationType type = operationTypeOf(tipo);
        const QList<List> lists = OptionLists::dependentLists(type, valute, ritenute);
        std::optional<StoredDetails> details;
        if (row)
            details = StoredDetails{stored.at(0), stored.at(1), stored.at(2)};
        const QList<int> positions = OptionLists::dependentPositions(lists, type, valute, ritenute, details);
        QCOMPARE(positions.size(), 3);
        QList<int> selected;
        for (int i = 0; i < 3; ++i)
            selected.append(lists.at(i).entries.value(positions.at(i), Entry{-1, 0}).value);
        QCOMPARE(selected, shown);
    }
};

QTEST_GUILESS_MAIN(TestOptionLists)
#include "tst_optionlists.moc"
