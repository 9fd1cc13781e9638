#include "sim/UserClicks.h"

#include <QDir>
#include <QSaveFile>

UserClicks::UserClicks(const QString& folder) : folder_(folder) {}

UserClicks::Click UserClicks::record(double pan, double tilt, const QByteArray& picture)
{
    std::lock_guard lock(mutex_);
    Click click{++count_, QDateTime::currentDateTime(), pan, tilt, {}};
    if (savesPictures() && !picture.isEmpty())
        click.file = save(click.number, click.time, picture);
    last_.push_back(click);
    if (last_.size() > kKept)
        last_.pop_front();
    return click;
}

int UserClicks::count() const
{
    std::lock_guard lock(mutex_);
    return count_;
}

std::vector<UserClicks::Click> UserClicks::last() const
{
    std::lock_guard lock(mutex_);
    return {last_.begin(), last_.end()};
}

QString UserClicks::save(int number, const QDateTime& time, const QByteArray& picture) const
{
    // The time keeps the names of several runs apart, the number those of one second.
    const QString name = QStringLiteral("click-%1-%2.jpg")
                             .arg(time.toString(QStringLiteral("yyyyMMdd-HHmmss")))
                             .arg(number, 5, 10, QLatin1Char('0'));
    if (!QDir().mkpath(folder_))
        return {};
    QSaveFile file(QDir(folder_).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size() || !file.commit())
        return {};
    return file.fileName();
}
