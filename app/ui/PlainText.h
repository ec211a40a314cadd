#pragma once

#include <QString>

class QTextDocument;

// The text of a multi-line box exactly as typed: paragraph and line breaks
// as "\n", every other character as it is. (QTextDocument::toPlainText turns
// a no-break space into a plain blank, which trimming would then remove.)
QString plainText(const QTextDocument* document);
