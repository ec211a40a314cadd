#pragma once

#include <QStyledItemDelegate>

// Draws an attachment in the list as a tile: its thumbnail (or a page with
// the file's extension when it has none) in a square, its kind in bold and
// its caption below. Edits kind and caption in place.
class AttachmentDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit AttachmentDelegate(QObject* parent = nullptr);

    // The size of every tile.
    static QSize tileSize(const QFont& font);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    static void paintGenericIcon(QPainter* painter, const QRect& square, const QString& fileName);
};
