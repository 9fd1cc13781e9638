#pragma once

#include <string>

// The camera's user name and password as every camera request answers a challenge with them.
// No user name: requests go without a login, as they always did. The password is wiped from
// memory when it is replaced and at the end; copies are never made but by libcurl's own.
class CameraLogin {
public:
    CameraLogin() = default;
    ~CameraLogin() { clear(); }
    CameraLogin(const CameraLogin&) = delete;
    CameraLogin& operator=(const CameraLogin&) = delete;

    // Takes the password over and wipes the caller's buffer.
    void set(const std::string& user, std::string& password);
    void clear();
    bool active() const { return !user_.empty(); }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }

private:
    std::string user_;
    std::string password_;
};
