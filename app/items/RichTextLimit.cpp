#include "items/RichTextLimit.h"

#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

RichTextLimit::RichTextLimit(QTextEdit* box, int limit) : QObject(box), m_box(box), m_limit(limit) {
    connect(box, &QTextEdit::textChanged, this, &RichTextLimit::changed);
}

void RichTextLimit::setText(const QString& text) {
    m_busy = true;
    m_box->setPlainText(text);
    m_length = m_box->document()->characterCount() - 1;
    m_busy = false;
}

void RichTextLimit::changed() {
    if (m_busy) {
        return;
    }
    // The document counts one closing paragraph mark beyond the text.
    const qsizetype length = m_box->document()->characterCount() - 1;
    const qsizetype allowed = std::max<qsizetype>(m_limit, m_length);
    if (length > allowed && length > m_length) {
        const qsizetype excess = length - allowed;
        m_busy = true;
        QTextCursor cursor = m_box->textCursor();
        const int end = cursor.position();
        const int start = static_cast<int>(std::max<qsizetype>(0, end - excess));
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        if (m_box->document()->characterCount() - 1 > allowed) {
            // The cursor was not behind the new text: cut the end instead.
            cursor.movePosition(QTextCursor::End);
            cursor.setPosition(static_cast<int>(allowed), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        m_box->setTextCursor(cursor);
        m_busy = false;
    }
    m_length = m_box->document()->characterCount() - 1;
}
