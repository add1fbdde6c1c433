// The properties of one or several objects: name, type, location, size, change time, permissions.
#pragma once

#include <QDialog>
#include <QStringList>

class QFormLayout;

namespace wordloom::shell {

class TVelPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // `names` are the display names, `paths` the file-system paths (empty for virtual objects).
    TVelPropertiesDialog(const QStringList& names, const QStringList& paths, QWidget* parent = nullptr);

    // The text shown for a field ("Name", "Type", "Location", "Size", "Changed", "Permissions"); empty
    // when the field is not shown.
    QString FieldText(const QString& field) const;

private:
    void AddField(const QString& field, const QString& text);
    QFormLayout* m_form;
    QStringList m_fields;
    QStringList m_texts;
};

} // namespace wordloom::shell
