#include "command_line_words.h"

#include "inventory/ascii_text.h"

#include <algorithm>
#include <cstddef>

namespace quorvel {

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t';
}

// ASCII-only folding: the locale must not decide whether a byte reads as "cmd".
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

std::size_t skipSeparators(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isSeparator(text[pos]))
        ++pos;
    return pos;
}

// Backslashes are literal unless a quote follows them: then each pair of them is one
// backslash, and an odd one left over escapes the quote. Returns the position past the run.
std::size_t appendBackslashRun(std::string_view text, std::size_t pos, std::string& word)
{
    const std::size_t runEnd = std::min(text.find_first_not_of('\\', pos), text.size());
    const std::size_t run = runEnd - pos;
    if (runEnd == text.size() || text[runEnd] != '"') {
        word.append(run, '\\');
        return runEnd;
    }
    word.append(run / 2, '\\');
    if (run % 2 == 0)
        return runEnd; // the quote is left for the quote rules
    word += '"';
    return runEnd + 1;
}

} // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine)
{
    std::vector<std::string> words;
    std::string word;
    // A quote makes a word even when nothing else lands in it: "" is an empty argument.
    bool inWord = false;
    bool quoted = false;
    std::size_t pos = 0;
    const std::size_t end = commandLine.size();

    while (pos < end) {
        const char c = commandLine[pos];
        if (c == '\\') {
            pos = appendBackslashRun(commandLine, pos, word);
            inWord = true;
        } else if (c == '"') {
            inWord = true;
            if (quoted && pos + 1 < end && commandLine[pos + 1] == '"') {
                word += '"';
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
        } else if (!quoted && isSeparator(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++pos;
        } else {
            word += c;
            inWord = true;
            ++pos;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string commandLineForMessages(std::string_view commandLine)
{
    std::string shown;
    shown.reserve(commandLine.size());
    for (const char c : commandLine) {
        if (c == '\0')
            shown += "<NUL>";
        else
            shown += c;
    }
    return shown;
}

std::optional<std::string> interpreterCommand(std::string_view commandLine)
{
    std::size_t pos = skipSeparators(commandLine, 0);
    if (!startsWithIgnoringCase(commandLine.substr(pos), "cmd"))
        return std::nullopt;
    pos += 3;
    if (pos == commandLine.size() || !isSeparator(commandLine[pos]))
        return std::nullopt;
    pos = skipSeparators(commandLine, pos);
    if (!startsWithIgnoringCase(commandLine.substr(pos), "/c"))
        return std::nullopt;
    pos += 2;
    // "/c" must stand alone: "/cx" is some other switch.
    if (pos < commandLine.size() && !isSeparator(commandLine[pos]))
        return std::nullopt;
    pos = skipSeparators(commandLine, pos);
    return std::string(commandLine.substr(pos));
}

} // namespace quorvel
