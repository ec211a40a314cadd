#pragma once

#include <QByteArray>

class QTextDocument;

// Reads rich text (RTF) into a text document. Qt reads no RTF, and the
// program needs only the part of it that its about text uses: paragraphs and
// line breaks, tabs, bold, italic, underline, font size, escaped characters
// (\\ \{ \} and \'hh in the Windows-1252 code page), Unicode characters
// (\uN with the \ucN fallback count) and the common typographic symbols.
// Destination groups that hold no text for the reader (font and colour
// tables, style sheets, document information, pictures, and every group
// marked \*) are skipped, as are control words it does not know.
namespace RtfReader {

// Replaces the document's content with the text. Returns false, leaving the
// document empty, when the text does not start as RTF does ("{\rtf").
bool read(const QByteArray& rtf, QTextDocument* document);

} // namespace RtfReader
