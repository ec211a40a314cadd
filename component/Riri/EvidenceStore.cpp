#include "EvidenceStore.h"

#include "AutoBackups.h"
#include "ChangeSource.h"
#include "ComponentFolder.h"
#include "Connection.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "EvidenceFiles.h"
#include "EvidenceNames.h"
#include "Formats.h"
#include "InstallPaths.h"
#include "SafeFile.h"
#include "SqlStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <array>
#include <sqlite3.h>

namespace Riri {

namespace {

// The number an attachment or item that is no longer there is raised with.
constexpr int kGone = SQLITE_NOTFOUND;

// The sweep's stamp in the store: the time of the last sweep.
const QString kSweepStamp = QStringLiteral(".last-sweep");
constexpr qint64 kSweepEverySecs = 24 * 3600;
// A file younger than this may belong to an add, a restore or a backup that
// is still running in another process: the sweep leaves it for a later day.
constexpr qint64 kGraceSecs = 3600;

const std::array<QString, 7> kKindNames{QStringLiteral("Photo"),        QStringLiteral("Receipt"),
                                        QStringLiteral("Serial label"), QStringLiteral("Manual"),
                                        QStringLiteral("Warranty"),     QStringLiteral("Appraisal"),
                                        QStringLiteral("Other")};

const char* const kColumns = "ID, ItemRef, Kind, Caption, FileName, MediaType, Size, Sha256, "
                             "Width, Height, TakenDate, AddDate";

void openInventory(Connection& con, const QString& database, bool readOnly) {
    con.setConnectionString(QStringLiteral("Data Source=") + connectionValue(database) +
                            QLatin1Char(';'));
    con.setReadOnly(readOnly);
    con.Open();
}

using Statement = SqlStatement;

Attachment attachmentOf(const Statement& row) {
    Attachment a;
    a.id = row.number(0);
    a.itemRef = row.number(1);
    a.kind = evidenceKindFromName(row.text(2));
    a.caption = row.text(3);
    a.fileName = row.text(4);
    a.mediaType = row.text(5);
    a.size = row.number(6);
    a.sha256 = row.text(7);
    a.width = static_cast<int>(row.number(8));
    a.height = static_cast<int>(row.number(9));
    a.takenDate = row.text(10);
    a.addDate = row.text(11);
    a.thumbnail = row.blob(12);
    return a;
}

QString withoutNul(QString text) {
    return text.remove(QChar(u'\0'));
}

// The name a file is kept under: the given one, else the source's, without
// any folder.
QString keptName(const NewAttachment& file) {
    QString name = file.fileName.isEmpty() ? file.sourcePath : file.fileName;
    name = withoutNul(name);
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? name : name.mid(slash + 1);
}

[[noreturn]] void cancelled() {
    throw Error(ErrorNumber::Cancelled, QStringLiteral("Cancelled; nothing was added."));
}

bool itemExists(const QString& database, qint64 itemRef) {
    Connection con;
    openInventory(con, database, false);
    Statement find(con.handle(), database, "SELECT 1 FROM tblItems WHERE ID = ?");
    find.bind(itemRef);
    return find.step();
}

// Runs one write to the inventory in a transaction of its own.
template <class Write> void writeInventory(const QString& database, Write write) {
    Connection con;
    openInventory(con, database, false);
    con.requireWritable();
    con.BeginTrans();
    con.nameSource(ChangeSource::effective(ChangeSource::ItemEvidence));
    write(con.handle());
    con.CommitTrans();
    con.Close();
}

QDateTime stampTime(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QDateTime();
    }
    return QDateTime::fromString(QString::fromLatin1(file.read(64)).trimmed(), Qt::ISODate);
}

void writeStamp(const QString& path, const QDateTime& now) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(now.toUTC().toString(Qt::ISODate).toLatin1());
    }
}

// Every file the automatic copies name. Throws when one cannot be read.
QSet<QString> namedByCopies(QSet<QString>& read) {
    QSet<QString> named;
    for (const AutoBackups::Copy& copy : AutoBackups::list()) {
        if (!read.contains(copy.path)) {
            named.unite(EvidenceNames::ofFile(copy.path));
            read.insert(copy.path);
        }
    }
    return named;
}

} // namespace

QString evidenceKindName(EvidenceKind kind) {
    const auto index = static_cast<size_t>(kind);
    return index < kKindNames.size() ? kKindNames.at(index) : kKindNames.back();
}

EvidenceKind evidenceKindFromName(const QString& name) {
    for (size_t i = 0; i < kKindNames.size(); ++i) {
        if (kKindNames.at(i) == name) {
            return static_cast<EvidenceKind>(i);
        }
    }
    return EvidenceKind::Other;
}

QStringList evidenceKindNames() {
    return QStringList(kKindNames.begin(), kKindNames.end());
}

EvidenceStore::EvidenceStore() : m_database(InstallPaths::databasePath(componentFolder())) {}

EvidenceStore::EvidenceStore(const QString& databaseFile) : m_database(databaseFile) {}

qint64 EvidenceStore::itemRefOf(const QString& itemId) const {
    Connection con;
    openInventory(con, m_database, false);
    Statement find(con.handle(), m_database, "SELECT ID FROM tblItems WHERE ItemID = ?");
    find.bind(itemId);
    return find.step() ? find.number(0) : 0;
}

QList<qint64> EvidenceStore::add(qint64 itemRef, const QList<NewAttachment>& files,
                                 const Progress& progress) {
    const EvidenceFiles store(m_database);
    if (!itemExists(m_database, itemRef)) {
        throw Error(kGone, QStringLiteral("The item no longer exists; nothing was added."));
    }
    qint64 whole = 0;
    for (const NewAttachment& file : files) {
        const QFileInfo info(file.sourcePath);
        if (!info.isFile()) {
            throw Error(ErrorNumber::FileNotFound,
                        QStringLiteral("%1 is not a file one can read.")
                            .arg(QDir::toNativeSeparators(file.sourcePath)));
        }
        if (info.size() > EvidenceFiles::kMaxFileSize) {
            throw Error(ErrorNumber::PathFileAccess,
                        QStringLiteral("%1 is larger than 1 GB, the most a piece of evidence "
                                       "can be.")
                            .arg(QDir::toNativeSeparators(file.sourcePath)));
        }
        whole += info.size();
    }

    // The files first, each forced to the disk: a kill from here on leaves
    // at most files that no row names, which the sweep removes.
    QStringList hashes;
    qint64 before = 0;
    for (const NewAttachment& file : files) {
        const qint64 offset = before;
        hashes.append(store.putFile(file.sourcePath, [&](qint64 done, qint64) {
            return goOn(progress, offset + done, whole);
        }));
        before += QFileInfo(store.pathFor(hashes.last())).size();
    }
    if (!goOn(progress, whole, whole)) {
        cancelled();
    }

    // Then every row in one transaction. The write lock comes first: the
    // sweep holds it while it removes files, so a file found in the store
    // now stays there until the rows that name it are committed.
    Connection con;
    openInventory(con, m_database, false);
    con.requireWritable();
    sqlite3* db = con.handle();
    con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    con.nameSource(ChangeSource::effective(ChangeSource::ItemEvidence));
    // Checked again under the lock: it may have gone while the files were
    // stored.
    Statement item(db, m_database, "SELECT 1 FROM tblItems WHERE ID = ?");
    item.bind(itemRef);
    if (!item.step()) {
        throw Error(kGone, QStringLiteral("The item no longer exists; nothing was added."));
    }
    item.reset();
    Statement insert(db, m_database,
                     "INSERT INTO tblEvidence (ItemRef, Kind, Caption, FileName, MediaType, "
                     "Size, Sha256, Width, Height, TakenDate, AddDate, Thumbnail) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QString now = sqlNow();
    QList<qint64> ids;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const NewAttachment& file = files.at(i);
        if (!store.contains(hashes.at(i)) && store.putFile(file.sourcePath) != hashes.at(i)) {
            throw Error(ErrorNumber::PathFileAccess,
                        QStringLiteral("%1 changed while it was added; nothing was added.")
                            .arg(QDir::toNativeSeparators(file.sourcePath)));
        }
        const EvidenceFacts& facts = file.facts;
        insert.bind(itemRef);
        insert.bind(evidenceKindName(file.kind));
        insert.bind(withoutNul(file.caption.isNull() ? QStringLiteral("") : file.caption));
        insert.bind(keptName(file));
        insert.bind(facts.mediaType.isEmpty() ? QStringLiteral("application/octet-stream")
                                              : facts.mediaType);
        insert.bind(QFileInfo(store.pathFor(hashes.at(i))).size());
        insert.bind(hashes.at(i));
        insert.bindKnown(facts.width);
        insert.bindKnown(facts.height);
        insert.bindKnown(facts.takenDate);
        insert.bind(now);
        insert.bindBlob(facts.thumbnail);
        insert.step();
        insert.reset();
        ids.append(sqlite3_last_insert_rowid(db));
    }
    con.CommitTrans();
    con.Close();
    return ids;
}

QList<Attachment> EvidenceStore::list(qint64 itemRef, bool withThumbnails) const {
    Connection con;
    openInventory(con, m_database, false);
    Statement rows(con.handle(), m_database,
                   QByteArray("SELECT ") + kColumns + (withThumbnails ? ", Thumbnail" : ", NULL") +
                       " FROM tblEvidence WHERE ItemRef = ? ORDER BY ID");
    rows.bind(itemRef);
    QList<Attachment> list;
    while (rows.step()) {
        list.append(attachmentOf(rows));
    }
    return list;
}

Attachment EvidenceStore::attachment(qint64 id) const {
    Connection con;
    openInventory(con, m_database, false);
    Statement row(con.handle(), m_database,
                  QByteArray("SELECT ") + kColumns + ", Thumbnail FROM tblEvidence WHERE ID = ?");
    row.bind(id);
    if (!row.step()) {
        throw Error(kGone, QStringLiteral("The attachment no longer exists."));
    }
    return attachmentOf(row);
}

void EvidenceStore::setCaption(qint64 id, const QString& caption) {
    writeInventory(m_database, [&](sqlite3* db) {
        Statement update(db, m_database, "UPDATE tblEvidence SET Caption = ? WHERE ID = ?");
        update.bind(withoutNul(caption.isNull() ? QStringLiteral("") : caption));
        update.bind(id);
        update.step();
        if (sqlite3_changes(db) == 0) {
            throw Error(kGone, QStringLiteral("The attachment no longer exists."));
        }
    });
}

void EvidenceStore::setKind(qint64 id, EvidenceKind kind) {
    writeInventory(m_database, [&](sqlite3* db) {
        Statement update(db, m_database, "UPDATE tblEvidence SET Kind = ? WHERE ID = ?");
        update.bind(evidenceKindName(kind));
        update.bind(id);
        update.step();
        if (sqlite3_changes(db) == 0) {
            throw Error(kGone, QStringLiteral("The attachment no longer exists."));
        }
    });
}

void EvidenceStore::remove(qint64 id) {
    // The file stays: another row or an automatic copy may name it. The
    // sweep removes it once nothing does.
    writeInventory(m_database, [&](sqlite3* db) {
        Statement removal(db, m_database, "DELETE FROM tblEvidence WHERE ID = ?");
        removal.bind(id);
        removal.step();
        if (sqlite3_changes(db) == 0) {
            throw Error(kGone, QStringLiteral("The attachment no longer exists."));
        }
    });
}

QString EvidenceStore::filePath(const Attachment& attachment) const {
    // A hash that is no store name (a row written by hand) names no file,
    // and never a path outside the store.
    if (!EvidenceFiles::isSha256(attachment.sha256)) {
        return QString();
    }
    return EvidenceFiles(m_database).pathFor(attachment.sha256);
}

int EvidenceStore::sweepIfDue(const QDateTime& now) {
    const EvidenceFiles store(m_database);
    const QDir folder(store.folder());
    if (!folder.exists()) {
        return 0;
    }
    const QString stamp = folder.filePath(kSweepStamp);
    const QDateTime last = stampTime(stamp);
    if (last.isValid() && last <= now && last.secsTo(now) < kSweepEverySecs) {
        return 0;
    }
    // Stamped before the work: a sweep that fails (a copy that cannot be
    // read) is tried again the next day, not at every start.
    writeStamp(stamp, now);

    // The copies are read before the write lock is taken, so that writers
    // wait only for the inventory's own names; a copy made meanwhile is
    // read under the lock.
    QSet<QString> readCopies;
    QSet<QString> named = namedByCopies(readCopies);
    Connection con;
    openInventory(con, m_database, false);
    if (con.isNewerFile()) {
        // A newer version may name files in tables this one does not know.
        return 0;
    }
    con.requireWritable();
    con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    named.unite(EvidenceNames::of(con.handle()));
    named.unite(namedByCopies(readCopies));

    static const QRegularExpression leftover(QStringLiteral("^\\.incoming\\.part-[A-Za-z0-9]{6}$"));
    const QDateTime stale = now.addSecs(-kGraceSecs);
    int removed = 0;
    const QFileInfoList files =
        folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::System);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        const bool unnamed = EvidenceFiles::isSha256(name) && !named.contains(name);
        if ((unnamed || leftover.match(name).hasMatch()) && file.lastModified() < stale &&
            QFile::remove(file.filePath())) {
            ++removed;
        }
    }
    con.RollbackTrans();
    con.Close();
    return removed;
}

QList<EvidenceProblem> EvidenceStore::check(const Progress& progress) const {
    struct Named {
        EvidenceProblem problem;
        qint64 size = 0;
    };
    QList<Named> rows;
    {
        Connection con;
        openInventory(con, m_database, true);
        if (!EvidenceNames::hasTable(con.handle(), "tblEvidence")) {
            return {};
        }
        Statement read(con.handle(), m_database,
                       "SELECT e.ItemRef, i.ItemID, i.ItemName, e.FileName, e.Sha256, e.Size "
                       "FROM tblEvidence e LEFT JOIN tblItems i ON i.ID = e.ItemRef "
                       "ORDER BY i.ItemID, e.ID");
        while (read.step()) {
            Named row;
            row.problem.itemRef = read.number(0);
            row.problem.itemId = read.text(1);
            row.problem.itemName = read.text(2);
            row.problem.fileName = read.text(3);
            row.problem.sha256 = read.text(4);
            row.size = read.number(5);
            rows.append(row);
        }
        con.Close();
    }

    // Each file once, however many rows name it.
    QHash<QString, qint64> sizes;
    qint64 whole = 0;
    for (const Named& row : rows) {
        if (!sizes.contains(row.problem.sha256)) {
            sizes.insert(row.problem.sha256, row.size);
            whole += row.size;
        }
    }
    const EvidenceFiles store(m_database);
    enum class State { Sound, Missing, Altered };
    QHash<QString, State> states;
    qint64 before = 0;
    for (const Named& row : rows) {
        const QString& sha256 = row.problem.sha256;
        if (states.contains(sha256)) {
            continue;
        }
        if (!store.contains(sha256)) {
            states.insert(sha256, State::Missing);
        } else {
            bool stopped = false;
            const QString found =
                EvidenceFiles::hashFile(store.pathFor(sha256), [&](qint64 done, qint64) {
                    stopped = !goOn(progress, before + done, whole);
                    return !stopped;
                });
            if (stopped) {
                throw Error(ErrorNumber::Cancelled, QStringLiteral("The check was cancelled."));
            }
            states.insert(sha256, found == sha256 ? State::Sound : State::Altered);
        }
        before += sizes.value(sha256);
    }
    goOn(progress, whole, whole);

    QList<EvidenceProblem> problems;
    for (const Named& row : rows) {
        const State state = states.value(row.problem.sha256);
        if (state != State::Sound) {
            EvidenceProblem problem = row.problem;
            problem.missing = state == State::Missing;
            problems.append(problem);
        }
    }
    return problems;
}

} // namespace Riri
