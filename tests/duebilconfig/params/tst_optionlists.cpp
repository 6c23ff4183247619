#include "optionlists.h"

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
        QCOMPARE(values(modalitaRecupero(OperationType::Compensation)), (QList<int>{0, 1}));
        QCOMPARE(modalitaRecupero(OperationType::Compensation).entries.at(1).textId, 38584);
        QCOMPARE(values(modalitaRecupero(OperationType::Collections)), (QList<int>{0, 1, 2}));
        QCOMPARE(modalitaRecupero(OperationType::Collections).entries.at(1).textId, 38586);
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
};

QTEST_GUILESS_MAIN(TestOptionLists)
#include "tst_optionlists.moc"
