#include "platform/CameraSecret.h"

#include "base/LoadText.h"
#include "base/PasswordFile.h"
#include "base/SecretText.h"
#include "base/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>

namespace {

constexpr int kFileNotPlainId = 1021;
constexpr int kFileOpenToOthersId = 1020;
constexpr int kFileUnreadableId = 1023;
constexpr int kFileNotWrittenId = 1024;

QString fileProblem(const PasswordFileRead& read, const QString& path, int language)
{
    switch (read.kind) {
    case PasswordFileRead::Kind::NotPlain:
        return LoadText(kFileNotPlainId, language).arg(path);
    case PasswordFileRead::Kind::OpenToOthers:
        return LoadText(kFileOpenToOthersId, language)
            .arg(path, QStringLiteral("%1").arg(read.mode, 4, 8, QLatin1Char('0')), QString::number(read.owner));
    case PasswordFileRead::Kind::Unreadable:
        return LoadText(kFileUnreadableId, language).arg(path);
    case PasswordFileRead::Kind::Missing:
    case PasswordFileRead::Kind::Read:
        break;
    }
    return {};
}

void deleteFromKeyring()
{
    auto* job = new QKeychain::DeletePasswordJob(CameraSecret::serviceName());
    job->setKey(CameraSecret::keyName());
    job->start();
}

} // namespace

QString CameraSecret::serviceName()
{
    return QStringLiteral("Pantiro camera");
}

QString CameraSecret::keyName()
{
    return QDir(SettingsStore::profileFolder()).filePath(QCoreApplication::applicationName());
}

void CameraSecret::read(int language, Read done)
{
    const QString path = PasswordFilePath();
    PasswordFileRead file = ReadPasswordFile(path);
    if (file.kind != PasswordFileRead::Kind::Missing) {
        auto found = std::make_shared<Found>();
        found->read = file.kind == PasswordFileRead::Kind::Read;
        found->password.swap(file.password);
        found->problem = fileProblem(file, path, language);
        found->problemIsFile = !found->read;
        QTimer::singleShot(0, this, [found, done] {
            done(*found);
            Wipe(found->password);
        });
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(serviceName(), this);
    job->setKey(keyName());
    connect(job, &QKeychain::Job::finished, this, [job, done](QKeychain::Job*) {
        Found found;
        if (job->error() == QKeychain::NoError) {
            found.read = true;
            found.password = job->binaryData();
        } else if (job->error() != QKeychain::EntryNotFound) {
            found.problem = job->errorString();
        }
        done(found);
        Wipe(found.password);
    });
    job->start();
}

void CameraSecret::store(const QByteArray& password, bool inFile, int language, Stored done)
{
    const QString path = PasswordFilePath();
    if (inFile) {
        const bool written = WritePasswordFile(path, password);
        if (written)
            deleteFromKeyring();
        const QString problem = written ? QString() : LoadText(kFileNotWrittenId, language).arg(path);
        QTimer::singleShot(0, this, [done, written, problem] { done(written, problem); });
        return;
    }
    auto* job = new QKeychain::WritePasswordJob(serviceName(), this);
    job->setKey(keyName());
    job->setBinaryData(password);
    connect(job, &QKeychain::Job::finished, this, [job, done, path](QKeychain::Job*) {
        const bool stored = job->error() == QKeychain::NoError;
        // Only once the keyring has it: a failed write leaves the file as the password's place.
        if (stored)
            RemovePasswordFile(path);
        done(stored, job->errorString());
    });
    job->start();
}

void CameraSecret::remove()
{
    RemovePasswordFile(PasswordFilePath());
    deleteFromKeyring();
}
