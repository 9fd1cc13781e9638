#include "motion/CurlLibrary.h"

#include <mutex>

#include <dlfcn.h>

namespace {

template <typename Function> bool resolve(void* library, const char* name, Function*& function)
{
    function = reinterpret_cast<Function*>(::dlsym(library, name));
    return function != nullptr;
}

bool load(CurlLibrary& curl)
{
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return false;
    const bool complete = resolve(library, "curl_global_init", curl.global_init)
                          && resolve(library, "curl_global_cleanup", curl.global_cleanup)
                          && resolve(library, "curl_easy_init", curl.easy_init)
                          && resolve(library, "curl_easy_setopt", curl.easy_setopt)
                          && resolve(library, "curl_easy_perform", curl.easy_perform)
                          && resolve(library, "curl_easy_getinfo", curl.easy_getinfo)
                          && resolve(library, "curl_easy_cleanup", curl.easy_cleanup)
                          && resolve(library, "curl_url", curl.url)
                          && resolve(library, "curl_url_set", curl.url_set)
                          && resolve(library, "curl_url_cleanup", curl.url_cleanup)
                          && resolve(library, "curl_slist_append", curl.slist_append)
                          && resolve(library, "curl_slist_free_all", curl.slist_free_all);
    // The library stays loaded for the life of the process.
    return complete && curl.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

} // namespace

const CurlLibrary* Curl()
{
    static CurlLibrary curl;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] { loaded = load(curl); });
    return loaded ? &curl : nullptr;
}
