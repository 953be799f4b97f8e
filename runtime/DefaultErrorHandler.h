#pragma once

#include "MsgBox.h"
#include "RuntimeError.h"

#include <utility>

namespace runtime {

// Runs an event procedure under the runtime's default handling: a run-time error that escapes it
// is reported in a critical box ("Run-time error '6':", a blank line, "Overflow"), and the
// program goes on, keeping whatever the procedure wrote before the error.
template<typename Procedure>
void runWithDefaultHandling(MsgBox &msgBox, Procedure &&procedure)
{
    try {
        std::forward<Procedure>(procedure)();
    } catch (const RuntimeError &error) {
        msgBox.show(error.report(), MsgBoxStyle::Critical);
    }
}

} // namespace runtime
