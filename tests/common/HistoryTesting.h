#pragma once

#include "TestSupport.h"

#include <QString>

// The newest history row of the inventory: "What|Action|Source", or empty.
inline QString newestHistory(const TestInstall& install) {
    const QList<QVariantList> rows = install.query(
        QStringLiteral("SELECT What, Action, Source FROM tblHistory ORDER BY ID DESC LIMIT 1"));
    return rows.isEmpty()
               ? QString()
               : QStringLiteral("%1|%2|%3")
                     .arg(rows[0][0].toString(), rows[0][1].toString(), rows[0][2].toString());
}

// An attachment row of the item with this tblItems.ID, stored with plain SQL.
inline bool attachEvidence(const TestInstall& install, qint64 itemRef, const QString& sha256) {
    return install.exec(
        QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, Caption, FileName, MediaType, "
                       "Size, Sha256, Width, Height, AddDate, Thumbnail) VALUES (%1, 'Photo', "
                       "'Front', 'front.jpg', 'image/jpeg', 1234, '%2', 640, 480, "
                       "'2026-12-01 10:00:00', x'FFD8FFD9')")
            .arg(itemRef)
            .arg(sha256));
}
