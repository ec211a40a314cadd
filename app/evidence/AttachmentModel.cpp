#include "evidence/AttachmentModel.h"

#include <QBuffer>
#include <QImageReader>

AttachmentModel::AttachmentModel(QObject* parent) : QAbstractListModel(parent) {}

void AttachmentModel::setAttachments(QList<Riri::Attachment> attachments) {
    beginResetModel();
    m_rows = std::move(attachments);
    m_pixmaps.assign(static_cast<std::size_t>(m_rows.size()), QPixmap());
    endResetModel();
}

int AttachmentModel::rowOf(qint64 id) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].id == id) {
            return row;
        }
    }
    return -1;
}

int AttachmentModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QPixmap AttachmentModel::thumbnail(int row) const {
    QPixmap& pixmap = m_pixmaps[static_cast<std::size_t>(row)];
    const QByteArray& jpeg = m_rows[row].thumbnail;
    if (pixmap.isNull() && !jpeg.isEmpty()) {
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer, "jpeg");
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > IconSide || size.height() > IconSide)) {
            reader.setScaledSize(size.scaled(IconSide, IconSide, Qt::KeepAspectRatio));
        }
        pixmap = QPixmap::fromImage(reader.read());
    }
    return pixmap;
}

QVariant AttachmentModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const Riri::Attachment& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.caption;
    case Qt::ToolTipRole:
        return row.fileName;
    case Qt::DecorationRole:
        return thumbnail(index.row());
    case KindRole:
        return Riri::evidenceKindName(row.kind);
    case IdRole:
        return row.id;
    case FileNameRole:
        return row.fileName;
    case HasThumbnailRole:
        return !row.thumbnail.isEmpty();
    default:
        return {};
    }
}

bool AttachmentModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return false;
    }
    Riri::Attachment& row = m_rows[index.row()];
    if (role == Qt::EditRole) {
        const QString caption = value.toString();
        if (caption == row.caption) {
            return true;
        }
        row.caption = caption;
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        emit captionEdited(row.id, caption);
        return true;
    }
    if (role == KindRole) {
        const Riri::EvidenceKind kind = Riri::evidenceKindFromName(value.toString());
        if (kind == row.kind) {
            return true;
        }
        row.kind = kind;
        emit dataChanged(index, index, {KindRole});
        emit kindEdited(row.id, kind);
        return true;
    }
    return false;
}

Qt::ItemFlags AttachmentModel::flags(const QModelIndex& index) const {
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}
