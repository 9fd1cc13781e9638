#pragma once

#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/LoginCheck.h"

#include <QSize>
#include <QString>

// Everything the command line sets.
struct SimOptions {
    quint16 httpPort = 8080;
    QString serialLink;
    HeadModel::Settings head;
    QSize pictureSize{640, 480};
    QString clickFolder;
    QString logFile;
    Faults::Settings faults;
    bool quiet = false;
    QByteArray cameraUser; // empty: the camera needs no login
    QByteArray cameraPassword;
    LoginCheck::Scheme auth = LoginCheck::Scheme::Digest;
};
