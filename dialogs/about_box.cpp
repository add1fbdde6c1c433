#include "dialogs/about_box.h"

#include "dialogs/url_label.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace wordloom {

QString& VersionText() {
    static QString text;
    return text;
}

namespace {

QLabel* NameLabel(QWidget* parent, int x, int y, const QColor& color) {
    auto* label = new QLabel(parent);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(19);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    label->setGeometry(x, y, 126, 23);
    return label;
}

TUrlLabel* LinkRow(QWidget* area, const QString& caption, int y, int linkX, int linkY) {
    auto* label = new QLabel(caption, area);
    label->move(7, y);
    label->adjustSize();
    auto* link = new TUrlLabel(area);
    // A translated caption may be wider than the English one the positions were made for.
    link->move(std::max(linkX, label->x() + label->width()), linkY);
    return link;
}

} // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("Info"));
    setFixedSize(303, 211);
    QFont small = font(); // the layout's pixel positions were made for a small dialog font
    small.setPixelSize(11);
    setFont(small);

    auto* top = new QFrame(this);
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    top->setGeometry(0, 0, 303, 70);
    m_programIcon = new QLabel(top);
    m_programIcon->setGeometry(17, 16, 43, 41);
    m_shadow = NameLabel(top, 90, 14, Qt::gray);
    m_productName = NameLabel(top, 89, 12, Qt::black); // created after the shadow: it lies on top
    m_version = new QLabel(top);
    m_version->move(92, 41);

    auto* lower = new QFrame(this);
    lower->setFrameStyle(QFrame::Panel | QFrame::Raised);
    lower->setGeometry(0, 70, 303, 100);
    m_mail = LinkRow(lower, tr("E-Mail:"), 25, 50, 24);
    m_mail->setText(MakerMail);
    m_mail->SetURL(QStringLiteral("mailto:") + MakerMail);
    m_web = LinkRow(lower, tr("WWW:"), 42, 49, 41);
    m_web->setText(MakerWeb);
    m_web->SetActiveColor(Qt::red);
    m_components = LinkRow(lower, tr("Try our "), 62, 45, 62);
    m_components->setText(tr("Pathwright component suite for Delphi"));
    m_components->SetURL(MakerComponentsPage);
    for (QLabel* link :
         {static_cast<QLabel*>(m_mail), static_cast<QLabel*>(m_web), static_cast<QLabel*>(m_components)}) {
        link->adjustSize();
    }

    auto* bottom = new QFrame(this);
    bottom->setGeometry(0, 170, 303, 41);
    m_okButton = new QPushButton(tr("OK"), bottom);
    m_okButton->setGeometry(107, 6, 89, 26);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TAboutBox::FormCreate() {
    const QString title = QApplication::applicationName();
    m_productName->setText(title);
    m_shadow->setText(title);
    m_version->setText(tr("Version %1").arg(VersionText()));
    m_version->adjustSize();
    m_programIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
}

} // namespace wordloom
