// The checks that read the forms a text was collected from: an accelerator key two neighbouring
// controls share in the translation, and a caption too wide for its control.
#pragma once

#include "qa/check.h"

#include <string_view>

namespace wordloom::qa {

/// The key a caption's accelerator mark chooses, upper case: the character after the first "&"
/// that is not part of "&&"; 0 when there is none.
char32_t AcceleratorKey(std::string_view caption);

/// Adds "accelerator-clash" and "truncation" to the registry.
void AddFormChecks(CheckRegistry& registry);

} // namespace wordloom::qa
