#include "sim/RequestLog.h"

bool RequestLog::open(const QString& path)
{
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Append);
}

void RequestLog::append(const QByteArray& entry)
{
    std::lock_guard lock(mutex_);
    if (!file_.isOpen())
        return;
    file_.write(entry);
    file_.flush();
}
