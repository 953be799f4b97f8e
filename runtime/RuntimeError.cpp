#include "RuntimeError.h"

namespace runtime {

namespace {

std::u16string_view descriptionOf(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return u"Invalid procedure call or argument";
    case ErrorNumber::Overflow:
        return u"Overflow";
    case ErrorNumber::ObjectRequired:
        return u"Object required";
    }
    return u"Application-defined or object-defined error";
}

std::string narrow(std::u16string_view text)
{
    // Descriptions are plain ASCII.
    return {text.begin(), text.end()};
}

} // namespace

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(narrow(descriptionOf(number)))
    , m_number(number)
{
}

std::u16string RuntimeError::description() const
{
    return std::u16string(descriptionOf(m_number));
}

std::u16string RuntimeError::report() const
{
    const std::string digits = std::to_string(static_cast<int>(m_number));
    return u"Run-time error '" + std::u16string(digits.begin(), digits.end()) + u"':\n\n" + description();
}

} // namespace runtime
