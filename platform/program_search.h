#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Where a command interpreter finds the program a command names. The report command reaches
// lanacfg through the interpreter; the renumbering command is started directly and must find
// its program by the same rule, or the two could run different lanacfgs.

// The POSIX shell's rule: a name holding "/" as it stands; otherwise the first entry of
// `path` (":"-separated, an empty entry meaning the current folder) where it is an
// executable file. A null `path` is the shell's default search path.
std::optional<std::string>
findProgramLikeSh(std::string_view name, const char* path,
                  const std::function<bool(const std::string&)>& isExecutableFile);

// PATH's entries as cmd.exe reads them: a ';' between double quotes belongs to the entry, and
// one quote at each end of an entry is dropped. Empty entries are kept.
std::vector<std::wstring> cmdPathEntries(std::wstring_view path);

// cmd.exe's rule: the current folder first, then each entry of `path` (";"-separated except
// between double quotes, one quote at each end of an entry dropped, empty entries skipped);
// in each folder the name with every extension of `pathext` in turn (".bat;.com;.cmd;.exe"
// when empty, as cmd.exe under wine), after the name as it stands if it has an extension
// already. A name with a folder or drive in it is looked for only there.
std::optional<std::wstring>
findProgramLikeCmd(std::wstring_view name, std::wstring_view currentFolder, std::wstring_view path,
                   std::wstring_view pathext,
                   const std::function<bool(const std::wstring&)>& isFile);

// Whether cmd.exe can work in `folder`, a full path, as its current folder: not in one that
// begins with two separators (a UNC path, \\server\share\... or \\?\UNC\..., or a device
// path), where it says it cannot and works in the Windows folder instead.
bool cmdCanWorkIn(std::wstring_view folder);

} // namespace quorvel
