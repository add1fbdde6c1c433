// A throw-away user for namespace tests: HOME, XDG_DATA_HOME (so the trash), XDG_CONFIG_HOME and the
// user folders all point into one temporary folder, removed at the end.
#pragma once

#include "shell/core/shell_namespace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class ShellTestHome {
public:
    ShellTestHome() {
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("home/Desktop"));
        root.mkpath(QStringLiteral("home/Documents"));
        root.mkpath(QStringLiteral("home/Templates"));
        root.mkpath(QStringLiteral("config"));
        root.mkpath(QStringLiteral("data"));
        qputenv("HOME", QFile::encodeName(Home()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
        WriteUserDirs(QStringLiteral("$HOME/Desktop"));
        wordloom::shell::ShellContext::Instance().Refresh();
    }

    QString Root() const { return m_dir.path(); }
    QString Home() const { return m_dir.path() + QStringLiteral("/home"); }
    QString Desktop() const { return Home() + QStringLiteral("/Desktop"); }
    QString Documents() const { return Home() + QStringLiteral("/Documents"); }
    QString TrashFiles() const { return m_dir.path() + QStringLiteral("/data/Trash/files"); }

    void WriteUserDirs(const QString& desktop) {
        QFile file(m_dir.path() + QStringLiteral("/config/user-dirs.dirs"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("XDG_DESKTOP_DIR=\"" + desktop.toUtf8() + "\"\n");
        file.write("XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
        file.write("XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n");
        wordloom::shell::ShellContext::Instance().Refresh();
    }

    // Creates a file (and its folders) below the root with the given content; its full path.
    QString MakeFile(const QString& relative, const QByteArray& content = QByteArray()) const {
        const QString path = m_dir.path() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }
    QString MakeDir(const QString& relative) const {
        const QString path = m_dir.path() + u'/' + relative;
        QDir().mkpath(path);
        return path;
    }

private:
    QTemporaryDir m_dir;
};
