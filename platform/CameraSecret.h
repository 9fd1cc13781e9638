#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// Where the camera's password is kept: the desktop's secret service (through QtKeychain) or,
// where the operator chose it, the file readable only by the user beside the settings (see
// PasswordFile.h). The file, where it exists, is the choice: the secret service is then never
// asked, so a locked keyring cannot hold up an unattended start. Nothing here ever waits: each
// answer comes from the event loop. Used on the GUI thread only.
class CameraSecret : public QObject {
public:
    struct Found {
        bool read = false;          // `password` holds the password
        QByteArray password;        // the receiver takes it over and wipes it
        QString problem;            // why not, in the operator's language; empty when nothing is stored
        bool problemIsFile = false; // the file is there but refused: the operator should be told
    };
    using Read = std::function<void(Found&)>;
    using Stored = std::function<void(bool stored, const QString& problem)>;

    // The keyring entry: the service says Pantiro, the key the settings profile it belongs to.
    static QString serviceName();
    static QString keyName();

    // The problems are told in `language`.
    void read(int language, Read done);
    // Keeps `password` in the file or in the keyring, and removes it from the other place.
    void store(const QByteArray& password, bool inFile, int language, Stored done);
    // Removes the password from both places.
    void remove();
};
