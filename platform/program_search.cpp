#include "program_search.h"

#include <vector>

namespace quorvel {

namespace {

// dash's search path when PATH is not set at all.
constexpr const char* kShellDefaultPath =
    "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
// cmd.exe's own order when PATHEXT is missing or empty, as cmd.exe under wine tries them.
constexpr std::wstring_view kCmdDefaultPathext = L".bat;.com;.cmd;.exe";

template <typename Char>
std::vector<std::basic_string_view<Char>> splitAt(std::basic_string_view<Char> text, Char separator)
{
    std::vector<std::basic_string_view<Char>> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::basic_string_view<Char>::npos)
            return parts;
        start = end + 1;
    }
}

bool hasExtension(std::wstring_view name)
{
    const std::size_t dot = name.rfind(L'.');
    return dot != std::wstring_view::npos &&
           name.find_first_of(L"\\/", dot) == std::wstring_view::npos;
}

std::optional<std::wstring> findInFolder(const std::wstring& folder, std::wstring_view name,
                                         const std::vector<std::wstring_view>& extensions,
                                         const std::function<bool(const std::wstring&)>& isFile)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/' && base.back() != L':')
        base += L'\\';
    base += name;
    if (hasExtension(name) && isFile(base))
        return base;
    for (const std::wstring_view extension : extensions) {
        if (extension.empty())
            continue;
        std::wstring candidate = base;
        candidate += extension;
        if (isFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace

std::vector<std::wstring> cmdPathEntries(std::wstring_view path)
{
    std::vector<std::wstring> entries(1);
    bool inQuotes = false;
    for (const wchar_t c : path) {
        if (c == L';' && !inQuotes) {
            entries.emplace_back();
            continue;
        }
        if (c == L'"')
            inQuotes = !inQuotes;
        entries.back() += c;
    }
    for (std::wstring& entry : entries) {
        if (!entry.empty() && entry.back() == L'"')
            entry.pop_back();
        if (!entry.empty() && entry.front() == L'"')
            entry.erase(0, 1);
    }
    return entries;
}

std::optional<std::string>
findProgramLikeSh(std::string_view name, const char* path,
                  const std::function<bool(const std::string&)>& isExecutableFile)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string_view::npos)
        return std::string(name);
    for (const std::string_view entry :
         splitAt(std::string_view(path ? path : kShellDefaultPath), ':')) {
        std::string candidate = entry.empty() ? std::string(".") : std::string(entry);
        candidate += '/';
        candidate += name;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::wstring>
findProgramLikeCmd(std::wstring_view name, std::wstring_view currentFolder, std::wstring_view path,
                   std::wstring_view pathext,
                   const std::function<bool(const std::wstring&)>& isFile)
{
    if (name.empty())
        return std::nullopt;
    const auto extensions = splitAt(pathext.empty() ? kCmdDefaultPathext : pathext, L';');
    if (name.find_first_of(L"\\/:") != std::wstring_view::npos)
        return findInFolder(std::wstring(), name, extensions, isFile);

    if (auto found = findInFolder(std::wstring(currentFolder), name, extensions, isFile))
        return found;
    for (const std::wstring& folder : cmdPathEntries(path)) {
        if (folder.empty())
            continue;
        if (auto found = findInFolder(folder, name, extensions, isFile))
            return found;
    }
    return std::nullopt;
}

bool cmdCanWorkIn(std::wstring_view folder)
{
    const auto separator = [folder](std::size_t at) {
        return at < folder.size() && (folder[at] == L'\\' || folder[at] == L'/');
    };
    return !(separator(0) && separator(1));
}

} // namespace quorvel
