#include "catalogue/core/CompatibilityToken.h"

#include "catalogue/core/SectionWalker.h"

#include <cstring>

bool hasCompatibilityToken(const LineReader &lines)
{
    SectionWalker walker(lines);
    bool tokenLine = false;
    while (walker.next()) {
        const CatalogueLine &line = walker.line;
        if (tokenLine && std::strcmp(line.text, CompatibilityToken) == 0)
            return true;
        tokenLine = !tokenLine && line.header && line.section == SectionKind::Compatibility;
    }
    return false;
}
