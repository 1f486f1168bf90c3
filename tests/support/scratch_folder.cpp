#include "scratch_folder.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace quorvel::testing {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(Enter enter, const std::string& prefix)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        if (fs::create_directory(candidate))
            path_ = candidate;
    }
    if (path_.empty())
        throw std::runtime_error("cannot make a scratch folder under " + fs::temp_directory_path().string());
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

PathPrefix::PathPrefix(const fs::path& folder)
{
    hadPath_ = environmentValue("PATH", previous_);
    std::string path = folder.string();
    if (hadPath_) {
        path += pathListSeparator();
        path += previous_;
    }
    setEnvironment("PATH", path);
}

PathPrefix::~PathPrefix()
{
    if (hadPath_)
        setEnvironment("PATH", previous_);
    else
        unsetEnvironment("PATH");
}

} // namespace quorvel::testing
