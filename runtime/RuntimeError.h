#pragma once

#include <stdexcept>
#include <string>

namespace runtime {

// The run-time errors this runtime raises, with their classic numbers.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5, // "Invalid procedure call or argument": a bad argument to a text operation
    Overflow = 6,             // "Overflow": every numeric fault (overflow, invalid operation, division by zero)
    ObjectRequired = 424,     // "Object required": a text box call that could not reach its control
};

// The one exception type of the runtime. Only runtime operations raise it; program code lets it pass.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(ErrorNumber number);

    ErrorNumber number() const noexcept { return m_number; }
    // What the default handling shows: "Run-time error '6':", a blank line, the description.
    std::u16string report() const;

private:
    // "Overflow", "Invalid procedure call or argument", ...
    std::u16string description() const;

    ErrorNumber m_number;
};

} // namespace runtime
