#pragma once

#include <cstddef>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// Which values of the parameter form which class. A value is named by its position in the
// parameter's value listing (par_vals); the classes stand in class order, the first being class
// 1. The class window shows a scheme and changes it, suggest_classes proposes one, vesk-batch's
// --class arguments make one; frozen, it gives the class definitions the test classifies by.
class ClassScheme {
  public:
    ClassScheme() = default;
    // value_count values, none in a class yet.
    explicit ClassScheme(std::size_t value_count) : in_class_(value_count, false) {}

    // Each class's values, in the order they were put in it.
    const std::vector<std::vector<std::size_t>>& classes() const { return classes_; }
    // The values in no class, in listing order.
    std::vector<std::size_t> unclassified() const;
    bool complete() const;

    // A new last class of these values, which must be in no class; a class may be empty (a
    // scheme meant for other data keeps its class numbers).
    void add_class(std::vector<std::size_t> values);
    // Puts the values of class index (0 for class 1) back in no class; later classes move up.
    void remove_class(std::size_t index);
    // Class a takes the place of class b and b that of a.
    void swap_classes(std::size_t a, std::size_t b);

    // The listed values of class index, in its order.
    std::vector<ParValue> members(std::size_t index, const std::vector<ParValue>& par_vals) const;
    // The definitions the classification works by.
    std::vector<ClassDef> class_defs(const std::vector<ParValue>& par_vals) const;

  private:
    std::vector<std::vector<std::size_t>> classes_;
    std::vector<bool> in_class_;  // per value
};

}  // namespace vesk
