// Times the program finder against a bare walker over the same folder tree,
// in one process under the same conditions, taking turns subtree by subtree,
// and reports the process's peak memory. Run by tools/bench/scan-bench.sh;
// not a test.
//
//   scan_bench.exe <root> [rounds]
//
// The finder runs as in the program: a real window with the sorted list and
// the status bar, a catalogue of a few entries, messages pumped as the
// program pumps them. Two bare walkers are the references: one makes two directory reads
// per folder ("*.exe" for files, "*" for subfolders), the other one read ("*")
// from which it counts the names ending in ".exe" and enters the subfolders
// at once, and neither does anything else.
#include "app/ScanCommand.h"
#include "app/WindowParts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ProgramFinder.h"
#include "toolkit/ProgramListBox.h"
#include "toolkit/StatusBar.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct WalkCounts {
    long folders = 0;
    long files = 0;
};

void bareWalk(char *folder, std::size_t length, int depth, WalkCounts &counts)
{
    ++counts.folders;
    WIN32_FIND_DATAA found;
    char pattern[300];
    std::snprintf(pattern, sizeof pattern, "%s%s", folder, ScanCommand::ProgramPattern);
    HANDLE files = FindFirstFileA(pattern, &found);
    if (files != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++counts.files;
        } while (FindNextFileA(files, &found));
        FindClose(files);
    }
    std::snprintf(pattern, sizeof pattern, "%s*", folder);
    HANDLE subfolders = FindFirstFileA(pattern, &found);
    if (subfolders == INVALID_HANDLE_VALUE)
        return;
    do {
        std::size_t nameLength = std::strlen(found.cFileName);
        if (depth < ScanCommand::SearchDepth && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && found.cFileName[0] != '.' && !(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM)
            && length + nameLength + 1 < 260) {
            std::memcpy(folder + length, found.cFileName, nameLength);
            folder[length + nameLength] = '\\';
            folder[length + nameLength + 1] = '\0';
            bareWalk(folder, length + nameLength + 1, depth + 1, counts);
            folder[length] = '\0';
        }
    } while (FindNextFileA(subfolders, &found));
    FindClose(subfolders);
}

bool endsInExe(const char *name, std::size_t length)
{
    if (length < 4 || name[length - 4] != '.')
        return false;
    const char *wanted = "exe";
    for (int i = 0; i < 3; ++i) {
        char c = name[length - 3 + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != wanted[i])
            return false;
    }
    return true;
}

void oneReadWalk(char *folder, std::size_t length, int depth, WalkCounts &counts)
{
    ++counts.folders;
    WIN32_FIND_DATAA found;
    folder[length] = '*';
    folder[length + 1] = '\0';
    HANDLE listing = FindFirstFileA(folder, &found);
    folder[length] = '\0';
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        std::size_t nameLength = std::strlen(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            counts.files += endsInExe(found.cFileName, nameLength);
        } else if (depth < ScanCommand::SearchDepth && found.cFileName[0] != '.'
                   && !(found.dwFileAttributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT))
                   && length + nameLength + 1 < 259) {
            std::memcpy(folder + length, found.cFileName, nameLength);
            folder[length + nameLength] = '\\';
            folder[length + nameLength + 1] = '\0';
            oneReadWalk(folder, length + nameLength + 1, depth + 1, counts);
            folder[length] = '\0';
        }
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

double seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

double timeBareWalk(void (*walk)(char *, std::size_t, int, WalkCounts &), const char *root, WalkCounts &counts)
{
    char folder[260];
    std::snprintf(folder, sizeof folder, "%s", root);
    counts = WalkCounts();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    walk(folder, std::strlen(folder), 0, counts);
    QueryPerformanceCounter(&end);
    return seconds(start, end);
}

double timeSearch(FileFinder &finder, const char *root)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    finder.search(root, ScanCommand::ProgramPattern, ScanCommand::SearchDepth, 0);
    QueryPerformanceCounter(&end);
    return seconds(start, end);
}

void setEntry(CatalogueEntry &entry, const char *name)
{
    std::snprintf(entry.fileName, sizeof entry.fileName, "%s", name);
    entry.version[0] = 1;
    entry.version[1] = 2;
    entry.version[2] = 0;
    entry.version[3] = 7;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: scan_bench <root ending in \\> [rounds]\n");
        return 2;
    }
    const char *root = argv[1];
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ScanBench";
    RegisterClassA(&windowClass);

    WindowObject window;
    window.handle = CreateWindowExA(0, windowClass.lpszClassName, "Kestrel scan bench", WS_OVERLAPPEDWINDOW,
                                    0, 0, 640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
    ProgramListBox list;
    StatusBar statusBar;
    addStatusPanes(statusBar);
    if (!window.handle || !list.create(window.handle, 0, "", 0, 0, 632, 400) || !statusBar.createStatus(window.handle)) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    RECT client;
    GetClientRect(window.handle, &client);
    statusBar.onParentSize(SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ShowWindow(window.handle, SW_SHOW);
    UpdateWindow(window.handle);

    Catalogue catalogue(window);
    catalogue.allocateEntries();
    const char *names[] = {"Sample.exe", "Tool.exe", "Viewer.exe", "Setup.exe", "Notes.exe"};
    for (const char *name : names)
        setEntry(catalogue.entries[catalogue.entryCount++], name);
    ProgramFinder finder;
    finder.attach(catalogue, list, statusBar);

    // The walk alone, without the program's hooks, shows what the finder's
    // own bookkeeping costs apart from the message pump and the status bar.
    FileFinder walkOnly;

    // Other work on the machine changes the speed of a walk by tens of per
    // cent from one minute to the next, so the contenders take turns on each
    // subtree of the root in rotating order instead of each walking the whole
    // tree in one piece.
    std::vector<std::string> subtrees;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((std::string(root) + "*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                subtrees.push_back(std::string(root) + found.cFileName + "\\");
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }

    // A first walk fills the host's directory caches for every contender.
    WalkCounts counts;
    timeBareWalk(bareWalk, root, counts);
    WalkCounts oneReadCounts;
    timeBareWalk(oneReadWalk, root, oneReadCounts);
    if (oneReadCounts.folders != counts.folders || oneReadCounts.files != counts.files) {
        std::fprintf(stderr, "the bare walkers disagree: %ld/%ld folders, %ld/%ld files\n", counts.folders,
                     oneReadCounts.folders, counts.files, oneReadCounts.files);
        return 1;
    }

    // Contenders: 0 the two-read bare walker, 1 the one-read bare walker,
    // 2 the walk without hooks, 3 the program finder.
    constexpr int Contenders = 4;
    auto printTimes = [](const char *what, const double *times) {
        std::printf("%s: two-read walker %.2f s, one-read walker %.2f s, walk without hooks %.2f s, "
                    "program finder %.2f s; finder / two-read %.3f, finder / one-read %.3f\n",
                    what, times[0], times[1], times[2], times[3], times[3] / times[0], times[3] / times[1]);
    };
    double totals[Contenders] = {};
    for (int round = 0; round < rounds; ++round) {
        double times[Contenders] = {};
        for (std::size_t i = 0; i < subtrees.size(); ++i) {
            for (int turn = 0; turn < Contenders; ++turn) {
                int contender = (turn + static_cast<int>(i) + round) % Contenders;
                const char *subtree = subtrees[i].c_str();
                WalkCounts subtreeCounts;
                times[contender] += contender == 0 ? timeBareWalk(bareWalk, subtree, subtreeCounts)
                                  : contender == 1 ? timeBareWalk(oneReadWalk, subtree, subtreeCounts)
                                  : contender == 2 ? timeSearch(walkOnly, subtree)
                                                   : timeSearch(finder, subtree);
            }
        }
        char what[32];
        std::snprintf(what, sizeof what, "round %d", round + 1);
        printTimes(what, times);
        for (int contender = 0; contender < Contenders; ++contender)
            totals[contender] += times[contender];
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("tree: %ld folders, %ld *.exe files, %d subtrees taken in turns; listed per round: %ld\n",
                counts.folders, counts.files, static_cast<int>(subtrees.size()),
                static_cast<long>(SendMessageA(list.handle, LB_GETCOUNT, 0, 0)) / rounds);
    printTimes("all rounds", totals);
    std::printf("peak working set %.1f MiB, peak private bytes %.1f MiB\n",
                memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
    std::fflush(stdout);
    catalogue.freeEntries();
    DestroyWindow(window.handle);
    return 0;
}
