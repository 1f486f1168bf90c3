#pragma once

#include "inventory/system_interfaces.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace quorvel::testing {

// The message of the OperationError the action throws; a test failure when it throws none.
inline std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const OperationError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

} // namespace quorvel::testing
