#include "sim/LoginCheck.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

// A camera keeps only its recent nonces; older ones are refused as stale.
constexpr size_t kNoncesKept = 256;

QByteArray md5Hex(const QByteArray& text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

// The name=value and name="value" pairs of an Authorization header after its scheme.
std::map<std::string, std::string> digestFields(const std::string& text)
{
    static const QRegularExpression pair(QStringLiteral(R"re(\s*([A-Za-z]+)\s*=\s*(?:"([^"]*)"|([^,\s]*))\s*,?)re"));
    std::map<std::string, std::string> fields;
    const QString all = QString::fromStdString(text);
    for (auto match = pair.globalMatch(all); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const QString value = m.capturedStart(2) >= 0 ? m.captured(2) : m.captured(3);
        fields[m.captured(1).toLower().toStdString()] = value.toStdString();
    }
    return fields;
}

bool startsWithScheme(const std::string& header, const char* scheme, std::string& rest)
{
    const std::string prefix = std::string(scheme) + ' ';
    if (header.size() < prefix.size()
        || QByteArray::fromStdString(header.substr(0, prefix.size())).toLower() != QByteArray(prefix.c_str()).toLower())
        return false;
    rest = header.substr(prefix.size());
    return true;
}

} // namespace

LoginCheck::LoginCheck(const QByteArray& user, const QByteArray& password, Scheme scheme)
    : user_(user), password_(password), scheme_(scheme)
{}

std::string LoginCheck::challenge()
{
    if (scheme_ == Scheme::Basic)
        return std::string("Basic realm=\"") + kRealm + '"';
    std::lock_guard lock(mutex_);
    const QByteArray nonce =
        md5Hex(QByteArray::number(++issued_) + ':' + QByteArray::number(QRandomGenerator::system()->generate64()));
    if (given_.size() >= kNoncesKept) {
        nonces_.erase(given_.front());
        given_.pop_front();
    }
    given_.push_back(nonce.toStdString());
    nonces_[given_.back()] = 0;
    return std::string("Digest realm=\"") + kRealm + "\", qop=\"auth\", algorithm=MD5, nonce=\"" + nonce.toStdString()
           + '"';
}

bool LoginCheck::admits(const std::string& method, const std::string& target, const std::string& authorization)
{
    if (!active())
        return true;
    std::string rest;
    if (scheme_ == Scheme::Basic)
        return startsWithScheme(authorization, "Basic", rest)
               && QByteArray::fromBase64(QByteArray::fromStdString(rest).trimmed()) == user_ + ':' + password_;
    return startsWithScheme(authorization, "Digest", rest) && admitsDigest(method, target, rest);
}

bool LoginCheck::admitsDigest(const std::string& method, const std::string& target, const std::string& text)
{
    std::map<std::string, std::string> f = digestFields(text);
    if (f["username"] != user_.toStdString() || f["realm"] != kRealm || f["uri"] != target || f["qop"] != "auth"
        || f["cnonce"].empty() || (!f["algorithm"].empty() && f["algorithm"] != "MD5"))
        return false;
    bool isNumber = false;
    const uint32_t count = QString::fromStdString(f["nc"]).toUInt(&isNumber, 16);
    if (!isNumber || f["nc"].size() != 8)
        return false;
    const QByteArray ha1 = md5Hex(user_ + ':' + kRealm + ':' + password_);
    const QByteArray ha2 = md5Hex(QByteArray::fromStdString(method + ':' + target));
    const QByteArray expected =
        md5Hex(ha1 + ':' + QByteArray::fromStdString(f["nonce"] + ':' + f["nc"] + ':' + f["cnonce"] + ":auth:") + ha2);
    if (expected.toStdString() != f["response"])
        return false;
    std::lock_guard lock(mutex_);
    const auto nonce = nonces_.find(f["nonce"]);
    // A nonce this camera never gave out, or a count already taken: a replay.
    if (nonce == nonces_.end() || count <= nonce->second)
        return false;
    nonce->second = count;
    return true;
}
