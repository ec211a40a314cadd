#include "items/frmFindItems.h"

#include "items/frmEditItem.h"

#include "items/ItemFieldSet.h"
#include "items/ItemListReader.h"
#include "items/ItemListView.h"
#include "items/Money.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/WindowParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// The evidence column's width in twips: its header with the sort indicator.
constexpr int kEvidenceWidth = 1300;

} // namespace

frmFindItems::frmFindItems(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmFindItems"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));

    Label30 = WindowParts::heading(QStringLiteral("Find Items"), QStringLiteral("Label30"), 14.25,
                                   QColor(0, 0, 255), this,
                                   {.left = 120, .top = 120, .width = 6015, .height = 435});

    auto* lblFind = new QLabel(QStringLiteral("&Find:"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setClearButtonEnabled(true);
    lblFind->setBuddy(txtFind);
    auto* lblRoom = new QLabel(QStringLiteral("R&oom:"), this);
    lblRoom->setObjectName(QStringLiteral("lblRoom"));
    cboRoom = new QComboBox(this);
    cboRoom->setObjectName(QStringLiteral("cboRoom"));
    cboRoom->addItem(QStringLiteral("All Rooms"));
    cboRoom->addItems(ItemFieldSet::rooms());
    cboRoom->setMaxVisibleItems(20);
    lblRoom->setBuddy(cboRoom);
    chkNoPhoto = new QCheckBox(QStringLiteral("Items without a &photo"), this);
    chkNoPhoto->setObjectName(QStringLiteral("chkNoPhoto"));

    // The columns of the edit item window's list.
    lvItems = new ItemListView(this, frmEditItem::listHeaders(), frmEditItem::ListWidths);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    lvItems->setDirectionPerColumn(true);
    lvItems->setEvidenceColumn(QStringLiteral("Evidence"), kEvidenceWidth);
    // Shown beside the item's name, where it is seen without scrolling.
    lvItems->header()->moveSection(ItemListModel::EvidenceColumn, ItemListModel::NameColumn + 1);
    lvItems->installEventFilter(this);
    // Each batch read is folded for searching on the reading thread and
    // matched against the query before its rows join the list.
    lvItems->setBatchFilter(
        [this](const ItemBatch& batch) {
            if (batch.total >= 0) {
                m_search.reserveRows(batch.total);
            }
            m_batchKeep = m_search.add(batch.search);
            return &m_batchKeep;
        },
        ItemFieldSet::rooms());
    connect(lvItems, &ItemListView::aboutToRead, this, [this] {
        m_search.clear();
        m_search.match(txtFind->text(), cboRoom->currentIndex() - 1, chkNoPhoto->isChecked());
    });
    connect(lvItems, &ItemListView::evidenceRead, this,
            [this](const ItemSearch::Evidence& evidence) {
                m_search.setEvidence(evidence);
                // Matched again with the captions and photos only when they
                // can change what shows; the chosen row stays chosen.
                if (!ItemSearch::words(txtFind->text()).empty() || chkNoPhoto->isChecked()) {
                    const QString chosen = lvItems->chosenKey();
                    applyQuery();
                    if (!chosen.isEmpty()) {
                        lvItems->chooseKey(chosen);
                    }
                }
            });
    connect(lvItems, &ItemListView::rowsRead, this, &frmFindItems::showTotals);
    connect(lvItems, &ItemListView::readingFinished, this, &frmFindItems::showTotals);

    lblTotals = new QLabel(this);
    lblTotals->setObjectName(QStringLiteral("lblTotals"));

    const int gap = Twips::toPixels(120);
    // The query and the room on one line, the photo filter under the query,
    // so that the line keeps room for the query in a narrow window.
    auto* search = new QGridLayout;
    search->setHorizontalSpacing(gap);
    search->setVerticalSpacing(gap / 2);
    search->addWidget(lblFind, 0, 0);
    search->addWidget(txtFind, 0, 1);
    search->addWidget(lblRoom, 0, 2);
    search->addWidget(cboRoom, 0, 3);
    search->addWidget(chkNoPhoto, 1, 1, 1, 3);
    search->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->setSpacing(gap / 2 + 1);
    layout->addWidget(Label30);
    layout->addLayout(search);
    layout->addWidget(lvItems, 1);
    layout->addWidget(lblTotals);
    setTabOrder(txtFind, cboRoom);
    setTabOrder(cboRoom, chkNoPhoto);
    setTabOrder(chkNoPhoto, lvItems);

    setMinimumSize(Twips::size(6000, 3600));
    resize(sizeHint());

    connect(txtFind, &QLineEdit::textChanged, this, &frmFindItems::applyQuery);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmFindItems::openChosen);
    connect(cboRoom, &QComboBox::currentIndexChanged, this, &frmFindItems::applyQuery);
    connect(chkNoPhoto, &QCheckBox::toggled, this, &frmFindItems::applyQuery);
    connect(lvItems, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    connect(lvItems->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_sortColumn = column;
        m_sortOrder = lvItems->items()->order();
    });
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    refresh->setContext(Qt::WidgetWithChildrenShortcut);
    connect(refresh, &QShortcut::activated, this, &frmFindItems::refresh);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            [this](InventoryChange change) {
                if (InventoryNotice::touchesItems(change)) {
                    this->refresh();
                }
            });

    Form_Load();
}

QSize frmFindItems::sizeHint() const {
    return Twips::size(11500, 6600);
}

void frmFindItems::Form_Load() {
    newHome();
    setWindowTitle(WindowParts::caption());
    refresh();
    txtFind->setFocus();
}

void frmFindItems::refresh() {
    const QString chosen = lvItems->chosenKey();
    lvItems->FillItemList();
    if (m_sortColumn >= 0) {
        // Sorted again over the whole list once it is read.
        lvItems->items()->sortRows(m_sortColumn, m_sortOrder);
        lvItems->header()->setSortIndicator(m_sortColumn, m_sortOrder);
    }
    showTotals();
    lvItems->chooseKeySoon(chosen);
}

void frmFindItems::applyQuery() {
    const QString query = txtFind->text();
    const int room = cboRoom->currentIndex() - 1; // -1: all rooms
    const ItemSearch::Result& found = m_search.match(query, room, chkNoPhoto->isChecked());
    ItemListModel& list = *lvItems->items();
    if (found.count == m_search.rowCount()) {
        list.showAll();
    } else {
        list.showOnly(found.keep);
    }
    showTotals();
}

void frmFindItems::showTotals() {
    const ItemSearch::Result& found = m_search.result();
    QString text = totalsText(found.count, found.costCents, found.valueCents);
    if (lvItems->isReading()) {
        text += readingText(lvItems->readCount(), lvItems->totalCount());
    }
    lblTotals->setText(text);
}

QString frmFindItems::readingText(qint64 read, qint64 total) {
    const QLocale locale;
    if (total < 0) {
        return QStringLiteral("     (reading\u2026 %1 items so far)").arg(locale.toString(read));
    }
    return QStringLiteral("     (reading\u2026 %1 of %2 items)")
        .arg(locale.toString(read), locale.toString(total));
}

QString frmFindItems::totalsText(qsizetype count, std::int64_t costCents, std::int64_t valueCents) {
    return QStringLiteral("Items shown: %1     Total Original Cost: %2     Total Current Value: %3")
        .arg(QLocale().toString(static_cast<qlonglong>(count)), Money::formatCents(costCents),
             Money::formatCents(valueCents));
}

void frmFindItems::openRow(int row) {
    const ItemListModel& list = *lvItems->items();
    if (row < 0 || row >= list.rowCount()) {
        return;
    }
    emit editItemRequested(list.key(row));
}

void frmFindItems::openChosen() {
    // The chosen row, or the first one shown when none is chosen.
    const int chosen = lvItems->currentIndex().isValid() ? lvItems->currentIndex().row() : 0;
    openRow(chosen);
}

bool frmFindItems::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvItems && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openChosen();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
