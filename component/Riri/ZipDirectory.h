#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace Riri {

// The central directory at the end of a ZIP archive: the list of entries
// that unzip programs show and extract, which a reader going through the
// archive in order never sees. Read to check that it lists the entries that
// were read, with the kinds they were read as.
class ZipDirectory {
public:
    struct Entry {
        QString name;
        // The file's type and permissions, when a Unix system wrote it.
        std::optional<quint32> unixMode;
    };

    // The entries of the records at the start of bytes, which must end at
    // the end-of-directory record; nothing when they cannot be read.
    static std::optional<QList<Entry>> parse(const QByteArray& bytes);
};

} // namespace Riri
