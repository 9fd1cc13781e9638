#include "tests/app/AppTestFixture.h"

#include "motion/CameraRequest.h"
#include "platform/TrayIcon.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <stdexcept>

void AppTest::SetUp()
{
    // As main does before anything else.
    static const bool cameraRequestsReady = InitCameraRequests();
    ASSERT_TRUE(cameraRequestsReady);
    // Every test starts as on a machine where Pantiro never ran, also when one process runs them all.
    QFile::remove(QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                            QCoreApplication::applicationName())
                      .fileName());
    TrayIcon::overrideAvailability(std::nullopt);
    writeSetting("Comm", QStringLiteral("Kein,9600"));
}

void AppTest::TearDown()
{
    stop();
    TrayIcon::overrideAvailability(std::nullopt);
}

void AppTest::writeSetting(const char* name, const QString& value)
{
    SettingsStore().write(QString::fromLatin1(name), value);
}

QString AppTest::setting(const char* name)
{
    return SettingsStore().read(QString::fromLatin1(name), QStringLiteral("<missing>"));
}

CAppDlg& AppTest::start()
{
    app = std::make_unique<CPantiroApp>();
    EXPECT_TRUE(app->InitInstance());
    CAppDlg* dialog = app->mainDialog();
    if (!dialog)
        throw std::runtime_error("the start was refused");
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
    return *dialog;
}

void AppTest::stop()
{
    app.reset();
}
