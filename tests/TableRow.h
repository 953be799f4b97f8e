#pragma once

#include <ostream>

namespace tables {

// A row of a GoogleTest parameter table: anything with a name.
template<typename Row>
concept NamedRow = requires(const Row &row)
{
    row.name;
};

// Rows print as their names in test listings. GoogleTest finds this by argument-dependent
// lookup, so a file brings it into the namespace of its rows with `using tables::PrintTo;`.
template<NamedRow Row>
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

} // namespace tables
