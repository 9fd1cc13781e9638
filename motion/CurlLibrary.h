#pragma once

#include <curl/curl.h>

// libcurl's entry points, loaded on first use. libcurl brings TLS, LDAP and Kerberos libraries
// whose loading takes longer than building the main window; nothing needs them before the first
// camera request, so the program loads them beside its start-up instead of before main().
struct CurlLibrary {
    CURLcode (*global_init)(long flags);
    void (*global_cleanup)();
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL* handle, CURLoption option, ...);
    CURLcode (*easy_perform)(CURL* handle);
    CURLcode (*easy_getinfo)(CURL* handle, CURLINFO info, ...);
    void (*easy_cleanup)(CURL* handle);
    CURLU* (*url)();
    CURLUcode (*url_set)(CURLU* url, CURLUPart part, const char* content, unsigned int flags);
    void (*url_cleanup)(CURLU* url);
    curl_slist* (*slist_append)(curl_slist* list, const char* text);
    void (*slist_free_all)(curl_slist* list);
};

// Loads libcurl and runs its global initialisation, once; safe on any thread (libcurl's global
// initialisation is thread-safe since 7.84). Null when libcurl cannot be loaded or initialised.
const CurlLibrary* Curl();
