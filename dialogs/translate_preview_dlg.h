// What a translation run will do, shown before it is asked for: the files that change (with the
// number of texts replaced and the change itself as a unified diff), the files that stay, and the
// texts that have no translation.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace wordloom {

struct PreviewFile {
    QString name;
    int textsReplaced = 0;
    QString diff; ///< unified diff of the file's text (a form in text form)
};

class TranslatePreviewDlg : public QDialog {
    Q_OBJECT
public:
    TranslatePreviewDlg(std::vector<PreviewFile> changed, const QStringList& unchanged,
                        const QStringList& untranslated, QWidget* parent = nullptr);

    QListWidget* Files() const { return m_files; }
    QPlainTextEdit* Diff() const { return m_diff; }
    QListWidget* Untranslated() const { return m_untranslated; }
    QPushButton* ContinueButton() const { return m_continue; }

private:
    void ShowFile(int row);

    std::vector<PreviewFile> m_changed;
    QListWidget* m_files;
    QPlainTextEdit* m_diff;
    QListWidget* m_untranslated;
    QPushButton* m_continue;
};

} // namespace wordloom
