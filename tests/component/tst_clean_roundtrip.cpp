#include "ItemArgs.h"
#include "TestSupport.h"

#include <Riri/dllHome.h>

#include <QRandomGenerator>
#include <QTest>
#include <map>

namespace {

// What is stored of a cleaned text: the statement's doubled quotes stand for
// one each; a UTF-16 unit that is half of no pair cannot be stored as UTF-8
// and reads back as U+FFFD. Nothing else changes.
QString asStored(QString text) {
    text.replace("''", "'");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

// Texts made of the pieces that break statements built by hand, or their
// encoding: quotes, NULs, control characters, comment and statement
// separators, non-ASCII, pairs and lone halves of surrogate pairs.
class TextMaker {
public:
    explicit TextMaker(quint32 seed) : m_random(seed) {
        m_pieces = QStringList{"'",  "''",  "'''",  "\t",   "\n",      "\r\n",
                               " ",  "   ", "\"",   ";",    "--",      "/*",
                               "\\", ")",   ",",    "%",    "?",       "Lamp",
                               "é",  "ß",   "中文", "\x7f", "O'Brien", "');DROP TABLE tblItems;--"};
        m_pieces << QString(QChar(0)) << QString(QChar(0xD83D)) << QString(QChar(0xDE00))
                 << QString::fromUtf16(u"\U0001F600") << QString(QChar(0xDE00)) + QChar(0xD83D)
                 << QString(QChar(0xFEFF)) << QString(QChar(0xFFFF));
    }
    // Every tenth text is 250 characters long, the others 0 to 250.
    QString next() {
        const int length = m_count++ % 10 == 0 ? 250 : m_random.bounded(0, 251);
        QString text;
        while (text.size() < length) {
            text += m_pieces.at(m_random.bounded(m_pieces.size()));
        }
        text.truncate(length); // may split a pair: one more lone surrogate
        return text;
    }

private:
    QRandomGenerator m_random;
    QStringList m_pieces;
    int m_count = 0;
};

using Expected = std::map<QString, QStringList>; // ItemID -> the eight texts

void fill(Riri::dllHome& home, TextMaker& maker, ItemArgs& item, QStringList& want) {
    want = QStringList{item.text[0]};
    for (int i = 1; i < 8; ++i) {
        item.text[i] = maker.next();
        QString copy = item.text[i];
        want << asStored(home.Clean(copy));
    }
}

void compareItems(Riri::Recordset& rs, const Expected& expected, int& seen) {
    seen = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        const QString id = rs.Field("ItemID");
        if (id.startsWith("B-")) {
            continue;
        }
        const auto it = expected.find(id);
        QVERIFY2(it != expected.end(), qPrintable(id));
        for (int i = 1; i < 8; ++i) {
            QCOMPARE(rs.Field(kItemColumns[i]), it->second[i]);
        }
        ++seen;
    }
}

} // namespace

class tst_clean_roundtrip : public QObject {
    Q_OBJECT
private slots:
    void clean_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("argument");
        QTest::newRow("O'Brien in blanks") << "  O'Brien  "
                                           << "O''Brien"
                                           << "  O''Brien  ";
        QTest::newRow("doubled quotes") << "It''s"
                                        << "It''''s"
                                        << "It''''s";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("blanks only") << "    "
                                     << ""
                                     << "    ";
        QTest::newRow("only code 32 trimmed") << "\t x \n"
                                              << "\t x \n"
                                              << "\t x \n";
        QTest::newRow("lone quote in blanks") << " ' "
                                              << "''"
                                              << " '' ";
        QTest::newRow("NULs") << QString("a") + QChar(0) + "'b" + QChar(0) + QChar(0) << "a''b"
                              << "a''b";
        QTest::newRow("NUL between blanks") << QString(" ") + QChar(0) + " x " + QChar(0) << "x"
                                            << "  x ";
    }
    void clean() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(QString, argument);
        Riri::dllHome home;
        QCOMPARE(home.Clean(text), result);
        QCOMPARE(text, argument);
    }

    // Far beyond 32,767 characters: every quote doubled, nothing cut.
    void cleanLongText() {
        Riri::dllHome home;
        QString text = " " + QString("ab'").repeated(40000) + " ";
        const QString result = home.Clean(text);
        QCOMPARE(result.size(), 4 * 40000);
        QCOMPARE(result.count("''"), 40000);
        QVERIFY(result.endsWith("b''"));
        QCOMPARE(text.size(), 4 * 40000 + 2);
    }

    // Thousands of hostile texts through AddItems and UpdateItems come back
    // from LoadItems as Clean leaves them; rows not written stay as they were.
    void itemsRoundTrip() {
        TestInstall install;
        QVERIFY(install.isValid());
        MsgResponder boxes;
        QVERIFY(install.exec("INSERT INTO tblItems (ItemID,ItemName,Notes,Cost) "
                             "VALUES ('B-1','Kept','x''y',1.5);"
                             "INSERT INTO tblItems (ItemID,ItemName) VALUES ('B-2',NULL);"));
        const QString others = "SELECT * FROM tblItems WHERE ItemID LIKE 'B-%' ORDER BY ID";
        const QList<QVariantList> before = install.query(others);
        QCOMPARE(before.size(), 2);

        Riri::dllHome home;
        TextMaker maker(20050301);
        Expected expected;
        const int kItems = 500;
        for (int n = 1; n <= kItems; ++n) {
            ItemArgs item(n % 7 == 0 ? QString("A-%1'x").arg(n) : QString("A-%1").arg(n));
            QStringList want;
            fill(home, maker, item, want);
            QVERIFY2(home.AddItems(item.text, item.money, item.date), qPrintable(item.text[0]));
            expected[want[0]] = want;
        }
        int updated = 0;
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            if (++updated % 2 == 0) {
                ItemArgs item(it->first);
                fill(home, maker, item, it->second);
                QVERIFY2(home.UpdateItems(item.text, item.money, item.date),
                         qPrintable(item.text[0]));
            }
        }

        const auto rs = home.LoadItems();
        QVERIFY(rs);
        int seen = 0;
        compareItems(*rs, expected, seen);
        if (QTest::currentTestFailed()) {
            return;
        }
        QCOMPARE(seen, kItems);
        QCOMPARE(rs->rowCount(), kItems + 2);
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), kItems + 2);
        QCOMPARE(install.query(others), before);
        QCOMPARE(boxes.count(), 0);
    }

    void ownerRoundTrip() {
        TestInstall install;
        QVERIFY(install.isValid());
        MsgResponder boxes;
        const QStringList columns{"LName", "FName", "MName", "Address",
                                  "City",  "State", "Zip",   "FullName"};
        Riri::dllHome home;
        TextMaker maker(4711);
        for (int round = 0; round < 60; ++round) {
            QStringList text;
            QStringList want;
            for (int i = 0; i < 8; ++i) {
                text << maker.next();
                QString copy = text.last();
                want << asStored(home.Clean(copy));
            }
            if (round == 0) {
                text << "O-1";
                QVERIFY(home.AddOwner(text));
            } else {
                QVERIFY(home.UpdateOwner(text));
            }
            const auto rs = home.LoadOwner();
            QVERIFY(rs);
            QCOMPARE(rs->rowCount(), 1);
            QCOMPARE(rs->Field("OwnerID"), QString("O-1"));
            for (int i = 0; i < 8; ++i) {
                QCOMPARE(rs->Field(columns[i]), want[i]);
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_clean_roundtrip)
#include "tst_clean_roundtrip.moc"
