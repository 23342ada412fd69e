#include <gtest/gtest.h>

#include "core/identifier.h"

namespace vesk {
namespace {

TEST(VariableName, OnlyPlainIdentifiersThatTheEngineDoesNotReserve) {
    for (const char* name : {"HHID", "state", "AGE_GRP", "X1", "a_b_c_9"}) {
        EXPECT_TRUE(is_valid_variable_name(name)) << name;
    }
    for (const char* name : {"", "1AGE", "_X", "AGE GRP", "A-B", "O'H", "SELECT", "select", "ORDER",
                             "WHERE", "CLASS", "class", "AGE;", "\xc3\x84GE"}) {
        EXPECT_FALSE(is_valid_variable_name(name)) << name;
    }
}

}  // namespace
}  // namespace vesk
