#pragma once

#include "TextBox.h"

namespace core {

// The five text boxes of the calculation, by their names on the window.
struct BmiFields
{
    runtime::TextBox &weight;    // pounds
    runtime::TextBox &heightf;   // whole feet
    runtime::TextBox &ft;        // inches beyond the feet
    runtime::TextBox &bdmass;    // the index, as a whole number
    runtime::TextBox &nutrition; // the weight category
};

} // namespace core
