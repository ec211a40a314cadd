#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

// Removes the history recorded before a chosen date: the number of entries
// first, then, after the user's Yes, an automatic copy of the inventory and
// the removal, as a long task.
class frmCleanUpHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmCleanUpHistory(QWidget* parent = nullptr);

    QDateEdit* datBefore = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* cmdCleanUp = nullptr;
    QPushButton* cmdClose = nullptr;

    // Counts the entries before the chosen date again, on a worker; the
    // count shows when it is in.
    void recount();
    static QString countText(qint64 count);
    static QString question(qint64 count, const QString& date);

private:
    void cmdCleanUp_Click();

    qint64 m_count = 0;
    int m_counting = 0;
};
