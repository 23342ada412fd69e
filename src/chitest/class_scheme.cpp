#include "chitest/class_scheme.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "chitest/class_lines.h"

namespace vesk {

std::vector<std::size_t> ClassScheme::unclassified() const {
    std::vector<std::size_t> values;
    for (std::size_t value = 0; value < in_class_.size(); ++value) {
        if (!in_class_[value]) {
            values.push_back(value);
        }
    }
    return values;
}

bool ClassScheme::complete() const {
    return std::find(in_class_.begin(), in_class_.end(), false) == in_class_.end();
}

void ClassScheme::add_class(std::vector<std::size_t> values) {
    for (const std::size_t value : values) {
        if (value >= in_class_.size() || in_class_[value]) {
            throw std::logic_error("a class takes only values in no class");
        }
        in_class_[value] = true;
    }
    classes_.push_back(std::move(values));
}

void ClassScheme::remove_class(std::size_t index) {
    for (const std::size_t value : classes_.at(index)) {
        in_class_[value] = false;
    }
    classes_.erase(classes_.begin() + static_cast<std::ptrdiff_t>(index));
}

void ClassScheme::swap_classes(std::size_t a, std::size_t b) {
    std::swap(classes_.at(a), classes_.at(b));
}

std::vector<ParValue> ClassScheme::members(std::size_t index,
                                           const std::vector<ParValue>& par_vals) const {
    std::vector<ParValue> listed;
    for (const std::size_t value : classes_.at(index)) {
        listed.push_back(par_vals.at(value));
    }
    return listed;
}

std::vector<ClassDef> ClassScheme::class_defs(const std::vector<ParValue>& par_vals) const {
    std::vector<ClassDef> defs;
    for (std::size_t k = 0; k < classes_.size(); ++k) {
        defs.push_back(make_class(members(k, par_vals)));
    }
    return defs;
}

}  // namespace vesk
