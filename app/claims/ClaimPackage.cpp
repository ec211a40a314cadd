#include "claims/ClaimPackage.h"

#include "claims/ClaimPdf.h"
#include "claims/PackageFileNames.h"

#include <Riri/ClaimsStore.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceFiles.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr qint64 kChunk = 1 << 20;

[[noreturn]] void fail(const QString& text) {
    throw Riri::Error(Riri::ErrorNumber::PathFileAccess, text);
}

[[noreturn]] void cancelled() {
    throw Riri::Error(Riri::ErrorNumber::Cancelled,
                      QStringLiteral("The claim package was cancelled; nothing was written."));
}

// Copies source to target a piece at a time and returns the SHA-256 of what
// was copied.
QString copyHashed(const QString& source, const QString& target) {
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly)) {
        return QString();
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        fail(QStringLiteral("%1 could not be written: %2").arg(target, out.errorString()));
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer;
    while (!in.atEnd()) {
        buffer = in.read(kChunk);
        if (buffer.isEmpty() && in.error() != QFile::NoError) {
            return QString();
        }
        hash.addData(buffer);
        if (out.write(buffer) != buffer.size()) {
            fail(QStringLiteral("%1 could not be written: %2").arg(target, out.errorString()));
        }
    }
    if (!out.flush()) {
        fail(QStringLiteral("%1 could not be written: %2").arg(target, out.errorString()));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString hashOf(const QString& path) {
    const QString sha = Riri::EvidenceFiles::hashFile(path);
    if (sha.isEmpty()) {
        fail(QStringLiteral("%1 could not be read back.").arg(path));
    }
    return sha;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        fail(QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    }
}

} // namespace

void ClaimPackage::write(qint64 claimId, const QString& target, const Riri::Progress& progress) {
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        fail(QStringLiteral("%1 already exists. Choose a new folder name.").arg(target));
    }
    if (!info.dir().exists()) {
        fail(QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath()));
    }
    QTemporaryDir temp(info.absoluteDir().filePath(
        QStringLiteral(".%1.partial-XXXXXX").arg(info.fileName().left(64))));
    if (!temp.isValid()) {
        fail(QStringLiteral("No folder can be written in %1: %2")
                 .arg(info.absolutePath(), temp.errorString()));
    }
    const QDir dir(temp.path());

    ClaimContent content;
    content.claim = Riri::ClaimsStore::claim(claimId);
    content.owner = Riri::ClaimsStore::ownerLines();
    content.items = Riri::ClaimsStore::items(claimId);
    content.totals = Riri::ClaimsStore::totals(claimId);

    qint64 files = 0;
    for (const Riri::ClaimItem& item : content.items) {
        files += item.evidence;
    }
    const auto items = static_cast<qint64>(content.items.size());
    // The work: each evidence file copied, each item drawn, and the rest.
    const qint64 whole = files + items + 2;
    qint64 done = 0;
    const auto step = [&](qint64 n) {
        done += n;
        if (!Riri::goOn(progress, done, whole)) {
            cancelled();
        }
    };
    step(0);

    QStringList sums;
    writeFile(dir.filePath(QStringLiteral("claim.csv")), Riri::ClaimsStore::scheduleCsv(claimId));
    step(1);

    if (!dir.mkdir(QStringLiteral("evidence"))) {
        fail(QStringLiteral("The folder evidence could not be made in %1.").arg(temp.path()));
    }
    const Riri::EvidenceFiles store = Riri::EvidenceFiles::forInventory();
    int line = 0;
    for (const Riri::ClaimItem& item : content.items) {
        ++line;
        int n = 0;
        for (const Riri::ClaimEvidence& file : Riri::ClaimsStore::evidence(item.itemRef)) {
            const QString name =
                PackageFileNames::fileName(line, item.itemId, ++n, file.fileName, file.mediaType);
            const QString sha = copyHashed(store.pathFor(file.sha256),
                                           dir.filePath(QStringLiteral("evidence/") + name));
            if (sha.isEmpty()) {
                fail(QStringLiteral("The evidence file \"%1\" of item %2 is missing from the "
                                    "evidence store.")
                         .arg(file.fileName, item.itemId));
            }
            if (sha != file.sha256) {
                fail(QStringLiteral("The evidence file \"%1\" of item %2 was altered in the "
                                    "evidence store.")
                         .arg(file.fileName, item.itemId));
            }
            sums.append(sha + QStringLiteral("  evidence/") + name);
            step(1);
        }
    }

    const qint64 before = done;
    ClaimPdf pdf(
        content, [](qint64 ref) { return Riri::ClaimsStore::evidence(ref); },
        [&store](const QString& sha) { return store.pathFor(sha); });
    const QString pdfPath = dir.filePath(QStringLiteral("claim.pdf"));
    const bool written = pdf.write(
        pdfPath, [&](qint64 drawn, qint64) { return Riri::goOn(progress, before + drawn, whole); });
    if (!written) {
        fail(QStringLiteral("%1 could not be written.").arg(pdfPath));
    }
    done = before + items;
    sums.prepend(hashOf(dir.filePath(QStringLiteral("claim.csv"))) + QStringLiteral("  claim.csv"));
    sums.prepend(hashOf(pdfPath) + QStringLiteral("  claim.pdf"));
    writeFile(dir.filePath(QStringLiteral("SHA256SUMS")),
              (sums.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    step(1);

    if (!QDir().rename(temp.path(), target)) {
        fail(QStringLiteral("The package could not be moved to %1.").arg(target));
    }
    temp.setAutoRemove(false);
}
