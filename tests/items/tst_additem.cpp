// The add item window: identifiers, amounts, what is stored, and what
// follows a save.
#include "ItemTestSupport.h"
#include "MsgBox.h"
#include "items/ItemFieldSet.h"
#include "items/frmAddItem.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

class tst_additem : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> install;
    std::unique_ptr<MsgResponder> boxes;

    // Types a minimal item and saves it, answering the add-another question.
    void addItem(frmAddItem& w, const QString& name, int answer = Riri::vbYes) {
        ItemFieldSet& f = w.fields();
        f.txtBox[0]->setFocus();
        QTest::keyClicks(f.txtBox[0], name);
        f.cboBox->setCurrentIndex(f.cboBox->findText(QStringLiteral("Den")));
        boxes->expect(answer);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
    }
    QStringList identifiers() const {
        QStringList ids;
        for (const QVariantList& row : install->query("SELECT ItemID FROM tblItems ORDER BY ID")) {
            ids << row.value(0).toString();
        }
        return ids;
    }

private slots:
    void init() {
        install = std::make_unique<TestInstall>();
        QVERIFY(install->isValid());
        boxes = std::make_unique<MsgResponder>();
    }
    void cleanup() {
        boxes.reset();
        install.reset();
    }

    void layout() {
        frmAddItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.size(), Twips::Size(6270, 6870));
        QCOMPARE(w.Label30->text(), QStringLiteral("Add New Item"));
        QCOMPARE(w.Label30->geometry(), Twips::Rect(120, 120, 6015, 435));
        QCOMPARE(w.Label30->font().pointSizeF(), 14.25);
        QVERIFY(w.Label30->font().bold());
        ItemFieldSet& f = w.fields();
        QCOMPARE(f.lblData[0]->geometry(), Twips::Rect(120, 660, 1935, 315));
        QCOMPARE(f.txtBox[0]->geometry(), Twips::Rect(2100, 660, 4035, 315));
        QCOMPARE(f.txtBox[2]->geometry(), Twips::Rect(2100, 1380, 4035, 315));
        QCOMPARE(f.cboBox->geometry(), Twips::Rect(2100, 1740, 2595, 360));
        QCOMPARE(f.txtBox[3]->geometry(), Twips::Rect(2100, 2100, 1215, 315));
        QCOMPARE(f.datBox->geometry(), Twips::Rect(2100, 3180, 2595, 315));
        QCOMPARE(f.lblData[9]->geometry(), Twips::Rect(120, 4920, 6015, 315));
        QCOMPARE(f.rtBox[1]->geometry(), Twips::Rect(120, 5280, 6015, 975));
        QCOMPARE(f.cmdExit->geometry(), Twips::Rect(4920, 6360, 1215, 375));
        QCOMPARE(f.txtBox[0]->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(f.txtBox[0]->font().pointSizeF(), 9.75);
        QCOMPARE(f.cmdSave->font().pointSizeF(), 9.75);
        QVERIFY(f.cmdSave->font().bold());
        QCOMPARE(shoot(w, QStringLiteral("frmAddItem")).size(), w.size());
    }

    void firstItemIsA1AndNumbersFollowTheLargestId() {
        frmAddItem w;
        QVERIFY(showActive(w));
        addItem(w, QStringLiteral("Lamp"));
        QCOMPARE(identifiers(), QStringList{"A-1"});
        // The identifier follows the largest ID, whatever the identifiers are.
        QVERIFY(
            install->exec("INSERT INTO tblItems (ID, ItemID, ItemName) VALUES (41, 'X-9', 'x')"));
        addItem(w, QStringLiteral("Chair"));
        QCOMPARE(install->scalar("SELECT ItemID FROM tblItems WHERE ItemName = 'Chair'").toString(),
                 QStringLiteral("A-42"));
    }

    void deletingTheLargestIdFreesItsNumber() {
        frmAddItem w;
        QVERIFY(showActive(w));
        for (const char* name : {"One", "Two", "Three"}) {
            addItem(w, QString::fromLatin1(name));
        }
        QCOMPARE(identifiers(), (QStringList{"A-1", "A-2", "A-3"}));
        QVERIFY(install->exec("DELETE FROM tblItems WHERE ItemID = 'A-3'"));
        addItem(w, QStringLiteral("Four"));
        QCOMPARE(install->query("SELECT ID, ItemID FROM tblItems WHERE ItemName = 'Four'").first(),
                 (QVariantList{qint64(4), QStringLiteral("A-3")}));
        addItem(w, QStringLiteral("Five"));
        QCOMPARE(identifiers().last(), QStringLiteral("A-5"));
    }

    void amountsAreRoundedToCents() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[3]->setText(QStringLiteral("12.346"));
        f.txtBox[4]->setText(QStringLiteral("1,234.50"));
        addItem(w, QStringLiteral("Lamp"));
        f.txtBox[3]->setText(QStringLiteral("-0.004"));
        addItem(w, QStringLiteral("Chair"));
        const QList<QVariantList> rows =
            install->query("SELECT Cost, CurValue FROM tblItems ORDER BY ID");
        QCOMPARE(rows.at(0).at(0).toDouble(), 12.35);
        QCOMPARE(rows.at(0).at(1).toDouble(), 1234.5);
        QCOMPARE(rows.at(1).at(0).toDouble(), 0.0);
        QCOMPARE(rows.at(1).at(1).toDouble(), 0.0);
    }

    void everyFieldIsStored() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[1]->setText(QStringLiteral("SN 77"));
        f.txtBox[2]->setText(QStringLiteral("X1"));
        f.txtBox[3]->setText(QStringLiteral("25"));
        f.txtBox[4]->setText(QStringLiteral("12.5"));
        f.txtBox[5]->setText(QStringLiteral("Bob's Store"));
        f.datBox->setDate(QDate(2005, 3, 1));
        f.rtBox[0]->setPlainText(QStringLiteral("Brass, \"antique\"\nsecond line"));
        f.rtBox[1]->setPlainText(QStringLiteral("'; DROP TABLE tblItems; --"));
        addItem(w, QStringLiteral("O'Brien's lamp"), Riri::vbNo);
        const QList<QVariantList> rows =
            install->query("SELECT ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, BuyDate, "
                           "AccquiredFrom, Description, Notes, ModDate FROM tblItems");
        QCOMPARE(rows.size(), 1);
        const QVariantList expected{QStringLiteral("A-1"),
                                    QStringLiteral("O'Brien's lamp"),
                                    QStringLiteral("SN 77"),
                                    QStringLiteral("X1"),
                                    QStringLiteral("Den"),
                                    25.0,
                                    12.5,
                                    QStringLiteral("2005-03-01"),
                                    QStringLiteral("Bob's Store"),
                                    QStringLiteral("Brass, \"antique\"\nsecond line"),
                                    QStringLiteral("'; DROP TABLE tblItems; --"),
                                    QVariant()};
        QCOMPARE(rows.first(), expected);
        const QDateTime added = QDateTime::fromString(
            install->scalar("SELECT AddDate FROM tblItems").toString(), "yyyy-MM-dd HH:mm:ss");
        QVERIFY(qAbs(added.secsTo(QDateTime::currentDateTime())) < 60);
    }

    void yesEmptiesTheWindowForTheNextItem() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[5]->setText(QStringLiteral("Shop"));
        f.rtBox[1]->setPlainText(QStringLiteral("note"));
        f.datBox->setDate(QDate(2010, 1, 1));
        addItem(w, QStringLiteral("Lamp"), Riri::vbYes);
        const ShownBox& box = boxes->last();
        QCOMPARE(box.prompt,
                 QStringLiteral("New Item Record Saved!\r\n\r\nDo you want to add another Item? "));
        QCOMPARE(box.title, QStringLiteral("Record Saved Successfully"));
        QCOMPARE(box.flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QVERIFY(w.isVisible());
        QCOMPARE(f.txtBox[0]->text(), QString());
        QCOMPARE(f.txtBox[5]->text(), QString());
        QCOMPARE(f.rtBox[1]->toPlainText(), QString());
        QCOMPARE(f.cboBox->currentIndex(), -1);
        QCOMPARE(f.datBox->date(), QDate::currentDate());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[0]);
    }

    void noClosesTheChildWindow() {
        QMdiArea area;
        area.resize(1000, 800);
        area.show();
        auto* w = new frmAddItem;
        QPointer<QMdiSubWindow> frame = area.addSubWindow(w);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->show();
        QPointer<frmAddItem> window = w;
        addItem(*w, QStringLiteral("Lamp"), Riri::vbNo);
        QTRY_VERIFY(frame.isNull());
        QVERIFY(window.isNull());
        QCOMPARE(install->scalar("SELECT COUNT(*) FROM tblItems").toInt(), 1);
    }

    void exitStoresNothing() {
        frmAddItem w;
        QVERIFY(showActive(w));
        w.fields().txtBox[0]->setText(QStringLiteral("Lamp"));
        w.fields().cboBox->setCurrentIndex(1);
        QTest::mouseClick(w.fields().cmdExit, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(install->scalar("SELECT COUNT(*) FROM tblItems").toInt(), 0);
    }

    void aFailedSaveKeepsTheEntries() {
        QVERIFY(install->exec("CREATE TRIGGER refuse BEFORE INSERT ON tblItems "
                              "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[3]->setText(QStringLiteral("5"));
        f.rtBox[0]->setPlainText(QStringLiteral("typed with care"));
        boxes->expect(Riri::vbOK); // the component's own report
        addItem(w, QStringLiteral("Lamp"), Riri::vbOK);
        QCOMPARE(boxes->count(), 2);
        QCOMPARE(boxes->shown().at(0).title, QStringLiteral("Riri"));
        QVERIFY(boxes->shown().at(0).prompt.startsWith(QStringLiteral("ERROR # ")));
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Saved"));
        QCOMPARE(boxes->last().title, QStringLiteral(" ERROR"));
        QCOMPARE(boxes->last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QVERIFY(w.isVisible());
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Lamp"));
        QCOMPARE(f.txtBox[3]->text(), QStringLiteral("5"));
        QCOMPARE(f.cboBox->currentText(), QStringLiteral("Den"));
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("typed with care"));
        QVERIFY(QFile::exists(install->logPath()));

        // Once the cause is gone, the same entries are saved.
        QVERIFY(install->exec("DROP TRIGGER refuse"));
        boxes->expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(install->scalar("SELECT Description FROM tblItems").toString(),
                 QStringLiteral("typed with care"));
    }

    void aMissingDatabaseIsAFailedSave() {
        frmAddItem w;
        QVERIFY(showActive(w));
        QVERIFY(QFile::remove(install->databasePath()));
        addItem(w, QStringLiteral("Lamp"), Riri::vbOK);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Saved"));
        QCOMPARE(w.fields().txtBox[0]->text(), QStringLiteral("Lamp"));
    }
};

QTEST_MAIN(tst_additem)
#include "tst_additem.moc"
