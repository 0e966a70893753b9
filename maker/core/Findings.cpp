#include "maker/core/Findings.h"
#include "toolkit/core/PathText.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

Findings::Finding *Findings::add(int line, bool warning, const char *subject)
{
    if (warning)
        ++warnings_;
    else
        ++problems_;
    if (keptCount_ == MaxKept)
        return nullptr;
    Finding &finding = kept_[keptCount_++];
    finding.line = line;
    finding.warning = warning;
    std::snprintf(finding.subject, sizeof finding.subject, "%s", subject);
    return &finding;
}

void Findings::keep(int line, bool warning, const char *subject, const char *format, std::va_list arguments)
{
    Finding *finding = add(line, warning, subject);
    if (finding)
        std::vsnprintf(finding->text, sizeof finding->text, format, arguments);
}

void Findings::problem(int line, const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    keep(line, false, "", format, arguments);
    va_end(arguments);
}

void Findings::warning(int line, const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    keep(line, true, "", format, arguments);
    va_end(arguments);
}

void Findings::programProblem(const char *subject, const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    keep(0, false, subject, format, arguments);
    va_end(arguments);
}
void Findings::print(std::FILE *out, const char *prefix, const LeadBytes &leadBytes)
{
    std::stable_sort(kept_, kept_ + keptCount_, [](const Finding &a, const Finding &b) { return a.line < b.line; });
    for (int i = 0; i < keptCount_; ++i) {
        const Finding &finding = kept_[i];
        std::fputs(prefix, out);
        if (finding.subject[0] != '\0')
            std::fprintf(out, "%s%s", endsInSeparator(prefix, leadBytes) ? "" : "\\", finding.subject);
        if (finding.line > 0)
            std::fprintf(out, ":%d", finding.line);
        std::fprintf(out, ": %s%s\n", finding.warning ? "warning: " : "", finding.text);
    }
    const int unshown = problems_ + warnings_ - keptCount_;
    if (unshown > 0)
        std::fprintf(out, "%s: %d further findings not shown\n", prefix, unshown);
}
