#include "app/db_navigator.h"

#include "app/failure_report.h"
#include "app/strings_grid_model.h"
#include "dialogs/message_boxes.h"

#include <QAction>
#include <QIcon>

namespace wordloom {

namespace {

struct ButtonLook {
    NavigateBtn button;
    const char* icon;
    const char* hint;
};

constexpr ButtonLook Looks[] = {
    {NavigateBtn::First, "go-first", "First record"},
    {NavigateBtn::Prior, "go-previous", "Prior record"},
    {NavigateBtn::Next, "go-next", "Next record"},
    {NavigateBtn::Last, "go-last", "Last record"},
    {NavigateBtn::Insert, "list-add", "Insert record"},
    {NavigateBtn::Delete, "list-remove", "Delete record"},
    {NavigateBtn::Edit, "edit-entry", "Edit record"},
    {NavigateBtn::Post, "object-select", "Post edit"},
    {NavigateBtn::Cancel, "process-stop", "Cancel edit"},
};

} // namespace

TDBNavigator::TDBNavigator(StringsGridModel* model, QToolBar* toolBar, QWidget* window)
    : QObject(toolBar), m_model(model), m_window(window) {
    for (const ButtonLook& look : Looks) {
        const QString hint = QString::fromLatin1(look.hint);
        QAction* action = toolBar->addAction(QIcon::fromTheme(QString::fromLatin1(look.icon)), hint);
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
            if (m_model->CurrentRow() >= 0 && AskOkCancel(m_window, QStringLiteral("Delete record?"))) {
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
