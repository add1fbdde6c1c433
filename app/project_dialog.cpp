#include "app/project_dialog.h"

#include <QCoreApplication>

namespace wordloom {

namespace {

NameOnlyIconProvider* ProjectDialogIcons() {
    // Outlives every dialog: the dialog's model keeps asking it until the model is gone.
    static NameOnlyIconProvider provider;
    return &provider;
}

} // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) {
        return icon(Drive);
    }
    if (info.isDir()) {
        return icon(Folder);
    }
    const QMimeType type = m_mimeDatabase.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    QIcon themed = QIcon::fromTheme(type.iconName());
    if (themed.isNull()) {
        themed = QIcon::fromTheme(type.genericIconName());
    }
    return themed.isNull() ? icon(File) : themed;
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (!info.isFile()) {
        return QFileIconProvider::type(info); // folders, drives and links: no content read
    }
    const QMimeType type = m_mimeDatabase.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

std::unique_ptr<QFileDialog> NewProjectDialog(QWidget* parent, const QString& directory) {
    // The constructor already makes the desktop's dialog when one is offered, and that one starts
    // listing the folder at once; only the application-wide switch keeps it from being made.
    const bool nativeWasOff = QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    auto dialog = std::make_unique<QFileDialog>(
        parent, QCoreApplication::translate("ProjectDialog", "Select Delphi Project"), directory,
        QCoreApplication::translate("ProjectDialog", "Delphi Projects (*.dpr)"));
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, nativeWasOff);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // Set before the event loop runs: the model asks for icons and types as its listing arrives.
    dialog->setIconProvider(ProjectDialogIcons());
    dialog->setObjectName(QStringLiteral("OpenDialog"));
    dialog->setDefaultSuffix(QStringLiteral("dpr"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

} // namespace wordloom
