#include "net/core/RequestFailure.h"

namespace {
// The WinINet errors of a secure connection that cannot be trusted. None of
// them is ever waved through: the program sets no flag that ignores one.
constexpr unsigned long SecureConnectionErrors[] = {
    12037,  // ERROR_INTERNET_SEC_CERT_DATE_INVALID: expired or not yet valid
    12038,  // ERROR_INTERNET_SEC_CERT_CN_INVALID: issued to another host
    12040,  // ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR: sent on without encryption
    12041,  // ERROR_INTERNET_MIXED_SECURITY
    12044,  // ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED
    12045,  // ERROR_INTERNET_INVALID_CA: issued by an authority not trusted
    12055,  // ERROR_INTERNET_SEC_CERT_ERRORS: several of these at once
    12056,  // ERROR_INTERNET_SEC_CERT_NO_REV
    12057,  // ERROR_INTERNET_SEC_CERT_REV_FAILED
    12157,  // ERROR_INTERNET_SECURITY_CHANNEL_ERROR: the handshake failed
    12169,  // ERROR_INTERNET_SEC_INVALID_CERT
    12170,  // ERROR_INTERNET_SEC_CERT_REVOKED
    12180,  // ERROR_INTERNET_SEC_CERT_WEAK_SIGNATURE
};
constexpr unsigned long StatusOk = 200;
constexpr unsigned long StatusProxySignIn = 407;
}

RequestFailure sendFailure(unsigned long lastError)
{
    for (unsigned long error : SecureConnectionErrors)
        if (lastError == error)
            return RequestFailure::Insecure;
    return RequestFailure::NoAnswer;
}

RequestFailure answerFailure(unsigned long statusCode)
{
    // No valid status line at all counts as no answer.
    if (statusCode == 0)
        return RequestFailure::NoAnswer;
    if (statusCode == StatusOk)
        return RequestFailure::None;
    return statusCode == StatusProxySignIn ? RequestFailure::ProxySignIn : RequestFailure::Refused;
}
