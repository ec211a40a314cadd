#include "ImportStage.h"

#include "Error.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace Riri {

namespace {

constexpr int kPathFileAccess = 75;

// How much is written or read at a time.
constexpr size_t kPiece = 1 << 20;

// The fixed part of a row, before its texts' bytes.
struct RowHead {
    std::uint64_t given;
    double cost;
    double value;
    std::array<std::uint32_t, StagedRow::Count> sizes;
};

// An unnamed file in folder: O_TMPFILE where the file system has it, else a
// named one removed at once.
int unnamedFile(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the mode argument
    int fd = ::open(path.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        return fd;
    }
    QByteArray pattern = path + "/.import-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(pattern.constData());
    }
    return fd;
}

} // namespace

void StagedRow::setTexts(const std::array<std::string_view, Count>& from) {
    size_t total = 0;
    for (const std::string_view text : from) {
        total += text.size();
    }
    m_bytes.clear();
    m_bytes.reserve(total);
    for (const std::string_view text : from) {
        m_bytes.append(text);
    }
    size_t at = 0;
    for (size_t t = 0; t < from.size(); ++t) {
        texts[t] = std::string_view(m_bytes.data() + at, from[t].size());
        at += from[t].size();
    }
}

ImportStage::ImportStage(const QString& folder) : m_folder(folder) {
    m_fd = unnamedFile(folder);
    if (m_fd < 0) {
        throw Error(kPathFileAccess,
                    QStringLiteral("The rows of the import cannot be kept in %1: %2")
                        .arg(QDir::toNativeSeparators(folder),
                             QString::fromLocal8Bit(std::strerror(errno))));
    }
}

ImportStage::~ImportStage() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void ImportStage::add(const StagedRow& row) {
    RowHead head{};
    head.given = row.buyDateGiven ? 1 : 0;
    head.cost = row.cost;
    head.value = row.value;
    for (size_t t = 0; t < row.texts.size(); ++t) {
        head.sizes[t] = static_cast<std::uint32_t>(row.texts[t].size());
    }
    m_pending.append(reinterpret_cast<const char*>(&head), sizeof head);
    for (const std::string_view text : row.texts) {
        m_pending.append(text);
    }
    if (m_pending.size() >= kPiece) {
        flush();
    }
}

void ImportStage::finish() {
    flush();
}

void ImportStage::flush() {
    size_t done = 0;
    while (done < m_pending.size()) {
        const ssize_t wrote = ::pwrite(m_fd, m_pending.data() + done, m_pending.size() - done,
                                       static_cast<off_t>(m_size));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            throw Error(SQLITE_FULL, SafeFile::writeFailure(wrote < 0 ? errno : ENOSPC, m_folder));
        }
        done += static_cast<size_t>(wrote);
        m_size += wrote;
    }
    m_pending.clear();
}

bool ImportStage::Reader::fill(size_t wanted) {
    if (m_buffer.size() - m_at >= wanted) {
        return true;
    }
    m_buffer.erase(0, m_at);
    m_at = 0;
    while (m_buffer.size() < wanted && m_offset < m_stage.m_size) {
        const size_t room = std::max(kPiece, wanted - m_buffer.size());
        const size_t had = m_buffer.size();
        m_buffer.resize(had + room);
        const ssize_t got =
            ::pread(m_stage.m_fd, m_buffer.data() + had, room, static_cast<off_t>(m_offset));
        if (got < 0 && errno == EINTR) {
            m_buffer.resize(had);
            continue;
        }
        if (got <= 0) {
            throw Error(kPathFileAccess,
                        QStringLiteral("The rows of the import cannot be read back: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(got < 0 ? errno : EIO))));
        }
        m_buffer.resize(had + static_cast<size_t>(got));
        m_offset += got;
    }
    return m_buffer.size() >= wanted;
}

bool ImportStage::Reader::next(StagedRow* row) {
    if (!fill(sizeof(RowHead))) {
        if (m_buffer.size() > m_at) {
            throw Error(kPathFileAccess, QStringLiteral("The rows of the import are cut short."));
        }
        return false;
    }
    RowHead head{};
    std::memcpy(&head, m_buffer.data() + m_at, sizeof head);
    size_t total = 0;
    for (const std::uint32_t size : head.sizes) {
        total += size;
    }
    if (!fill(sizeof head + total)) {
        throw Error(kPathFileAccess, QStringLiteral("The rows of the import are cut short."));
    }
    row->buyDateGiven = head.given != 0;
    row->cost = head.cost;
    row->value = head.value;
    row->m_bytes.assign(m_buffer, m_at + sizeof head, total);
    size_t at = 0;
    for (size_t t = 0; t < row->texts.size(); ++t) {
        row->texts[t] = std::string_view(row->m_bytes.data() + at, head.sizes[t]);
        at += head.sizes[t];
    }
    m_at += sizeof head + total;
    return true;
}

} // namespace Riri
