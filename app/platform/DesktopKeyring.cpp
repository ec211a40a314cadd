#include "platform/DesktopKeyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {

const QString kService = QStringLiteral("Quorvane");

// Runs the job to its end in a local event loop; true when it succeeded.
bool runJob(QKeychain::Job& job, QString* error) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() != QKeychain::NoError && error != nullptr) {
        *error = job.errorString();
    }
    return job.error() == QKeychain::NoError;
}

} // namespace

std::optional<QString> DesktopKeyring::read(const QString& key, QString* error) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (!runJob(job, error)) {
        return std::nullopt;
    }
    return job.textData();
}

bool DesktopKeyring::write(const QString& key, const QString& secret, QString* error) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(secret);
    return runJob(job, error);
}

bool DesktopKeyring::remove(const QString& key, QString* error) {
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    QString failure;
    if (runJob(job, &failure) || job.error() == QKeychain::EntryNotFound) {
        return true;
    }
    if (error != nullptr) {
        *error = failure;
    }
    return false;
}
