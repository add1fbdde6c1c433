#include "shell/controls/shell_control_common.h"

#include "shell/core/file_clipboard.h"
#include "shell/core/shell_link.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QDrag>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>

#include <sys/stat.h>
#include <unistd.h>

namespace wordloom::shell {

OptFileList FilesFromDataObject(const QMimeData* data, bool* cut) {
    bool isCut = false;
    if (cut)
        *cut = false;
    if (!data)
        return std::nullopt;
    const QList<QUrl> urls = FileListFromMimeData(data, &isCut);
    QStringList files;
    for (const QUrl& url : urls) {
        const QString file = url.toLocalFile();
        // Like a drop handle: reading stops at the first name that comes back empty.
        if (file.isEmpty())
            break;
        files.append(file);
    }
    if (files.isEmpty())
        return std::nullopt;
    if (cut)
        *cut = isCut;
    return files;
}

OptFileList ClipboardFiles(bool* cut) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    return FilesFromDataObject(QGuiApplication::clipboard()->mimeData(), cut);
}

bool FirstItemsEqual(const OptIDList& a, const OptIDList& b) {
    if (!a || !b)
        return false;
    const QByteArray& left = a->Bytes();
    const QByteArray& right = b->Bytes();
    const auto sizeOf = [](const QByteArray& bytes) {
        return int(quint8(bytes[0])) | (int(quint8(bytes[1])) << 8);
    };
    const int size = sizeOf(left);
    if (size != sizeOf(right))
        return false;
    if (size <= 2)
        return true;
    return left.mid(2, size - 2) == right.mid(2, size - 2);
}

int KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= MK_ALT;
    return state;
}

int ButtonMaskOf(Qt::MouseButton button) {
    return KeyStateOf(button, Qt::NoModifier) & MK_BUTTONS;
}

TDragContinue QueryContinueDrag(bool escapePressed, int keyState, int dragButton) {
    if (escapePressed || (keyState & MK_BUTTONS & ~dragButton))
        return TDragContinue::Cancel;
    return (keyState & dragButton) ? TDragContinue::Continue : TDragContinue::Drop;
}

bool AutoScroll(QAbstractScrollArea* control, const QPoint& clientPoint) {
    if (!control)
        return false;
    const QWidget* client = control->viewport();
    // One line toward the edge, only where the bar has room to move.
    const auto step = [](QScrollBar* bar, bool forward) {
        if (!bar || bar->maximum() - bar->minimum() <= 0)
            return false;
        bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                                   : QAbstractSlider::SliderSingleStepSub);
        return true;
    };
    bool scrolled = false;
    if (clientPoint.x() < 25)
        scrolled = step(control->horizontalScrollBar(), false);
    else if (clientPoint.x() > client->width() - 25)
        scrolled = step(control->horizontalScrollBar(), true);
    if (clientPoint.y() < 20)
        scrolled = step(control->verticalScrollBar(), false) || scrolled;
    else if (clientPoint.y() > client->height() - 20)
        scrolled = step(control->verticalScrollBar(), true) || scrolled;
    return scrolled;
}

bool TAutoScrollPacer::Due(qint64 now) {
    if (now - m_lastTick <= interval)
        return false;
    m_lastTick = now;
    return true;
}

TVelShellControlHooks::TVelShellControlHooks() {
    ErrorMessage = [](QWidget* parent, const QString& text) {
        QMessageBox::critical(parent, QCoreApplication::applicationName(), text, QMessageBox::Ok);
    };
    ExecMenu = [](QMenu& menu, const QPoint& point) { return menu.exec(point); };
    ExecDrag = [](QDrag& drag, Qt::DropActions allowed, Qt::DropAction preferred) {
        return drag.exec(allowed, preferred);
    };
    TickCount = [] {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        return clock.elapsed();
    };
}

// ---- folder drop target ----

TVelFolderDropTarget::TVelFolderDropTarget(QString folder) : m_folder(std::move(folder)) {
    const QFileInfo info(m_folder);
    m_writable = !m_folder.isEmpty() && info.isDir() && info.isWritable();
}

Qt::DropAction TVelFolderDropTarget::DefaultEffect(const QStringList& files, int keyState,
                                                   Qt::DropActions allowed) const {
    Qt::DropAction wanted;
    if ((keyState & MK_ALT) || (keyState & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT))
        wanted = Qt::LinkAction;
    else if (keyState & MK_CONTROL)
        wanted = Qt::CopyAction;
    else if (keyState & MK_SHIFT)
        wanted = Qt::MoveAction;
    else {
        // Within one volume a drop moves, to another one it copies.
        struct stat source;
        struct stat target;
        const bool sameVolume =
            !files.isEmpty() && ::lstat(QFile::encodeName(files.front()).constData(), &source) == 0 &&
            ::stat(QFile::encodeName(m_folder).constData(), &target) == 0 && source.st_dev == target.st_dev;
        wanted = sameVolume ? Qt::MoveAction : Qt::CopyAction;
    }
    if (allowed & wanted)
        return wanted;
    for (Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction}) {
        if (allowed & action)
            return action;
    }
    return Qt::IgnoreAction;
}

Qt::DropAction TVelFolderDropTarget::DragOver(const QMimeData* data, int keyState,
                                              Qt::DropActions allowed) const {
    if (!m_writable)
        return Qt::IgnoreAction;
    const OptFileList files = FilesFromDataObject(data);
    if (!files)
        return Qt::IgnoreAction;
    const QString target = QFileInfo(m_folder).canonicalFilePath();
    for (const QString& file : *files) {
        // A folder cannot go into itself or below itself.
        const QFileInfo info(file);
        const QString source = info.isSymLink() ? QString() : info.canonicalFilePath();
        if (!source.isEmpty() && info.isDir() && (target == source || target.startsWith(source + u'/')))
            return Qt::IgnoreAction;
    }
    return DefaultEffect(*files, keyState, allowed);
}

Qt::DropAction TVelFolderDropTarget::Drop(const QMimeData* data, int keyState, Qt::DropActions allowed,
                                          const QPoint& screenPoint, const TVelShellControlHooks& hooks,
                                          QWidget* parent, QString* error) const {
    Qt::DropAction effect = DragOver(data, keyState, allowed);
    if (effect == Qt::IgnoreAction)
        return Qt::IgnoreAction;
    const QStringList files = *FilesFromDataObject(data);
    if (keyState & MK_RBUTTON) {
        QMenu menu(parent);
        const auto add = [&menu, allowed, effect](const QString& text, Qt::DropAction action) {
            QAction* item = menu.addAction(text);
            item->setData(int(action));
            item->setEnabled(allowed & action);
            if (action == effect)
                menu.setDefaultAction(item);
        };
        add(QCoreApplication::translate("Pathwright", "&Copy Here"), Qt::CopyAction);
        add(QCoreApplication::translate("Pathwright", "&Move Here"), Qt::MoveAction);
        add(QCoreApplication::translate("Pathwright", "&Link Here"), Qt::LinkAction);
        menu.addSeparator();
        add(QCoreApplication::translate("Pathwright", "Cancel"), Qt::IgnoreAction);
        QAction* chosen = hooks.ExecMenu(menu, screenPoint);
        if (!chosen)
            return Qt::IgnoreAction;
        effect = Qt::DropAction(chosen->data().toInt());
        if (effect == Qt::IgnoreAction)
            return Qt::IgnoreAction;
    }
    QString failure;
    bool ok;
    if (effect == Qt::LinkAction) {
        ok = LinkFiles(files, m_folder, &failure);
    } else {
        QList<QUrl> urls;
        for (const QString& file : files)
            urls.append(QUrl::fromLocalFile(file));
        ok = TransferFiles(urls, m_folder, effect == Qt::MoveAction, &failure);
    }
    if (error)
        *error = failure;
    return ok ? effect : Qt::IgnoreAction;
}

bool LinkFiles(const QStringList& files, const QString& folder, QString* error) {
    bool ok = true;
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        QString target = QDir(folder).filePath(name);
        for (int n = 1; QFileInfo(target).exists() || QFileInfo(target).isSymLink(); ++n)
            target = QDir(folder).filePath(
                name + (n == 1 ? QStringLiteral(" (link)") : QStringLiteral(" (link %1)").arg(n)));
        if (::symlink(QFile::encodeName(QFileInfo(file).absoluteFilePath()).constData(),
                      QFile::encodeName(target).constData()) != 0) {
            *error = QCoreApplication::translate("Pathwright", "Cannot create a link to %1").arg(file);
            ok = false;
        }
    }
    return ok;
}

// ---- members the controls share ----

TVelShellControl::TVelShellControl(QWidget* self) : TComponentState(self), m_widget(self) {}

TVelShellControl::~TVelShellControl() {
    if (m_shellLink)
        m_shellLink->RemoveControl(m_widget);
}

void TVelShellControl::SetShellLink(TVelShellLink* link) {
    if (link == m_shellLink)
        return;
    if (m_shellLink) {
        m_shellLink->RemoveControl(m_widget);
        RemoveFreeNotification(m_shellLink);
    }
    m_shellLink = link;
    if (m_shellLink) {
        m_shellLink->AddControl(m_widget);
        FreeNotification(m_shellLink);
    }
}

void TVelShellControl::Notification(TComponentState* component, TOperation operation) {
    TComponentState::Notification(component, operation);
    // The link is going: forget it without touching it.
    if (operation == TOperation::opRemove && component == m_shellLink)
        m_shellLink = nullptr;
}

bool TVelShellControl::FirstWindowSetup() {
    if (m_initialised)
        return false;
    m_initialised = true;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        m_widget->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    return true;
}

// ---- drag-source rules during a running drag ----

TDragButtonWatcher::TDragButtonWatcher(int dragButton) : m_dragButton(dragButton) {
    QCoreApplication::instance()->installEventFilter(this);
}

TDragButtonWatcher::~TDragButtonWatcher() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool TDragButtonWatcher::eventFilter(QObject* watched, QEvent* event) {
    bool escape = false;
    int keyState = m_dragButton;
    if (event->type() == QEvent::KeyPress) {
        escape = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    } else if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        keyState |= KeyStateOf(mouse->buttons() | mouse->button(), Qt::NoModifier);
    } else {
        return QObject::eventFilter(watched, event);
    }
    if (!m_cancelled && QueryContinueDrag(escape, keyState, m_dragButton) == TDragContinue::Cancel) {
        m_cancelled = true;
        QDrag::cancel();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace wordloom::shell
