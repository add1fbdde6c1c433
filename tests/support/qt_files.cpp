#include "support/qt_files.h"

#include "support/file_read.h"

#include <QFile>

namespace wordloom {

namespace {

std::string Native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QtTempDir::QtTempDir(const QString& parent) : m_dir(Native(parent)) {}

QString QtTempDir::path() const {
    return QFile::decodeName(QByteArray::fromStdString(m_dir.Path()));
}

QString QtTempDir::filePath(const QString& name) const {
    return path() + u'/' + name;
}

QByteArray ReadBytes(const QString& path) {
    return QByteArray::fromStdString(ReadBytes(Native(path)));
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    WriteBytes(Native(path), bytes.toStdString());
}

} // namespace wordloom
