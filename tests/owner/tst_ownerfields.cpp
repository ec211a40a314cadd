// The owner field set as both owner windows show it: captions, length
// limits, focus colouring, Enter moves, tab order and Clear.
#include "OwnerTesting.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

using namespace OwnerTesting;

class tst_ownerfields : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<MsgResponder> m_boxes;

    std::unique_ptr<OwnerFields> makeWindow() {
        QFETCH(bool, edit);
        if (edit) {
            return std::make_unique<frmEditOwner>();
        }
        return std::make_unique<frmAddOwner>();
    }

    static void windows() {
        QTest::addColumn<bool>("edit");
        QTest::newRow("entry") << false;
        QTest::newRow("edit") << true;
    }

private slots:
    void init() {
        m_install = std::make_unique<TestInstall>();
        QVERIFY(m_install->isValid());
        m_boxes = std::make_unique<MsgResponder>();
    }
    void cleanup() {
        QCOMPARE(m_boxes->count(), 0); // none of these actions shows a message
        m_boxes.reset();
        m_install.reset();
    }

    void captionsAndLimits_data() { windows(); }
    void captionsAndLimits() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        const QStringList captions{"Last Name", "First Name",   "Middle Name", "Address",
                                   "City",      "State / Prov", "Postal Code"};
        const int limits[] = {35, 25, 25, 35, 35, 3, 10};
        QCOMPARE(window->Label15->text(), QString("Owner Information"));
        for (int i = 0; i < OwnerFields::FieldCount; ++i) {
            QCOMPARE(window->lblData[i]->text(), captions[i]);
            // Typing one character past the limit has no effect.
            window->txtBox[i]->setFocus();
            QTest::keyClicks(window->txtBox[i], QString(limits[i] + 1, QChar('k')));
            QCOMPARE(window->txtBox[i]->text(), QString(limits[i], QChar('k')));
        }
        QCOMPARE(window->txtBox[5]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(window->txtBox[0]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(window->cmdSave->text(), QString("&Save"));
        QCOMPARE(window->cmdClear->text(), QString("&Clear"));
        QCOMPARE(window->cmdExit->text(), QString("e&Xit"));
    }

    // Other keys pass unchanged: no case conversion, no filtering.
    void keysPassUnchanged_data() { windows(); }
    void keysPassUnchanged() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        window->txtBox[3]->setFocus();
        QTest::keyClicks(window->txtBox[3], " 12 o'Brien-St. #4 ");
        QCOMPARE(window->txtBox[3]->text(), QString(" 12 o'Brien-St. #4 "));
    }

    void enterMovesToSave_data() { windows(); }
    void enterMovesToSave() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        window->txtBox[0]->setFocus();
        QTest::keyClicks(window->txtBox[0], "Ames");
        for (int i = 0; i < OwnerFields::FieldCount; ++i) {
            QCOMPARE(QApplication::focusWidget(), window->txtBox[i]);
            QTest::keyClick(window->txtBox[i], Qt::Key_Return);
        }
        // From Postal Code the focus lands on Save without saving.
        QCOMPARE(QApplication::focusWidget(), window->cmdSave);
        QVERIFY(window->isVisible());
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
        // The key itself is swallowed: nothing was inserted into any box.
        QCOMPARE(boxTexts(*window), QStringList({"Ames", "", "", "", "", "", ""}));
        // The keypad Enter key does the same.
        window->txtBox[2]->setFocus();
        QTest::keyClick(window->txtBox[2], Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), window->txtBox[3]);
    }

    void tabOrder_data() { windows(); }
    void tabOrder() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        window->txtBox[0]->setFocus();
        QList<QWidget*> expected(window->txtBox.begin(), window->txtBox.end());
        expected << window->cmdSave << window->cmdClear << window->cmdExit;
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected[i]);
        }
    }

    void focusColours_data() { windows(); }
    void focusColours() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        const auto isHighlighted = [](const QLabel* label) {
            return label->font().bold() &&
                   label->palette().color(QPalette::WindowText) == QColor(0, 0, 255);
        };
        const auto isPlain = [](const QLabel* label) {
            return !label->font().bold() &&
                   label->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
        };
        window->txtBox[0]->setFocus();
        for (int i = 0; i < OwnerFields::FieldCount; ++i) {
            QVERIFY2(isHighlighted(window->lblData[i]), qPrintable(window->lblData[i]->text()));
            for (int j = 0; j < OwnerFields::FieldCount; ++j) {
                if (j != i) {
                    QVERIFY(isPlain(window->lblData[j]));
                }
            }
            QTest::keyClick(window->txtBox[i], Qt::Key_Return);
        }
        // On Save no caption is highlighted.
        for (const QLabel* label : window->lblData) {
            QVERIFY(isPlain(label));
        }
    }

    void clearEmptiesEveryBox_data() { windows(); }
    void clearEmptiesEveryBox() {
        auto window = makeWindow();
        QVERIFY(showActive(*window));
        typeFields(*window, {"Lamb", "Ann", "B", "1 Road", "Town", "ON", "K1A 0B1"});
        QTest::mouseClick(window->cmdClear, Qt::LeftButton);
        QCOMPARE(boxTexts(*window), QStringList(7, QString()));
        QCOMPARE(QApplication::focusWidget(), window->txtBox[0]);
        QVERIFY(window->isVisible());
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
    }

    // The full name keeps empty parts: first, space, middle, space, last.
    void fullNameKeepsEmptyParts() {
        frmAddOwner window;
        typeFields(window, {"Lamb", "Ann"});
        QCOMPARE(window.OwnerText().size(), 8);
        QCOMPARE(window.OwnerText().at(7), QString("Ann  Lamb"));
        window.txtBox[2]->setText("B");
        QCOMPARE(window.OwnerText().at(7), QString("Ann B Lamb"));
        window.cmdClear_Click();
        QCOMPARE(window.OwnerText().at(7), QString("  "));
    }
};

QTEST_MAIN(tst_ownerfields)
#include "tst_ownerfields.moc"
