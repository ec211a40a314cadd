#include "StartupHostRun.h"

#include <QProcess>

QStringList HostRun::shown() const {
    const QString prefix = QStringLiteral("SHOWN ");
    for (const QString& line : lines) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size()).split(QLatin1Char('|'));
        }
    }
    return {};
}

HostRun runStartupHost(const QString& program, const QStringList& arguments,
                       const QList<QPair<QString, QString>>& environment,
                       const QString& workingFolder) {
    QProcess host;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment) {
        variables.insert(name, value);
    }
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    host.setProcessEnvironment(variables);
    host.setWorkingDirectory(workingFolder);
    host.start(program, arguments);
    HostRun run;
    run.finished = host.waitForFinished(60000);
    run.exitCode = host.exitCode();
    const QString output = QString::fromUtf8(host.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        run.lines.append(line);
        if (line.startsWith(QStringLiteral("BOX "))) {
            run.boxes.append(line.mid(4));
        }
    }
    if (!run.finished) {
        host.kill();
        host.waitForFinished();
    }
    return run;
}
