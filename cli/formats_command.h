#pragma once

namespace morvane::cli {

// Lists every card format code with its layout, limits and layout mask.
int runFormats();

}  // namespace morvane::cli
