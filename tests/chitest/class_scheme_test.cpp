#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chitest/class_scheme.h"

namespace vesk {
namespace {

using Classes = std::vector<std::vector<std::string>>;

// Five listed values: 1 ... 5.
const std::vector<ParValue> listed = {
    {"1", 4, 1, "N"}, {"2", 3, 1, "N"}, {"3", 2, 1, "N"}, {"4", 1, 1, "N"}, {"5", 1, 1, "N"}};

Classes members_of(const ClassScheme& scheme) {
    Classes classes;
    for (const ClassDef& def : scheme.class_defs(listed)) {
        classes.push_back(def.members);
    }
    return classes;
}

TEST(ClassScheme, ClassesKeepTheirValuesThroughRemovalsAndMoves) {
    const struct {
        const char* what;
        std::function<void(ClassScheme&)> steps;
        Classes classes;
        std::vector<std::size_t> unclassified;
        std::size_t classified;  // a value in a class
    } cases[] = {
        {"classes in the order added",
         [](ClassScheme& s) {
             s.add_class({3, 1});
             s.add_class({0});
         },
         {{"4", "2"}, {"1"}},
         {2, 4},
         3},
        {"a middle class removed, then one added from its values",
         [](ClassScheme& s) {
             s.add_class({0});
             s.add_class({1, 2});
             s.add_class({3});
             s.remove_class(1);
             s.add_class({2, 1});
         },
         {{"1"}, {"4"}, {"3", "2"}},
         {4},
         2},
        {"swapped, then the first removed",
         [](ClassScheme& s) {
             s.add_class({0});
             s.add_class({1});
             s.add_class({2, 3, 4});
             s.swap_classes(0, 2);
             s.remove_class(0);
         },
         {{"2"}, {"1"}},
         {2, 3, 4},
         0},
        {"an empty class keeps its number",
         [](ClassScheme& s) {
             s.add_class({});
             s.add_class({4});
         },
         {{}, {"5"}},
         {0, 1, 2, 3},
         4},
    };
    for (const auto& c : cases) {
        ClassScheme scheme(listed.size());
        c.steps(scheme);
        EXPECT_EQ(members_of(scheme), c.classes) << c.what;
        EXPECT_EQ(scheme.unclassified(), c.unclassified) << c.what;
        EXPECT_FALSE(scheme.complete()) << c.what;
        EXPECT_THROW(scheme.add_class({c.classified}), std::logic_error) << c.what;
        scheme.add_class(c.unclassified);
        EXPECT_TRUE(scheme.complete()) << c.what;
    }
}

}  // namespace
}  // namespace vesk
