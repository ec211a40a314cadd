// The owner field set as both owner windows show it: length limits, Enter
// moves, focus colouring and Clear.
#include "OwnerTesting.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

using namespace OwnerTesting;

class tst_ownerfields : public OwnerTestCase {
    Q_OBJECT

    std::unique_ptr<OwnerFields> m_window;

    static void windows() {
        QTest::addColumn<int>("unused");
        QTest::newRow("entry") << 0;
        QTest::newRow("edit") << 1;
    }

private slots:
    void init() {
        QVERIFY(startTest());
        if (QByteArray(QTest::currentDataTag()) == "edit") {
            m_window = std::make_unique<frmEditOwner>();
        } else {
            m_window = std::make_unique<frmAddOwner>();
        }
        QVERIFY(showActive(*m_window));
    }
    void cleanup() {
        m_window.reset();
        QCOMPARE(m_boxes->count(), 0); // none of these actions shows a message
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
        endTest();
    }

    void lengthLimits_data() { windows(); }
    void lengthLimits() {
        const int limits[] = {35, 25, 25, 35, 35, 3, 10};
        for (int i = 0; i < OwnerFields::FieldCount; ++i) {
            m_window->txtBox[i]->setFocus();
            QTest::keyClicks(m_window->txtBox[i], QString(limits[i] + 1, QChar('k')));
            QCOMPARE(m_window->txtBox[i]->text(), QString(limits[i], QChar('k')));
        }
    }

    // Enter goes box by box to Save without inserting anything or saving;
    // the focused field's caption alone is bold blue.
    void enterMovesAndFocusColours_data() { windows(); }
    void enterMovesAndFocusColours() {
        const auto highlighted = [](const QLabel* label) {
            return label->font().bold() &&
                   label->palette().color(QPalette::WindowText) == QColor(0, 0, 255);
        };
        const auto plain = [](const QLabel* label) {
            return !label->font().bold() &&
                   label->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
        };
        m_window->txtBox[0]->setFocus();
        QTest::keyClicks(m_window->txtBox[0], "Ames");
        for (int i = 0; i < OwnerFields::FieldCount; ++i) {
            QCOMPARE(QApplication::focusWidget(), m_window->txtBox[i]);
            for (int j = 0; j < OwnerFields::FieldCount; ++j) {
                QVERIFY2(j == i ? highlighted(m_window->lblData[j]) : plain(m_window->lblData[j]),
                         qPrintable(m_window->lblData[j]->text()));
            }
            // The keypad Enter key moves on as the main one does.
            QTest::keyClick(m_window->txtBox[i], i == 3 ? Qt::Key_Enter : Qt::Key_Return,
                            i == 3 ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCOMPARE(QApplication::focusWidget(), m_window->cmdSave);
        for (const QLabel* label : m_window->lblData) {
            QVERIFY(plain(label));
        }
        QCOMPARE(boxTexts(*m_window), QStringList({"Ames", "", "", "", "", "", ""}));
        QVERIFY(m_window->isVisible());
        // Tab goes on through Clear and Exit.
        QTest::keyClick(m_window->cmdSave, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_window->cmdClear);
        QTest::keyClick(m_window->cmdClear, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_window->cmdExit);
    }

    void clearEmptiesEveryBox_data() { windows(); }
    void clearEmptiesEveryBox() {
        typeFields(*m_window, {"Lamb", "Ann", "B", "1 Road", "Town", "ON", "K1A 0B1"});
        QTest::mouseClick(m_window->cmdClear, Qt::LeftButton);
        QCOMPARE(boxTexts(*m_window), QStringList(7, QString()));
        QCOMPARE(QApplication::focusWidget(), m_window->txtBox[0]);
        QVERIFY(m_window->isVisible());
    }
};

QTEST_MAIN(tst_ownerfields)
#include "tst_ownerfields.moc"
