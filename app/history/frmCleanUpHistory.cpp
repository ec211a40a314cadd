#include "history/frmCleanUpHistory.h"

#include "history/BackgroundRead.h"
#include "platform/Fonts.h"
#include "shared/InventoryNotice.h"
#include "ui/LongTask.h"
#include "ui/Look.h"

#include <Riri/Error.h>
#include <Riri/Formats.h>
#include <Riri/HistoryCleanUp.h>
#include <Riri/MsgBox.h>

#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <utility>

namespace {
const QString kCaption = QStringLiteral("Clean Up History");
} // namespace

frmCleanUpHistory::frmCleanUpHistory(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCleanUpHistory"));
    setWindowTitle(kCaption);
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* intro = new QLabel(QStringLiteral("The history of every change is kept until you remove "
                                            "it. An automatic copy of the inventory is made "
                                            "first."),
                             this);
    intro->setWordWrap(true);
    auto* label = new QLabel(QStringLiteral("Remove entries recorded before:"), this);
    datBefore = new QDateEdit(QDate::currentDate().addYears(-1), this);
    datBefore->setObjectName(QStringLiteral("datBefore"));
    datBefore->setDisplayFormat(Riri::shortDateFormat());
    datBefore->setCalendarPopup(true);
    label->setBuddy(datBefore);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    cmdCleanUp = new QPushButton(QStringLiteral("&Clean Up"), this);
    cmdCleanUp->setObjectName(QStringLiteral("cmdCleanUp"));
    Look::styleButton(cmdCleanUp);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    connect(cmdCleanUp, &QPushButton::clicked, this, &frmCleanUpHistory::cmdCleanUp_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(datBefore, &QDateEdit::dateChanged, this, &frmCleanUpHistory::recount);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            &frmCleanUpHistory::recount);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(datBefore);
    row->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCleanUp);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(row);
    layout->addWidget(lblCount);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 190);
    recount();
}

QString frmCleanUpHistory::countText(qint64 count) {
    return count == 1 ? QStringLiteral("1 entry is older.")
                      : QStringLiteral("%1 entries are older.").arg(QLocale().toString(count));
}

QString frmCleanUpHistory::question(qint64 count, const QString& date) {
    return QStringLiteral("Remove the %1 history entries recorded before %2? An automatic copy "
                          "of the inventory is made first.")
        .arg(QLocale().toString(count), date);
}

void frmCleanUpHistory::recount() {
    // Counted off the GUI thread: the history may hold millions of entries.
    // Until the count of the date now chosen is in, there is nothing to ask.
    const int counting = ++m_counting;
    m_count = 0;
    cmdCleanUp->setEnabled(false);
    lblCount->setText(QStringLiteral("Counting..."));
    const QDate before = datBefore->date();
    auto result = std::make_shared<std::pair<qint64, QString>>(0, QString());
    BackgroundRead::start(
        this,
        [before, result] {
            try {
                result->first = Riri::HistoryCleanUp::countBefore(before);
            } catch (const Riri::Error& error) {
                result->second = error.description();
            }
        },
        [this, counting, result] {
            if (counting != m_counting) {
                return; // a newer count is on its way
            }
            m_count = result->second.isEmpty() ? result->first : 0;
            lblCount->setText(result->second.isEmpty() ? countText(m_count) : result->second);
            cmdCleanUp->setEnabled(m_count > 0);
        });
}

void frmCleanUpHistory::cmdCleanUp_Click() {
    if (m_count <= 0 || Riri::MsgBox(question(m_count, datBefore->text()),
                                     Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2,
                                     kCaption) != Riri::vbYes) {
        return;
    }
    const QDate before = datBefore->date();
    try {
        qint64 removed = 0;
        const QString copy = LongTask::run(
            {.parent = this,
             .title = kCaption,
             .label = QStringLiteral("Copying the inventory and removing history...")},
            [&before, &removed](const TaskProgress&) {
                return Riri::HistoryCleanUp::removeBefore(before, &removed);
            });
        Riri::MsgBox(QStringLiteral("%1 history entries were removed. The automatic copy made "
                                    "before is %2.")
                         .arg(QLocale().toString(removed), QDir::toNativeSeparators(copy)),
                     Riri::vbOKOnly | Riri::vbInformation, kCaption);
    } catch (const Riri::Error& error) {
        Riri::MsgBox(error.description(), Riri::vbOKOnly | Riri::vbExclamation, kCaption);
    }
    recount();
}
