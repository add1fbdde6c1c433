// The about box: product name with its shadow, version, icon, and the maker's links.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace wordloom {

class TUrlLabel;

/// The program-wide version text, set to the project version when the workbench window is first shown.
QString& VersionText();

inline const QString MakerMail = QStringLiteral("support@wordloom.example");
inline const QString MakerWeb = QStringLiteral("https://www.wordloom.example/");
inline const QString MakerComponentsPage = QStringLiteral("https://www.wordloom.example/pathwright/");

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);

    QLabel* ProductName() const { return m_productName; }
    QLabel* Shadow() const { return m_shadow; }
    QLabel* Version() const { return m_version; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    TUrlLabel* MailLabel() const { return m_mail; }
    TUrlLabel* WebLabel() const { return m_web; }
    TUrlLabel* ComponentsLabel() const { return m_components; }
    QPushButton* OKButton() const { return m_okButton; }

private:
    void FormCreate();

    QLabel* m_programIcon;
    QLabel* m_shadow;
    QLabel* m_productName;
    QLabel* m_version;
    TUrlLabel* m_mail;
    TUrlLabel* m_web;
    TUrlLabel* m_components;
    QPushButton* m_okButton;
};

} // namespace wordloom
