// The program's own schema: what it knows, how an older file is brought up
// to it, and the settings that keep a file's schema from running code.

#include "TestSupport.h"

#include <Riri/Connection.h>
#include <Riri/Error.h>
#include <Riri/InventorySchema.h>

#include <QTest>
#include <sqlite3.h>

namespace {

using Riri::InventorySchema;

// A plain handle on a file, closed when it goes.
struct RawDb {
    explicit RawDb(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~RawDb() { sqlite3_close_v2(db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    sqlite3* db = nullptr;
};

// The program's objects of the base version.
std::vector<InventorySchema::Object> baseObjects() {
    std::vector<InventorySchema::Object> objects;
    for (const InventorySchema::Object& object : InventorySchema::program().objects()) {
        if (object.since == 1) {
            objects.push_back(object);
        }
    }
    return objects;
}

// The base tables and one trigger of version 1, and a table version 2 adds.
InventorySchema testSchema(std::vector<InventorySchema::Step> steps = {}) {
    std::vector<InventorySchema::Object> objects = baseObjects();
    objects.push_back({1, "trigger", "stamp",
                       "CREATE TRIGGER stamp AFTER UPDATE ON tblItems BEGIN UPDATE tblItems SET "
                       "ModDate = 'x' WHERE ID = NEW.ID; END"});
    objects.push_back({2, "table", "tblStep", "CREATE TABLE tblStep (ItemID TEXT)"});
    return InventorySchema(1, std::move(objects), std::move(steps));
}

const char* const kStamp = "CREATE TRIGGER stamp AFTER UPDATE ON tblItems BEGIN UPDATE tblItems "
                           "SET ModDate = 'x' WHERE ID = NEW.ID; END;";

// The installation's inventory as the build makes it, at the base version.
bool makeBaseVersion(const TestInstall& install) {
    QFile::remove(install.databasePath());
    return QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), install.databasePath()) &&
           QFile::setPermissions(install.databasePath(), QFile::ReadOwner | QFile::WriteOwner);
}

int spyCalls = 0;

void spy(sqlite3_context* context, int, sqlite3_value**) {
    ++spyCalls;
    sqlite3_result_null(context);
}

} // namespace

class tst_Schema : public QObject {
    Q_OBJECT

private slots:
    // The table in the component is what install/schema.sql makes: the
    // empty inventory of the build is the program's own at the base version,
    // and its steps bring it to the newest.
    void knownSchemaIsTheEmptyInventorys() {
        TestInstall install;
        QVERIFY(makeBaseVersion(install));
        RawDb file(install.databasePath());
        const InventorySchema& schema = InventorySchema::program();
        QCOMPARE(schema.fileVersion(file.db), 1);
        QCOMPARE(schema.foreignObject(file.db, 1), QString());
        schema.upgrade(file.db);
        QCOMPARE(schema.fileVersion(file.db), schema.version());
        QCOMPARE(schema.foreignObject(file.db, schema.version()), QString());
        QVERIFY(!schema.objects().empty());
    }

    void foreignObjects_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("problem");
        const QString stamp = QString::fromLatin1(kStamp);
        QTest::newRow("whitespace only")
            << QString(stamp).replace(" BEGIN ", "\n  BEGIN\n\t").replace("; END", ";\nEND") << 1
            << QString();
        QTest::newRow("changed trigger")
            << QString(stamp).replace("'x'", "'y'") << 1
            << "The file holds a changed trigger \"stamp\", which is not part of an inventory.";
        QTest::newRow("trigger missing")
            << QString() << 1 << "The file holds no inventory: the trigger stamp is missing.";
        QTest::newRow("object of a later version")
            << stamp + "CREATE TABLE tblStep (ItemID TEXT);" << 1
            << "The file holds table \"tblStep\", which is not part of an inventory.";
        QTest::newRow("own at version 2")
            << stamp + "CREATE TABLE tblStep (ItemID TEXT);" << 2 << QString();
        QTest::newRow("SQLite's statistics") << stamp + "ANALYZE;" << 1 << QString();
    }

    // Objects are compared by name, type and text with blanks normalised.
    void foreignObjects() {
        QFETCH(QString, sql);
        QFETCH(int, version);
        QFETCH(QString, problem);
        TestInstall install;
        QVERIFY(makeBaseVersion(install));
        QVERIFY(install.exec("INSERT INTO tblItems (ItemID) VALUES ('A-1');" + sql));
        RawDb file(install.databasePath());
        QCOMPARE(testSchema().foreignObject(file.db, version), problem);
    }

    // The steps newer than the file run in one transaction, once; a file
    // that is not the program's own at its version, or a step that fails,
    // leaves the file byte for byte as it was.
    void stepsBringAnOlderFileUp() {
        const InventorySchema schema =
            testSchema({{2, "CREATE TABLE tblStep (ItemID TEXT);"
                            "INSERT INTO tblStep SELECT ItemID FROM tblItems;"}});
        QCOMPARE(schema.version(), 2);
        TestInstall install;
        QVERIFY(makeBaseVersion(install));
        QVERIFY(install.exec(QStringLiteral("INSERT INTO tblItems (ItemID) VALUES ('A-1');") +
                             QString::fromLatin1(kStamp)));
        {
            RawDb file(install.databasePath());
            schema.upgrade(file.db);
            QCOMPARE(schema.fileVersion(file.db), 2);
            QCOMPARE(schema.foreignObject(file.db, 2), QString());
            schema.upgrade(file.db); // nothing left to do
        }
        QCOMPARE(install.scalar("SELECT group_concat(ItemID) FROM tblStep"), "A-1");

        TestInstall foreign;
        QVERIFY(makeBaseVersion(foreign));
        QVERIFY(foreign.exec("CREATE TRIGGER wipe AFTER INSERT ON tblItems BEGIN DELETE FROM "
                             "tblItems; END;"));
        const QByteArray before = fileBytes(foreign.databasePath());
        QString refused;
        {
            RawDb file(foreign.databasePath());
            try {
                schema.upgrade(file.db);
            } catch (const Riri::Error& e) {
                refused = e.description();
            }
        }
        QCOMPARE(refused, "The file holds trigger \"wipe\", which is not part of an inventory.");
        QCOMPARE(fileBytes(foreign.databasePath()), before);

        const InventorySchema failing(1, baseObjects(),
                                      {{2, "CREATE TABLE a (x); CREATE TABLE a (x);"}});
        TestInstall broken;
        QVERIFY(makeBaseVersion(broken));
        const QByteArray untouched = fileBytes(broken.databasePath());
        {
            RawDb file(broken.databasePath());
            QVERIFY_THROWS_EXCEPTION(Riri::Error, failing.upgrade(file.db));
        }
        QCOMPARE(fileBytes(broken.databasePath()), untouched);
    }

    void connectionsRunNoCodeOfTheFile_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("error");
        QTest::newRow("function in a trigger")
            << "CREATE TRIGGER watch AFTER INSERT ON tblItems BEGIN SELECT spy(NEW.ItemID); END;"
            << QStringList{"INSERT INTO tblItems (ItemID) VALUES ('A-1')"} << "unsafe use of spy()";
        QTest::newRow("function in a default")
            << "CREATE TABLE extra (x DEFAULT (spy(1)));"
            << QStringList{"INSERT INTO extra DEFAULT VALUES"} << "unsafe use of spy()";
        QTest::newRow("schema written through writable_schema")
            << QString()
            << QStringList{"PRAGMA writable_schema = ON",
                           "UPDATE sqlite_schema SET sql = 'CREATE TABLE tblOwner (x)' WHERE "
                           "name = 'tblOwner'"}
            << "may not be modified";
    }

    // Every connection of the component runs with SQLite's defensive
    // settings: a function the program offers (not marked innocuous) cannot
    // be called from the file's schema, and no SQL writes the schema table.
    void connectionsRunNoCodeOfTheFile() {
        QFETCH(QString, setup);
        QFETCH(QStringList, statements);
        QFETCH(QString, error);
        TestInstall install;
        QVERIFY(install.exec("INSERT INTO tblItems (ItemID) VALUES ('A-0');" + setup));
        const QByteArray before = fileBytes(install.databasePath());
        Riri::Connection con;
        con.setConnectionString("Data Source=" + Riri::connectionValue(install.databasePath()) +
                                ";");
        con.Open();
        QCOMPARE(sqlite3_create_function(con.handle(), "spy", 1, SQLITE_UTF8, nullptr, &spy,
                                         nullptr, nullptr),
                 SQLITE_OK);
        spyCalls = 0;
        QString raised;
        try {
            for (const QString& statement : statements) {
                con.Execute(statement);
            }
        } catch (const Riri::Error& e) {
            raised = e.description();
        }
        con.Close();
        QVERIFY2(raised.contains(error), qPrintable(raised));
        QCOMPARE(spyCalls, 0);
        QCOMPARE(fileBytes(install.databasePath()), before);
    }
};

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_schema.moc"
