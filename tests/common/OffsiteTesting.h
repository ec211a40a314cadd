#pragma once

#include "TestSupport.h"

#include <Riri/OffsiteCopies.h>

#include <QDateTime>
#include <QDirIterator>
#include <QStringList>

// What the tests of the off-site copies share.

// Every row of both tables as text, in a fixed order: equal lists mean
// equal inventories.
inline QStringList inventoryRows(const TestInstall& install) {
    QStringList rows;
    for (const QString& table : {QStringLiteral("tblItems"), QStringLiteral("tblOwner")}) {
        for (const QVariantList& row :
             install.query(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table))) {
            QStringList cells;
            for (const QVariant& cell : row) {
                cells.append(cell.toString());
            }
            rows.append(table + QLatin1Char(':') + cells.join(QLatin1Char('|')));
        }
    }
    return rows;
}

// A copy of the component's inventory written with the smallest key
// limits, so that a test derives its keys in a moment.
inline QString writeTestCopy(const QString& folder, const QString& passphrase, int keep = 7,
                             const QDateTime& made = QDateTime::currentDateTime()) {
    return Riri::OffsiteCopies::write(folder, passphrase, keep, {}, nullptr, made,
                                      Riri::KeyLimits::minimal());
}

// The files below a folder, hidden ones too, whose bytes hold the marker.
inline QStringList filesHolding(const QString& folder, const QByteArray& marker) {
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (fileBytes(path).contains(marker)) {
            found.append(path);
        }
    }
    return found;
}
