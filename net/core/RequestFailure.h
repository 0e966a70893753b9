#pragma once

// Why a request yields no file, decided from what the platform reported: the
// last error of a send that failed, or the status code of an answer that came.
enum class RequestFailure {
    None,         // a 200 answer: the body is the file
    NoAnswer,     // the server could not be reached, or did not answer
    Insecure,     // the secure connection failed: its certificate is not trusted,
                  // has expired or names another host, or the channel broke
    ProxySignIn,  // a proxy asks for a sign-in (407)
    Refused,      // any other answer
};

RequestFailure sendFailure(unsigned long lastError);
RequestFailure answerFailure(unsigned long statusCode);
