// The help's sources: every topic page is in the contents, has index
// keywords and is linked from the start page, so that no window's topic can
// be written and then not found.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QString helpFolder() {
    return QStringLiteral(QUORVANE_SOURCE_DIR "/install/help");
}

QString read(const QString& name) {
    QFile file(helpFolder() + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The files that elements of the given kind in the project file point to.
QStringList refs(const QString& project, const QString& element) {
    QStringList files;
    const QRegularExpression pattern(QLatin1Char('<') + element +
                                     QStringLiteral("\\b[^>]*\\bref=\"([^\"#]+)"));
    for (auto it = pattern.globalMatch(project); it.hasNext();) {
        files.append(it.next().captured(1));
    }
    return files;
}

} // namespace

class tst_helptopics : public QObject {
    Q_OBJECT
private slots:
    void everyTopicCanBeFound_data();
    void everyTopicCanBeFound();
};

void tst_helptopics::everyTopicCanBeFound_data() {
    QTest::addColumn<QString>("topic");
    const QStringList pages =
        QDir(helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    QVERIFY(pages.size() > 10);
    for (const QString& page : pages) {
        if (page != QStringLiteral("index.html")) {
            QTest::newRow(qPrintable(page)) << page;
        }
    }
}

void tst_helptopics::everyTopicCanBeFound() {
    QFETCH(QString, topic);
    const QString project = read(QStringLiteral("quorvane.qhp"));
    QVERIFY(!project.isEmpty());
    QVERIFY2(refs(project, QStringLiteral("section")).contains(topic), "not in the contents");
    QVERIFY2(refs(project, QStringLiteral("keyword")).contains(topic), "no index keyword");
    QVERIFY2(
        read(QStringLiteral("index.html")).contains(QStringLiteral("<a href=\"%1\">").arg(topic)),
        "not linked from the start page");
}

QTEST_GUILESS_MAIN(tst_helptopics)
#include "tst_helptopics.moc"
