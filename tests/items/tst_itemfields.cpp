// The item fields shared by the add and edit windows: caption highlighting,
// Tab order, Enter moves, typing limits, the checks before a save and Clear.
#include "ItemTestSupport.h"
#include "items/ItemFieldSet.h"
#include "items/frmAddItem.h"
#include "items/frmEditItem.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTextEdit>

namespace {

// The widget that has the focus, or the field it belongs to.
bool focusIn(QWidget* field) {
    QWidget* focus = QApplication::focusWidget();
    return focus == field || (focus != nullptr && focus->parentWidget() == field);
}

} // namespace

class tst_itemfields : public QObject {
    Q_OBJECT
private slots:
    void tabTurnsEachCaptionBlueInOrder() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        const QList<QWidget*> order{f.txtBox[0], f.txtBox[1], f.txtBox[2], f.cboBox,   f.txtBox[3],
                                    f.txtBox[4], f.txtBox[5], f.datBox,    f.rtBox[0], f.rtBox[1],
                                    f.cmdSave,   f.cmdClear,  f.cmdExit};
        f.txtBox[0]->setFocus();
        for (int step = 0; step < order.size(); ++step) {
            QVERIFY2(focusIn(order[step]), qPrintable(order[step]->objectName()));
            for (int i = 0; i < 10; ++i) {
                const QLabel* caption = f.lblData[size_t(i)];
                const bool blue = caption->palette().color(QPalette::WindowText) == Qt::blue;
                const bool black = caption->palette().color(QPalette::WindowText) == Qt::black;
                QVERIFY2(i == step ? caption->font().bold() && blue
                                   : !caption->font().bold() && black,
                         qPrintable(caption->text()));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void roomListPopupKeepsItsCaptionBlue() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.cboBox->setFocus();
        f.cboBox->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QVERIFY(f.lblData[3]->font().bold());
        QCOMPARE(f.lblData[3]->palette().color(QPalette::WindowText), QColor(Qt::blue));
        f.cboBox->hidePopup();
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY(f.lblData[3]->font().bold());
    }

    void enterMovesOnWithoutTyping() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        const QList<QPair<QLineEdit*, QWidget*>> moves{
            {f.txtBox[0], f.txtBox[1]}, {f.txtBox[1], f.txtBox[2]}, {f.txtBox[2], f.cboBox},
            {f.txtBox[3], f.txtBox[4]}, {f.txtBox[4], f.txtBox[5]}, {f.txtBox[5], f.datBox}};
        for (const auto& [box, next] : moves) {
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("x"));
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY2(focusIn(next), qPrintable(box->objectName()));
            QCOMPARE(box->text(), QStringLiteral("x"));
        }
        // Enter in a multi-line box starts a new line.
        f.rtBox[0]->setFocus();
        QTest::keyClick(f.rtBox[0], Qt::Key_A);
        QTest::keyClick(f.rtBox[0], Qt::Key_Return);
        QTest::keyClick(f.rtBox[0], Qt::Key_B);
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("a\nb"));
    }

    void enterOnAFocusedButtonPressesIt() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[0]->setText(QStringLiteral("Lamp"));
        f.cmdClear->setFocus();
        QTest::keyClick(f.cmdClear, Qt::Key_Return);
        QCOMPARE(f.txtBox[0]->text(), QString());
        QVERIFY(focusIn(f.txtBox[0]));
    }

    void multiLineBoxesStopAtTheirLimit() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        QTextEdit* notes = w.fields().rtBox[1];
        notes->setFocus();
        QTest::keyClicks(notes, QString(248, QLatin1Char('a')) + QStringLiteral("xyz"));
        QCOMPARE(notes->toPlainText(), QString(248, QLatin1Char('a')) + QStringLiteral("xy"));
        // At the limit a character typed in front is dropped, not the end.
        notes->moveCursor(QTextCursor::Start);
        QTest::keyClicks(notes, QStringLiteral("Q"));
        QCOMPARE(notes->toPlainText(), QString(248, QLatin1Char('a')) + QStringLiteral("xy"));
        // A paste is cut to what still fits.
        w.fields().rtBox[0]->insertPlainText(QString(300, QLatin1Char('b')));
        QCOMPARE(w.fields().rtBox[0]->toPlainText().size(), 250);
    }

    // Each window's own limit on each single-line box: the two windows
    // differ in Item Name, Model and Accquired From.
    void textBoxesStopAtTheirWindowsLimit_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("limit");
        const std::array<int, 6> add{35, 35, 30, 10, 10, 34};
        const std::array<int, 6> edit{34, 35, 35, 10, 10, 35};
        for (int box = 0; box < 6; ++box) {
            QTest::addRow("add txtBox(%d)", box) << false << box << add[size_t(box)];
            QTest::addRow("edit txtBox(%d)", box) << true << box << edit[size_t(box)];
        }
    }

    void textBoxesStopAtTheirWindowsLimit() {
        QFETCH(bool, edit);
        QFETCH(int, box);
        QFETCH(int, limit);
        Fixture fx;
        std::unique_ptr<QWidget> window;
        QLineEdit* field = nullptr;
        if (edit) {
            auto* w = new frmEditItem;
            window.reset(w);
            field = w->fields().txtBox[size_t(box)];
        } else {
            auto* w = new frmAddItem;
            window.reset(w);
            field = w->fields().txtBox[size_t(box)];
        }
        QVERIFY(showActive(*window));
        field->setFocus();
        QTest::keyClicks(field, QString(limit + 3, QLatin1Char('7')));
        QCOMPARE(field->text(), QString(limit, QLatin1Char('7')));
    }

    // The money boxes count digits, the point and the sign against their
    // limit of ten, not the thousands separators, a currency sign or blanks.
    void moneyBoxesCountDigitsAndPoint_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("shown"); // put in by the program first
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("amount");
        for (const bool edit : {false, true}) {
            const char* window = edit ? "edit" : "add";
            QTest::addRow("%s: grouped with cents", window) << edit << QString() << "1,234,567.89"
                                                            << "1,234,567.89" << 1234567.89;
            // A currency sign can be typed; the save check then refuses it.
            QTest::addRow("%s: currency and blanks", window)
                << edit << QString() << "$ 1,234,567.89"
                << "$ 1,234,567.89" << 0.0;
            QTest::addRow("%s: eleventh digit dropped", window)
                << edit << QString() << "12345678901"
                << "1234567890" << 1234567890.0;
            QTest::addRow("%s: grouped, third decimal dropped", window)
                << edit << QString() << "1,234,567.891"
                << "1,234,567.89" << 1234567.89;
        }
        QTest::addRow("stored longer amount can shrink, not grow")
            << true << "9,999,999,999,999.99"
            << "\b5"
            << "9,999,999,999,999.9" << 9999999999999.9;
    }

    void moneyBoxesCountDigitsAndPoint() {
        QFETCH(bool, edit);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(double, amount);
        Fixture fx;
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        std::unique_ptr<QWidget> window;
        ItemFieldSet* fields = nullptr;
        if (edit) {
            auto* w = new frmEditItem;
            window.reset(w);
            fields = &w->fields();
        } else {
            auto* w = new frmAddItem;
            window.reset(w);
            fields = &w->fields();
        }
        QVERIFY(showActive(*window));
        QLineEdit* box = fields->txtBox[ItemFieldSet::CostBox];
        box->setLocale(QLocale());
        fields->showText(ItemFieldSet::CostBox, shown);
        box->setFocus();
        box->end(false);
        for (const QChar c : typed) {
            if (c == QLatin1Char('\b')) {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else {
                QTest::keyClicks(box, QString(c));
            }
        }
        QLocale::setDefault(previous);
        QCOMPARE(box->text(), text);
        QCOMPARE(fields->writerAmounts().front(), amount);
    }

    void checksRunInOrderAndStopAtTheFirst() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        // Each press of Save shows one message: the first failing check.
        const auto save = [&](const QString& message, QWidget* focus) {
            fx.boxes.expect(Riri::vbOK);
            const int before = fx.boxes.count();
            QTest::mouseClick(f.cmdSave, Qt::LeftButton);
            QCOMPARE(fx.boxes.count(), before + 1);
            QCOMPARE(fx.boxes.last().prompt, message);
            QCOMPARE(fx.boxes.last().title, QStringLiteral("Quorvane"));
            QCOMPARE(fx.boxes.last().flags, Riri::vbCritical | Riri::vbOKOnly);
            QVERIFY(focusIn(focus));
        };
        f.txtBox[0]->setText(QStringLiteral("    "));
        f.txtBox[3]->setText(QStringLiteral("12abc"));
        f.txtBox[4]->setText(QStringLiteral("xyz"));
        f.datBox->setDate(QDate::currentDate().addDays(1));
        save(QStringLiteral("Item Name is missing! "), f.txtBox[0]);
        QCOMPARE(f.txtBox[0]->text(), QString());
        QCOMPARE(f.txtBox[3]->text(), QStringLiteral("12abc"));
        f.txtBox[0]->setText(QStringLiteral("Lamp"));
        save(QStringLiteral("Room Location is missing! "), f.cboBox);
        f.cboBox->setCurrentIndex(0);
        save(QStringLiteral("Incorrect data in the Cost box! "), f.txtBox[3]);
        QCOMPARE(f.txtBox[3]->text(), QString());
        QCOMPARE(f.txtBox[4]->text(), QStringLiteral("xyz"));
        save(QStringLiteral("Incorrect data in the Value box! "), f.txtBox[4]);
        QCOMPARE(f.txtBox[4]->text(), QString());
        // Numbers beyond the largest amount fail like any other bad amount.
        for (const char* text : {"1e39", "inf", "nan", "1e13"}) {
            f.txtBox[3]->setText(QString::fromLatin1(text));
            save(QStringLiteral("Incorrect data in the Cost box! "), f.txtBox[3]);
            f.txtBox[4]->setText(QStringLiteral("-") + QString::fromLatin1(text));
            save(QStringLiteral("Incorrect data in the Value box! "), f.txtBox[4]);
        }
        save(QStringLiteral("Date Accquired is greater than the current date! "), f.datBox);
        QCOMPARE(fx.count(), 0);
        // Today, and the first day the picker offers, pass.
        f.datBox->setDate(QDate::currentDate());
        f.datBox->setDate(QDate(1900, 1, 1));
        fx.boxes.expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(fx.count(), 1);

        // The edit window words the room message differently.
        frmEditItem edit;
        QVERIFY(showActive(edit));
        edit.fields().txtBox[0]->setText(QStringLiteral("Lamp"));
        fx.boxes.expect(Riri::vbOK);
        QTest::mouseClick(edit.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Location is missing! "));
    }

    void blanksAreTrimmedOnScreenAndClearEmptiesAll() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[0]->setText(QStringLiteral("  Lamp  "));
        f.txtBox[1]->setText(QStringLiteral("\tSN-1 "));
        f.txtBox[5]->setText(QStringLiteral("   "));
        f.rtBox[0]->setPlainText(QStringLiteral("  brass \n"));
        f.rtBox[1]->setPlainText(QStringLiteral("   old lamp   "));
        fx.boxes.expect(Riri::vbOK); // no room chosen
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Lamp"));
        QCOMPARE(f.txtBox[1]->text(), QStringLiteral("\tSN-1"));
        QCOMPARE(f.txtBox[5]->text(), QString());
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("brass \n"));
        QCOMPARE(f.rtBox[1]->toPlainText(), QStringLiteral("old lamp"));

        f.cboBox->setCurrentIndex(3);
        f.txtBox[3]->setText(QStringLiteral("5"));
        f.datBox->setDate(QDate(2001, 2, 3));
        QTest::mouseClick(f.cmdClear, Qt::LeftButton);
        for (QLineEdit* box : f.txtBox) {
            QCOMPARE(box->text(), QString());
        }
        QCOMPARE(f.rtBox[0]->toPlainText() + f.rtBox[1]->toPlainText(), QString());
        QCOMPARE(f.cboBox->currentIndex(), -1);
        QCOMPARE(f.datBox->date(), QDate::currentDate());
        QVERIFY(focusIn(f.txtBox[0]));
        QCOMPARE(fx.count(), 0);
    }
};

QTEST_MAIN(tst_itemfields)
#include "tst_itemfields.moc"
