// The item fields shared by the add and edit item windows: captions, limits,
// the room list, caption highlighting, Enter moves, Tab order, the checks
// before a save and Clear.
#include "ItemTestSupport.h"
#include "MsgBox.h"
#include "items/ItemFieldSet.h"
#include "items/frmAddItem.h"
#include "items/frmEditItem.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

bool highlighted(const QLabel* label) {
    return label->font().bold() && label->palette().color(QPalette::WindowText) == kBlue;
}
bool plain(const QLabel* label) {
    return !label->font().bold() && label->palette().color(QPalette::WindowText) == kBlack;
}

void fillValid(ItemFieldSet& f) {
    f.txtBox[0]->setText(QStringLiteral("Lamp"));
    f.cboBox->setCurrentIndex(f.cboBox->findText(QStringLiteral("Kitchen")));
}

} // namespace

class tst_itemfields : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> install;
    std::unique_ptr<MsgResponder> boxes;

    int itemCount() const { return install->scalar("SELECT COUNT(*) FROM tblItems").toInt(); }

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

    void captionsLimitsAndRooms() {
        frmAddItem add;
        frmEditItem edit;
        const QStringList captions{
            "Item Name",     "Serial Number",  "Model",          "Location",    "Original Cost",
            "Current Value", "Accquired From", "Date Accquired", "Description", "Notes"};
        const int addLimits[6] = {35, 35, 30, 10, 10, 34};
        const int editLimits[6] = {34, 35, 35, 10, 10, 35};
        for (ItemFieldSet* f : {&add.fields(), &edit.fields()}) {
            const int* limits = f == &add.fields() ? addLimits : editLimits;
            for (int i = 0; i < 10; ++i) {
                QCOMPARE(f->lblData[size_t(i)]->text(), captions[i]);
            }
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(f->txtBox[size_t(i)]->maxLength(), limits[i]);
            }
            QCOMPARE(f->txtBox[3]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QCOMPARE(f->txtBox[4]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QCOMPARE(f->txtBox[0]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            QCOMPARE(f->lblData[8]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            QCOMPARE(f->lblData[0]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            for (QTextEdit* rt : f->rtBox) {
                QCOMPARE(rt->toolTip(), QStringLiteral(" Max 200 characters "));
                QVERIFY(!rt->acceptRichText());
            }
            QCOMPARE(f->cboBox->count(), 35);
            QVERIFY(!f->cboBox->isEditable());
            QCOMPARE(f->cboBox->currentIndex(), -1);
            QCOMPARE(f->cboBox->currentText(), QString());
            QCOMPARE(f->datBox->minimumDate(), QDate(1900, 1, 1));
            QCOMPARE(f->datBox->maximumDate(), QDate(9999, 12, 31));
            QCOMPARE(f->datBox->date(), QDate::currentDate());
            QVERIFY(f->datBox->calendarPopup());
            QVERIFY(f->datBox->displayFormat().contains(QStringLiteral("yyyy")));
            QCOMPARE(f->cmdSave->text(), QStringLiteral("&Save"));
            QCOMPARE(f->cmdClear->text(), QStringLiteral("&Clear"));
            QCOMPARE(f->cmdExit->text(), QStringLiteral("e&Xit"));
        }
        QStringList rooms;
        for (int i = 0; i < add.fields().cboBox->count(); ++i) {
            rooms << add.fields().cboBox->itemText(i);
        }
        QCOMPARE(rooms, ItemFieldSet::Rooms());
        QCOMPARE(rooms.first(), QStringLiteral("Attic"));
        QCOMPARE(rooms.at(8), QStringLiteral("BedRoom 2"));
        QCOMPARE(rooms.at(26), QStringLiteral("Master Bedroom"));
        QCOMPARE(rooms.last(), QStringLiteral("Other"));
        QVERIFY(!rooms.contains(QStringLiteral("Bathroom 1")));
        QCOMPARE(add.windowTitle(), QStringLiteral("Quorvane - 2.0"));
        QCOMPARE(edit.windowTitle(), QStringLiteral("Quorvane - 2.0"));
    }

    void multiLineBoxesStopAtTheirLimit() {
        frmAddItem w;
        QVERIFY(showActive(w));
        QTextEdit* notes = w.fields().rtBox[1];
        notes->setFocus();
        QTest::keyClicks(notes, QString(248, QLatin1Char('a')));
        QTest::keyClicks(notes, QStringLiteral("xyz"));
        QCOMPARE(notes->toPlainText(), QString(248, QLatin1Char('a')) + QStringLiteral("xy"));
        // Typing in the middle at the limit drops the typed character, not
        // the end of the text.
        QTextCursor cursor = notes->textCursor();
        cursor.setPosition(0);
        notes->setTextCursor(cursor);
        QTest::keyClicks(notes, QStringLiteral("Q"));
        QCOMPARE(notes->toPlainText().size(), 250);
        QVERIFY(notes->toPlainText().endsWith(QStringLiteral("xy")));
        QVERIFY(!notes->toPlainText().contains(QLatin1Char('Q')));
        // A paste is cut to what still fits.
        QTextEdit* description = w.fields().rtBox[0];
        description->setFocus();
        description->insertPlainText(QString(300, QLatin1Char('b')));
        QCOMPARE(description->toPlainText().size(), 250);
        QTest::keyClick(description, Qt::Key_Backspace);
        QTest::keyClicks(description, QStringLiteral("cd"));
        QCOMPARE(description->toPlainText().right(2), QStringLiteral("bc"));
    }

    void focusTurnsTheCaptionBlue() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        const QList<QWidget*> order{f.txtBox[0], f.txtBox[1], f.txtBox[2], f.cboBox,   f.txtBox[3],
                                    f.txtBox[4], f.txtBox[5], f.datBox,    f.rtBox[0], f.rtBox[1],
                                    f.cmdSave,   f.cmdClear,  f.cmdExit};
        f.txtBox[0]->setFocus();
        for (int step = 0; step < order.size(); ++step) {
            QCOMPARE(QApplication::focusWidget() == order[step] ||
                         QApplication::focusWidget()->focusProxy() == order[step] ||
                         QApplication::focusWidget()->parentWidget() == order[step],
                     true);
            for (int i = 0; i < 10; ++i) {
                const QLabel* caption = f.lblData[size_t(i)];
                if (i == step) {
                    QVERIFY2(highlighted(caption), qPrintable(caption->text()));
                } else {
                    QVERIFY2(plain(caption), qPrintable(caption->text()));
                }
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void enterMovesOn() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        const QList<QPair<QWidget*, QWidget*>> moves{
            {f.txtBox[0], f.txtBox[1]}, {f.txtBox[1], f.txtBox[2]}, {f.txtBox[2], f.cboBox},
            {f.txtBox[3], f.txtBox[4]}, {f.txtBox[4], f.txtBox[5]}, {f.txtBox[5], f.datBox}};
        for (const auto& move : moves) {
            auto* box = static_cast<QLineEdit*>(move.first);
            box->setFocus();
            box->setText(QStringLiteral("x"));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget() == move.second ||
                         QApplication::focusWidget()->parentWidget() == move.second,
                     true);
            QCOMPARE(box->text(), QStringLiteral("x"));
        }
        // Enter in a multi-line box starts a new line.
        f.rtBox[0]->setFocus();
        QTest::keyClicks(f.rtBox[0], QStringLiteral("a"));
        QTest::keyClick(f.rtBox[0], Qt::Key_Return);
        QTest::keyClicks(f.rtBox[0], QStringLiteral("b"));
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(QApplication::focusWidget(), f.rtBox[0]);
    }

    void checksRunInOrderAndStopAtTheFirst() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        // Name of blanks only and no room: only the name is reported.
        f.txtBox[0]->setText(QStringLiteral("    "));
        f.txtBox[3]->setText(QStringLiteral("12abc"));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->count(), 1);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Name is missing! "));
        QCOMPARE(boxes->last().title, QStringLiteral("Quorvane"));
        QCOMPARE(boxes->last().icon(), int(Riri::vbCritical));
        QCOMPARE(boxes->last().buttons(), int(Riri::vbOKOnly));
        QCOMPARE(f.txtBox[0]->text(), QString());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[0]);
        QCOMPARE(f.txtBox[3]->text(), QStringLiteral("12abc"));

        f.txtBox[0]->setText(QStringLiteral("Lamp"));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Room Location is missing! "));
        QCOMPARE(QApplication::focusWidget(), f.cboBox);

        // A bad cost empties the cost box only; the value is not checked yet.
        f.cboBox->setCurrentIndex(0);
        f.txtBox[4]->setText(QStringLiteral("xyz"));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Incorrect data in the Cost box! "));
        QCOMPARE(f.txtBox[3]->text(), QString());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[3]);
        QCOMPARE(f.txtBox[4]->text(), QStringLiteral("xyz"));

        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Incorrect data in the Value box! "));
        QCOMPARE(f.txtBox[4]->text(), QString());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[4]);

        f.datBox->setDate(QDate::currentDate().addDays(1));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt,
                 QStringLiteral("Date Accquired is greater than the current date! "));
        QVERIFY(QApplication::focusWidget() == f.datBox ||
                QApplication::focusWidget()->parentWidget() == f.datBox);
        QCOMPARE(boxes->count(), 5);
        QCOMPARE(itemCount(), 0);

        // The first day the picker offers passes.
        f.datBox->setDate(QDate(1900, 1, 1));
        f.txtBox[3]->setText(QStringLiteral("1,234.50"));
        boxes->expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().title, QStringLiteral("Record Saved Successfully"));
        QCOMPARE(itemCount(), 1);
        QCOMPARE(install->scalar("SELECT BuyDate FROM tblItems").toString(),
                 QStringLiteral("1900-01-01"));
    }

    void theEditWindowNamesTheRoomDifferently() {
        frmEditItem w;
        QVERIFY(showActive(w));
        w.fields().txtBox[0]->setText(QStringLiteral("Lamp"));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Location is missing! "));
        QCOMPARE(QApplication::focusWidget(), w.fields().cboBox);
    }

    void amountsSingleCannotHoldAreRefused_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString cost = QStringLiteral("Incorrect data in the Cost box! ");
        const QString value = QStringLiteral("Incorrect data in the Value box! ");
        QTest::newRow("cost too large") << 3 << "1e39" << cost;
        QTest::newRow("cost infinite") << 3 << "inf" << cost;
        QTest::newRow("cost not a number") << 3 << "nan" << cost;
        QTest::newRow("value too small") << 4 << "-1e39" << value;
        QTest::newRow("value infinite") << 4 << "-inf" << value;
    }
    void amountsSingleCannotHoldAreRefused() {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        frmAddItem w;
        QVERIFY(showActive(w));
        fillValid(w.fields());
        w.fields().txtBox[size_t(box)]->setText(text);
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->count(), 1);
        QCOMPARE(boxes->last().prompt, message);
        QCOMPARE(w.fields().txtBox[size_t(box)]->text(), QString());
        QCOMPARE(QApplication::focusWidget(), w.fields().txtBox[size_t(box)]);
        QCOMPARE(itemCount(), 0);
    }

    void blanksAreTrimmedOnScreen() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[0]->setText(QStringLiteral("  Lamp  "));
        f.txtBox[1]->setText(QStringLiteral("\tSN-1 "));
        f.txtBox[5]->setText(QStringLiteral("   "));
        f.rtBox[0]->setPlainText(QStringLiteral("  brass \n"));
        f.rtBox[1]->setPlainText(QStringLiteral("   old lamp   "));
        // The room check fails, and the trimmed texts stay on screen.
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Room Location is missing! "));
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Lamp"));
        QCOMPARE(f.txtBox[1]->text(), QStringLiteral("\tSN-1"));
        QCOMPARE(f.txtBox[5]->text(), QString());
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("brass \n"));
        QCOMPARE(f.rtBox[1]->toPlainText(), QStringLiteral("old lamp"));
    }

    void clearEmptiesEverything() {
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        for (QLineEdit* box : f.txtBox) {
            box->setText(QStringLiteral("1"));
        }
        f.rtBox[0]->setPlainText(QStringLiteral("d"));
        f.rtBox[1]->setPlainText(QStringLiteral("n"));
        f.cboBox->setCurrentIndex(3);
        f.datBox->setDate(QDate(2001, 2, 3));
        f.cmdExit->setFocus();
        QTest::mouseClick(f.cmdClear, Qt::LeftButton);
        for (QLineEdit* box : f.txtBox) {
            QCOMPARE(box->text(), QString());
        }
        QCOMPARE(f.rtBox[0]->toPlainText(), QString());
        QCOMPARE(f.rtBox[1]->toPlainText(), QString());
        QCOMPARE(f.cboBox->currentIndex(), -1);
        QCOMPARE(f.datBox->date(), QDate::currentDate());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[0]);
        QCOMPARE(itemCount(), 0);
        QCOMPARE(boxes->count(), 0);
    }
};

QTEST_MAIN(tst_itemfields)
#include "tst_itemfields.moc"
