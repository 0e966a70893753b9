#include "catalogue/core/SignedCatalogue.h"

#include "catalogue/core/Base64.h"
#include "catalogue/core/SectionWalker.h"

namespace {

// True when the editor line is exactly length characters, a carriage return
// ending it aside. The header and the signature are taken only so, as signed:
// a line with another carriage return is some other line.
bool isWholeLineOf(const CatalogueLine &line, std::size_t length)
{
    return line.startsLine && line.length == length && !line.strayReturn;
}

} // namespace

SignedCatalogue splitSignedCatalogue(const char *data, std::size_t size)
{
    SignedCatalogue result{SignatureStatus::NoSection, size, 0, {}};
    SectionWalker walker(data, size);
    const CatalogueLine &line = walker.line;
    do {
        if (!walker.next())
            return result;
    } while (!(line.header && line.section == SectionKind::Signature &&
               isWholeLineOf(line, sizeof SignatureHeader - 1)));
    result.signedSize = line.offset;
    result.signatureLine = line.number;

    result.status = SignatureStatus::BadSignatureLine;
    if (!walker.next())
        return result;
    result.signatureLine = line.number;
    std::size_t decoded = 0;
    if (!isWholeLineOf(line, SignatureLineLength) ||
        !decodeBase64(line.text, SignatureLineLength, result.signature, sizeof result.signature, decoded) ||
        decoded != P256SignatureSize)
        return result;

    while (walker.next()) {
        if (line.length > 0) {
            result.status = SignatureStatus::TrailingBytes;
            return result;
        }
    }
    result.status = SignatureStatus::WellFormed;
    return result;
}
