// The support library's temporary folder and file reads for Qt tests, with QString paths.
#pragma once

#include "support/temp_dir.h"

#include <QByteArray>
#include <QString>

namespace wordloom {

/// A TempDir (removed with everything in it, read-only folders included) named the way
/// QTemporaryDir is, so Qt fixtures read as usual. Construction throws when no folder can be made,
/// so there is no invalid state to check.
class QtTempDir {
public:
    QtTempDir() = default;
    /// A folder below `parent` (a test that needs another file system).
    explicit QtTempDir(const QString& parent);

    QString path() const;
    QString filePath(const QString& name) const;

private:
    TempDir m_dir;
};

/// The bytes of a file; throws std::runtime_error naming the path when it cannot be read.
QByteArray ReadBytes(const QString& path);
/// Writes `bytes` to `path` (its folders created); throws std::runtime_error on failure.
void WriteBytes(const QString& path, const QByteArray& bytes);

} // namespace wordloom
