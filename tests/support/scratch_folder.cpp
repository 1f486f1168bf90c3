#include "scratch_folder.h"

#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace quorvel::testing {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(Enter enter, const std::string& prefix)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        if (fs::create_directory(candidate))
            path_ = candidate;
    }
    if (path_.empty())
        throw std::runtime_error("cannot make a scratch folder under " +
                                 fs::temp_directory_path().string());
    if (enter == Enter::Yes) {
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!previous_.empty())
        fs::current_path(previous_, ignored);
    fs::remove_all(path_, ignored);
}

EnvironmentVariable::EnvironmentVariable(std::string name, const char* value)
    : name_(std::move(name))
{
    had_ = environmentValue(name_, previous_);
    if (value != nullptr)
        setEnvironment(name_, value);
    else
        unsetEnvironment(name_);
}

EnvironmentVariable::~EnvironmentVariable()
{
    if (had_)
        setEnvironment(name_, previous_);
    else
        unsetEnvironment(name_);
}

namespace {

std::string withFolderFirst(const fs::path& folder)
{
    std::string path = folder.string();
    if (std::string previous; environmentValue("PATH", previous)) {
        path += pathListSeparator();
        path += previous;
    }
    return path;
}

} // namespace

PathPrefix::PathPrefix(const fs::path& folder) : path_("PATH", withFolderFirst(folder).c_str()) {}

} // namespace quorvel::testing
