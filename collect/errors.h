// Failures of the engine's file and form layers; what() is the text shown to the user.
#pragma once

#include <stdexcept>

namespace wordloom {

class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A form text or binary form that cannot be read.
class FormError : public EngineError {
public:
    using EngineError::EngineError;
};

/// A source file that cannot be opened, read or written.
class FileError : public EngineError {
public:
    using EngineError::EngineError;
};

} // namespace wordloom
