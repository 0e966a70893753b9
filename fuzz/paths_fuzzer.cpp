// Feeds arbitrary paths and URLs, with buffers of any size, to the path and
// URL helpers of the scan, the update and the download.
#include "FuzzCheck.h"

#include "net/core/ReplaceFileName.h"
#include "net/core/UrlParts.h"
#include "toolkit/core/PathText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

bool needsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '#' || c == '%';
}

// The folder part of text as cutToDirectory leaves it.
std::string cutCopy(const char *text)
{
    std::unique_ptr<char[]> copy = terminatedCopy(text, std::strlen(text));
    cutToDirectory(copy.get(), SingleByteCharacters);
    return copy.get();
}

void checkCutToDirectory(const char *text)
{
    const std::size_t length = std::strlen(text);
    const std::string folder = cutCopy(text);
    FUZZ_REQUIRE(folder.size() <= length);
    FUZZ_REQUIRE(std::strncmp(folder.c_str(), text, folder.size()) == 0);
    // Everything after the cut, from the second character on, is free of separators.
    const std::size_t from = folder.empty() ? 1 : folder.size();
    for (std::size_t i = from; i < length; ++i)
        FUZZ_REQUIRE(!isSeparator(text[i]));
    if (!folder.empty())
        FUZZ_REQUIRE(folder.size() >= 2 && isSeparator(folder.back()));
}

void checkFileNameFromPath(const char *path, std::size_t outSize)
{
    std::unique_ptr<char[]> out = exactBlock(outSize == 0 ? 1 : outSize);
    out[0] = 'x';
    fileNameFromPath(path, out.get(), outSize, SingleByteCharacters);
    if (outSize == 0) {
        FUZZ_REQUIRE(out[0] == 'x');
        return;
    }
    FUZZ_REQUIRE(terminatedWithin(out.get(), outSize));
    const char *name = path;
    for (const char *p = path; *p; ++p)
        if (isSeparator(*p))
            name = p + 1;
    const std::size_t nameLength = std::strlen(name);
    const std::size_t length = std::strlen(out.get());
    FUZZ_REQUIRE(length == std::min(nameLength, outSize - 1));
    FUZZ_REQUIRE(std::strncmp(out.get(), name, length) == 0);
}

void checkSplitUrl(const char *url, std::size_t outSize)
{
    const std::size_t length = std::strlen(url);
    const UrlParts parts = splitUrl(url);
    FUZZ_REQUIRE(parts.server >= url && parts.server <= url + length);
    FUZZ_REQUIRE(parts.serverLength <= static_cast<std::size_t>(url + length - parts.server));
    FUZZ_REQUIRE(parts.objectPath >= parts.server + parts.serverLength);
    FUZZ_REQUIRE(*parts.objectPath == '\0' || *parts.objectPath == '/');
    FUZZ_REQUIRE(std::memchr(parts.server, '/', static_cast<std::size_t>(parts.objectPath - parts.server)) == nullptr);
    FUZZ_REQUIRE(parts.port <= 65535);
    // What lies between the host name and the path is ":port" or nothing.
    if (parts.objectPath != parts.server + parts.serverLength)
        FUZZ_REQUIRE(parts.server[parts.serverLength] == ':');
    const char *slashes = std::strstr(url, "//");
    FUZZ_REQUIRE(parts.server == (slashes ? slashes + 2 : url));

    std::unique_ptr<char[]> out = exactBlock(outSize == 0 ? 1 : outSize);
    out[0] = 'x';
    const bool copied = copyServerName(parts, out.get(), outSize);
    if (outSize == 0) {
        FUZZ_REQUIRE(!copied && out[0] == 'x');
        return;
    }
    FUZZ_REQUIRE(copied == (parts.serverLength < outSize));
    FUZZ_REQUIRE(terminatedWithin(out.get(), outSize));
    if (copied)
        FUZZ_REQUIRE(std::string(out.get()) == std::string(parts.server, parts.serverLength));
    else
        FUZZ_REQUIRE(out[0] == '\0');
}

void checkLastPathComponent(const char *url)
{
    const std::size_t length = std::strlen(url);
    const char *last = lastPathComponent(url, SingleByteCharacters);
    FUZZ_REQUIRE(last >= url && last <= url + length);
    // A separator may stand only as the URL's first character.
    for (const char *p = last > url ? last : url + (length > 0 ? 1 : 0); *p; ++p)
        FUZZ_REQUIRE(!isSeparator(*p));
    // The component starts exactly where the folder that cutToDirectory keeps ends.
    FUZZ_REQUIRE(static_cast<std::size_t>(last - url) == cutCopy(url).size());
}

std::string percentDecoded(const char *text)
{
    std::string decoded;
    for (const char *p = text; *p; ++p) {
        if (*p == '%' && p[1] && p[2]) {
            decoded += static_cast<char>(std::stoi(std::string(p + 1, 2), nullptr, 16));
            p += 2;
        } else {
            decoded += *p;
        }
    }
    return decoded;
}

void checkEscapeObjectPath(const char *path, std::size_t outSize)
{
    const std::size_t needed = escapedObjectPathSize(path);
    FUZZ_REQUIRE(needed >= std::strlen(path) + 1 && needed <= 3 * std::strlen(path) + 1);

    std::unique_ptr<char[]> out = exactBlock(outSize == 0 ? 1 : outSize);
    out[0] = 'x';
    const bool escaped = escapeObjectPath(path, out.get(), outSize);
    if (outSize == 0) {
        FUZZ_REQUIRE(!escaped && out[0] == 'x');
        return;
    }
    FUZZ_REQUIRE(escaped == (needed <= outSize));
    FUZZ_REQUIRE(terminatedWithin(out.get(), outSize));
    if (!escaped) {
        FUZZ_REQUIRE(out[0] == '\0');
        return;
    }
    FUZZ_REQUIRE(std::strlen(out.get()) == needed - 1);
    for (const char *p = out.get(); *p; ++p)
        FUZZ_REQUIRE(*p == '%' || !needsEscape(static_cast<unsigned char>(*p)));
    // The server decodes what it receives: it must get back the very path.
    FUZZ_REQUIRE(percentDecoded(out.get()) == path);
}

void checkReplaceFileName(const char *path, const char *name, std::size_t capacity)
{
    // The buffer holds path, cut to what fits, as the caller's would.
    std::unique_ptr<char[]> buffer = exactBlock(capacity);
    const std::size_t kept = std::min(std::strlen(path), capacity - 1);
    std::memcpy(buffer.get(), path, kept);
    buffer[kept] = '\0';
    const std::string folder = cutCopy(buffer.get());

    const bool replaced = replaceFileName(buffer.get(), capacity, name, SingleByteCharacters);
    FUZZ_REQUIRE(terminatedWithin(buffer.get(), capacity));
    FUZZ_REQUIRE(replaced == (folder.size() + std::strlen(name) < capacity));
    FUZZ_REQUIRE(std::string(buffer.get()) == (replaced ? folder + name : folder));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the buffer sizes: small ones, where cutting starts,
    // most of the time.
    const std::size_t outSize = bytes[0] < 192 ? bytes[0] % 64 : bytes[0] + 68u;
    std::unique_ptr<char[]> text = terminatedCopy(reinterpret_cast<const char *>(bytes) + 1, size - 1);
    const char *path = text.get();
    // A zero byte splits the rest into a path and a file name.
    const std::size_t first = std::strlen(path);
    const char *name = first < size - 1 ? path + first + 1 : path + first;

    checkCutToDirectory(path);
    checkFileNameFromPath(path, outSize);
    checkSplitUrl(path, outSize);
    checkLastPathComponent(path);
    checkEscapeObjectPath(path, outSize);
    checkEscapeObjectPath(name, outSize);
    checkReplaceFileName(path, name, outSize == 0 ? 1 : outSize);
    return 0;
}
