#include "evidence/AttachmentDelegate.h"

#include "evidence/AttachmentEditor.h"
#include "evidence/AttachmentModel.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kMargin = 6;

int lineHeight(const QFont& font) {
    return QFontMetrics(font).height();
}

QRect squareOf(const QRect& tile) {
    const int side = AttachmentModel::IconSide;
    return {tile.left() + (tile.width() - side) / 2, tile.top() + kMargin, side, side};
}

QRect textOf(const QRect& tile, const QFont& font) {
    const QRect square = squareOf(tile);
    return {tile.left() + kMargin, square.bottom() + 1 + kMargin / 2, tile.width() - 2 * kMargin,
            2 * lineHeight(font)};
}

} // namespace

AttachmentDelegate::AttachmentDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize AttachmentDelegate::tileSize(const QFont& font) {
    const int side = AttachmentModel::IconSide;
    return {side + 4 * kMargin, kMargin + side + kMargin / 2 + 2 * lineHeight(font) + kMargin};
}

QSize AttachmentDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& /*index*/) const {
    return tileSize(option.font);
}

void AttachmentDelegate::paintGenericIcon(QPainter* painter, const QRect& square,
                                          const QString& fileName) {
    // A sheet of paper with a folded corner and the file's extension on it.
    const int width = square.width() * 5 / 8;
    const int height = square.height() * 7 / 8;
    const QRect sheet(square.center().x() - width / 2, square.center().y() - height / 2, width,
                      height);
    const int fold = width / 4;
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - fold, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + fold);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(120, 120, 120), 1.5));
    painter->setBrush(QColor(250, 250, 250));
    painter->drawPath(outline);
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    painter->setBrush(QColor(220, 220, 220));
    painter->drawPath(corner);
    const QString suffix = QFileInfo(fileName).suffix().toUpper().left(5);
    if (!suffix.isEmpty()) {
        QFont font = painter->font();
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(QColor(90, 90, 90));
        painter->drawText(sheet, Qt::AlignCenter, suffix);
    }
    painter->restore();
}

void AttachmentDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->save();
    const QRect tile = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) {
        painter->fillRect(tile.adjusted(1, 1, -1, -1), option.palette.highlight());
    }
    const QRect square = squareOf(tile);
    const QPixmap pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
    if (pixmap.isNull()) {
        paintGenericIcon(painter, square, index.data(AttachmentModel::FileNameRole).toString());
    } else {
        const QSize shown = pixmap.size()
                                .scaled(square.size(), Qt::KeepAspectRatio)
                                .boundedTo(pixmap.size().expandedTo(QSize(1, 1)));
        QRect place(QPoint(0, 0), shown);
        place.moveCenter(square.center());
        painter->drawPixmap(place, pixmap);
        // A frame, so that a white page stands out from the list.
        painter->setPen(QColor(160, 160, 160));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(place.adjusted(0, 0, -1, -1));
    }
    const QRect text = textOf(tile, option.font);
    const int line = lineHeight(option.font);
    painter->setPen(selected ? option.palette.highlightedText().color()
                             : option.palette.text().color());
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    const QString kind = index.data(AttachmentModel::KindRole).toString();
    painter->drawText(QRect(text.left(), text.top(), text.width(), line), Qt::AlignHCenter,
                      QFontMetrics(bold).elidedText(kind, Qt::ElideRight, text.width()));
    painter->setFont(option.font);
    // Without a caption the file's name stands there, greyed.
    QString caption = index.data(Qt::DisplayRole).toString();
    if (caption.isEmpty()) {
        caption = index.data(AttachmentModel::FileNameRole).toString();
        if (!selected) {
            painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
        }
    }
    painter->drawText(QRect(text.left(), text.top() + line, text.width(), line), Qt::AlignHCenter,
                      QFontMetrics(option.font).elidedText(caption, Qt::ElideRight, text.width()));
    if ((option.state & QStyle::State_HasFocus) != 0) {
        QPen pen(option.palette.highlight().color());
        pen.setStyle(Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(tile.adjusted(1, 1, -2, -2));
    }
    painter->restore();
}

QWidget* AttachmentDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                          const QModelIndex& /*index*/) const {
    auto* editor = new AttachmentEditor(parent);
    auto* self = const_cast<AttachmentDelegate*>(this);
    // A kind chosen from the list is stored at once; Enter in the caption
    // stores both and ends the edit.
    connect(editor->cboKind, &QComboBox::activated, self,
            [self, editor] { emit self->commitData(editor); });
    connect(editor->txtCaption, &QLineEdit::returnPressed, self, [self, editor] {
        emit self->commitData(editor);
        emit self->closeEditor(editor, QAbstractItemDelegate::NoHint);
    });
    return editor;
}

void AttachmentDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* fields = qobject_cast<AttachmentEditor*>(editor);
    if (fields == nullptr) {
        return;
    }
    fields->cboKind->setCurrentText(index.data(AttachmentModel::KindRole).toString());
    fields->txtCaption->setText(index.data(Qt::EditRole).toString());
}

void AttachmentDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    auto* fields = qobject_cast<AttachmentEditor*>(editor);
    if (fields == nullptr) {
        return;
    }
    // Both read first: a change of the row puts the row's values back into
    // the editor.
    const QString kind = fields->cboKind->currentText();
    const QString caption = fields->txtCaption->text().trimmed();
    model->setData(index, kind, AttachmentModel::KindRole);
    model->setData(index, caption, Qt::EditRole);
}

void AttachmentDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex& /*index*/) const {
    const QRect text = textOf(option.rect, option.font);
    const int height = editor->sizeHint().height();
    editor->setGeometry(option.rect.left() + 2, text.bottom() + 1 - height, option.rect.width() - 4,
                        height);
}
