#include "error_text.h"

#include <exception>
#include <new>

namespace quorvel {

std::string describeCurrentError()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "There is not enough memory to go on.";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An unexpected error occurred.";
    }
}

} // namespace quorvel
