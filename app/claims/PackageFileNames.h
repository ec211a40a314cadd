#pragma once

#include <QString>

// The names a claim package gives the evidence files it copies:
// "<line>-<ItemID>-<n>.<ext>". An Item ID can hold anything a user typed,
// so every character that cannot stand in a file name on the common file
// systems is replaced, and the name is kept well within their length limit.
class PackageFileNames {
public:
    // The longest Item ID part, in UTF-8 bytes.
    static constexpr int kMaxIdBytes = 120;

    static QString fileName(int line, const QString& itemId, int n, const QString& originalName,
                            const QString& mediaType);
    // The text with path separators, control characters and the characters
    // other systems reserve replaced by '_', cut to kMaxIdBytes bytes at a
    // character boundary; "_" when nothing is left.
    static QString safePart(const QString& text);
    // The extension of the original name (letters and digits, at most 8),
    // else one for the media type, else "bin"; always lowercase.
    static QString extension(const QString& originalName, const QString& mediaType);
};
