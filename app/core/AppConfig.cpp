#include "app/core/AppConfig.h"

AppConfig& appConfig()
{
    static AppConfig config;
    return config;
}
