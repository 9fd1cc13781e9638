#pragma once

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>

// The camera's HTTP login, as a real camera checks it: with a user name set, a request must
// answer the challenge of the 401 answer. Digest is checked in full (the nonce is one this camera
// gave out, qop "auth", a nonce count that only grows, the response computed with MD5); Basic
// compares user name and password. Safe to use from the server's threads.
class LoginCheck {
public:
    enum class Scheme { Digest, Basic };
    static constexpr const char* kRealm = "pantiro-sim camera";

    LoginCheck() = default;
    LoginCheck(const QByteArray& user, const QByteArray& password, Scheme scheme);

    bool active() const { return !user_.isEmpty(); }
    // Whether the request's Authorization header (empty when it has none) carries the login.
    bool admits(const std::string& method, const std::string& target, const std::string& authorization);
    // The WWW-Authenticate value for a 401 answer, with a fresh nonce for Digest.
    std::string challenge();

private:
    bool admitsDigest(const std::string& method, const std::string& target, const std::string& fields);

    QByteArray user_;
    QByteArray password_;
    Scheme scheme_ = Scheme::Digest;
    std::mutex mutex_;
    std::map<std::string, uint32_t> nonces_; // given out, with the highest nonce count taken
    std::deque<std::string> given_;          // the same nonces, oldest first
    uint64_t issued_ = 0;
};
