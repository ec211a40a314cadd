#include "EvidenceFiles.h"

#include "ComponentFolder.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "InstallPaths.h"
#include "SafeFile.h"
#include "Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace Riri {

namespace {

constexpr qint64 kChunk = 1 << 20;

// The error number a failed file operation is raised with.
constexpr int kPathFileAccess = 75;

} // namespace

EvidenceFiles::EvidenceFiles(const QString& databaseFile)
    : m_folder(QFileInfo(databaseFile).absolutePath() + QStringLiteral("/evidence")) {}

EvidenceFiles EvidenceFiles::forInventory() {
    return EvidenceFiles(InstallPaths::databasePath(componentFolder()));
}

QString EvidenceFiles::pathFor(const QString& sha256) const {
    return m_folder + QLatin1Char('/') + sha256;
}

bool EvidenceFiles::contains(const QString& sha256) const {
    return isSha256(sha256) && QFileInfo(pathFor(sha256)).isFile();
}

bool EvidenceFiles::isSha256(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{64}$"));
    return pattern.match(text).hasMatch();
}

QString EvidenceFiles::put(QIODevice& source, const QString& expectedSha256, qint64 expectedSize,
                           const Progress& progress) const {
    if (!QDir().mkpath(m_folder)) {
        throw Error(kPathFileAccess, QStringLiteral("Cannot make the evidence folder %1.")
                                         .arg(QDir::toNativeSeparators(m_folder)));
    }
    const QString temporary = SafeFile::makeTemporary(m_folder + QStringLiteral("/incoming"));
    try {
        QFile out(temporary);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            throw Error(kPathFileAccess,
                        QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(temporary), out.errorString()));
        }
        Sha256 hash;
        QByteArray buffer;
        qint64 done = 0;
        for (;;) {
            buffer = source.read(kChunk);
            if (buffer.isEmpty()) {
                break;
            }
            done += buffer.size();
            if (done > kMaxFileSize) {
                throw Error(kPathFileAccess,
                            QStringLiteral("The file is larger than 1 GB, the most a piece of "
                                           "evidence can be."));
            }
            hash.add(buffer);
            if (out.write(buffer) != buffer.size()) {
                throw Error(SQLITE_FULL, SafeFile::writeFailure(errno, temporary));
            }
            if (!goOn(progress, done, expectedSize)) {
                throw Error(ErrorNumber::Cancelled, QStringLiteral("Cancelled."));
            }
        }
        if (!out.flush()) {
            throw Error(SQLITE_FULL, SafeFile::writeFailure(errno, temporary));
        }
        out.close();
        const QString sha256 = hash.hex();
        if (!expectedSha256.isEmpty() && sha256 != expectedSha256) {
            throw Error(SQLITE_CORRUPT,
                        QStringLiteral("The file's content does not match its SHA-256 %1.")
                            .arg(expectedSha256));
        }
        if (contains(sha256)) {
            SafeFile::discard(temporary);
            // Its time made now: the sweep leaves a file this young alone,
            // so the row about to name it finds it still there.
            ::utimensat(AT_FDCWD, QFile::encodeName(pathFor(sha256)).constData(), nullptr, 0);
            return sha256;
        }
        SafeFile::syncFile(temporary);
        QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        SafeFile::commit(temporary, pathFor(sha256));
        return sha256;
    } catch (...) {
        SafeFile::discard(temporary);
        throw;
    }
}

QString EvidenceFiles::putFile(const QString& path, const Progress& progress) const {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Error(kPathFileAccess, QStringLiteral("Cannot read %1: %2")
                                         .arg(QDir::toNativeSeparators(path), in.errorString()));
    }
    return put(in, QString(), in.size(), progress);
}

QString EvidenceFiles::hashFile(const QString& path, const Progress& progress) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        return QString();
    }
    Sha256 hash;
    const qint64 total = in.size();
    qint64 done = 0;
    while (!in.atEnd()) {
        const QByteArray buffer = in.read(kChunk);
        if (buffer.isEmpty()) {
            return QString();
        }
        hash.add(buffer);
        done += buffer.size();
        if (!goOn(progress, done, total)) {
            return QString();
        }
    }
    return hash.hex();
}

} // namespace Riri
