#include "AddressGenerator.h"

#include <QSet>
#include <QtTest>

class TestBenchData : public QObject {
    Q_OBJECT

private slots:
    void sameSeedSameList() {
        QCOMPARE(GenerateAddresses(3000, 5), GenerateAddresses(3000, 5));
        QVERIFY(GenerateAddresses(3000, 5) != GenerateAddresses(3000, 6));
        QCOMPARE(GenerateAddresses(0).size(), 0);
    }

    void listLooksLikeARealOne() {
        const QStringList addresses = GenerateAddresses(20000);
        QCOMPARE(addresses.size(), 20000);
        QSet<QString> seen;
        QHash<QString, int> perDomain;
        int repeated = 0;
        int upperCase = 0;
        for (const QString& address : addresses) {
            QCOMPARE(address.count(u'@'), 1);
            const QString local = address.section(u'@', 0, 0);
            const QString domain = address.section(u'@', 1);
            QVERIFY(!local.isEmpty() && domain.contains(u'.'));
            repeated += seen.contains(address);
            seen.insert(address);
            upperCase += address != address.toLower();
            ++perDomain[domain];
        }
        QVERIFY2(repeated > 800 && repeated < 1200, qPrintable(QString::number(repeated)));
        QVERIFY(upperCase > 200);
        QVERIFY(perDomain.size() > 5000); // the long tail

        QList<int> sizes = perDomain.values();
        std::sort(sizes.rbegin(), sizes.rend());
        const int bigFour = sizes[0] + sizes[1] + sizes[2] + sizes[3];
        QVERIFY2(bigFour > 7000 && bigFour < 9000, qPrintable(QString::number(bigFour)));
        QVERIFY(sizes[4] < 200);
    }
};

QTEST_GUILESS_MAIN(TestBenchData)
#include "test_bench_data.moc"
