#include "app/RunPantiro.h"

#include "app/CPantiroApp.h"
#include "base/MessageBox.h"
#include "platform/EndRequests.h"

int RunPantiro(bool cameraRequestsReady)
{
    if (!cameraRequestsReady) {
        MessageBox(nullptr, QStringLiteral("Socket Init Error"), MessageButtons::Ok, MessageIcon::Information);
        return 1;
    }
    CPantiroApp app;
    const EndRequests endRequests([&app] { app.EndInOrder(); });
    if (!app.InitInstance())
        return 1;
    return app.Run();
}
