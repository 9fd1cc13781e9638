#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>
#include <mutex>
#include <vector>

// The camera's user-click events: counted, the last few kept with the head's true position,
// and the picture of each saved into a folder when one is given.
class UserClicks {
public:
    struct Click {
        int number = 0;
        QDateTime time;
        double pan = 0.0;
        double tilt = 0.0;
        QString file; // empty when no picture was saved
    };

    static constexpr std::size_t kKept = 10;

    explicit UserClicks(const QString& folder = {});

    bool savesPictures() const { return !folder_.isEmpty(); }
    Click record(double pan, double tilt, const QByteArray& picture = {});
    int count() const;
    std::vector<Click> last() const; // oldest first

private:
    QString save(int number, const QDateTime& time, const QByteArray& picture) const;

    const QString folder_;
    mutable std::mutex mutex_;
    int count_ = 0;
    std::deque<Click> last_;
};
