#include "tests/sim/HttpGet.h"

namespace {

size_t appendBody(char* data, size_t size, size_t count, void* body)
{
    static_cast<QByteArray*>(body)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

} // namespace

HttpAnswer HttpGet(quint16 port, const QString& target, const QList<QByteArray>& headers)
{
    HttpAnswer answer;
    CURL* curl = curl_easy_init();
    const QByteArray url = QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(target).toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    curl_slist* headerList = nullptr;
    for (const QByteArray& header : headers)
        headerList = curl_slist_append(headerList, header.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);
    answer.result = curl_easy_perform(curl);
    curl_slist_free_all(headerList);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        answer.contentType = QString::fromLatin1(type);
    curl_header* challenge = nullptr;
    if (curl_easy_header(curl, "WWW-Authenticate", 0, CURLH_HEADER, -1, &challenge) == CURLHE_OK)
        answer.challenge = QByteArray(challenge->value);
    curl_easy_cleanup(curl);
    return answer;
}
