#include "motion/CameraRequest.h"

#include <curl/curl.h>

bool InitCameraRequests()
{
    // Plain HTTP needs the sockets and nothing else: no TLS, no other protocol. The WIN32 flag
    // starts Windows sockets and means nothing elsewhere.
    return curl_global_init(CURL_GLOBAL_WIN32) == CURLE_OK;
}

void CleanupCameraRequests()
{
    curl_global_cleanup();
}

bool CameraAddressSet(const std::string& host)
{
    // 0.0.0.0 would reach this machine on Linux; it is the "no camera set" address.
    return !host.empty() && host != "0.0.0.0";
}
