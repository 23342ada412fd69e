#pragma once

#include <string>
#include <vector>

#include "chitest/class_scheme.h"
#include "core/app_state.h"

namespace vesk {

// The classes given on the command line, matched against the parameter's values (par_vals).
struct ClassArguments {
    ClassScheme scheme;                 // the classes in the order given; the first is class 1
    std::vector<std::string> warnings;  // values the parameter does not have in this data
};

// Each argument holds one class's values separated by commas, written as the value listing
// writes them (numbers in the general form, character values without quotes; trailing blanks
// may be left out). Every value of the parameter must be in exactly one class: throws
// vesk::Error with "Some parameter values are not classified", or naming a value given twice.
// A value the data do not hold is only warned about, so one class scheme serves every round; a
// class left with no value keeps its number.
ClassArguments match_class_arguments(const std::vector<std::string>& arguments,
                                     const std::vector<ParValue>& par_vals);

// A class's values as one argument of --class: as listed, without the blanks the listing pads
// with, joined by commas.
std::string class_argument(const std::vector<ParValue>& members);

}  // namespace vesk
