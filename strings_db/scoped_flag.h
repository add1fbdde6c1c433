// Sets a flag for the length of a scope: the cursor's guards against re-entry.
#pragma once

namespace wordloom {

/// Sets a flag for the length of a scope, also when it is left by an exception.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
};

} // namespace wordloom
