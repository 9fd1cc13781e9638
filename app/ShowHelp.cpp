#include "app/ShowHelp.h"

#include "base/AppConfig.h"
#include "platform/HelpWindow.h"
#include "res/Resources.h"

#include <QUrl>

void ShowHelp(QWidget& window)
{
    const QString page = HelpPageUrl(appConfig().language);
    if (page.isEmpty())
        return;
    auto* help = window.findChild<HelpWindow*>();
    if (!help)
        help = new HelpWindow(&window);
    help->showPage(QUrl(page));
}
