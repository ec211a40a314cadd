#include "items/dlgChooseItem.h"

#include "items/ItemListView.h"
#include "items/frmFindItems.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {

dlgChooseItem::Handler& handler() {
    static dlgChooseItem::Handler installed;
    return installed;
}

} // namespace

dlgChooseItem::dlgChooseItem(const QString& purpose, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgChooseItem"));
    setWindowTitle(purpose);
    m_find = new frmFindItems(this);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_find, 1);
    layout->addWidget(m_buttons);
    resize(m_find->sizeHint() + QSize(0, m_buttons->sizeHint().height()));

    // Enter or a double-click on a row, which asks the find window to edit
    // the item, chooses it here.
    connect(m_find, &frmFindItems::editItemRequested, this, &dlgChooseItem::choose);
    connect(m_buttons, &QDialogButtonBox::accepted, this,
            [this] { choose(m_find->lvItems->chosenKey()); });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void dlgChooseItem::choose(const QString& itemId) {
    // Enter in the search box both opens the row and presses OK: the first
    // choice stands.
    if (itemId.isEmpty() || !m_chosen.isEmpty()) {
        return;
    }
    m_chosen = itemId;
    accept();
}

QString dlgChooseItem::ask(QWidget* parent, const QString& purpose) {
    if (handler()) {
        return handler()(parent, purpose);
    }
    dlgChooseItem dialog(purpose, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenItemId() : QString();
}

dlgChooseItem::Handler dlgChooseItem::setHandler(Handler replacement) {
    return std::exchange(handler(), std::move(replacement));
}
