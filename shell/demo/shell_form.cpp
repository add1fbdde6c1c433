#include "shell/demo/shell_form.h"

#include "shell/controls/shell_combo.h"
#include "shell/controls/shell_list.h"
#include "shell/controls/shell_tree.h"
#include "shell/demo/form_controls.h"
#include "shell/forms/form_reader.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>

#include <mutex>

namespace wordloom::shell {

namespace {

// The form file names its start folder with this literal.
constexpr char kStartFolderLiteral[] = "'$HOME/'";

void RegisterShellClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterFormControls();
        TComponentRegistry::Register<TVelShellTree>();
        TComponentRegistry::Register<TVelShellCombo>();
        TComponentRegistry::Register<TVelShellList>();
    });
}

// A text as a string expression of the form file: printable ASCII between quotes, everything else as
// #codes, so any folder name survives the form's text form.
std::string FormLiteral(const QString& text) {
    std::string result;
    bool quoted = false;
    for (QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= 32 && code < 127) {
            if (!quoted) {
                result += '\'';
                quoted = true;
            }
            if (code == u'\'')
                result += "''";
            else
                result += char(code);
        } else {
            if (quoted) {
                result += '\'';
                quoted = false;
            }
            result += '#' + std::to_string(int(code));
        }
    }
    if (quoted)
        result += '\'';
    return result.empty() ? std::string("''") : result;
}

// The form file holds English captions and hints; these are the ones shown in the user's language.
constexpr const char* kFormTexts[] = {
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Demo for Pathwright Components"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Parent Folder"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Delete"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Show Properties"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Show Large Icons"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Show Small Icons"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Show List"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Show Report"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Connect network drive"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Full &Expand"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "Full &Collapse"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "&File"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "E&xit"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "&Help"),
    QT_TRANSLATE_NOOP("wordloom::shell::TShellForm", "&About..."),
};

void TranslateFormTexts(QObject* form) {
    QList<QObject*> objects = form->findChildren<QObject*>();
    objects.prepend(form);
    for (QObject* object : objects) {
        for (const char* name : {"Caption", "Hint"}) {
            const QByteArray text = object->property(name).toString().toUtf8();
            for (const char* known : kFormTexts) {
                if (text == known) {
                    object->setProperty(name, TShellForm::tr(known));
                    break;
                }
            }
        }
    }
}

} // namespace

TShellForm::TShellForm(QWidget* owner, const QString& startFolder)
    : QWidget(owner, Qt::Window), TComponentState(this) {
    RegisterShellClasses();
    m_hooks.Message = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
        box.exec();
    };
    m_hooks.About = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::about(parent, caption, text);
    };
    m_hooks.OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_menuBar = new QMenuBar(this);
    ReadForm(this, FormText(startFolder));
}

TShellForm::~TShellForm() = default;

std::string TShellForm::FormText(const QString& startFolder) {
    QFile file(QStringLiteral(":/wordloom/ShellForm.dfm"));
    if (!file.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Cannot open file ShellForm.dfm"));
    std::string text = file.readAll().toStdString();
    QString folder = startFolder.isEmpty() ? QDir::homePath() : QFileInfo(startFolder).absoluteFilePath();
    if (!folder.endsWith(u'/'))
        folder.append(u'/');
    const std::string literal = FormLiteral(folder);
    for (std::size_t at = text.find(kStartFolderLiteral); at != std::string::npos;
         at = text.find(kStartFolderLiteral, at + literal.size()))
        text.replace(at, sizeof(kStartFolderLiteral) - 1, literal);
    return text;
}

QString TShellForm::HomePage() const {
    return StatusBar1() ? StatusBar1()->SimpleText() : QString();
}

void TShellForm::Loaded() {
    TComponentState::Loaded();
    TranslateFormTexts(this);
    if (m_menu)
        m_menu->FillMenuBar(m_menuBar);
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &request);
}

bool TShellForm::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) {
        const int barHeight = m_menuBar->actions().isEmpty() ? 0 : m_menuBar->sizeHint().height();
        m_menuBar->setGeometry(0, 0, width(), barHeight);
        AlignControls(this, rect().adjusted(0, barHeight, 0, 0));
    }
    return QWidget::event(event);
}

// ---- the components ----

TVelShellTree* TShellForm::ShellTree() const {
    return findChild<TVelShellTree*>(QStringLiteral("ShellTree"));
}

TVelShellList* TShellForm::ShellListView() const {
    return findChild<TVelShellList*>(QStringLiteral("ShellListView"));
}

TVelShellCombo* TShellForm::VelShellCombo1() const {
    return findChild<TVelShellCombo*>(QStringLiteral("VelShellCombo1"));
}

TVelShellLink* TShellForm::VelShellLink() const {
    return findChild<TVelShellLink*>(QStringLiteral("VelShellLink"));
}

TStatusBar* TShellForm::StatusBar1() const {
    return findChild<TStatusBar*>(QStringLiteral("StatusBar1"));
}

// ---- handlers ----

bool TShellForm::HasFocus(const QWidget* control) const {
    const QWidget* focused = QApplication::focusWidget();
    return control && focused && (focused == control || control->isAncestorOf(focused));
}

void TShellForm::RunOnFocused(const QString& verb) {
    if (HasFocus(ShellListView()))
        ShellListView()->ExecuteCommand(verb);
    else if (HasFocus(ShellTree()))
        ShellTree()->ExecuteCommand(verb);
}

void TShellForm::ParentButtonClick(QObject*) {
    if (TVelShellTree* tree = ShellTree())
        tree->SelectParent();
}

void TShellForm::DeleteButtonClick(QObject*) {
    RunOnFocused(QStringLiteral("delete"));
}

void TShellForm::PropertiesButtonClick(QObject*) {
    RunOnFocused(QStringLiteral("properties"));
}

void TShellForm::SpeedButton1Click(QObject* sender) {
    auto* button = qobject_cast<TSpeedButton*>(sender);
    if (button && ShellListView() && button->Tag() >= 0 && button->Tag() <= 3)
        ShellListView()->SetViewStyle(TVelShellList::TViewStyle(button->Tag()));
}

void TShellForm::SpeedButton5Click(QObject*) {
    if (TVelShellTree* tree = ShellTree())
        m_hooks.Message(this, tree->NodePath(tree->Selected()));
}

void TShellForm::ExpandAll(TVelShellTreeNode* node, QSet<QString>& seen, int depth) {
    if (!node)
        return;
    // A folder reached twice (through a symbolic link, or a user folder that is the home folder) is
    // opened once: the walk must end.
    const QString path = ShellTree()->NodePath(node);
    const QString canonical = path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty()) {
        if (seen.contains(canonical))
            return;
        seen.insert(canonical);
    }
    if (depth > 64)
        return;
    ShellTree()->ExpandNode(node);
    for (int i = 0; i < node->childCount(); ++i)
        ExpandAll(TVelShellTree::NodeOf(node->child(i)), seen, depth + 1);
}

void TShellForm::FullExpand1Click(QObject*) {
    TVelShellTree* tree = ShellTree();
    if (!tree || !tree->Selected())
        return;
    QSet<QString> seen;
    ExpandAll(tree->Selected(), seen, 0);
}

void TShellForm::FullCollapse1Click(QObject*) {
    TVelShellTree* tree = ShellTree();
    if (!tree || !tree->Selected())
        return;
    std::function<void(QTreeWidgetItem*)> collapse = [&collapse](QTreeWidgetItem* item) {
        for (int i = 0; i < item->childCount(); ++i)
            collapse(item->child(i));
        item->setExpanded(false);
    };
    collapse(tree->Selected());
}

void TShellForm::Exit1Click(QObject*) {
    close();
}

void TShellForm::About1Click(QObject*) {
    const QString application = tr("Advanced Sample for Pathwright components");
    const QString further = tr("Advanced sample for TPathwright\nMore info at: %1").arg(HomePage());
    m_hooks.About(this, tr("About %1").arg(application), application + u'\n' + further);
}

void TShellForm::StatusBar1Click(QObject*) {
    if (TStatusBar* bar = StatusBar1())
        m_hooks.OpenUrl(QUrl(bar->SimpleText()));
}

void TShellForm::ShellListViewOperation(QObject*, TVelShellOperations, const QStringList&, const QString&) {}

void TShellForm::ShellListViewContextMenuSelect(const QString&, bool&) {}

} // namespace wordloom::shell
