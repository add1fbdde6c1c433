#include "app/db_navigator.h"

#include "app/failure_report.h"
#include "app/strings_grid_model.h"
#include "app/tool_icons.h"
#include "dialogs/message_boxes.h"

#include <QAction>
#include <QIcon>

namespace wordloom {

namespace {

struct ButtonLook {
    NavigateBtn button;
    const char* hint;
};

constexpr ButtonLook Looks[] = {
    {NavigateBtn::First, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "First record")},
    {NavigateBtn::Prior, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Prior record")},
    {NavigateBtn::Next, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Next record")},
    {NavigateBtn::Last, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Last record")},
    {NavigateBtn::Insert, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Insert record")},
    {NavigateBtn::Delete, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Delete record")},
    {NavigateBtn::Edit, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Edit record")},
    {NavigateBtn::Post, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Post edit")},
    {NavigateBtn::Cancel, QT_TRANSLATE_NOOP("wordloom::TDBNavigator", "Cancel edit")},
};

QIcon ButtonIcon(NavigateBtn button) {
    switch (button) {
    case NavigateBtn::First:
        return ToolIcon("go-first", QStyle::SP_MediaSkipBackward);
    case NavigateBtn::Prior:
        return ToolIcon("go-previous", QStyle::SP_ArrowLeft);
    case NavigateBtn::Next:
        return ToolIcon("go-next", QStyle::SP_ArrowRight);
    case NavigateBtn::Last:
        return ToolIcon("go-last", QStyle::SP_MediaSkipForward);
    case NavigateBtn::Insert:
        return ToolIcon("list-add", QStringLiteral("+"));
    case NavigateBtn::Delete:
        return ToolIcon("list-remove", QStringLiteral("\u2212"));
    case NavigateBtn::Edit:
        return ToolIcon("document-edit", QStringLiteral("\u270E"));
    case NavigateBtn::Post:
        return ToolIcon("object-select", QStyle::SP_DialogApplyButton);
    case NavigateBtn::Cancel:
        return ToolIcon("process-stop", QStyle::SP_DialogCancelButton);
    }
    return {};
}

} // namespace

TDBNavigator::TDBNavigator(StringsGridModel* model, QToolBar* toolBar, QWidget* window)
    : QObject(toolBar), m_model(model), m_window(window) {
    for (const ButtonLook& look : Looks) {
        const QString hint = tr(look.hint);
        QAction* action = toolBar->addAction(ButtonIcon(look.button), hint);
        action->setToolTip(hint);
        const NavigateBtn button = look.button;
        connect(action, &QAction::triggered, this, [this, button] { Click(button); });
        m_actions.append(action);
    }
}

void TDBNavigator::SetEnabled(bool enabled) {
    for (QAction* action : m_actions) {
        action->setEnabled(enabled);
    }
}

void TDBNavigator::Click(NavigateBtn button) {
    ReportFailures(m_window, [&] {
        switch (button) {
        case NavigateBtn::First:
            return m_model->First();
        case NavigateBtn::Prior:
            return m_model->Prior();
        case NavigateBtn::Next:
            return m_model->Next();
        case NavigateBtn::Last:
            return m_model->Last();
        case NavigateBtn::Insert:
            return m_model->Insert();
        case NavigateBtn::Delete:
            if (m_model->CurrentRow() >= 0 && AskOkCancel(m_window, tr("Delete record?"))) {
                m_model->Delete();
            }
            return;
        case NavigateBtn::Edit:
            return m_model->Edit();
        case NavigateBtn::Post:
            return m_model->Post();
        case NavigateBtn::Cancel:
            return m_model->Cancel();
        }
    });
}

} // namespace wordloom
