// KestrelDriver: looks at and drives a running Kestrel.exe from another process,
// for the end-to-end tests. Every answer is one line of JSON on standard output
// (UTF-8).
//
// Run with a request as arguments, it answers that one and exits with 0 when
// the request could be carried out, 1 when the window or control it needs is
// not there, 2 for a usage error. Run without arguments, it first prints
// {"ready":true}, then reads requests from standard input, one a line with
// its words separated by tabs, and answers each at once, until the input ends:
// a test keeps one driver for its whole length instead of starting a Wine
// process per look. There an answer {"ok":false,...} stands for exit code 1 and
// {"ok":false,"usage":...} for exit code 2.
//
//   state              main window, list, status panes, buttons, open dialogs (the About box
//                      with its children's window texts and the one with the focus)
//   command ID         posts WM_COMMAND ID to the main window
//   click LABEL        clicks the bar button with this label ("&" optional)
//   box-ok             closes the first open message box with IDOK
//   about-ok           clicks the About box's Ok button
//   about-close        closes the About box through its close box (SC_CLOSE)
//   close              posts WM_CLOSE to the main window
//   resize W H         gives the main window a new outer size
//   close-box          closes the main window as its close box does (SC_CLOSE)
//   memory             private bytes and working set of the Kestrel process
//   modules            the files of the modules loaded in the Kestrel process
//   resources EXE      the resources of a program file, read as data
//   start EXE          starts the program and times its start-up (see startProgram)
//   access-list FILE   the users a file's access list allows and denies
#include <windows.h>
#include <psapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::string ansiToUtf8(const char *text)
{
    int size = MultiByteToWideChar(1252, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1)
        MultiByteToWideChar(1252, 0, text, -1, &wide[0], size);
    return utf8(wide);
}

std::string quoted(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

// Window text through WM_GETTEXT, which Wine marshals between processes.
std::wstring windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return std::wstring(buffer.data());
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND mainWindow() { return FindWindowA("MainClass", nullptr); }

DWORD processOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

struct Children {
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM param)
{
    reinterpret_cast<Children *>(param)->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> descendants(HWND parent)
{
    Children children;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&children));
    return children.windows;
}

// Visible dialog windows (#32770) of the process: message boxes and the About box.
std::vector<HWND> dialogsOf(DWORD process)
{
    Children top;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&top));
    std::vector<HWND> dialogs;
    for (HWND window : top.windows)
        if (processOf(window) == process && IsWindowVisible(window) && className(window) == L"#32770")
            dialogs.push_back(window);
    return dialogs;
}

bool isAboutBox(HWND dialog) { return GetDlgItem(dialog, 1000) != nullptr; }

HWND findAboutBox(DWORD process)
{
    for (HWND dialog : dialogsOf(process))
        if (isAboutBox(dialog))
            return dialog;
    return nullptr;
}

std::wstring withoutAmpersands(const std::wstring &label)
{
    std::wstring out;
    for (wchar_t c : label)
        if (c != L'&')
            out += c;
    return out;
}

// Status bar texts are not marshalled: the buffer must live in Kestrel's memory.
std::string statusPane(HWND statusBar, int pane)
{
    DWORD process = processOf(statusBar);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                    PROCESS_QUERY_INFORMATION, FALSE, process);
    if (!target)
        return {};
    const SIZE_T size = 1024;
    char local[size] = {};
    void *remote = VirtualAllocEx(target, nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        WriteProcessMemory(target, remote, local, size, nullptr);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(statusBar, WM_USER + 2 /* SB_GETTEXTA */, pane,
                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &result);
        ReadProcessMemory(target, remote, local, size - 1, nullptr);
        VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    }
    CloseHandle(target);
    local[size - 1] = '\0';
    return ansiToUtf8(local);
}

std::string listLines(HWND list)
{
    std::string out = "[";
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0)
            length = 0;
        // Wine marshals LB_GETTEXT in its wide form only.
        std::vector<wchar_t> buffer(length + 2, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        out += (i ? "," : "") + quoted(utf8(buffer.data()));
    }
    return out + "]";
}

std::string rectJson(const RECT &r)
{
    char text[128];
    std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

// The About box's children as a screen reader meets them: each one's
// identifier and window text, in the box's order, and which has the focus.
std::string aboutChildrenJson(HWND about)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(about, nullptr), &thread);
    std::string out = ",\"children\":[";
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out += out.back() == '[' ? "" : ",";
        out += "[" + std::to_string(GetDlgCtrlID(child)) + "," + quoted(utf8(windowText(child))) + "]";
    }
    const int focus = thread.hwndFocus && GetParent(thread.hwndFocus) == about ? GetDlgCtrlID(thread.hwndFocus) : 0;
    return out + "],\"focus\":" + std::to_string(focus);
}

std::string dialogsJson(DWORD process)
{
    std::string out = "[";
    bool first = true;
    for (HWND dialog : dialogsOf(process)) {
        // A message box shows its text in the static child 0xFFFF.
        HWND textChild = isAboutBox(dialog) ? nullptr : GetDlgItem(dialog, 0xFFFF);
        RECT rect{};
        GetWindowRect(dialog, &rect);
        out += first ? "" : ",";
        first = false;
        out += "{\"kind\":" + quoted(isAboutBox(dialog) ? "about" : "message") +
               ",\"caption\":" + quoted(utf8(windowText(dialog))) +
               ",\"text\":" + quoted(textChild ? utf8(windowText(textChild)) : "") +
               ",\"rect\":" + rectJson(rect) + (isAboutBox(dialog) ? aboutChildrenJson(dialog) : "") + "}";
    }
    return out + "]";
}

// The size the system gives a new overlapped window of default size, found
// by making (and at once destroying) such a window here.
std::string defaultWindowSize()
{
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    if (!probe)
        return "null";
    RECT rect{};
    GetWindowRect(probe, &rect);
    DestroyWindow(probe);
    return "[" + std::to_string(rect.right - rect.left) + "," + std::to_string(rect.bottom - rect.top) + "]";
}

int printState()
{
    HWND main = mainWindow();
    if (!main) {
        std::puts("{\"running\":false}");
        return 0;
    }
    // A look taken while Kestrel is still building its window could list its
    // children before the last were made and read the list after it was
    // filled; once its thread takes a message, the window is built.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    DWORD process = processOf(main);
    RECT window{}, client{};
    GetWindowRect(main, &window);
    GetClientRect(main, &client);

    std::vector<HWND> buttonWindows;
    HWND list = nullptr, status = nullptr, bar = nullptr;
    for (HWND child : descendants(main)) {
        std::wstring cls = className(child);
        if (lstrcmpiW(cls.c_str(), L"Button") == 0 && GetParent(child) != main)
            buttonWindows.push_back(child);
        else if (lstrcmpiW(cls.c_str(), L"BtnBarClass") == 0)
            bar = child;
        else if (lstrcmpiW(cls.c_str(), L"ListBox") == 0)
            list = child;
        else if (lstrcmpiW(cls.c_str(), L"msctls_statusbar32") == 0)
            status = child;
    }
    // A command running meanwhile goes on between the reads. They go against
    // the order in which a command ends (list, buttons, status, then a box),
    // so a look that sees one of these sees all that came before it.
    bool aboutOpen = findAboutBox(process) != nullptr;
    std::string dialogs = dialogsJson(process);
    std::string statusText =
        status ? "[" + quoted(statusPane(status, 0)) + "," + quoted(statusPane(status, 1)) + "]" : "null";
    std::string buttons = "[";
    for (HWND button : buttonWindows) {
        buttons += (buttons.size() > 1 ? "," : "");
        buttons += "{\"label\":" + quoted(utf8(windowText(button))) +
                   ",\"id\":" + std::to_string(GetDlgCtrlID(button)) +
                   ",\"enabled\":" + (IsWindowEnabled(button) ? "true" : "false") + "}";
    }
    buttons += "]";
    std::string lines = list ? listLines(list) : std::string("null");

    std::string out = "{\"running\":true,\"pid\":" + std::to_string(process);
    out += ",\"title\":" + quoted(utf8(windowText(main)));
    out += ",\"visible\":" + std::string(IsWindowVisible(main) ? "true" : "false");
    out += ",\"enabled\":" + std::string(IsWindowEnabled(main) ? "true" : "false");
    out += ",\"rect\":" + rectJson(window);
    out += ",\"client\":[" + std::to_string(client.right) + "," + std::to_string(client.bottom) + "]";
    out += ",\"screen\":[" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
           std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "]";
    out += ",\"fullScreen\":[" + std::to_string(GetSystemMetrics(SM_CXFULLSCREEN)) + "," +
           std::to_string(GetSystemMetrics(SM_CYFULLSCREEN)) + "]";
    out += ",\"defaultSize\":" + defaultWindowSize();
    out += ",\"list\":" + lines;
    if (list) {
        RECT listRect{};
        GetWindowRect(list, &listRect);
        out += ",\"listRect\":" + rectJson(listRect);
        out += ",\"itemHeight\":" + std::to_string(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    }
    // Child rectangles in the main window's client coordinates.
    for (auto [name, child] : {std::pair<const char *, HWND>{"barRect", bar}, {"listClient", list},
                               {"statusRect", status}}) {
        if (!child)
            continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT *>(&rect), 2);
        out += ",\"" + std::string(name) + "\":" + rectJson(rect);
    }
    out += ",\"status\":" + statusText;
    out += ",\"buttons\":" + buttons;
    out += ",\"about\":" + std::string(aboutOpen ? "true" : "false");
    out += ",\"dialogs\":" + dialogs + "}";
    std::puts(out.c_str());
    return 0;
}

int done(bool ok, const char *what)
{
    std::printf("{\"ok\":%s,\"what\":%s}\n", ok ? "true" : "false", quoted(what).c_str());
    return ok ? 0 : 1;
}

int postCommand(int id)
{
    HWND main = mainWindow();
    return done(main && PostMessageA(main, WM_COMMAND, id, 0), "command");
}

int clickButton(const char *label)
{
    HWND main = mainWindow();
    if (!main)
        return done(false, "no main window");
    int size = MultiByteToWideChar(CP_UTF8, 0, label, -1, nullptr, 0);
    std::wstring wanted(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, label, -1, &wanted[0], size);
    wanted.resize(size - 1);
    for (HWND child : descendants(main)) {
        if (lstrcmpiW(className(child).c_str(), L"Button") != 0)
            continue;
        std::wstring text = windowText(child);
        if (text == wanted || withoutAmpersands(text) == withoutAmpersands(wanted))
            return done(PostMessageA(child, BM_CLICK, 0, 0) != 0, "click");
    }
    return done(false, "no such button");
}

int closeMessageBox()
{
    HWND main = mainWindow();
    if (!main)
        return done(false, "no main window");
    for (HWND dialog : dialogsOf(processOf(main)))
        if (!isAboutBox(dialog))
            return done(PostMessageA(dialog, WM_COMMAND, IDOK, 0) != 0, "box-ok");
    return done(false, "no message box");
}

int aboutAction(bool viaCloseBox)
{
    HWND main = mainWindow();
    HWND about = main ? findAboutBox(processOf(main)) : nullptr;
    if (!about)
        return done(false, "no About box");
    if (viaCloseBox)
        return done(PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0) != 0, "about-close");
    HWND ok = GetDlgItem(about, 2);
    return done(ok && PostMessageA(ok, BM_CLICK, 0, 0), "about-ok");
}

// Opens the running Kestrel's process for reading its figures; null on
// success, else why it could not.
const char *openKestrelProcess(HANDLE &process)
{
    HWND main = mainWindow();
    if (!main)
        return "no main window";
    process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processOf(main));
    return process ? nullptr : "cannot open process";
}

int printMemory()
{
    HANDLE process = nullptr;
    if (const char *why = openKestrelProcess(process))
        return done(false, why);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                                   sizeof counters);
    CloseHandle(process);
    if (!ok)
        return done(false, "GetProcessMemoryInfo failed");
    std::printf("{\"privateUsage\":%llu,\"workingSet\":%llu,\"pagefileUsage\":%llu}\n",
                (unsigned long long)counters.PrivateUsage, (unsigned long long)counters.WorkingSetSize,
                (unsigned long long)counters.PagefileUsage);
    return 0;
}

// The file of every module Kestrel has loaded.
int printModules()
{
    HANDLE process = nullptr;
    if (const char *why = openKestrelProcess(process))
        return done(false, why);
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed);
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    std::string out = "{\"modules\":[";
    for (std::size_t i = 0; i < modules.size(); ++i) {
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(process, modules[i], path, sizeof path);
        out += (i ? "," : "") + quoted(ansiToUtf8(path));
    }
    CloseHandle(process);
    std::puts((out + "]}").c_str());
    return 0;
}

std::string versionString(const std::vector<char> &block, const char *name)
{
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    char *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length) || !value)
        return {};
    return ansiToUtf8(value);
}

std::string versionJson(const char *path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!size)
        return "null";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data()))
        return "null";
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length);
    WORD *translation = nullptr;
    VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation), &length);
    char text[160];
    std::snprintf(text, sizeof text, "{\"fileVersion\":[%u,%u,%u,%u],\"productVersion\":[%u,%u,%u,%u]",
                  HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                  HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                  HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    std::string out = text;
    std::snprintf(text, sizeof text, ",\"translation\":[%u,%u]", translation ? translation[0] : 0,
                  translation ? translation[1] : 0);
    out += text;
    for (const char *name : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                             "OriginalFilename", "ProductName", "ProductVersion"})
        out += std::string(",") + quoted(name) + ":" + quoted(versionString(block, name));
    return out + "}";
}

const BYTE *resourceData(HMODULE module, int id, LPCSTR type, DWORD *size)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
}

int printResources(const char *path)
{
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return done(false, "cannot load program file");
    std::string out = "{\"version\":" + versionJson(path);
    DWORD size = 0;
    char text[256];

    // Icon group 101: count, then each image's width, height, colour count, bits.
    if (const BYTE *group = resourceData(module, 101, RT_GROUP_ICON, &size)) {
        WORD count = *reinterpret_cast<const WORD *>(group + 4);
        out += ",\"icon\":[";
        for (WORD i = 0; i < count; ++i) {
            const BYTE *entry = group + 6 + 14 * i;
            std::snprintf(text, sizeof text, "%s{\"width\":%u,\"height\":%u,\"colours\":%u,\"bits\":%u}",
                          i ? "," : "", entry[0], entry[1], entry[2], *reinterpret_cast<const WORD *>(entry + 6));
            out += text;
        }
        out += "]";
    }
    // Cursor group 1002, and the hot spot stored at the head of the cursor image.
    if (const BYTE *group = resourceData(module, 1002, RT_GROUP_CURSOR, &size)) {
        const BYTE *entry = group + 6;
        WORD width = *reinterpret_cast<const WORD *>(entry);
        WORD height = *reinterpret_cast<const WORD *>(entry + 2);
        WORD bits = *reinterpret_cast<const WORD *>(entry + 6);
        WORD imageId = *reinterpret_cast<const WORD *>(entry + 12);
        DWORD imageSize = 0;
        const BYTE *image = resourceData(module, imageId, RT_CURSOR, &imageSize);
        std::snprintf(text, sizeof text, ",\"cursor\":{\"width\":%u,\"height\":%u,\"bits\":%u,\"hotSpot\":[%d,%d]}",
                      width, height, bits, image ? *reinterpret_cast<const WORD *>(image) : -1,
                      image ? *reinterpret_cast<const WORD *>(image + 2) : -1);
        out += text;
    }
    if (const BYTE *bitmap = resourceData(module, 111, RT_BITMAP, &size)) {
        const auto *info = reinterpret_cast<const BITMAPINFOHEADER *>(bitmap);
        std::snprintf(text, sizeof text, ",\"bitmap\":{\"width\":%ld,\"height\":%ld,\"bits\":%u}",
                      info->biWidth, info->biHeight, info->biBitCount);
        out += text;
    }
    if (const BYTE *table = resourceData(module, 103, RT_ACCELERATOR, &size)) {
        out += ",\"accelerators\":[";
        for (DWORD offset = 0; offset + 8 <= size; offset += 8) {
            const BYTE *entry = table + offset;
            std::snprintf(text, sizeof text, "%s{\"flags\":%u,\"key\":%u,\"command\":%u}", offset ? "," : "",
                          entry[0] & 0x7F, *reinterpret_cast<const WORD *>(entry + 2),
                          *reinterpret_cast<const WORD *>(entry + 4));
            out += text;
        }
        out += "]";
    }
    if (const BYTE *dialog = resourceData(module, 104, RT_DIALOG, &size)) {
        const auto *head = reinterpret_cast<const DLGTEMPLATE *>(dialog);
        std::snprintf(text, sizeof text,
                      ",\"dialog\":{\"style\":%lu,\"exStyle\":%lu,\"controls\":%u,\"x\":%d,\"y\":%d,\"cx\":%d,\"cy\":%d}",
                      head->style, head->dwExtendedStyle, head->cdit, head->x, head->y, head->cx, head->cy);
        out += text;
    }
    // The application manifest: resource 1 of type 24, XML text.
    if (const BYTE *manifest = resourceData(module, 1, RT_MANIFEST, &size))
        out += ",\"manifest\":" + quoted(std::string(reinterpret_cast<const char *>(manifest), size));
    out += ",\"strings\":{";
    for (int id = 5101; id <= 5105; ++id) {
        char value[256] = {};
        LoadStringA(module, id, value, sizeof value);
        out += (id > 5101 ? "," : "") + quoted(std::to_string(id)) + ":" + quoted(ansiToUtf8(value));
    }
    out += "}}";
    FreeLibrary(module);
    std::puts(out.c_str());
    return 0;
}

std::string sidText(PSID sid)
{
    char *text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return "?";
    std::string out = text;
    LocalFree(text);
    return out;
}

// Who a file's access list allows and denies, as SID texts, and the SID of
// the account this driver runs as. A file without a list is open to
// everyone, so it reports Everyone (S-1-1-0) as allowed.
int printAccessList(const char *path)
{
    DWORD size = 0;
    GetFileSecurityA(path, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size ? size : 1);
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    if (!size || !GetFileSecurityA(path, DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted))
        return done(false, "cannot read the access list");
    std::string allowed, denied;
    if (!present || !list)
        allowed = quoted("S-1-1-0");
    for (DWORD i = 0; present && list && i < list->AceCount; ++i) {
        void *entry = nullptr;
        if (!GetAce(list, i, &entry))
            continue;
        const BYTE type = static_cast<ACE_HEADER *>(entry)->AceType;
        // Allowed and denied entries share their layout up to the SID.
        std::string sid = quoted(sidText(&static_cast<ACCESS_ALLOWED_ACE *>(entry)->SidStart));
        if (type == ACCESS_ALLOWED_ACE_TYPE)
            allowed += (allowed.empty() ? "" : ",") + sid;
        else if (type == ACCESS_DENIED_ACE_TYPE)
            denied += (denied.empty() ? "" : ",") + sid;
    }
    HANDLE token = nullptr;
    std::string user = "?";
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        std::vector<BYTE> buffer(256);
        DWORD length = 0;
        if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &length))
            user = sidText(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid);
        CloseHandle(token);
    }
    std::printf("{\"user\":%s,\"allowed\":[%s],\"denied\":[%s]}\n", quoted(user).c_str(), allowed.c_str(),
                denied.c_str());
    return 0;
}

// Whether the main window of process is up as a person sees it at start: shown,
// with the list holding its two information lines.
bool showsItsTwoLines(DWORD process)
{
    HWND main = mainWindow();
    if (!main || processOf(main) != process || !IsWindowVisible(main))
        return false;
    for (HWND child : descendants(main)) {
        DWORD_PTR lines = 0;
        if (lstrcmpiW(className(child).c_str(), L"ListBox") == 0 && IsWindowVisible(child) &&
            SendMessageTimeoutW(child, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &lines) && lines >= 2)
            return true;
    }
    return false;
}

// Starts the program and measures its start-up from outside, as a person
// would: from CreateProcess to its window showing its two lines, polled every
// millisecond. The program keeps running.
int startProgram(const char *program)
{
    LARGE_INTEGER frequency, started, shown;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    std::string commandLine = std::string("\"") + program + "\"";
    QueryPerformanceCounter(&started);
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created))
        return done(false, "CreateProcess failed");
    CloseHandle(created.hThread);
    const ULONGLONG deadline = GetTickCount64() + 60000;
    bool up = false;
    while (!(up = showsItsTwoLines(created.dwProcessId))) {
        if (WaitForSingleObject(created.hProcess, 1) != WAIT_TIMEOUT || GetTickCount64() > deadline)
            break;
    }
    QueryPerformanceCounter(&shown);
    CloseHandle(created.hProcess);
    if (!up)
        return done(false, "the main window did not show its two lines");
    std::printf("{\"pid\":%lu,\"startupMs\":%.1f}\n", created.dwProcessId,
                (shown.QuadPart - started.QuadPart) * 1000.0 / frequency.QuadPart);
    return 0;
}

const char usageText[] = "usage: KestrelDriver state | command ID | click LABEL | box-ok | about-ok |"
                         " about-close | close | close-box | resize W H | memory | modules | resources EXE |"
                         " start EXE | access-list FILE";

int usage(bool serving)
{
    if (serving)
        std::printf("{\"ok\":false,\"usage\":%s}\n", quoted(usageText).c_str());
    else
        std::fprintf(stderr, "%s\n", usageText);
    return 2;
}

// Carries out one request (argv[0] is the verb); its exit code.
int answer(int argc, char **argv, bool serving)
{
    if (argc < 1)
        return usage(serving);
    std::string verb = argv[0];
    if (verb == "state" && argc == 1)
        return printState();
    if (verb == "command" && argc == 2)
        return postCommand(std::atoi(argv[1]));
    if (verb == "click" && argc == 2)
        return clickButton(argv[1]);
    if (verb == "box-ok" && argc == 1)
        return closeMessageBox();
    if (verb == "about-ok" && argc == 1)
        return aboutAction(false);
    if (verb == "about-close" && argc == 1)
        return aboutAction(true);
    if (verb == "close" && argc == 1) {
        HWND main = mainWindow();
        return done(main && PostMessageA(main, WM_CLOSE, 0, 0), "close");
    }
    if (verb == "close-box" && argc == 1) {
        HWND main = mainWindow();
        return done(main && PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0), "close-box");
    }
    if (verb == "resize" && argc == 3) {
        HWND main = mainWindow();
        return done(main && SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[1]), std::atoi(argv[2]),
                                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
                    "resize");
    }
    if (verb == "memory" && argc == 1)
        return printMemory();
    if (verb == "modules" && argc == 1)
        return printModules();
    if (verb == "resources" && argc == 2)
        return printResources(argv[1]);
    if (verb == "start" && argc == 2)
        return startProgram(argv[1]);
    if (verb == "access-list" && argc == 2)
        return printAccessList(argv[1]);
    return usage(serving);
}

// Answers the requests of standard input, one a line, words separated by tabs.
int serve()
{
    std::puts("{\"ready\":true}");
    std::fflush(stdout);
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c != '\n') {
            line += char(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> words;
        std::string::size_type start = 0;
        for (std::string::size_type tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            words.push_back(line.substr(start, tab - start));
        words.push_back(line.substr(start));
        std::vector<char *> args;
        for (std::string &word : words)
            args.push_back(&word[0]);
        answer(int(args.size()), args.data(), true);
        std::fflush(stdout);
        line.clear();
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return serve();
    return answer(argc - 1, argv + 1, false);
}
