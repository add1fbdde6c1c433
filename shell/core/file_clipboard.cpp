#include "shell/core/file_clipboard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include <cerrno>
#include <cstdio>

namespace wordloom::shell {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnomeFiles = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");

QString FreeName(const QString& targetDir, const QString& name) {
    QString candidate = QDir(targetDir).filePath(name);
    if (!QFileInfo(candidate).exists() && !QFileInfo(candidate).isSymLink())
        return candidate;
    const QFileInfo info(name);
    const QString base =
        info.isDir() || info.baseName().isEmpty() || info.completeSuffix().isEmpty() ? name : info.baseName();
    const QString suffix = base == name ? QString() : name.mid(base.size());
    for (int n = 1;; ++n) {
        const QString label = n == 1 ? QStringLiteral(" (copy)") : QStringLiteral(" (copy %1)").arg(n);
        candidate = QDir(targetDir).filePath(base + label + suffix);
        if (!QFileInfo(candidate).exists() && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

bool CopyTree(const QString& source, const QString& target, QString* error) {
    const QFileInfo info(source);
    if (info.isSymLink()) {
        if (QFile::link(info.symLinkTarget(), target))
            return true;
    } else if (info.isDir()) {
        if (!QDir().mkdir(target)) {
            *error = QCoreApplication::translate("Pathwright", "Cannot create %1").arg(target);
            return false;
        }
        const QDir dir(source);
        bool ok = true;
        for (const QString& name :
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            ok = CopyTree(dir.filePath(name), QDir(target).filePath(name), error) && ok;
        return ok;
    } else if (QFile::copy(source, target)) {
        return true;
    }
    *error = QCoreApplication::translate("Pathwright", "Cannot copy %1 to %2").arg(source, target);
    return false;
}

bool IsInside(const QString& path, const QString& dir) {
    const QString cleanPath = QFileInfo(path).canonicalFilePath();
    const QString cleanDir = QFileInfo(dir).canonicalFilePath();
    return !cleanDir.isEmpty() && (cleanPath == cleanDir || cleanPath.startsWith(cleanDir + u'/'));
}

} // namespace

QMimeData* MakeFileListMimeData(const QList<QUrl>& urls, bool cut) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    QStringList uris;
    QStringList paths;
    for (const QUrl& url : urls) {
        uris.append(QString::fromUtf8(url.toEncoded()));
        paths.append(url.toLocalFile());
    }
    data->setData(kGnomeFiles, (QString::fromLatin1(cut ? "cut\n" : "copy\n") + uris.join(u'\n')).toUtf8());
    if (cut)
        data->setData(kKdeCut, QByteArray("1"));
    data->setText(paths.join(u'\n'));
    return data;
}

QList<QUrl> FileListFromMimeData(const QMimeData* data, bool* cut) {
    *cut = false;
    QList<QUrl> urls;
    if (!data)
        return urls;
    if (data->hasFormat(kGnomeFiles)) {
        const QList<QByteArray> lines = data->data(kGnomeFiles).split('\n');
        *cut = !lines.isEmpty() && lines.first().trimmed() == "cut";
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QUrl url = QUrl::fromEncoded(lines[i].trimmed());
            if (url.isLocalFile())
                urls.append(url);
        }
        if (!urls.isEmpty())
            return urls;
    }
    if (data->hasFormat(kKdeCut))
        *cut = data->data(kKdeCut).trimmed() == "1";
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                urls.append(url);
        return urls;
    }
    if (data->hasText()) {
        for (const QString& line : data->text().split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u'/') && QFileInfo(line).exists())
                urls.append(QUrl::fromLocalFile(line));
        }
    }
    return urls;
}

bool TransferFiles(const QList<QUrl>& urls, const QString& targetDir, bool move, QString* error) {
    bool ok = true;
    for (const QUrl& url : urls) {
        const QString source = QDir::cleanPath(url.toLocalFile());
        const QFileInfo info(source);
        if (source.isEmpty() || (!info.exists() && !info.isSymLink())) {
            *error = QCoreApplication::translate("Pathwright", "Cannot find %1").arg(source);
            ok = false;
            continue;
        }
        if (info.isDir() && !info.isSymLink() && IsInside(targetDir, source)) {
            *error = QCoreApplication::translate("Pathwright", "Cannot put %1 into itself").arg(source);
            ok = false;
            continue;
        }
        if (move &&
            QFileInfo(info.absolutePath()).canonicalFilePath() == QFileInfo(targetDir).canonicalFilePath())
            continue; // moved onto itself: nothing to do
        const QString target = FreeName(targetDir, info.fileName());
        if (move) {
            if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) ==
                0)
                continue;
            if (errno != EXDEV) {
                *error = QCoreApplication::translate("Pathwright", "Cannot move %1").arg(source);
                ok = false;
                continue;
            }
            // Another volume: copy, and remove the original only when the whole copy succeeded.
            if (!CopyTree(source, target, error)) {
                ok = false;
                continue;
            }
            const bool removed =
                info.isDir() && !info.isSymLink() ? QDir(source).removeRecursively() : QFile::remove(source);
            if (!removed) {
                *error = QCoreApplication::translate("Pathwright", "Cannot remove %1").arg(source);
                ok = false;
            }
            continue;
        }
        ok = CopyTree(source, target, error) && ok;
    }
    return ok;
}

} // namespace wordloom::shell
