#include "ui/ProgressWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The bar counts in thousandths: the whole may be more bytes than an int holds.
constexpr int kBarSteps = 1000;

} // namespace

ProgressWindow::ProgressWindow(const TaskOptions& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_unit(options.unit), m_cancellable(options.cancellable),
      m_label(new QLabel(options.label, this)), m_bar(new QProgressBar(this)),
      m_amounts(new QLabel(this)) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(options.title);
    setWindowModality(Qt::ApplicationModal);
    m_label->setObjectName(QStringLiteral("lblTask"));
    m_bar->setObjectName(QStringLiteral("barTask"));
    m_bar->setRange(0, 0); // moving to and fro until the whole is known
    m_bar->setTextVisible(true);
    m_amounts->setObjectName(QStringLiteral("lblAmounts"));
    m_bar->setMinimumWidth(m_label->fontMetrics().averageCharWidth() * 50);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_amounts);
    if (m_cancellable) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        m_cancel = buttons->button(QDialogButtonBox::Cancel);
        m_cancel->setObjectName(QStringLiteral("cmdCancel"));
        connect(buttons, &QDialogButtonBox::rejected, this, &ProgressWindow::reject);
        layout->addWidget(buttons);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::setLabel(const QString& label) {
    if (!m_cancelling) {
        m_label->setText(label);
    }
}

QString ProgressWindow::amount(qint64 value) const {
    const QLocale locale;
    return m_unit == TaskOptions::Unit::Bytes ? locale.formattedDataSize(value)
                                              : locale.toString(value);
}

void ProgressWindow::setProgress(qint64 done, qint64 total) {
    if (total <= 0) {
        m_bar->setRange(0, 0);
        m_amounts->setText(m_unit == TaskOptions::Unit::Items
                               ? QStringLiteral("%1 items").arg(amount(done))
                               : amount(done));
        return;
    }
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(static_cast<int>(qBound<qint64>(0, done, total) * kBarSteps / total));
    QString text = QStringLiteral("%1 of %2").arg(amount(done), amount(total));
    if (m_unit == TaskOptions::Unit::Items) {
        text += QStringLiteral(" items");
    }
    m_amounts->setText(text);
}

void ProgressWindow::reject() {
    if (!m_cancellable || m_cancelling) {
        return;
    }
    m_cancelling = true;
    m_label->setText(QStringLiteral("Cancelling..."));
    m_cancel->setEnabled(false);
    emit cancelRequested();
}
