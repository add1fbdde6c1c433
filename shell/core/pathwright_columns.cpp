// The detail columns of TPathwright: name, size, type and change time of the current object.
#include "shell/core/pathwright.h"

#include "shell/core/file_time_text.h"
#include "shell/core/system_image_list.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMimeDatabase>

#include <sys/stat.h>

namespace wordloom::shell {

bool TPathwright::HasDetails() {
    // No folder of this namespace offers columns of its own; the built-in four serve every folder.
    m_detailsLooked = true;
    return false;
}

const TPathwright::FindData& TPathwright::FetchFindData() {
    if (m_findData.valid || !m_object)
        return m_findData;
    const OptIDList& absolute = AbsoluteObjectIDList();
    if (!absolute || absolute->IsDesktop())
        return m_findData;
    const QByteArray path = PathFromIDList(*absolute);
    struct stat st;
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0) {
        // A dangling link still has find data of its own.
        if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
            return m_findData;
    }
    m_findData.valid = true;
    m_findData.isDir = S_ISDIR(st.st_mode);
    m_findData.size = st.st_size;
    m_findData.changed = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
    m_findData.fileName = QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
    m_findData.path = path;
    return m_findData;
}

QString TPathwright::DetailText(int index, bool header) {
    static const char* const headers[] = {
        QT_TRANSLATE_NOOP("Pathwright", "Name"), QT_TRANSLATE_NOOP("Pathwright", "Size"),
        QT_TRANSLATE_NOOP("Pathwright", "Type"), QT_TRANSLATE_NOOP("Pathwright", "Changed")};
    if (header)
        return index >= 0 && index < 4 ? QCoreApplication::translate("Pathwright", headers[index])
                                       : QString();
    if (index == 0)
        return DisplayName();
    if (index < 1 || index > 3)
        return QString();
    FindData& data = const_cast<FindData&>(FetchFindData());
    if (!data.valid)
        return QString();
    switch (index) {
    case 1: {
        if (data.isDir)
            return QString();
        if (data.size > 0 && data.size < 1024)
            data.size = 1024;
        // Whole kilobytes, halves rounded up, with the locale's thousands separator.
        const qint64 kilobytes = (data.size + 512) / 1024;
        return QLocale().toString(kilobytes) + QStringLiteral(" KB");
    }
    case 2: {
        static const QMimeDatabase database;
        const QMimeType type = data.isDir ? database.mimeTypeForName(QStringLiteral("inode/directory"))
                                          : FileMimeType(data.path);
        return type.comment().left(80);
    }
    default:
        return FileTimeText(data.changed);
    }
}

TColumnAlignment TPathwright::ColumnInfo(int index, int& width) {
    width = 120;
    switch (index) {
    case 0:
        width = 150;
        return TColumnAlignment::taLeftJustify;
    case 1:
        width = 60;
        return TColumnAlignment::taRightJustify;
    case 2:
        width = 120;
        return TColumnAlignment::taLeftJustify;
    case 3:
        width = 100;
        return TColumnAlignment::taLeftJustify;
    default:
        return TColumnAlignment::taLeftJustify;
    }
}

QString TPathwright::ColumnSampleText(int index) const {
    switch (index) {
    case 1:
        return QLocale().toString(qint64(9999999)) + QStringLiteral(" KB");
    case 3:
        return FileTimeText(QDateTime(QDate(2000, 12, 28), QTime(22, 58, 58)));
    default:
        return QString();
    }
}

QString TPathwright::FileTimeText(const QDateTime& time) {
    return FormatFileTime(time);
}

} // namespace wordloom::shell
