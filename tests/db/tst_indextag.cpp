#include "db/Collation.h"
#include "db/DbfFormat.h"
#include "db/IndexTag.h"

#include <QRandomGenerator>
#include <QTest>

#include <cstring>
#include <map>
#include <set>
#include <vector>

using namespace corvale::db;

// The tag against a plain ordered set of (key, record number), through enough inserts,
// moves and removals that blocks split, empty out and regroup many times over.
class IndexTagTest : public QObject {
    Q_OBJECT

    using Entry = std::pair<std::string, uint32_t>;

    static std::string keyText(int value) {
        return QByteArray::number(value).rightJustified(6, '0').toStdString();
    }

    // Record bytes: deletion flag, then the six-character key column.
    static std::vector<char> record(const std::string &key) {
        std::vector<char> bytes(7, ' ');
        std::memcpy(bytes.data() + 1, key.data(), key.size());
        return bytes;
    }

    static FieldDef keyField() {
        FieldDef field = FieldDef::text(QStringLiteral("CODICE"), 6);
        field.offset = 1;
        return field;
    }

    static void compareWithModel(const IndexTag &tag, const std::set<Entry> &model) {
        QCOMPARE(tag.size(), uint32_t(model.size()));
        std::vector<Entry> walked;
        for (IndexTag::Position p = tag.begin(); !tag.atEnd(p); tag.advance(p))
            walked.emplace_back(std::string(tag.keyAt(p), 6), tag.recnoAt(p));
        QVERIFY(std::equal(walked.begin(), walked.end(), model.begin(), model.end()));
        // Backwards from the last entry gives the same list reversed.
        std::vector<Entry> back;
        if (!model.empty())
            for (IndexTag::Position p = tag.last(); !tag.atEnd(p); tag.retreat(p))
                back.emplace_back(std::string(tag.keyAt(p), 6), tag.recnoAt(p));
        QVERIFY(std::equal(back.begin(), back.end(), model.rbegin(), model.rend()));
    }

private slots:
    void randomChangesKeepTheOrderAndEverySeek() {
        IndexTag tag(QStringLiteral("CODICE"), 0, keyField(), Collation(dbf::driverBinary));
        tag.build(0, [](uint32_t) { return nullptr; });
        QRandomGenerator random(2024);
        std::set<Entry> model;
        std::map<uint32_t, std::string> current;
        uint32_t next = 0;
        for (int step = 0; step < 30000; ++step) {
            const int action = int(random.bounded(10));
            // Few distinct keys, so duplicates span block boundaries.
            const std::string key = keyText(int(random.bounded(step < 15000 ? 400 : 40)));
            if (action < 6 || current.empty()) {
                // New records arrive as appends (placed later, together) or inserts.
                const uint32_t recno = ++next;
                if (action < 4)
                    tag.append(recno, record(key).data() + 1);
                else
                    tag.insert(recno, record(key).data() + 1);
                model.emplace(key, recno);
                current[recno] = key;
                QCOMPARE(std::string(tag.keyOf(recno), 6), key);
            } else {
                auto it = current.lower_bound(uint32_t(random.bounded(next)) + 1);
                if (it == current.end())
                    it = current.begin();
                model.erase({it->second, it->first});
                if (action < 8) {
                    tag.update(it->first, record(key).data() + 1);
                    model.emplace(key, it->first);
                    it->second = key;
                } else {
                    tag.remove(it->first);
                    current.erase(it);
                }
            }
            if (step % 5000 == 4999) {
                tag.settle();
                compareWithModel(tag, model);
            }
        }
        tag.settle();
        QVERIFY(tag.isSettled());
        compareWithModel(tag, model);

        // Every key, present or not, seeks to the first entry not below it.
        for (int value = -1; value <= 401; ++value) {
            const std::string key = value < 0 ? std::string("      ") : keyText(value);
            const IndexTag::Position p = tag.lowerBound(key.data());
            const auto expected = model.lower_bound({key, 0});
            if (expected == model.end()) {
                QVERIFY(tag.atEnd(p));
                continue;
            }
            QVERIFY(!tag.atEnd(p));
            QCOMPARE(tag.recnoAt(p), expected->second);
            const IndexTag::Position after = tag.upperBound(key.data());
            const auto expectedAfter = model.lower_bound({key, UINT32_MAX});
            QCOMPARE(tag.atEnd(after), expectedAfter == model.end());
            if (expectedAfter != model.end())
                QCOMPARE(tag.recnoAt(after), expectedAfter->second);
        }
        // A record is found again through its own key.
        for (const auto &[recno, key] : current) {
            const IndexTag::Position p = tag.find(recno);
            QVERIFY(!tag.atEnd(p));
            QCOMPARE(tag.recnoAt(p), recno);
            QCOMPARE(std::string(tag.keyOf(recno), 6), key);
        }
    }

    // A run of appends placed at once gives the order that inserting them one by one
    // gives, whatever the tag held before.
    void appendsPlacedTogetherMatchInsertsOneByOne() {
        for (const uint32_t before : {0u, 3000u}) {
            IndexTag together(QStringLiteral("CODICE"), 0, keyField(),
                              Collation(dbf::driverBinary));
            IndexTag oneByOne(QStringLiteral("CODICE"), 0, keyField(),
                              Collation(dbf::driverBinary));
            std::vector<std::vector<char>> records;
            for (uint32_t i = 0; i < before; ++i)
                records.push_back(record(keyText(int(i * 7919 % 500))));
            together.build(before, [&](uint32_t r) { return records[r - 1].data(); });
            oneByOne.build(before, [&](uint32_t r) { return records[r - 1].data(); });
            for (uint32_t r = before + 1; r <= before + 4000; ++r) {
                const std::string key = keyText(int(r * 104729 % 600));
                together.append(r, record(key).data() + 1);
                oneByOne.insert(r, record(key).data() + 1);
            }
            QCOMPARE(together.size(), before + 4000);
            QVERIFY(!together.isSettled());
            together.settle();
            std::set<Entry> expected;
            for (IndexTag::Position p = oneByOne.begin(); !oneByOne.atEnd(p); oneByOne.advance(p))
                expected.emplace(std::string(oneByOne.keyAt(p), 6), oneByOne.recnoAt(p));
            compareWithModel(together, expected);
            // A removal settles first: the appended entry it removes is found.
            together.append(before + 4001, record(keyText(1)).data() + 1);
            together.remove(before + 4001);
            QCOMPARE(together.size(), before + 4000);
        }
    }

    void removingEveryEntryLeavesAnEmptyTagThatStillTakesInserts() {
        IndexTag tag(QStringLiteral("CODICE"), 0, keyField(), Collation(dbf::driverBinary));
        std::vector<std::vector<char>> records;
        for (int i = 0; i < 5000; ++i)
            records.push_back(record(keyText(i % 97)));
        tag.build(5000, [&](uint32_t r) { return records[r - 1].data(); });
        std::set<Entry> model;
        for (uint32_t r = 1; r <= 5000; ++r)
            model.emplace(keyText(int(r - 1) % 97), r);
        compareWithModel(tag, model);
        for (uint32_t r = 5000; r >= 1; r -= 2)
            tag.remove(r), model.erase({keyText(int(r - 1) % 97), r});
        compareWithModel(tag, model);
        for (uint32_t r = 1; r <= 5000; r += 2)
            tag.remove(r);
        QCOMPARE(tag.size(), 0u);
        QVERIFY(tag.atEnd(tag.begin()));
        QVERIFY(tag.atEnd(tag.lowerBound(keyText(5).data())));
        tag.insert(7, record(keyText(3)).data() + 1);
        QCOMPARE(tag.recnoAt(tag.lowerBound(keyText(0).data())), 7u);
    }
};

QTEST_GUILESS_MAIN(IndexTagTest)
#include "tst_indextag.moc"
