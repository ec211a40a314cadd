#pragma once

#include "platform/Twips.h"

#include <QWidget>

class ItemFieldSet;
class QLabel;

// The window in which the user records a new item.
class frmAddItem : public QWidget {
    Q_OBJECT
public:
    explicit frmAddItem(QWidget* parent = nullptr);

    // The window's fixed inner area.
    static constexpr TwipsSize InnerSize{.width = 6270, .height = 6870};

    ItemFieldSet& fields() const { return *m_fields; }
    QLabel* Label30 = nullptr;

private:
    void Form_Load();
    // "A-" and one more than the largest ID of the item table (A-1 for an
    // empty table); empty when the largest ID cannot be read.
    QString MakeItemID();
    void cmdSave_Click();
    void cmdClear_Click();
    void cmdExit_Click();

    ItemFieldSet* m_fields = nullptr;
};
