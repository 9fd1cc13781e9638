#pragma once

#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/RequestLog.h"
#include "sim/UserClicks.h"
#include "tests/sim/HttpGet.h"
#include "tests/sim/ManualClock.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The camera server on a free loopback port, its head on a manual clock at pan 100, tilt 0.
class RunningCamera : public ::testing::Test {
protected:
    static HeadModel::Settings headSettings()
    {
        HeadModel::Settings settings;
        settings.startPan = 100.0;
        return settings;
    }

    void SetUp() override
    {
        ASSERT_TRUE(log.open(folder.filePath(QStringLiteral("requests.log"))));
        ASSERT_TRUE(server.start(0));
    }

    HttpAnswer get(const QString& target) { return HttpGet(server.port(), target); }

    QJsonObject state() { return QJsonDocument::fromJson(get(QStringLiteral("/sim/state")).body).object(); }

    static QString relay(char byte)
    {
        return QStringLiteral("/control/rcontrol?action=putrs232&rs232outtext=%1&dummy=24324000000").arg(byte);
    }

    QTemporaryDir folder;
    ManualClock clock;
    HeadModel head{headSettings(), clock.clock()};
    Panorama panorama{QSize(320, 240)};
    UserClicks clicks{folder.filePath(QStringLiteral("clicks"))};
    Faults faults;
    RequestLog log;
    CameraServer server{head, panorama, clicks, faults, &log};
};

inline const QString kPicture = QStringLiteral("/record/current.jpg");
inline const QString kUserClick = QStringLiteral("/control/rcontrol?action=userclick&dummy=23458000000");
