#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <curl/curl.h>

// One GET to the simulator on 127.0.0.1, as the controller makes it: a fresh handle, no proxy,
// the body exactly as received.
struct HttpAnswer {
    CURLcode result = CURLE_OK;
    long status = 0;
    QByteArray body;
    QString contentType;
    QByteArray challenge; // WWW-Authenticate
};

HttpAnswer HttpGet(quint16 port, const QString& target, const QList<QByteArray>& headers = {});
