#include "evidence/frmItemEvidence.h"

#include "AppInfo.h"
#include "evidence/AttachmentDelegate.h"
#include "evidence/AttachmentModel.h"
#include "evidence/EvidenceCopies.h"
#include "evidence/EvidenceIntake.h"
#include "evidence/frmEvidenceViewer.h"
#include "platform/DialogFolder.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "ui/LongTask.h"
#include "ui/WindowParts.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceStore.h>
#include <Riri/ItemCard.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>
#include <optional>

namespace {

const std::array<QString, 5> kCaptions{QStringLiteral("Item ID:"), QStringLiteral("Item Name:"),
                                       QStringLiteral("Room:"), QStringLiteral("Cost:"),
                                       QStringLiteral("Value:")};

// The local files among dropped or pasted data.
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

QString plainAmount(const QString& stored) {
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok ? QLocale().toString(value, 'f', 2) : stored;
}

} // namespace

frmItemEvidence::frmItemEvidence(qint64 itemRef, AmountFormat amounts, QWidget* parent)
    : QWidget(parent), m_itemRef(itemRef),
      m_amounts(amounts ? std::move(amounts) : AmountFormat(plainAmount)) {
    setObjectName(QStringLiteral("frmItemEvidence"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    setAcceptDrops(true);

    Label30 = WindowParts::heading(QStringLiteral("Item Evidence"), QStringLiteral("Label30"),
                                   14.25, QColor(0, 0, 255), this,
                                   {.left = 120, .top = 120, .width = 6015, .height = 435});
    auto* card = new QGridLayout;
    card->setHorizontalSpacing(Twips::toPixels(120));
    card->setVerticalSpacing(Twips::toPixels(45));
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        lblCaption[i] = new QLabel(kCaptions[i], this);
        lblCaption[i]->setObjectName(QStringLiteral("lblCaption_%1").arg(i));
        lblCaption[i]->setFont(Fonts::make(Fonts::Verdana, 9.75, true));
        lblData[i] = new QLabel(this);
        lblData[i]->setObjectName(QStringLiteral("lblData_%1").arg(i));
        lblData[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    // Item ID and Item Name on the first line; Room, Cost and Value on the
    // second.
    card->addWidget(lblCaption[0], 0, 0);
    card->addWidget(lblData[0], 0, 1);
    card->addWidget(lblCaption[1], 0, 2);
    card->addWidget(lblData[1], 0, 3, 1, 3);
    card->addWidget(lblCaption[2], 1, 0);
    card->addWidget(lblData[2], 1, 1);
    card->addWidget(lblCaption[3], 1, 2);
    card->addWidget(lblData[3], 1, 3);
    card->addWidget(lblCaption[4], 1, 4);
    card->addWidget(lblData[4], 1, 5);
    card->setColumnStretch(1, 1);
    card->setColumnStretch(3, 1);
    card->setColumnStretch(5, 1);

    m_model = new AttachmentModel(this);
    lvEvidence = new QListView(this);
    lvEvidence->setObjectName(QStringLiteral("lvEvidence"));
    lvEvidence->setViewMode(QListView::IconMode);
    lvEvidence->setMovement(QListView::Static);
    lvEvidence->setResizeMode(QListView::Adjust);
    lvEvidence->setWrapping(true);
    lvEvidence->setUniformItemSizes(true);
    lvEvidence->setSpacing(Twips::toPixels(60));
    lvEvidence->setSelectionMode(QAbstractItemView::SingleSelection);
    lvEvidence->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::SelectedClicked);
    // Files dropped on the list are the window's to take.
    lvEvidence->setDragEnabled(false);
    lvEvidence->setAcceptDrops(false);
    lvEvidence->viewport()->setAcceptDrops(false);
    lvEvidence->setItemDelegate(new AttachmentDelegate(lvEvidence));
    lvEvidence->setModel(m_model);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    cmdAdd = WindowParts::button(QStringLiteral("&Add Files..."), QStringLiteral("cmdAdd"), this,
                                 {.left = 0, .top = 0, .width = 1800, .height = 375});
    cmdOpenWith =
        WindowParts::button(QStringLiteral("Open &With..."), QStringLiteral("cmdOpenWith"), this,
                            {.left = 0, .top = 0, .width = 1800, .height = 375});
    cmdSaveCopy =
        WindowParts::button(QStringLiteral("&Save Copy As..."), QStringLiteral("cmdSaveCopy"), this,
                            {.left = 0, .top = 0, .width = 2100, .height = 375});
    cmdRemove = WindowParts::button(QStringLiteral("&Remove"), QStringLiteral("cmdRemove"), this,
                                    {.left = 0, .top = 0, .width = 1200, .height = 375});
    cmdClose = WindowParts::button(QStringLiteral("&Close"), QStringLiteral("cmdClose"), this,
                                   {.left = 0, .top = 0, .width = 1200, .height = 375});
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Twips::toPixels(120));
    for (QPushButton* button : {cmdAdd, cmdOpenWith, cmdSaveCopy, cmdRemove}) {
        button->setMinimumSize(button->size());
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    cmdClose->setMinimumSize(cmdClose->size());
    buttons->addWidget(cmdClose);

    const int gap = Twips::toPixels(120);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->setSpacing(gap / 2 + 1);
    layout->addWidget(Label30);
    layout->addLayout(card);
    layout->addWidget(lvEvidence, 1);
    layout->addWidget(lblCount);
    layout->addLayout(buttons);
    setMinimumSize(Twips::size(7800, 5400));
    resize(sizeHint());

    connect(cmdAdd, &QPushButton::clicked, this, &frmItemEvidence::cmdAdd_Click);
    connect(cmdOpenWith, &QPushButton::clicked, this, &frmItemEvidence::cmdOpenWith_Click);
    connect(cmdSaveCopy, &QPushButton::clicked, this, &frmItemEvidence::cmdSaveCopy_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmItemEvidence::cmdRemove_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmItemEvidence::cmdClose_Click);
    connect(lvEvidence, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    connect(lvEvidence, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        // Enter opens the viewer as a double-click does.
        if (QApplication::mouseButtons() == Qt::NoButton) {
            openRow(index.row());
        }
    });
    connect(m_model, &AttachmentModel::captionEdited, this, &frmItemEvidence::captionEdited);
    connect(m_model, &AttachmentModel::kindEdited, this,
            [this](qint64 id, Riri::EvidenceKind kind) { kindEdited(id, static_cast<int>(kind)); });
    connect(lvEvidence->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmItemEvidence::updateButtons);
    auto* pasteKey = new QShortcut(QKeySequence::Paste, this);
    pasteKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(pasteKey, &QShortcut::activated, this, &frmItemEvidence::paste);
    auto* removeKey = new QShortcut(QKeySequence::Delete, lvEvidence);
    removeKey->setContext(Qt::WidgetShortcut);
    connect(removeKey, &QShortcut::activated, this, &frmItemEvidence::cmdRemove_Click);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            &frmItemEvidence::inventoryChanged);

    reload();
    if (m_model->rowCount() > 0) {
        choose(0);
    }
    lvEvidence->setFocus();
}

QSize frmItemEvidence::sizeHint() const {
    return Twips::size(10200, 7800);
}

QString frmItemEvidence::titleFor(const QString& itemId) {
    return QStringLiteral("Item Evidence - ") + itemId;
}

bool frmItemEvidence::reload() {
    const qint64 chosen = currentRow() >= 0 ? m_model->at(currentRow()).id : 0;
    std::optional<Riri::ItemCard> card;
    QList<Riri::Attachment> rows;
    try {
        card = Riri::ItemCard::read(m_itemRef);
        if (card) {
            rows = Riri::EvidenceStore().list(m_itemRef);
        }
    } catch (const Riri::Error& error) {
        showFailure(QStringLiteral("The evidence could not be read."), error.description());
        return m_found;
    }
    m_found = card.has_value();
    if (!m_found) {
        m_model->setAttachments({});
        updateButtons();
        return false;
    }
    setWindowTitle(titleFor(card->itemId));
    lblData[0]->setText(card->itemId);
    lblData[1]->setText(card->name);
    lblData[2]->setText(card->room);
    lblData[3]->setText(m_amounts(card->cost));
    lblData[4]->setText(m_amounts(card->value));
    m_model->setAttachments(std::move(rows));
    const qsizetype count = m_model->rowCount();
    lblCount->setText(count == 0   ? QStringLiteral("No attachments yet: add files, drop them on "
                                                      "this window or paste a picture (Ctrl+V).")
                      : count == 1 ? QStringLiteral("1 attachment")
                                   : QStringLiteral("%1 attachments").arg(count));
    const int row = m_model->rowOf(chosen);
    if (row >= 0) {
        choose(row);
    }
    updateButtons();
    return true;
}

int frmItemEvidence::currentRow() const {
    const QModelIndex index = lvEvidence->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void frmItemEvidence::choose(int row) {
    if (row >= 0 && row < m_model->rowCount()) {
        lvEvidence->setCurrentIndex(m_model->index(row));
    }
    updateButtons();
}

void frmItemEvidence::updateButtons() {
    const bool chosen = currentRow() >= 0;
    cmdAdd->setEnabled(m_found);
    for (QPushButton* button : {cmdOpenWith, cmdSaveCopy, cmdRemove}) {
        button->setEnabled(chosen);
    }
}

void frmItemEvidence::addFiles(const QStringList& paths) {
    if (!paths.isEmpty()) {
        store(paths, QImage());
    }
}

void frmItemEvidence::addPicture(const QImage& image) {
    if (!image.isNull()) {
        store({}, image);
    }
}

void frmItemEvidence::store(const QStringList& paths, const QImage& pasted) {
    if (!m_found) {
        return;
    }
    // A pasted picture becomes a file in a folder of its own, gone once stored.
    std::optional<QTemporaryDir> pasteFolder;
    if (!pasted.isNull()) {
        pasteFolder.emplace();
    }
    const qint64 itemRef = m_itemRef;
    const QString folder = pasteFolder ? pasteFolder->path() : QString();
    EvidenceIntake::Outcome outcome;
    try {
        outcome = LongTask::run(
            {.parent = this,
             .title = QStringLiteral("Item Evidence"),
             .label = QStringLiteral("Reading the files..."),
             .unit = TaskOptions::Unit::Bytes,
             .cancellable = true},
            [&](const TaskProgress& progress) {
                QStringList files = paths;
                if (!pasted.isNull()) {
                    const QString written = EvidenceIntake::writePasted(pasted, folder);
                    if (written.isEmpty()) {
                        throw Riri::Error(Riri::ErrorNumber::Unexpected,
                                          QStringLiteral("The picture could not be written."));
                    }
                    files.append(written);
                }
                bool storing = false;
                const Riri::Progress store = [&progress, &storing](qint64 done, qint64 total) {
                    if (!storing) {
                        storing = true;
                        progress.setLabel(QStringLiteral("Storing the files..."));
                    }
                    return progress(done, total);
                };
                return EvidenceIntake::add(itemRef, files, progress, store);
            });
    } catch (const Riri::Error& error) {
        if (error.number() != Riri::ErrorNumber::Cancelled) {
            showFailure(QStringLiteral("The files could not be attached."), error.description());
        }
        return;
    }
    if (!outcome.refused.isEmpty()) {
        Riri::MsgBox(QStringLiteral("These files were not attached:\r\n\r\n") +
                         outcome.refused.join(QStringLiteral("\r\n")),
                     Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    }
    if (outcome.added.isEmpty()) {
        return;
    }
    reload();
    choose(m_model->rowOf(outcome.added.last()));
    sendNotice();
}

void frmItemEvidence::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const QStringList files = localFiles(data);
    if (!files.isEmpty()) {
        addFiles(files);
    } else if (data != nullptr && data->hasImage()) {
        addPicture(qvariant_cast<QImage>(data->imageData()));
    }
}

void frmItemEvidence::dragEnterEvent(QDragEnterEvent* event) {
    if (m_found && !localFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void frmItemEvidence::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drop has ended, so that the file manager is not held up
    // while the files are read.
    QMetaObject::invokeMethod(
        this, [this, files] { addFiles(files); }, Qt::QueuedConnection);
}

void frmItemEvidence::openRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        return;
    }
    const Riri::Attachment& attachment = m_model->at(row);
    frmEvidenceViewer::open(attachment, Riri::EvidenceStore().filePath(attachment), this);
}

void frmItemEvidence::cmdAdd_Click() {
    const QStringList paths =
        DialogFolder(QStringLiteral("evidence"))
            .askOpenMany(this, QStringLiteral("Add Files"), QStringLiteral("All files (*)"));
    addFiles(paths);
}

void frmItemEvidence::cmdOpenWith_Click() {
    const int row = currentRow();
    if (row < 0) {
        return;
    }
    const Riri::Attachment& attachment = m_model->at(row);
    const QString copy = EvidenceCopies::temporaryCopy(Riri::EvidenceStore().filePath(attachment),
                                                       attachment.fileName);
    if (copy.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(copy))) {
        Riri::MsgBox(QStringLiteral("The file could not be opened: ") + attachment.fileName,
                     Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    }
}

void frmItemEvidence::cmdSaveCopy_Click() {
    const int row = currentRow();
    if (row < 0) {
        return;
    }
    const Riri::Attachment& attachment = m_model->at(row);
    const DialogFolder folder(QStringLiteral("evidence-copy"));
    const QString target =
        folder.askSave(this, QStringLiteral("Save Copy As"), folder.suggest(attachment.fileName),
                       QStringLiteral("All files (*)"));
    if (target.isEmpty()) {
        return;
    }
    if (!EvidenceCopies::saveCopy(Riri::EvidenceStore().filePath(attachment), target)) {
        Riri::MsgBox(QStringLiteral("The copy could not be written: ") + target,
                     Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    }
}

void frmItemEvidence::cmdRemove_Click() {
    const int row = currentRow();
    if (row < 0) {
        return;
    }
    const Riri::Attachment attachment = m_model->at(row);
    const QString name = attachment.caption.isEmpty() ? attachment.fileName : attachment.caption;
    if (Riri::MsgBox(QStringLiteral("Remove this attachment from the item?\r\n\r\n") + name,
                     Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2,
                     AppInfo::Title) != Riri::vbYes) {
        return;
    }
    try {
        Riri::EvidenceStore().remove(attachment.id);
    } catch (const Riri::Error& error) {
        showFailure(QStringLiteral("The attachment could not be removed."), error.description());
        return;
    }
    reload();
    choose(std::min(row, m_model->rowCount() - 1));
    sendNotice();
}

void frmItemEvidence::cmdClose_Click() {
    WindowParts::closeWindow(this);
}

void frmItemEvidence::captionEdited(qint64 id, const QString& caption) {
    try {
        Riri::EvidenceStore().setCaption(id, caption);
    } catch (const Riri::Error& error) {
        showFailure(QStringLiteral("The caption could not be stored."), error.description());
        reload();
        return;
    }
    sendNotice();
}

void frmItemEvidence::kindEdited(qint64 id, int kind) {
    try {
        Riri::EvidenceStore().setKind(id, static_cast<Riri::EvidenceKind>(kind));
    } catch (const Riri::Error& error) {
        showFailure(QStringLiteral("The kind could not be stored."), error.description());
        reload();
        return;
    }
    sendNotice();
}

void frmItemEvidence::showFailure(const QString& what, const QString& cause) {
    Riri::MsgBox(what + QStringLiteral("\r\n\r\n") + cause, Riri::vbExclamation | Riri::vbOKOnly,
                 AppInfo::Title);
}

void frmItemEvidence::sendNotice() {
    m_sendingNotice = true;
    InventoryNotice::send(InventoryChange::Items);
    m_sendingNotice = false;
}

void frmItemEvidence::inventoryChanged(InventoryChange change) {
    if (m_sendingNotice || !InventoryNotice::touchesItems(change)) {
        return;
    }
    if (!reload()) {
        // The item was deleted elsewhere: there is nothing left to show.
        WindowParts::closeWindow(this);
    }
}
