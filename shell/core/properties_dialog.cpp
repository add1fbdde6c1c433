#include "shell/core/properties_dialog.h"

#include "shell/core/file_time_text.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

namespace wordloom::shell {

namespace {

QString PermissionText(QFile::Permissions permissions) {
    const struct {
        QFile::Permission bit;
        char letter;
    } bits[] = {{QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
                {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
                {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}};
    QString text;
    for (const auto& bit : bits)
        text.append(permissions.testFlag(bit.bit) ? QLatin1Char(bit.letter) : QLatin1Char('-'));
    return text;
}

QString SizeText(qint64 bytes) {
    if (bytes < 1024)
        return bytes == 1 ? QCoreApplication::translate("Pathwright", "1 byte")
                          : QCoreApplication::translate("Pathwright", "%1 bytes").arg(bytes);
    return QCoreApplication::translate("Pathwright", "%1 (%2 bytes)")
        .arg(QLocale().formattedDataSize(bytes), QLocale().toString(bytes));
}

} // namespace

TVelPropertiesDialog::TVelPropertiesDialog(const QStringList& names, const QStringList& paths,
                                           QWidget* parent)
    : QDialog(parent), m_form(new QFormLayout) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    if (names.size() == 1) {
        setWindowTitle(QCoreApplication::translate("Pathwright", "%1 Properties").arg(names.front()));
        AddField(QCoreApplication::translate("Pathwright", "Name"), names.front());
        const QString path = paths.value(0);
        if (path.isEmpty())
            return;
        const QFileInfo info(path);
        static const QMimeDatabase database;
        AddField(QCoreApplication::translate("Pathwright", "Type"),
                 info.isDir()
                     ? database.mimeTypeForName(QStringLiteral("inode/directory")).comment()
                     : database.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).comment());
        if (info.isSymLink())
            AddField(QCoreApplication::translate("Pathwright", "Link to"), info.symLinkTarget());
        AddField(QCoreApplication::translate("Pathwright", "Location"), info.absolutePath());
        if (!info.isDir())
            AddField(QCoreApplication::translate("Pathwright", "Size"), SizeText(info.size()));
        AddField(QCoreApplication::translate("Pathwright", "Changed"), FormatFileTime(info.lastModified()));
        AddField(QCoreApplication::translate("Pathwright", "Permissions"),
                 PermissionText(info.permissions()));
        return;
    }
    setWindowTitle(QCoreApplication::translate("Pathwright", "Properties"));
    AddField(QCoreApplication::translate("Pathwright", "Name"),
             QCoreApplication::translate("Pathwright", "%1 items").arg(names.size()));
    qint64 total = 0;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!path.isEmpty() && !info.isDir())
            total += info.size();
    }
    AddField(QCoreApplication::translate("Pathwright", "Size"), SizeText(total));
}

void TVelPropertiesDialog::AddField(const QString& field, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(field + u':', label);
    m_fields.append(field);
    m_texts.append(text);
}

QString TVelPropertiesDialog::FieldText(const QString& field) const {
    const qsizetype index = m_fields.indexOf(field);
    return index < 0 ? QString() : m_texts[index];
}

} // namespace wordloom::shell
