#pragma once

#include "TestSupport.h"

#include <Riri/EvidenceFiles.h>

#include <QBuffer>
#include <QColor>
#include <QImage>

// Items and evidence for the claim tests, written with plain SQL (and the
// evidence store for the files), not through the code under test.
namespace ClaimTesting {

// Adds one item; amounts as SQL text ("12.5", "NULL"). Returns its tblItems.ID.
inline qint64 addItem(const TestInstall& install, const QString& itemId, const QString& room,
                      const QString& cost, const QString& value) {
    QString quoted = itemId;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    install.exec(QStringLiteral("INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, "
                                "CurValue, BuyDate, AddDate) VALUES ('%1', 'Thing %1', '%2', %3, "
                                "%4, '2019-05-04', '2026-01-01 10:00:00')")
                     .arg(quoted, room, cost, value));
    return install.scalar(QStringLiteral("SELECT max(ID) FROM tblItems")).toLongLong();
}

// A picture as JPEG bytes, one colour.
inline QByteArray jpeg(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return bytes;
}

// Stores the bytes in the evidence store and names them in tblEvidence; a
// picture is its own thumbnail.
inline QString addEvidence(const TestInstall& install, qint64 itemRef, const QString& kind,
                           const QString& fileName, const QString& mediaType,
                           const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const QString sha = Riri::EvidenceFiles(install.databasePath()).put(buffer);
    install.exec(QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, "
                                "Size, Sha256, AddDate, Thumbnail) VALUES (%1, '%2', '%3', '%4', "
                                "%5, '%6', '2026-01-02 10:00:00', %7)")
                     .arg(itemRef)
                     .arg(kind, fileName, mediaType)
                     .arg(bytes.size())
                     .arg(sha, mediaType.startsWith(QLatin1String("image/"))
                                   ? QStringLiteral("X'%1'").arg(QString::fromLatin1(bytes.toHex()))
                                   : QStringLiteral("NULL")));
    return sha;
}

} // namespace ClaimTesting
