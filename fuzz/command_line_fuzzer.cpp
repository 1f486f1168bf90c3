#include "inventory/ascii_text.h"
#include "platform/command_line_words.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

// The quoting a Windows program uses to pass any word through the runtime's rules intact;
// it is written independently of the splitter so that the round trip tests the splitter.
std::string quoted(std::string_view word)
{
    if (!word.empty() && word.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(word);
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote, and the quote itself, are escaped; elsewhere they are
        // literal.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        out += c;
        backslashes = 0;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), quorvel::asciiLower);
    return text;
}

bool isSeparator(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> words = quorvel::splitWindowsCommandLine(line);
    std::string rejoined;
    for (const std::string& word : words) {
        if (!rejoined.empty())
            rejoined += ' ';
        rejoined += quoted(word);
    }
    check(quorvel::splitWindowsCommandLine(rejoined) == words,
          "quoting the words and splitting again gives the same words");

    if (const auto rest = quorvel::interpreterCommand(line)) {
        check(line.ends_with(*rest), "the interpreter command is the end of the line");
        check(rest->empty() || !isSeparator(rest->front()),
              "the interpreter command starts past the separators");
        check(words.size() >= 2 && lowerCase(words[0]) == "cmd" && lowerCase(words[1]) == "/c",
              "a cmd /c line splits into cmd and /c first");
    }

    std::string_view unindented = line;
    while (!unindented.empty() && isSeparator(unindented.front()))
        unindented.remove_prefix(1);
    const auto wrapped = quorvel::interpreterCommand("CMD /c " + std::string(line));
    check(wrapped && *wrapped == unindented, "any text after cmd /c comes back whole");
    return 0;
}
