#pragma once

#include <QObject>
#include <QString>

class QTextEdit;

// A character limit for a multi-line text box, which has none of its own.
// Typing and pasting stop at the limit: what would go past it is dropped at
// the cursor. A text the program puts in is kept whole even when longer; the
// user can then shorten it but not lengthen it.
class RichTextLimit : public QObject {
    Q_OBJECT
public:
    RichTextLimit(QTextEdit* box, int limit);

    // Puts the text in the box as plain text, whatever its length.
    void setText(const QString& text);

private:
    void changed();

    QTextEdit* m_box;
    int m_limit;
    qsizetype m_length = 0;
    bool m_busy = false;
};
