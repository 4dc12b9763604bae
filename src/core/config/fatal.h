#pragma once

#include <stdexcept>

namespace tess {

// Thrown while the window is built when the language file cannot be used;
// the start-up catches it and ends the process with status 1.
class UnusableLanguageFile : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tess
