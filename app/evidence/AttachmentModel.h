#pragma once

#include <Riri/EvidenceStore.h>

#include <QAbstractListModel>
#include <QList>
#include <QPixmap>
#include <vector>

// An item's attachments as a list in the order they were added: the caption
// as text, the stored thumbnail as picture (decoded from the row's small
// JPEG when first shown, never from the file), the kind under its own role.
// Edits in place are passed on as requests; the window stores them.
class AttachmentModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // the kind's name
        IdRole,                      // tblEvidence.ID
        FileNameRole,
        HasThumbnailRole
    };
    // The side of the square the thumbnails are shown in.
    static constexpr int IconSide = 128;

    explicit AttachmentModel(QObject* parent = nullptr);

    void setAttachments(QList<Riri::Attachment> attachments);
    const QList<Riri::Attachment>& attachments() const { return m_rows; }
    const Riri::Attachment& at(int row) const { return m_rows.at(row); }
    // The row of an attachment, or -1.
    int rowOf(qint64 id) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void captionEdited(qint64 id, const QString& caption);
    void kindEdited(qint64 id, Riri::EvidenceKind kind);

private:
    QPixmap thumbnail(int row) const;

    QList<Riri::Attachment> m_rows;
    mutable std::vector<QPixmap> m_pixmaps; // decoded when first asked for
};
