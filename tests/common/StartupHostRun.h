#pragma once

#include <QDir>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What a run of the start-up host (tests/app/StartupHost.cpp) printed and how
// it ended.
struct HostRun {
    QStringList boxes; // "<flags>|<caption>|<text>"
    QStringList lines;
    int exitCode = -1;
    bool finished = false;

    // The "SHOWN" line's fields: caption, working folder, data folder; empty
    // when the main window was not shown.
    QStringList shown() const;
};

// Runs the host program with the arguments on the offscreen platform, with
// the test's environment and the variables given on top of it, in the working
// folder. Waits up to a minute, and kills a host that has not ended by then.
HostRun runStartupHost(const QString& program, const QStringList& arguments,
                       const QList<QPair<QString, QString>>& environment,
                       const QString& workingFolder = QDir::tempPath());
