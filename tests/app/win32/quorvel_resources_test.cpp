#include "platform/renumbering_events.h"
#include "program_run.h"

#include <windows.h>

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

const wchar_t* const kPrograms[] = {L"quorvel.exe", L"quorvel.com"};

// A program file's resources, read without running it.
class ProgramResources {
public:
    explicit ProgramResources(const fs::path& program)
        : module_(::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~ProgramResources()
    {
        if (module_ != nullptr)
            ::FreeLibrary(module_);
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }
    std::string bytes(const wchar_t* type, WORD id) const
    {
        const HRSRC found = ::FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (found == nullptr)
            return {};
        const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module_, found)));
        return {data, ::SizeofResource(module_, found)};
    }

private:
    HMODULE module_;
};

std::wstring versionText(const std::vector<char>& info, const std::wstring& name)
{
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
    if (::VerQueryValueW(info.data(), path.data(), &value, &length) == 0 || length == 0)
        return {};
    return static_cast<const wchar_t*>(value);
}

TEST(ProgramFiles, CarryTheIconAndTheManifest)
{
    for (const wchar_t* name : kPrograms) {
        SCOPED_TRACE(fs::path(name).string());
        const ProgramResources program(quorvelFolder() / name);
        ASSERT_TRUE(program.loaded());

        auto* const icon = static_cast<HICON>(
            ::LoadImageW(program.module(), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr) << "no icon 1, which Explorer and the window show";
        ::DestroyIcon(icon);

        const std::string manifest = program.bytes(MAKEINTRESOURCEW(24), 1);
        for (const char* part :
             {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
              "level=\"asInvoker\"", ">true</dpiAware>"}) {
            EXPECT_NE(manifest.find(part), std::string::npos) << part << " in\n" << manifest;
        }
    }
}

TEST(ProgramFiles, CarryTheProductNameAndVersion)
{
    for (const wchar_t* name : kPrograms) {
        SCOPED_TRACE(fs::path(name).string());
        const fs::path program = quorvelFolder() / name;
        DWORD ignored = 0;
        std::vector<char> info(::GetFileVersionInfoSizeW(program.c_str(), &ignored));
        ASSERT_FALSE(info.empty());
        ASSERT_NE(
            ::GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()),
            0);
        EXPECT_EQ(versionText(info, L"ProductName"), L"Quorvel");
        EXPECT_EQ(fs::path(versionText(info, L"ProductVersion")).string(), QUORVEL_VERSION);
        EXPECT_EQ(fs::path(versionText(info, L"FileVersion")).string(), QUORVEL_VERSION);
        EXPECT_EQ(versionText(info, L"OriginalFilename"), name);
        EXPECT_FALSE(versionText(info, L"FileDescription").empty());

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        std::wstring root = L"\\";
        ASSERT_NE(
            ::VerQueryValueW(info.data(), root.data(), reinterpret_cast<void**>(&fixed), &length),
            0);
        const std::string dotted = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                                   std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                                   std::to_string(HIWORD(fixed->dwProductVersionLS));
        EXPECT_EQ(dotted, QUORVEL_VERSION);
        EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
        EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    }
}

// Event Viewer's sentence for each result, from the message table that either program carries.
TEST(ProgramFiles, CarryASentenceForEachRenumberingResult)
{
    for (const wchar_t* name : kPrograms) {
        const ProgramResources program(quorvelFolder() / name);
        ASSERT_TRUE(program.loaded());
        for (int result = 0; result <= static_cast<int>(RenumberingResult::Failed); ++result) {
            const RenumberingEvent event = renumberingEvent(
                {static_cast<RenumberingResult>(result), RenumberingProgram::Window, "NE2000", "2",
                 "7", "lanacfg setlananumber 2 0", "exited with status 0"},
                "alice");
            std::wstring inserts[std::size(event.inserts)];
            DWORD_PTR arguments[std::size(inserts)];
            for (std::size_t i = 0; i < std::size(inserts); ++i) {
                inserts[i] = fs::path(event.inserts[i]).wstring();
                arguments[i] = reinterpret_cast<DWORD_PTR>(inserts[i].c_str());
            }
            wchar_t text[1024];
            const std::wstring sentence(
                text, ::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                       program.module(), event.messageId, 0, text, std::size(text),
                                       reinterpret_cast<va_list*>(arguments)));
            SCOPED_TRACE(fs::path(name).string() + ": " + fs::path(sentence).string());
            EXPECT_EQ(sentence.rfind(L"The adapter \"NE2000\" ", 0), 0u);
            EXPECT_NE(sentence.find(L" for user alice through the window: "), std::wstring::npos);
            EXPECT_EQ(sentence.find(L'%'), std::wstring::npos);
        }
    }
}

} // namespace
} // namespace quorvel::testing
