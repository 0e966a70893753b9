#include "net/core/RequestFailure.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestFailure, CertificateAndChannelErrorsAreInsecureOthersAreNoAnswer)
{
    // Untrusted authority, expired, another host's name, several at once, a broken handshake.
    for (unsigned long error : {12045ul, 12037ul, 12038ul, 12055ul, 12157ul, 12169ul, 12170ul, 12040ul})
        EXPECT_EQ(sendFailure(error), RequestFailure::Insecure) << error;
    // Name not resolved, connection refused or reset, time-out.
    for (unsigned long error : {12007ul, 12029ul, 12030ul, 12031ul, 12002ul, 0ul, 5ul})
        EXPECT_EQ(sendFailure(error), RequestFailure::NoAnswer) << error;
}

TEST(RequestFailure, OnlyA200AnswerCarriesTheFileAndA407BlamesTheProxy)
{
    EXPECT_EQ(answerFailure(200), RequestFailure::None);
    EXPECT_EQ(answerFailure(407), RequestFailure::ProxySignIn);
    EXPECT_EQ(answerFailure(0), RequestFailure::NoAnswer);
    for (unsigned long code : {201ul, 206ul, 304ul, 401ul, 404ul, 500ul, 502ul})
        EXPECT_EQ(answerFailure(code), RequestFailure::Refused) << code;
}

} // namespace
