#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

// The in-place editor of one attachment in the list: its kind above its
// caption, over the lines that show them.
class AttachmentEditor : public QWidget {
    Q_OBJECT
public:
    explicit AttachmentEditor(QWidget* parent = nullptr);

    QComboBox* cboKind = nullptr;
    QLineEdit* txtCaption = nullptr;
};
