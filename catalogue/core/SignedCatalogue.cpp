#include "catalogue/core/SignedCatalogue.h"

#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueSections.h"

#include <cstring>

namespace {

// End of the line that starts at start: the position of its line feed, or
// size for the last line.
std::size_t lineEnd(const char *data, std::size_t size, std::size_t start)
{
    const void *feed = std::memchr(data + start, '\n', size - start);
    return feed ? static_cast<std::size_t>(static_cast<const char *>(feed) - data) : size;
}

// Length of the line [start, end) without one carriage return at its end.
std::size_t contentLength(const char *data, std::size_t start, std::size_t end)
{
    return end > start && data[end - 1] == '\r' ? end - 1 - start : end - start;
}

} // namespace

SignedCatalogue splitSignedCatalogue(const char *data, std::size_t size)
{
    SignedCatalogue result{SignatureStatus::NoSection, size, {}};
    const std::size_t headerLength = sizeof SignatureHeader - 1;
    std::size_t start = 0;
    std::size_t end = 0;
    for (;; start = end + 1) {
        if (start >= size)
            return result;
        end = lineEnd(data, size, start);
        if (contentLength(data, start, end) == headerLength &&
            std::memcmp(data + start, SignatureHeader, headerLength) == 0)
            break;
    }
    result.signedSize = start;

    result.status = SignatureStatus::BadSignatureLine;
    if (end >= size)
        return result;
    const std::size_t lineStart = end + 1;
    end = lineEnd(data, size, lineStart);
    std::size_t decoded = 0;
    if (contentLength(data, lineStart, end) != SignatureLineLength ||
        !decodeBase64(data + lineStart, SignatureLineLength, result.signature, sizeof result.signature, decoded) ||
        decoded != P256SignatureSize)
        return result;

    for (std::size_t i = end; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n') {
            result.status = SignatureStatus::TrailingBytes;
            return result;
        }
    }
    result.status = SignatureStatus::WellFormed;
    return result;
}
