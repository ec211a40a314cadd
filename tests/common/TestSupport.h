#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>

// Rows of a plain SQL query on a database file, read with SQLite directly,
// not through the code under test. Null cells read as a null QVariant,
// numbers as double or qint64, text as QString. No rows when the file cannot
// be read or the query fails.
QList<QVariantList> queryDatabase(const QString& database, const QString& sql);
// Runs a statement (or several) directly on a database file; false on failure.
bool execDatabase(const QString& database, const QString& sql);

// A throw-away installation folder: a copy of the empty database in home/,
// with the component pointed at it, and in tests of the program the program
// too. Restores the previous folders when it goes. The constructor and the
// destructor come from the fixture library the test links:
// quorvane_componentfixture (ComponentInstall.cpp) for tests of the component
// alone, quorvane_programfixture (ProgramInstall.cpp) for tests of the program.
class TestInstall {
public:
    TestInstall();
    ~TestInstall();
    TestInstall(const TestInstall&) = delete;
    TestInstall& operator=(const TestInstall&) = delete;

    bool isValid() const { return m_valid; }
    QString folder() const { return m_dir.path(); }
    QString databasePath() const { return m_dir.path() + QStringLiteral("/home/inv.inv"); }
    QString logPath() const { return m_dir.path() + QStringLiteral("/error.log"); }

    // Rows of a plain SQL query on the database file, as queryDatabase reads
    // them.
    QList<QVariantList> query(const QString& sql) const {
        return queryDatabase(databasePath(), sql);
    }
    // The first column of the first row, or a null QVariant.
    QVariant scalar(const QString& sql) const;
    // Runs a statement (or several) directly on the file; false on failure.
    bool exec(const QString& sql) const { return execDatabase(databasePath(), sql); }

    // The log's lines, split at CR LF (the last empty piece dropped).
    QStringList logLines() const;

private:
    // Copies the empty database into the folder and points the component at
    // it; false when the folder could not be made.
    bool setUpComponent();
    // Points the component back at its own folder.
    static void tearDownComponent();

    QTemporaryDir m_dir;
    bool m_valid = false;
};

// Writes an executable shell script: "#!/bin/sh" and the body. The tests put
// such scripts on PATH to stand in for the programs the code under test
// starts. False when the file could not be written.
bool writeScript(const QString& path, const QByteArray& body);
// The whole content of a file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// Stores items A-first to A-last with plain SQL, each named "Item i", in the
// Den, costing i dollars; false on failure.
bool numberedItems(const TestInstall& install, int first, int last);

// One message box the code under test showed.
struct ShownBox {
    QString prompt;
    int flags = 0;
    QString title;
    int icon() const { return flags & 0xF0; }
    int buttons() const { return flags & 0x0F; }
    int defaultButton() const { return flags & 0xF00; }
};

// Stands in for the message-box presenter: records every box and answers with
// the scripted answers in order. A box nobody scripted fails the running test
// at once and is answered with its default button. Uninstalls itself (and
// restores the previous handler) when it goes.
class MsgResponder {
public:
    MsgResponder();
    ~MsgResponder();
    MsgResponder(const MsgResponder&) = delete;
    MsgResponder& operator=(const MsgResponder&) = delete;

    // Scripts the answer to the next box (vbOK, vbYes, vbNo ...).
    void expect(int answer) { m_answers.push_back(answer); }
    const QList<ShownBox>& shown() const { return m_shown; }
    const ShownBox& last() const { return m_shown.last(); }
    int count() const { return static_cast<int>(m_shown.size()); }
    int pending() const { return static_cast<int>(m_answers.size()); }
    void clear() {
        m_shown.clear();
        m_answers.clear();
    }

private:
    int answer(const QString& prompt, int flags, const QString& title);

    std::deque<int> m_answers;
    QList<ShownBox> m_shown;
    bool m_installed = false;
};
