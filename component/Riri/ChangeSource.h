#pragma once

#include "RiriExport.h"

#include <QString>

namespace Riri {

// Where a change of the inventory came from, as the history records it.
// Every writer of the component names its own source for the length of its
// transaction (Connection::nameSource); a program that writes the file
// without this component names none, and its changes read "Another program".
// A Scope held by a caller (the command line, say) replaces the writer's own
// name for every change made on its thread while it lives.
class RIRI_EXPORT ChangeSource {
public:
    static const QString AddItem;        // "Add New Item"
    static const QString EditItem;       // "Edit Item"
    static const QString DeleteItems;    // "Delete Items"
    static const QString Owner;          // "Owner"
    static const QString Import;         // "Import"
    static const QString Restore;        // "Restore"
    static const QString CommandLine;    // "Command line"
    static const QString AnotherProgram; // "Another program"
    static const QString ItemHistory;    // "Item History"
    static const QString DeletedItems;   // "Deleted Items"
    static const QString ItemEvidence;   // "Item Evidence"

    class RIRI_EXPORT Scope {
    public:
        explicit Scope(const QString& name);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        QString m_previous;
    };

    // The name a writer records: the innermost Scope's, else its own.
    static QString effective(const QString& own);
};

} // namespace Riri
