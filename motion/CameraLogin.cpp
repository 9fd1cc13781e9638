#include "motion/CameraLogin.h"

#include "base/SecretText.h"

void CameraLogin::set(const std::string& user, std::string& password)
{
    clear();
    user_ = user;
    password_.swap(password);
    Wipe(password);
}

void CameraLogin::clear()
{
    user_.clear();
    Wipe(password_);
}
