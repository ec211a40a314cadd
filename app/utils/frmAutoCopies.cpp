#include "utils/frmAutoCopies.h"

#include "AppInfo.h"
#include "platform/Fonts.h"
#include "platform/Pointer.h"
#include "shared/VerifiedRestore.h"
#include "ui/Look.h"

#include <Riri/AutoBackups.h>
#include <Riri/Formats.h>
#include <Riri/InventoryCheck.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPointer<frmAutoCopies> g_open;

enum Column { Made, Kind, Items, Value };

// Whole cents as an amount with two decimals and the locale's grouping,
// from the integer itself.
QString shownCents(qint64 cents, const QLocale& locale) {
    const quint64 magnitude =
        cents < 0 ? quint64{0} - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    const QString text = locale.toString(magnitude / 100) + locale.decimalPoint() +
                         QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return cents < 0 ? locale.negativeSign() + text : text;
}

} // namespace

QString frmAutoCopies::kindText(int kind) {
    switch (static_cast<Riri::AutoBackups::Kind>(kind)) {
    case Riri::AutoBackups::Kind::Daily:
        return QStringLiteral("Daily");
    case Riri::AutoBackups::Kind::BeforeRestore:
        return QStringLiteral("Before restore");
    case Riri::AutoBackups::Kind::BeforeImport:
        return QStringLiteral("Before import");
    case Riri::AutoBackups::Kind::BeforeHistoryCleanUp:
        return QStringLiteral("Before history clean-up");
    }
    return QString();
}

frmAutoCopies::frmAutoCopies(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAutoCopies"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - Restore Automatic Copy"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* label = new QLabel(
        QStringLiteral("Automatic copies of the inventory, newest first. Choose one to restore:"),
        this);
    label->setWordWrap(true);

    lvCopies = new QTreeWidget(this);
    lvCopies->setObjectName(QStringLiteral("lvCopies"));
    lvCopies->setRootIsDecorated(false);
    lvCopies->setSelectionMode(QAbstractItemView::SingleSelection);
    lvCopies->setHeaderLabels({QStringLiteral("Made"), QStringLiteral("Kind"),
                               QStringLiteral("Items"), QStringLiteral("Total Value")});

    cmdRestore = new QPushButton(QStringLiteral("&Restore"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    Look::styleButton(cmdRestore);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    connect(cmdRestore, &QPushButton::clicked, this, &frmAutoCopies::cmdRestore_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(lvCopies, &QTreeWidget::itemDoubleClicked, this, &frmAutoCopies::cmdRestore_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lvCopies, 1);
    layout->addLayout(buttons);
    resize(640, 360);
    fillList();
}

void frmAutoCopies::fillList() {
    Pointer::setScreen(Pointer::Busy);
    lvCopies->clear();
    m_paths.clear();
    const QLocale locale;
    const QString timeFormat =
        Riri::shortDateFormat(locale) + QLatin1Char(' ') + Riri::timeFormat(locale);
    for (const Riri::AutoBackups::Copy& copy : Riri::AutoBackups::list()) {
        const Riri::InventoryCheck summary = Riri::InventoryCheck::summary(copy.path);
        auto* row = new QTreeWidgetItem(lvCopies);
        row->setText(Made, copy.made.toString(timeFormat));
        row->setText(Kind, kindText(static_cast<int>(copy.kind)));
        if (summary.ok) {
            row->setText(Items, locale.toString(summary.items));
            row->setText(Value, shownCents(summary.totalValueCents, locale));
        } else {
            row->setText(Items, QStringLiteral("cannot be read"));
        }
        row->setTextAlignment(Items, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(Value, Qt::AlignRight | Qt::AlignVCenter);
        m_paths.append(copy.path);
    }
    if (lvCopies->topLevelItemCount() > 0) {
        lvCopies->setCurrentItem(lvCopies->topLevelItem(0));
    }
    cmdRestore->setEnabled(!m_paths.isEmpty());
    lvCopies->header()->resizeSections(QHeaderView::ResizeToContents);
    Pointer::setScreen(Pointer::Default);
}

void frmAutoCopies::cmdRestore_Click() {
    const int row = lvCopies->indexOfTopLevelItem(lvCopies->currentItem());
    if (row < 0 || row >= m_paths.size()) {
        return;
    }
    if (VerifiedRestore::restoreFrom(m_paths.at(row), VerifiedRestore::Confirm::Ask)) {
        fillList(); // the restore made a copy of its own
    }
}

frmAutoCopies* frmAutoCopies::openDialog(QWidget* parent) {
    if (g_open) {
        g_open->close();
    }
    auto* window = new frmAutoCopies(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    g_open = window;
    return window;
}
