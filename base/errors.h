// Exception types of the engine. Each carries the program's own message text, ready to be shown.
#pragma once

#include <stdexcept>
#include <string>

namespace wordloom {

/// Base of every failure the engine reports to a command or a host.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A form stream that cannot be read or parsed: "Invalid stream format", "Invalid property value",
/// or a text-form failure formatted "%s on line %d".
class FormError : public EngineError {
public:
    using EngineError::EngineError;
};

/// The file layer: a file that cannot be opened, read, created or replaced ("Cannot open file %s").
class FileError : public EngineError {
public:
    using EngineError::EngineError;
};

} // namespace wordloom
