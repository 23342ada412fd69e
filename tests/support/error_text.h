#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"

namespace vesk::testing {

// The message of the error the call throws; a test failure and "" when it throws none.
template <typename E = Error, typename Call>
std::string error_text(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

}  // namespace vesk::testing
