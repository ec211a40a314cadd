#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

enum class InventoryChange;
class AttachmentModel;
class QLabel;
class QListView;
class QPushButton;

// The evidence of one item: at the top the item's ID, name, room and
// amounts; below, its attachments as thumbnails with kind and caption in the
// order they were added. Files are added through "Add Files...", by dropping
// them on the window or by pasting (Ctrl+V); each is read and stored as a
// long task. A double-click opens the viewer; kind and caption are edited in
// place. The window follows the inventory notice: it shows the item as
// changed elsewhere and closes when the item is deleted.
class frmItemEvidence : public QWidget {
    Q_OBJECT
public:
    // Formats a stored amount in the lists' money pattern.
    using AmountFormat = std::function<QString(const QString& stored)>;

    // The item by its tblItems.ID; without a format amounts show with two
    // decimals in the locale.
    explicit frmItemEvidence(qint64 itemRef, AmountFormat amounts = {}, QWidget* parent = nullptr);

    qint64 itemRef() const { return m_itemRef; }
    // Whether the item was there when last read.
    bool itemFound() const { return m_found; }
    AttachmentModel* attachments() const { return m_model; }

    QLabel* Label30 = nullptr;
    // Item ID, Item Name, Room, Cost, Value.
    std::array<QLabel*, 5> lblCaption{};
    std::array<QLabel*, 5> lblData{};
    QListView* lvEvidence = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdOpenWith = nullptr;
    QPushButton* cmdSaveCopy = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdClose = nullptr;

    // Reads the item and its attachments again, keeping the chosen one.
    // False when the item is no longer stored.
    bool reload();
    // The chosen attachment's row, or -1.
    int currentRow() const;
    void choose(int row);

    // Reads, stores and shows the files as a long task.
    void addFiles(const QStringList& paths);
    // Files the clipboard names, or the picture it holds.
    void paste();
    // Opens the attachment of a row in the viewer.
    void openRow(int row);

    void cmdAdd_Click();
    void cmdOpenWith_Click();
    void cmdSaveCopy_Click();
    void cmdRemove_Click();
    void cmdClose_Click();

    QSize sizeHint() const override;

    // The window's title for an item.
    static QString titleFor(const QString& itemId);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addPicture(const QImage& image);
    void store(const QStringList& paths, const QImage& pasted);
    void inventoryChanged(InventoryChange change);
    void sendNotice();
    void updateButtons();
    void captionEdited(qint64 id, const QString& caption);
    void kindEdited(qint64 id, int kind);
    void showFailure(const QString& what, const QString& cause);

    qint64 m_itemRef;
    AmountFormat m_amounts;
    AttachmentModel* m_model = nullptr;
    bool m_found = false;
    bool m_sendingNotice = false;
};
