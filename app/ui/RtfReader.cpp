#include "ui/RtfReader.h"

#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace RtfReader {

namespace {

// Windows-1252 characters 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar fromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return QChar(kCp1252High[byte - 0x80]);
    }
    return QLatin1Char(static_cast<char>(byte));
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Groups whose content is not text of the document.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> names = {
        "fonttbl",      "colortbl",  "stylesheet", "info",
        "pict",         "object",    "header",     "footer",
        "headerl",      "headerr",   "headerf",    "footerl",
        "footerr",      "footerf",   "listtable",  "listoverridetable",
        "rsidtbl",      "xmlnstbl",  "themedata",  "colorschememapping",
        "latentstyles", "datastore", "fldinst",    "filetbl",
        "revtbl",       "generator", "footnote",   "annotation",
        "bkmkstart",    "bkmkend",   "field",      "pgdsctbl"};
    return names;
}

struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24; // 12 points until \fs says otherwise
    int unicodeSkip = 1; // \uc
    bool skip = false;   // inside a skipped destination
};

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument* document) : m_rtf(rtf), m_cursor(document) {}

    void run() {
        m_states.push_back(State{});
        while (m_pos < m_rtf.size()) {
            const char c = m_rtf.at(m_pos++);
            switch (c) {
            case '{':
                flush();
                m_states.push_back(m_states.back());
                m_groupStart = true;
                m_pendingSkip = 0;
                continue;
            case '}':
                flush();
                if (m_states.size() > 1) {
                    m_states.pop_back();
                }
                m_pendingSkip = 0;
                break;
            case '\\':
                controlWord();
                break;
            case '\r':
            case '\n':
                break; // line ends in the file mean nothing
            default:
                character(fromCp1252(static_cast<unsigned char>(c)));
                break;
            }
            m_groupStart = false;
        }
        flush();
    }

private:
    State& state() { return m_states.back(); }

    // A character of the text; the characters standing in for a Unicode
    // character just read are dropped.
    void character(QChar ch) {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (state().skip) {
            return;
        }
        if (!m_run.isEmpty() && !sameFormat()) {
            flush();
        }
        if (m_run.isEmpty()) {
            m_runState = state();
        }
        m_run += ch;
    }

    bool sameFormat() {
        const State& s = state();
        return s.bold == m_runState.bold && s.italic == m_runState.italic &&
               s.underline == m_runState.underline && s.halfPoints == m_runState.halfPoints;
    }

    void flush() {
        if (m_run.isEmpty()) {
            return;
        }
        for (; m_pendingParagraphs > 0; --m_pendingParagraphs) {
            m_cursor.insertBlock();
        }
        QTextCharFormat format;
        format.setFontWeight(m_runState.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(m_runState.italic);
        format.setFontUnderline(m_runState.underline);
        format.setFontPointSize(m_runState.halfPoints / 2.0);
        m_cursor.insertText(m_run, format);
        m_run.clear();
    }

    void paragraph() {
        if (state().skip) {
            return;
        }
        flush();
        // The break is made when text follows, so a closing \par leaves no
        // empty paragraph at the end.
        ++m_pendingParagraphs;
    }

    void controlWord() {
        if (m_pos >= m_rtf.size()) {
            return;
        }
        const char c = m_rtf.at(m_pos);
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_rtf.size() && isLetter(m_rtf.at(m_pos))) {
            ++m_pos;
        }
        const QByteArray word = m_rtf.mid(start, m_pos - start);
        bool hasParameter = false;
        int parameter = 0;
        bool negative = false;
        if (m_pos < m_rtf.size() && m_rtf.at(m_pos) == '-' && m_pos + 1 < m_rtf.size() &&
            isDigit(m_rtf.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_rtf.size() && isDigit(m_rtf.at(m_pos))) {
            hasParameter = true;
            if (parameter < 1000000) {
                parameter = parameter * 10 + (m_rtf.at(m_pos) - '0');
            }
            ++m_pos;
        }
        if (negative) {
            parameter = -parameter;
        }
        if (m_pos < m_rtf.size() && m_rtf.at(m_pos) == ' ') {
            ++m_pos; // the delimiting blank belongs to the word
        }
        apply(word, hasParameter, parameter);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(QLatin1Char(c));
            break;
        case '\'': {
            const int high = m_pos < m_rtf.size() ? hexValue(m_rtf.at(m_pos)) : -1;
            const int low = m_pos + 1 < m_rtf.size() ? hexValue(m_rtf.at(m_pos + 1)) : -1;
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                character(fromCp1252(static_cast<unsigned char>(high * 16 + low)));
            } else if (high >= 0) {
                ++m_pos; // a broken escape is dropped whole
            }
            break;
        }
        case '~':
            character(QChar(0x00A0));
            break;
        case '_':
            character(QChar(0x2011));
            break;
        case '-':
            break; // optional hyphen
        case '*':
            if (m_groupStart) {
                state().skip = true;
            }
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break;
        }
    }

    void apply(const QByteArray& word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        if (m_groupStart && skippedDestinations().contains(word)) {
            state().skip = true;
            return;
        }
        if (word == "par" || word == "sect") {
            paragraph();
        } else if (word == "line") {
            character(QChar(QChar::LineSeparator));
        } else if (word == "tab") {
            character(QLatin1Char('\t'));
        } else if (word == "b") {
            state().bold = on;
        } else if (word == "i") {
            state().italic = on;
        } else if (word == "ul") {
            state().underline = on;
        } else if (word == "ulnone") {
            state().underline = false;
        } else if (word == "fs") {
            if (hasParameter && parameter > 0) {
                state().halfPoints = parameter;
            }
        } else if (word == "plain") {
            State& s = state();
            s.bold = false;
            s.italic = false;
            s.underline = false;
            s.halfPoints = 24;
        } else if (word == "uc") {
            if (hasParameter && parameter >= 0) {
                state().unicodeSkip = parameter;
            }
        } else if (word == "u") {
            if (hasParameter) {
                character(
                    QChar(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter)));
                m_pendingSkip = state().unicodeSkip;
            }
        } else if (word == "emdash") {
            character(QChar(0x2014));
        } else if (word == "endash") {
            character(QChar(0x2013));
        } else if (word == "lquote") {
            character(QChar(0x2018));
        } else if (word == "rquote") {
            character(QChar(0x2019));
        } else if (word == "ldblquote") {
            character(QChar(0x201C));
        } else if (word == "rdblquote") {
            character(QChar(0x201D));
        } else if (word == "bullet") {
            character(QChar(0x2022));
        }
        // every other control word is skipped
    }

    const QByteArray& m_rtf;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    std::vector<State> m_states;
    State m_runState;
    QString m_run;
    int m_pendingSkip = 0;
    int m_pendingParagraphs = 0;
    bool m_groupStart = false;
};

} // namespace

bool read(const QByteArray& rtf, QTextDocument* document) {
    document->clear();
    if (!rtf.startsWith("{\\rtf")) {
        return false;
    }
    Reader reader(rtf, document);
    reader.run();
    return true;
}

} // namespace RtfReader
