#include "ui/RtfReader.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QStringList paragraphs(const QTextDocument& document) {
    QStringList list;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        list.append(block.text());
    }
    return list;
}

} // namespace

class tst_rtfreader : public QObject {
    Q_OBJECT
private slots:
    void paragraphsAndBreaks();
    void characterFormats();
    void escapedAndUnicodeCharacters();
    void skippedGroupsAndWords();
    void notRtfAndDamagedText();
    void shippedAboutText();
};

void tst_rtfreader::paragraphsAndBreaks() {
    QTextDocument document;
    QVERIFY(RtfReader::read("{\\rtf1\\ansi First\\par\n\\par Third\\line still third\\tab x\\par}",
                            &document));
    // The closing \par ends the last paragraph and adds no empty one; a line
    // end in the file is no text.
    QCOMPARE(paragraphs(document), (QStringList{QStringLiteral("First"), QString(),
                                                QStringLiteral("Third\u2028still third\tx")}));
}

void tst_rtfreader::characterFormats() {
    QTextDocument document;
    QVERIFY(RtfReader::read(
        "{\\rtf1 plain {\\b bold {\\i both}} \\ul under\\ulnone  \\fs36 big \\i it\\i0\\par"
        "\\b\\ul\\fs40 x \\plain reset}",
        &document));
    // \par separates paragraphs (U+2029 in the raw text).
    QCOMPARE(document.toRawText(), QStringLiteral("plain bold both under big it\u2029x reset"));
    const QString text = document.toRawText();
    const auto at = [&](const QString& word) {
        const int position = static_cast<int>(text.indexOf(word));
        QTextCursor cursor(&document);
        cursor.setPosition(position + 1); // the format of the word's first character
        return cursor.charFormat();
    };
    QCOMPARE(at(QStringLiteral("plain")).fontWeight(), QFont::Normal);
    QCOMPARE(at(QStringLiteral("plain")).fontPointSize(), 12.0); // \fs24 unless told otherwise
    QCOMPARE(at(QStringLiteral("bold")).fontWeight(), QFont::Bold);
    QVERIFY(!at(QStringLiteral("bold")).fontItalic());
    QCOMPARE(at(QStringLiteral("both")).fontWeight(), QFont::Bold);
    QVERIFY(at(QStringLiteral("both")).fontItalic());
    // Leaving a group restores what was in force before it.
    QCOMPARE(at(QStringLiteral(" under")).fontWeight(), QFont::Normal);
    QVERIFY(!at(QStringLiteral(" under")).fontItalic());
    QVERIFY(at(QStringLiteral("under")).fontUnderline());
    QVERIFY(!at(QStringLiteral("big")).fontUnderline());
    QCOMPARE(at(QStringLiteral("big")).fontPointSize(), 18.0);
    QVERIFY(at(QStringLiteral("it")).fontItalic());
    QCOMPARE(at(QStringLiteral("it")).fontPointSize(), 18.0);
    // Formats carry over a paragraph break; \plain resets them.
    QCOMPARE(at(QStringLiteral("x")).fontWeight(), QFont::Bold);
    QVERIFY(at(QStringLiteral("x")).fontUnderline());
    QCOMPARE(at(QStringLiteral("x")).fontPointSize(), 20.0);
    QCOMPARE(at(QStringLiteral("reset")).fontWeight(), QFont::Normal);
    QVERIFY(!at(QStringLiteral("reset")).fontUnderline());
    QCOMPARE(at(QStringLiteral("reset")).fontPointSize(), 12.0);
}

void tst_rtfreader::escapedAndUnicodeCharacters() {
    QTextDocument document;
    QVERIFY(RtfReader::read("{\\rtf1 a\\\\b\\{c\\}d \\'e9\\'80\\'93 \\u8364?\\u-10179?\\u-8704? "
                            "{\\uc2\\u937 xy}z \\u246\\'f6 q\\~r\\emdash s}",
                            &document));
    // \'80 is the euro sign and \'93 a left quote in the Windows code page;
    // \u takes a negative number for characters above 32767, each followed by
    // the fallback characters \uc says to skip (one unless told otherwise).
    QCOMPARE(document.toRawText(),
             QStringLiteral("a\\b{c}d \u00E9\u20AC\u201C \u20AC\U0001F600 \u03A9z \u00F6 "
                            "q\u00A0r\u2014s"));
}

void tst_rtfreader::skippedGroupsAndWords() {
    QTextDocument document;
    QVERIFY(RtfReader::read(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Verdana;}{\\f1 Arial;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
        "{\\info{\\title Secret}{\\author Nobody}}{\\*\\generator Writer 1.0;}"
        "{\\*\\unknowndest hidden {\\b nested} text}\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1"
        "\\cf1\\f1\\lang9 Shown \\xyzzy12 text{\\pict\\pngblip 89504e47}.\\par}",
        &document));
    QCOMPARE(document.toPlainText(), QStringLiteral("Shown text."));
}

void tst_rtfreader::notRtfAndDamagedText() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    QVERIFY(!RtfReader::read("plain words", &document));
    QVERIFY(document.isEmpty());
    QVERIFY(!RtfReader::read(QByteArray(), &document));
    // Unbalanced braces and a text cut short in an escape read what is there.
    QVERIFY(RtfReader::read("{\\rtf1 one}} two {\\b three \\'e", &document));
    QCOMPARE(document.toPlainText(), QStringLiteral("one two three "));
    QVERIFY(RtfReader::read("{\\rtf1 end\\", &document));
    QCOMPARE(document.toPlainText(), QStringLiteral("end"));
}

void tst_rtfreader::shippedAboutText() {
    QFile file(QStringLiteral(QUORVANE_INSTALL_DIR "/text/About.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    QVERIFY(RtfReader::read(file.readAll(), &document));
    const QString text = document.toRawText();
    QVERIFY(text.startsWith(QStringLiteral("Quorvane keeps the inventory")));
    QVERIFY(text.contains(QStringLiteral("\u00A9\u00A0Corvessa Software")));
    QVERIFY(!text.contains(QLatin1Char('\\')));
    QVERIFY(!text.contains(QLatin1Char('{')));
    QVERIFY(!text.contains(QStringLiteral("Verdana")));
    QTextCursor cursor(&document);
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontWeight(), QFont::Bold); // the product's name
}

QTEST_MAIN(tst_rtfreader)
#include "tst_rtfreader.moc"
