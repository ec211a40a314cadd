#include "evidence/EvidenceIntake.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceFiles.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

Riri::EvidenceKind EvidenceIntake::guessKind(const QString& fileName, MediaFacts::Kind kind) {
    if (kind == MediaFacts::Kind::Picture) {
        return Riri::EvidenceKind::Photo;
    }
    if (kind == MediaFacts::Kind::Pdf &&
        (fileName.contains(QLatin1String("receipt"), Qt::CaseInsensitive) ||
         fileName.contains(QLatin1String("invoice"), Qt::CaseInsensitive))) {
        return Riri::EvidenceKind::Receipt;
    }
    return Riri::EvidenceKind::Other;
}

QString EvidenceIntake::refusal(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return QStringLiteral("the file is not there");
    }
    if (!info.isFile()) {
        return QStringLiteral("it is no file");
    }
    if (!info.isReadable()) {
        return QStringLiteral("the file cannot be read");
    }
    if (info.size() > Riri::EvidenceFiles::kMaxFileSize) {
        return QStringLiteral("the file is larger than 1 GB");
    }
    return {};
}

EvidenceIntake::Outcome EvidenceIntake::add(qint64 itemRef, const QStringList& paths,
                                            const Riri::Progress& reading,
                                            const Riri::Progress& storing) {
    Outcome outcome;
    QList<Riri::NewAttachment> files;
    // Reading counts the bytes of the files that can be attached.
    QStringList accepted;
    qint64 total = 0;
    for (const QString& path : paths) {
        const QString why = refusal(path);
        if (why.isEmpty()) {
            accepted.append(path);
            total += QFileInfo(path).size();
        } else {
            outcome.refused.append(QFileInfo(path).fileName() + QStringLiteral(": ") + why);
        }
    }
    qint64 done = 0;
    for (const QString& path : accepted) {
        if (!Riri::goOn(reading, done, total)) {
            throw Riri::Error(Riri::ErrorNumber::Cancelled, QStringLiteral("Cancelled"));
        }
        const QString name = QFileInfo(path).fileName();
        const MediaFacts facts = MediaFacts::read(path);
        Riri::NewAttachment file;
        file.sourcePath = path;
        file.fileName = name;
        file.kind = guessKind(name, facts.kind);
        file.facts.mediaType = facts.mediaType;
        file.facts.width = facts.width;
        file.facts.height = facts.height;
        file.facts.takenDate = facts.takenDate;
        file.facts.thumbnail = facts.thumbnail;
        files.append(file);
        done += QFileInfo(path).size();
    }
    Riri::goOn(reading, total, total);
    if (!files.isEmpty()) {
        outcome.added = Riri::EvidenceStore().add(itemRef, files, storing);
    }
    return outcome;
}

QString EvidenceIntake::writePasted(const QImage& image, const QString& folder) {
    const QString name =
        QStringLiteral("Pasted picture %1.png")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    const QString path = QDir(folder).filePath(name);
    return image.save(path, "PNG") ? path : QString();
}
