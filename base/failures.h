#pragma once

#include "runtimefailure.h"

#include <exception>
#include <utility>

// Handlers that ignore failures step by step run each step through this: a step that
// fails is skipped without a message and the caller goes on with the next one.
template <typename Step>
void ignoreFailure(Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (const std::exception &) {
    }
}
