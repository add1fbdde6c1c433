// What the tests of TVelShellList share: the work folder they start from, captions, item points,
// reports, and a drag delivered to a list.
#pragma once

#include "shell/controls/shell_list.h"
#include "shell_core/shell_test_home.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QTest>

#include <memory>

#include <sys/time.h>

namespace shell_list_support {

using namespace wordloom::shell;

struct Report {
    TVelShellOperations operation;
    QStringList files;
    QString destination;
    int itemsAtReport = -1;
};

inline QStringList Captions(TVelShellList& list) {
    QStringList captions;
    for (int i = 0; i < list.ItemCount(); ++i)
        captions.append(list.ItemCaption(i));
    return captions;
}

inline int IndexOfCaption(TVelShellList& list, const QString& caption) {
    return int(Captions(list).indexOf(caption));
}

inline void SetMTime(const QString& path, qint64 seconds) {
    struct timeval times[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    QVERIFY(::utimes(QFile::encodeName(path).constData(), times) == 0);
}

inline QPoint ItemCenter(TVelShellList& list, int item) {
    return list.View()->visualRect(list.View()->model()->index(item, 0)).center();
}

// A drag reaching `target`: enter, one move to the point, then the drop. The effect the target chose, or
// IgnoreAction when it refused.
inline Qt::DropAction DropOnto(TVelShellList& target, const QMimeData* data, Qt::DropActions allowed,
                               QPoint point, Qt::MouseButtons buttons,
                               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = target.View()->viewport();
    QDragEnterEvent enter(point, allowed, data, buttons, modifiers);
    QCoreApplication::sendEvent(viewport, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(point, allowed, data, buttons, modifiers);
    QCoreApplication::sendEvent(viewport, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(viewport, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent drop(QPointF(point), allowed, data, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// Saves the list's picture into $WORDLOOM_SCREENSHOT_DIR when it is set, for a look by eye.
inline void SaveScreenshot(TVelShellList& list, const char* name) {
    if (const QByteArray dir = qgetenv("WORDLOOM_SCREENSHOT_DIR"); !dir.isEmpty())
        list.grab().save(QFile::decodeName(dir) + u'/' + QLatin1String(name));
}

// Every report of the list goes into `reports`.
inline void RecordReports(TVelShellList& list, QList<Report>& reports) {
    list.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                  const QString& destination) {
        reports.append({operation, files, destination, -1});
    };
}

inline QAction* ActionWithText(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text().remove(u'&') == text)
            return action;
    }
    return nullptr;
}

// The state every list test starts from: English number and date formats, the controls registered
// for form files, and a fresh home with work/ holding four files of known sizes and a subfolder.
class ShellListFixture {
protected:
    static void PrepareTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        RegisterShellControls();
    }
    void MakeWorkFolder() {
        m_home = std::make_unique<ShellTestHome>();
        m_dir = m_home->MakeDir(QStringLiteral("work")) + u'/';
        m_home->MakeFile(QStringLiteral("work/alpha.txt"), QByteArray(3000, 'a'));
        m_home->MakeFile(QStringLiteral("work/beta.pas"), QByteArray(10, 'b'));
        m_home->MakeFile(QStringLiteral("work/gamma10.txt"), QByteArray(5000, 'c'));
        m_home->MakeFile(QStringLiteral("work/gamma9.txt"), QByteArray(1, 'c'));
        m_home->MakeDir(QStringLiteral("work/folder"));
    }
    // The clipboard is shared with the next test: emptied with the home.
    void RemoveWorkFolder() {
        QGuiApplication::clipboard()->clear();
        m_home.reset();
    }

    std::unique_ptr<ShellTestHome> m_home;
    QString m_dir; // work/, ending in "/"
};

} // namespace shell_list_support
