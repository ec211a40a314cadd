#include "claims/PackageFileNames.h"

#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <utility>

namespace {

bool isReserved(char32_t c) {
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0)) {
        return true;
    }
    switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case 0x2028: // line and paragraph separators
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

QString PackageFileNames::safePart(const QString& text) {
    QString result;
    int bytes = 0;
    for (const char32_t c : text.toUcs4()) {
        // An unpaired surrogate reads as itself and cannot be written to a
        // file name as UTF-8.
        const bool surrogate = c >= 0xd800 && c <= 0xdfff;
        const char32_t kept = isReserved(c) || surrogate ? U'_' : c;
        const int size = kept < 0x80 ? 1 : kept < 0x800 ? 2 : kept < 0x10000 ? 3 : 4;
        if (bytes + size > kMaxIdBytes) {
            break;
        }
        bytes += size;
        result.append(QString::fromUcs4(&kept, 1));
    }
    // Leading dots would hide the file and ".." would read as a folder.
    for (qsizetype i = 0; i < result.size() && result.at(i) == QLatin1Char('.'); ++i) {
        result[i] = QLatin1Char('_');
    }
    return result.isEmpty() ? QStringLiteral("_") : result;
}

QString PackageFileNames::extension(const QString& originalName, const QString& mediaType) {
    const QString suffix = QFileInfo(originalName).suffix().toLower();
    const bool plain = !suffix.isEmpty() && suffix.size() <= 8 &&
                       std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
                           return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                                  (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
                       });
    if (plain) {
        return suffix;
    }
    static const QList<std::pair<QString, QString>> known{
        {QStringLiteral("image/jpeg"), QStringLiteral("jpg")},
        {QStringLiteral("image/png"), QStringLiteral("png")},
        {QStringLiteral("image/heic"), QStringLiteral("heic")},
        {QStringLiteral("image/heif"), QStringLiteral("heif")},
        {QStringLiteral("image/webp"), QStringLiteral("webp")},
        {QStringLiteral("image/tiff"), QStringLiteral("tif")},
        {QStringLiteral("application/pdf"), QStringLiteral("pdf")},
    };
    for (const auto& [type, ext] : known) {
        if (mediaType.compare(type, Qt::CaseInsensitive) == 0) {
            return ext;
        }
    }
    return QStringLiteral("bin");
}

QString PackageFileNames::fileName(int line, const QString& itemId, int n,
                                   const QString& originalName, const QString& mediaType) {
    return QStringLiteral("%1-%2-%3.%4")
        .arg(line)
        .arg(safePart(itemId))
        .arg(n)
        .arg(extension(originalName, mediaType));
}
