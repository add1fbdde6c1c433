#include "shell/core/trash.h"

#include "shell/core/shell_namespace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wordloom::shell {

namespace {

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString Name(const QByteArray& path) {
    return QFile::decodeName(path);
}

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray Join(const QByteArray& dir, const QByteArray& name) {
    return (dir == "/" ? QByteArray() : dir) + '/' + name;
}

// Makes a folder and its missing parents, each new one private to the user; an existing folder is
// fine. False with the reason in `error` when a part cannot be made or is no folder.
bool MakeFolders(const QByteArray& path, int* error) {
    struct stat st;
    if (::stat(path.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        *error = ENOTDIR;
        return false;
    }
    if (errno != ENOENT) {
        *error = errno;
        return false;
    }
    if (path != "/" && !MakeFolders(ParentOf(path), error))
        return false;
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    return true;
}

// The device of `path`, or of its nearest existing ancestor while it does not exist yet.
dev_t DeviceOfNearest(QByteArray path) {
    struct stat st;
    while (::stat(path.constData(), &st) != 0) {
        if (path == "/" || path.isEmpty())
            return dev_t(-1);
        path = ParentOf(path);
    }
    return st.st_dev;
}

// The top of the volume that holds the folder `dir` (a canonical path on `device`).
QByteArray TopOfVolume(QByteArray dir, dev_t device) {
    while (dir != "/") {
        const QByteArray parent = ParentOf(dir);
        struct stat st;
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            break;
        dir = parent;
    }
    return dir;
}

// A trash folder of the user's own on a shared volume: made private when missing; an existing one
// must be a real folder (no link planted by someone else) that belongs to the user.
bool OwnFolder(const QByteArray& path, int* error) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) {
        *error = errno;
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        *error = EPERM;
        return false;
    }
    return true;
}

// The trash at the top of another volume: the user's folder in an administrator's shared .Trash
// (sticky, no link), else .Trash-UID of the user's own.
bool VolumeTrash(const QByteArray& top, QByteArray* trash, int* error) {
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const QByteArray shared = Join(top, ".Trash");
    struct stat st;
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
        OwnFolder(Join(shared, uid), error)) {
        *trash = Join(shared, uid);
        return true;
    }
    *trash = Join(top, ".Trash-" + uid);
    return OwnFolder(*trash, error);
}

// The n-th name tried for an object in the trash: its own, then with ".2", ".3", ... before the
// extension; shortened (at a character boundary) so that its record's name stays within NAME_MAX.
QByteArray Candidate(const QByteArray& name, int n) {
    constexpr qsizetype kRoom = NAME_MAX - qsizetype(sizeof(".trashinfo") - 1);
    const qsizetype dot = name.lastIndexOf('.');
    QByteArray stem = dot > 0 ? name.left(dot) : name;
    QByteArray extension = dot > 0 ? name.mid(dot) : QByteArray();
    const QByteArray counter = n > 1 ? '.' + QByteArray::number(n) : QByteArray();
    if (counter.size() + extension.size() >= kRoom)
        extension.clear();
    qsizetype keep = kRoom - counter.size() - extension.size();
    if (stem.size() > keep) {
        while (keep > 0 && (uchar(stem[keep]) & 0xC0) == 0x80)
            --keep;
        stem.truncate(keep);
    }
    return stem + counter + extension;
}

bool WriteAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, std::size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Moves without replacing what is already there; EEXIST when the name is taken.
int MoveNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without the no-replace flag: look first.
    struct stat st;
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

} // namespace

bool MoveToTrash(const QByteArray& path, QString* error, QByteArray* trashedAs) {
    QString ignored;
    QString& why = error ? *error : ignored;
    QByteArray source = path;
    while (source.size() > 1 && source.endsWith('/'))
        source.chop(1);
    const QByteArray name = source.mid(source.lastIndexOf('/') + 1);
    if (!source.startsWith('/') || name.isEmpty() || name == "." || name == "..") {
        why = QCoreApplication::translate("Pathwright", "%1 names no object that can go to the trash")
                  .arg(Name(path));
        return false;
    }
    // The record keeps the place without links in the way, so that a restore finds it again.
    char resolved[PATH_MAX];
    if (!::realpath(ParentOf(source).constData(), resolved)) {
        why = Reason(errno);
        return false;
    }
    const QByteArray parent(resolved);
    const QByteArray original = Join(parent, name);
    struct stat object;
    struct stat folder;
    if (::lstat(original.constData(), &object) != 0 || ::stat(parent.constData(), &folder) != 0) {
        why = Reason(errno);
        return false;
    }

    QByteArray trash = ShellContext::Instance().TrashPath();
    QByteArray recordedPath = original;
    int code = 0;
    if (DeviceOfNearest(trash) != folder.st_dev) {
        // Another volume: its own trash, so that nothing is copied across; the record's path is
        // relative to the volume's top, which stays right when the volume is mounted elsewhere.
        const QByteArray top = TopOfVolume(parent, folder.st_dev);
        if (!VolumeTrash(top, &trash, &code)) {
            why = QCoreApplication::translate("Pathwright", "No trash can be made on the volume at %1: %2")
                      .arg(Name(top), Reason(code));
            return false;
        }
        recordedPath = original.mid(top == "/" ? 1 : top.size() + 1);
    }
    const QByteArray files = trash + "/files";
    const QByteArray info = trash + "/info";
    for (const QByteArray& dir : {files, info}) {
        if (!MakeFolders(dir, &code)) {
            why = QCoreApplication::translate("Pathwright", "Cannot make the trash folder %1: %2")
                      .arg(Name(dir), Reason(code));
            return false;
        }
    }

    const QByteArray record =
        "[Trash Info]\nPath=" + recordedPath.toPercentEncoding("/") + "\nDeletionDate=" +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + '\n';
    for (int n = 1; n < 10000; ++n) {
        const QByteArray candidate = Candidate(name, n);
        // The record comes first and reserves the name: two programs trashing at once cannot both
        // take it.
        const QByteArray infoPath = info + '/' + candidate + ".trashinfo";
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            why = QCoreApplication::translate("Pathwright", "Cannot write the trash record %1: %2")
                      .arg(Name(infoPath), Reason(errno));
            return false;
        }
        const bool written = WriteAll(fd, record);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(infoPath.constData());
            why = QCoreApplication::translate("Pathwright", "Cannot write the trash record %1: %2")
                      .arg(Name(infoPath), Reason(written ? errno : writeError));
            return false;
        }
        const QByteArray target = files + '/' + candidate;
        const int moved = MoveNoReplace(original, target);
        if (moved == 0) {
            if (trashedAs)
                *trashedAs = target;
            return true;
        }
        ::unlink(infoPath.constData());
        // A file left in the trash without its record holds the name: the next one is tried.
        if (moved != EEXIST) {
            why = Reason(moved);
            return false;
        }
    }
    why = QCoreApplication::translate("Pathwright", "The trash holds too many objects named %1")
              .arg(Name(name));
    return false;
}

} // namespace wordloom::shell
