#include "evidence/AttachmentEditor.h"

#include <Riri/EvidenceStore.h>

#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>

AttachmentEditor::AttachmentEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AttachmentEditor"));
    setAutoFillBackground(true);
    cboKind = new QComboBox(this);
    cboKind->setObjectName(QStringLiteral("cboKind"));
    cboKind->addItems(Riri::evidenceKindNames());
    txtCaption = new QLineEdit(this);
    txtCaption->setObjectName(QStringLiteral("txtCaption"));
    txtCaption->setPlaceholderText(QStringLiteral("Caption"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(cboKind);
    layout->addWidget(txtCaption);
    setFocusProxy(txtCaption);
}
