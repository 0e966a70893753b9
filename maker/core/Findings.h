#pragma once
#include "toolkit/core/LeadBytes.h"
#include <cstdarg>
#include <cstdio>

// The problems and warnings one command finds, printed in the form editors
// and CI logs point at: "FILE:LINE: text", "FILE: text" for what belongs to
// no line, "FOLDER\Name.exe: text" for a program of a folder. Warnings carry
// "warning: " before their text and do not count as problems.
class Findings {
public:
    static constexpr int MaxKept = 1000;
    static constexpr int TextSize = 200;
    static constexpr int SubjectSize = 64;

    // line 0: the finding belongs to no line.
    void problem(int line, const char *format, ...) __attribute__((format(printf, 3, 4)));
    void warning(int line, const char *format, ...) __attribute__((format(printf, 3, 4)));
    // A finding about the program file subject inside the folder printed.
    void programProblem(const char *subject, const char *format, ...) __attribute__((format(printf, 3, 4)));

    int problems() const { return problems_; }
    int warnings() const { return warnings_; }

    // Writes the findings kept, ordered by line (those of no line first,
    // otherwise in the order found), each after the prefix: the file or
    // folder name, split by leadBytes. Findings beyond MaxKept are counted,
    // not printed.
    void print(std::FILE *out, const char *prefix, const LeadBytes &leadBytes);

private:
    struct Finding {
        int line;
        bool warning;
        char subject[SubjectSize];
        char text[TextSize];
    };
    Finding *add(int line, bool warning, const char *subject);
    void keep(int line, bool warning, const char *subject, const char *format, std::va_list arguments);

    Finding kept_[MaxKept];
    int keptCount_ = 0;
    int problems_ = 0;
    int warnings_ = 0;
};
