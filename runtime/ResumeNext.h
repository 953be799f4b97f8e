#pragma once

#include "RuntimeError.h"

#include <concepts>

namespace runtime {

// What a step of a resume-next procedure asks for once it has run normally.
enum class Step {
    Next,   // go on with the next step
    EndRun, // the procedure is done
};

// Runs a procedure's steps in order in resume-next mode: a step that raises a RuntimeError is
// abandoned and the next step in order runs, whatever the failed step would have decided; nothing
// is reported. Only run-time errors are absorbed: anything else (bad_alloc, a logic error)
// propagates as usual.
template<std::invocable... Steps>
void resumeNext(Steps &&...steps)
{
    const auto runStep = [](auto &&step) {
        try {
            return step() == Step::Next;
        } catch (const RuntimeError &) {
            return true;
        }
    };
    (runStep(steps) && ...);
}

} // namespace runtime
