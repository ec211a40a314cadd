#include "ChangeSource.h"

namespace Riri {

namespace {
thread_local QString t_override;
} // namespace

const QString ChangeSource::AddItem = QStringLiteral("Add New Item");
const QString ChangeSource::EditItem = QStringLiteral("Edit Item");
const QString ChangeSource::DeleteItems = QStringLiteral("Delete Items");
const QString ChangeSource::Owner = QStringLiteral("Owner");
const QString ChangeSource::Import = QStringLiteral("Import");
const QString ChangeSource::Restore = QStringLiteral("Restore");
const QString ChangeSource::CommandLine = QStringLiteral("Command line");
const QString ChangeSource::AnotherProgram = QStringLiteral("Another program");
const QString ChangeSource::ItemHistory = QStringLiteral("Item History");
const QString ChangeSource::DeletedItems = QStringLiteral("Deleted Items");
const QString ChangeSource::ItemEvidence = QStringLiteral("Item Evidence");

ChangeSource::Scope::Scope(const QString& name) : m_previous(t_override) {
    t_override = name;
}

ChangeSource::Scope::~Scope() {
    t_override = m_previous;
}

QString ChangeSource::effective(const QString& own) {
    return t_override.isEmpty() ? own : t_override;
}

} // namespace Riri
