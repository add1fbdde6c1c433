// The record navigator: First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel.
#pragma once

#include <QToolBar>
#include <QWidget>

class QAction;

namespace wordloom {

class StringsGridModel;

enum class NavigateBtn { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };

class TDBNavigator : public QObject {
    Q_OBJECT
public:
    /// Adds the nine buttons to `toolBar`; they act on the model's table.
    TDBNavigator(StringsGridModel* model, QToolBar* toolBar, QWidget* window);

    QAction* Button(NavigateBtn button) const { return m_actions.at(static_cast<int>(button)); }
    void SetEnabled(bool enabled);

private:
    void Click(NavigateBtn button);

    StringsGridModel* m_model;
    QWidget* m_window;
    QList<QAction*> m_actions;
};

} // namespace wordloom
