#include "KeychainPasswords.h"

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Vxxx Control Panel MQTT");

template <typename JobType> JobType* MakeJob(const QString& key) {
    auto* job = new JobType(kService); // deletes itself once finished
    job->setInsecureFallback(false);
    job->setKey(key);
    return job;
}

} // namespace

void KeychainPasswords::ReadPassword(
    const QString& key, std::function<void(std::string password, QString problem)> done) {
    auto* job = MakeJob<QKeychain::ReadPasswordJob>(key);
    QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
        switch (job->error()) {
        case QKeychain::NoError:
            done(job->textData().toStdString(), {});
            break;
        case QKeychain::EntryNotFound: // nothing stored: no password, and nothing to tell
            done({}, {});
            break;
        default:
            done({}, job->errorString());
            break;
        }
    });
    job->start();
}

void KeychainPasswords::WritePassword(const QString& key, const std::string& password,
                                      std::function<void(QString problem)> done) {
    auto* job = MakeJob<QKeychain::WritePasswordJob>(key);
    job->setTextData(QString::fromStdString(password));
    QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError ? QString() : job->errorString());
    });
    job->start();
}
