// What the shell list, tree and combo box share: the file-operation report, file lists from the
// clipboard and from drag data, the drag-source rules, auto-scroll during a drag, the drop target of a
// folder, the link membership and the first-window set-up.
#pragma once

#include "shell/core/id_list.h"
#include "shell/forms/component.h"

#include <QFlags>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QAbstractScrollArea;
class QAction;
class QDrag;
class QMenu;
class QMimeData;
class QWidget;

namespace wordloom::shell {

class TVelShellLink;

// The elements of an operation report, as bits of a 16-bit flag word.
enum class TVelShellOperation : quint16 {
    opCopy = 0x001,
    opMove = 0x002,
    opDragSource = 0x004,
    opDropTarget = 0x008,
    opCutDone = 0x010,
    opPaste = 0x020,
    opDelete = 0x040,
    opRemoved = 0x080,
    opClipboard = 0x100,
    opRename = 0x200,
};
Q_DECLARE_FLAGS(TVelShellOperations, TVelShellOperation)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVelShellOperations)

// (Sender, Operation, Files, Destination).
using TOnOperation = TEvent<QObject*, TVelShellOperations, const QStringList&, const QString&>;

// A file list that may be missing ("none"), as the clipboard and drag data give it.
using OptFileList = std::optional<QStringList>;

// The local files of drag or clipboard data (text/uri-list, the other file managers' copied-files
// formats, plain paths); none when it carries no file. `cut` tells whether they were marked as cut.
OptFileList FilesFromDataObject(const QMimeData* data, bool* cut = nullptr);
// FilesFromDataObject of the clipboard.
OptFileList ClipboardFiles(bool* cut = nullptr);

// Compares only the first items of two lists, byte for byte.
bool FirstItemsEqual(const OptIDList& a, const OptIDList& b);

// Mouse-button bits of a key state (the classic MK_ values) and their mask.
constexpr int MK_LBUTTON = 0x01;
constexpr int MK_RBUTTON = 0x02;
constexpr int MK_SHIFT = 0x04;
constexpr int MK_CONTROL = 0x08;
constexpr int MK_MBUTTON = 0x10;
constexpr int MK_ALT = 0x20;
constexpr int MK_BUTTONS = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
int KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
int ButtonMaskOf(Qt::MouseButton button);

// The drag-source answers.
enum class TDragContinue { Continue, Drop, Cancel };
// Escape or any other mouse button cancels; releasing the drag button drops.
TDragContinue QueryContinueDrag(bool escapePressed, int keyState, int dragButton);

// Scrolls one line toward an edge the point is near: 25 pixels left and right, 20 top and bottom, and
// only in a direction that has a scroll range. True when it scrolled.
bool AutoScroll(QAbstractScrollArea* control, const QPoint& clientPoint);

// Paces AutoScroll to one step per interval (100 ms) on a clock the tests can replace.
class TAutoScrollPacer {
public:
    void Start(qint64 now) { m_lastTick = now; }
    // True (and the tick renewed) when the interval has passed since the last step.
    bool Due(qint64 now);
    qint64 interval = 100;

private:
    qint64 m_lastTick = 0;
};

// What the controls ask of the user and of the clock; tests replace them.
struct TVelShellControlHooks {
    // A message with the error icon and an OK button.
    std::function<void(QWidget* parent, const QString& text)> ErrorMessage;
    // Runs a menu at a screen point; the chosen action (already triggered) or null.
    std::function<QAction*(QMenu& menu, const QPoint& point)> ExecMenu;
    // Runs a drag until it ends; the effect the target chose.
    std::function<Qt::DropAction(QDrag& drag, Qt::DropActions allowed, Qt::DropAction preferred)> ExecDrag;
    // Milliseconds of a monotonic clock.
    std::function<qint64()> TickCount;
    TVelShellControlHooks();
};

// A folder of the file system as a drop target: works out the effect of a drag from its key state and
// carries the drop out (copy, move or link; with the right button after asking Copy Here / Move Here /
// Link Here / Cancel).
class TVelFolderDropTarget {
public:
    // An empty or unwritable folder takes nothing.
    explicit TVelFolderDropTarget(QString folder);
    const QString& Folder() const { return m_folder; }
    // The effect a drop would have now; NoAction when the data cannot go here.
    Qt::DropAction DragOver(const QMimeData* data, int keyState, Qt::DropActions allowed) const;
    // Carries the drop out; the effect done (NoAction when cancelled or failed). `keyState` is the one of
    // the last DragOver (the buttons are up at the drop).
    Qt::DropAction Drop(const QMimeData* data, int keyState, Qt::DropActions allowed,
                        const QPoint& screenPoint, const TVelShellControlHooks& hooks, QWidget* parent,
                        QString* error = nullptr) const;
    // The effect without the right-button menu: Ctrl copies, Shift moves, both or Alt link; otherwise a
    // move on the same volume and a copy to another one.
    Qt::DropAction DefaultEffect(const QStringList& files, int keyState, Qt::DropActions allowed) const;

private:
    QString m_folder;
    bool m_writable = false;
};

// Makes symbolic links to the files in `folder`; a name already there gets " (link)", " (link 2)", ...
bool LinkFiles(const QStringList& files, const QString& folder, QString* error);

// Members the three controls share: the link, the drag button, the first-window set-up and Version.
class TVelShellControl : public TComponentState {
public:
    explicit TVelShellControl(QWidget* self);
    ~TVelShellControl() override;

    TVelShellLink* ShellLink() const { return m_shellLink; }
    // Leaves the old link and joins the new one; forgets a link that is destroyed.
    void SetShellLink(TVelShellLink* link);
    void Notification(TComponentState* component, TOperation operation) override;

    int DragButton() const { return m_dragButton; }
    bool Initialised() const { return m_initialised; }
    TVelShellControlHooks& ControlHooks() { return m_hooks; }

protected:
    // Once: the icon-title font for the control; returns true the first time.
    bool FirstWindowSetup();

    QWidget* m_widget;
    TVelShellLink* m_shellLink = nullptr;
    int m_dragButton = 0;
    bool m_initialised = false;
    TVelShellControlHooks m_hooks;
};

// While a drag from a control runs: cancels it when another mouse button is pressed or Escape comes.
class TDragButtonWatcher : public QObject {
public:
    explicit TDragButtonWatcher(int dragButton);
    ~TDragButtonWatcher() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool Cancelled() const { return m_cancelled; }

private:
    int m_dragButton;
    bool m_cancelled = false;
};

} // namespace wordloom::shell

Q_DECLARE_METATYPE(wordloom::shell::TVelShellOperations)
