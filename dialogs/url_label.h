// A label that opens a link when clicked: blue underlined text, a hand pointer, a "Copy" menu.
#pragma once

#include <QColor>
#include <QLabel>

class QMenu;

namespace wordloom {

class TUrlLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QColor ActiveColor READ ActiveColor WRITE SetActiveColor)
public:
    explicit TUrlLabel(QWidget* owner = nullptr);

    /// The link target; when empty or only blanks the caption is the target.
    QString URL() const { return m_url; }
    void SetURL(const QString& url) { m_url = url; }
    /// The text colour while the left button is held down; purple unless set.
    QColor ActiveColor() const { return m_activeColor; }
    void SetActiveColor(const QColor& color) { m_activeColor = color; }
    /// What a click opens; empty when the click opens nothing.
    QString Target() const;
    QColor TextColor() const;
    QMenu* CopyMenu() const { return m_popup; }

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Click();
    void SetTextColor(const QColor& color);

    QString m_url;
    QColor m_activeColor{128, 0, 128};
    QColor m_savedColor; ///< lives from a left press to the following release
    bool m_leftDown = false;
    QMenu* m_popup;
};

} // namespace wordloom
