#pragma once

#include "BmiFields.h"
#include "MsgBox.h"

#include <string_view>

namespace core {

inline constexpr std::u16string_view invalidDataMessage = u"Invalid data.  Please check and re-enter!";

// The click of "Calculate BMI": reads weight, heightf and ft once; shows invalidDataMessage for a
// height of zero or implausible figures and then writes nothing; otherwise rewrites a height of
// more than 11 inches as feet and inches, and writes the category and the index, in the order
// ft, heightf, nutrition, bdmass. A floating-point fault raises runtime Overflow, keeping what
// was written before it.
void CalculateBmi(const BmiFields &fields, runtime::MsgBox &msgBox);

} // namespace core
