#include "base/Profile.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

QString& chosen()
{
    static QString name;
    return name;
}

const QString kStem = u"pantiro"_s;

} // namespace

bool IsProfileName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxProfileName || name.startsWith(u'-'))
        return false;
    for (const QChar c : name) {
        const bool allowed =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!allowed)
            return false;
    }
    return true;
}

void UseProfile(const QString& name)
{
    chosen() = name;
    QCoreApplication::setApplicationName(ProfileStem());
}

QString ProfileName()
{
    return chosen();
}

QString ProfileStem()
{
    return chosen().isEmpty() ? kStem : kStem + u'-' + chosen();
}

QString WithProfileName(const QString& title)
{
    return chosen().isEmpty() ? title : title + u" - "_s + chosen();
}

QStringList FindProfiles(const QString& settingsFolder)
{
    QStringList names;
    const QString prefix = kStem + u'-';
    for (const QString& file : QDir(settingsFolder).entryList({prefix + u"*.conf"_s}, QDir::Files, QDir::Name)) {
        const QString name = file.mid(prefix.size()).chopped(5);
        if (IsProfileName(name))
            names << name;
    }
    return names;
}
