#include "evidence/EvidenceIntake.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceFiles.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The facts of every file, read by as many threads as there are cores:
// decoding a photo for its thumbnail costs more than storing it. The calling
// thread reads too and reports the bytes read; a stop it hears ends every
// thread after the file it is on.
std::vector<MediaFacts> readFacts(const QStringList& paths, qint64 total,
                                  const Riri::Progress& reading) {
    const auto count = static_cast<std::size_t>(paths.size());
    std::vector<MediaFacts> facts(count);
    std::atomic<std::size_t> next{0};
    std::atomic<qint64> done{0};
    std::atomic<bool> stop{false};
    auto work = [&](bool reports) {
        for (std::size_t i = next++; i < count && !stop; i = next++) {
            facts[i] = MediaFacts::read(paths[static_cast<qsizetype>(i)]);
            done += QFileInfo(paths[static_cast<qsizetype>(i)]).size();
            if (reports && !Riri::goOn(reading, done, total)) {
                stop = true;
            }
        }
    };
    const std::size_t helpers =
        std::min<std::size_t>(count, std::max(1, QThread::idealThreadCount())) - 1;
    std::vector<std::thread> threads;
    threads.reserve(helpers);
    for (std::size_t i = 0; i < helpers && count > 0; ++i) {
        threads.emplace_back(work, false);
    }
    work(true);
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (stop || !Riri::goOn(reading, total, total)) {
        throw Riri::Error(Riri::ErrorNumber::Cancelled, QStringLiteral("Cancelled"));
    }
    return facts;
}

} // namespace

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
    const std::vector<MediaFacts> facts = readFacts(accepted, total, reading);
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        const QString name = QFileInfo(accepted[i]).fileName();
        const MediaFacts& found = facts[static_cast<std::size_t>(i)];
        Riri::NewAttachment file;
        file.sourcePath = accepted[i];
        file.fileName = name;
        file.kind = guessKind(name, found.kind);
        file.facts.mediaType = found.mediaType;
        file.facts.width = found.width;
        file.facts.height = found.height;
        file.facts.takenDate = found.takenDate;
        file.facts.thumbnail = found.thumbnail;
        files.append(file);
    }
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
