#include "maker/core/CatalogueWriter.h"

#include "catalogue/core/Base64.h"
#include "catalogue/core/CatalogueIssued.h"
#include "catalogue/core/CatalogueSections.h"
#include "catalogue/core/CompatibilityToken.h"
#include "maker/core/CatalogueText.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Appends formatted text; a text that does not fit marks the whole output
// as failed.
class TextOut {
public:
    TextOut(char *out, std::size_t size, std::size_t capacity) : out_(out), size_(size), capacity_(capacity) {}

    void add(const char *format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (failed_)
            return;
        std::va_list arguments;
        va_start(arguments, format);
        const int written = std::vsnprintf(out_ + size_, capacity_ - size_, format, arguments);
        va_end(arguments);
        if (written < 0 || static_cast<std::size_t>(written) >= capacity_ - size_)
            failed_ = true;
        else
            size_ += static_cast<std::size_t>(written);
    }

    std::size_t size() const { return failed_ ? 0 : size_; }

private:
    char *out_;
    std::size_t size_;
    std::size_t capacity_;
    bool failed_ = false;
};

} // namespace

std::size_t writeCatalogue(const ListedProgram *programs, int count, const CalendarTime &issued,
                           const CalendarTime &expiry, char *out, std::size_t outSize)
{
    TextOut text(out, 0, outSize);
    text.add("[L]\r\n%s\r\n[U]\r\n", CompatibilityToken);
    for (int i = 0; i < count; ++i) {
        char date[16];
        char time[16];
        formatCatalogueDate(programs[i].local, date, sizeof date);
        formatCatalogueTime(programs[i].local, time, sizeof time);
        text.add("%s|0|%s|%s|-|%s\r\n", programs[i].name, date, time, programs[i].version);
    }
    text.add("%s\r\n", HashesHeader);
    for (int i = 0; i < count; ++i)
        text.add("%s%c%s\r\n", programs[i].name, FieldSeparator, programs[i].checksum);
    text.add("%s\r\n", SizesHeader);
    for (int i = 0; i < count; ++i)
        text.add("%s%c%llu\r\n", programs[i].name, FieldSeparator,
                 static_cast<unsigned long long>(programs[i].size));
    char time[IssueTimeLength + 1];
    formatIssueTime(issued, time);
    text.add("%s\r\n%s\r\n", IssuedHeader, time);
    char date[16];
    formatCatalogueDate(expiry, date, sizeof date);
    text.add("%s\r\n%s\r\n", ExpiresHeader, date);
    return text.size();
}

std::size_t appendSignature(const unsigned char (&signature)[P256SignatureSize], char *out, std::size_t size,
                            std::size_t outSize)
{
    char line[base64Length(P256SignatureSize) + 1];
    encodeBase64(signature, sizeof signature, line);
    TextOut text(out, size, outSize);
    text.add("%s\r\n%s\r\n", SignatureHeader, line);
    return text.size();
}
