#pragma once
#include <windows.h>

#include "tests/harness/TestFiles.h"

#include <sstream>
#include <string>

// The folder the loopback maker's server serves, seen as drive W:
// (tests/harness/maker-server.sh, wine-run.sh). The program's real address
// reaches it through the proxy setting.
namespace maker {

inline const char *const FolderUrl = "http://updates.corvel.example/Utils/";

inline bool available()
{
    return GetFileAttributesA("W:\\") != INVALID_FILE_ATTRIBUTES;
}

inline bool exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Serves content as /Utils/name.
inline void serve(const std::string &name, const std::string &content)
{
    CreateDirectoryA("W:\\Utils", nullptr);
    writeFile("W:\\Utils\\" + name, content);
}

// Per-file misbehaviour, read by the server on every request.
inline void setBehaviour(const std::string &json)
{
    writeFile("W:\\behaviour.json", json);
}

inline std::string requestLog()
{
    return readFile("W:\\requests.log");
}

inline std::string lastRequestLine()
{
    std::string log = requestLog();
    if (!log.empty() && log.back() == '\n')
        log.pop_back();
    std::size_t newline = log.rfind('\n');
    return newline == std::string::npos ? log : log.substr(newline + 1);
}

// The request line and header lines of the last request, each ending in
// '\n'; the server's header log ends every request with an empty line.
inline std::string lastRequestHeaders()
{
    std::string log = readFile("W:\\headers.log");
    if (log.size() < 3)
        return "";
    std::size_t previousEnd = log.rfind("\n\n", log.size() - 3);
    std::size_t start = previousEnd == std::string::npos ? 0 : previousEnd + 2;
    return log.substr(start, log.size() - 1 - start);
}

inline std::string bytes(std::size_t count)
{
    std::string text(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<char>('A' + i % 23);
    return text;
}

} // namespace maker
