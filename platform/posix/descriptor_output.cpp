#include "descriptor_output.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quorvel {

namespace {

// Above standard input, output and error, which the commands it runs are given.
constexpr int kLowestCopy = 3;

} // namespace

DescriptorOutput::DescriptorOutput(int descriptor)
    : descriptor_(::fcntl(descriptor, F_DUPFD_CLOEXEC, kLowestCopy))
{
}

DescriptorOutput::~DescriptorOutput()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool DescriptorOutput::write(std::string_view text)
{
    if (descriptor_ < 0)
        return false;
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor_, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace quorvel
