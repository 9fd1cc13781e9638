#pragma once

#include <QFile>
#include <QString>

#include <mutex>

// Appends every request line and its headers to a file, one blank line after each request.
class RequestLog {
public:
    bool open(const QString& path);
    QString errorString() const { return file_.errorString(); }
    void append(const QByteArray& entry);

private:
    std::mutex mutex_;
    QFile file_;
};
