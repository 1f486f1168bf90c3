#include "platform/win32/ansi_text.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace {

using quorvel::ansiFromWide;
using quorvel::wideFromAnsi;

// A report's bytes go back into the renumbering command: lanacfg must receive them as they
// were, whatever they are.
TEST(AnsiText, EveryByteOfASingleByteCodePageComesBackUnchanged)
{
    CPINFO codePage{};
    ASSERT_NE(::GetCPInfo(CP_ACP, &codePage), 0);
    if (codePage.MaxCharSize != 1)
        GTEST_SKIP() << "the ANSI code page " << ::GetACP() << " has characters of several bytes";
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte)
        bytes += static_cast<char>(byte);
    bytes += std::string("\0after", 6);

    const std::wstring wide = wideFromAnsi(bytes);
    EXPECT_EQ(wide.size(), bytes.size());
    EXPECT_EQ(ansiFromWide(wide), bytes);
}

TEST(AnsiText, BytesReadAsTheirCharactersInWindows1252)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << ::GetACP();
    EXPECT_EQ(wideFromAnsi("Carte r\xe9seau \x80"), L"Carte r\u00e9seau \u20ac");
    EXPECT_EQ(ansiFromWide(L"Carte r\u00e9seau \u20ac"), "Carte r\xe9seau \x80");
}

} // namespace
