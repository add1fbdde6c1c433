// The process-wide icon registry (the "system image list") and TVelSystemImageList, the component
// that shows it in small or large size, shared or as a private copy.
#pragma once

#include "shell/core/id_list.h"
#include "shell/forms/component.h"

#include <QHash>
#include <QIcon>
#include <QPixmap>

#include <vector>

class QMimeDatabase;
class QMimeType;

namespace wordloom::shell {

// The type of the file at `path` from names alone (nothing is opened): a symbolic link has the type
// of the file it finally points to, and the link type when it points nowhere.
QMimeType FileMimeType(const QByteArray& path);

// Hands out stable indexes for icons: an index once given always shows the same icon, in every size.
// Main thread only.
class IconRegistry {
public:
    static IconRegistry& Instance();

    // The index of a theme icon, trying the names in order and falling back to a style icon of the
    // given kind (a generic file when none). Misses are remembered, so a theme is asked once per name.
    int IndexOf(const QStringList& themeNames, int styleFallback);
    // The icon index of an object of the namespace; `open` for the open-state (selected) icon.
    int IconIndexFor(const IDList& absolute, bool open);
    int Count() const { return int(m_icons.size()); }
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index, int size) const;

private:
    IconRegistry();
    QIcon ThemeIcon(const QString& name);

    std::vector<QIcon> m_icons;
    QHash<QString, int> m_indexByKey;
    QHash<QString, QIcon> m_themeIcons; // null icon = the theme has no such icon
    QHash<QString, int> m_indexByMime;
    std::unique_ptr<QMimeDatabase> m_mimeDatabase;
};

// An image list over the icon registry. Shared, it always shows the registry as it grows; a private
// copy holds the icons the registry had when it was attached. No image data goes into form files:
// after a form is read the registry is attached again.
class TVelSystemImageList : public TComponent {
    Q_OBJECT
public:
    enum TVelImageListSize { si_small, si_large };
    Q_ENUM(TVelImageListSize)
    enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
    Q_ENUM(TDrawingStyle)

private:
    Q_PROPERTY(bool ShareImages READ GetShareImages WRITE SetShareImages)
    Q_PROPERTY(wordloom::shell::TVelSystemImageList::TVelImageListSize Size READ Size WRITE SetSize)
    Q_PROPERTY(wordloom::shell::TVelSystemImageList::TDrawingStyle DrawingStyle READ DrawingStyle WRITE
                   SetDrawingStyle)
    Q_PROPERTY(TMethod OnChange READ OnChangeMethod WRITE SetOnChangeMethod)
    Q_CLASSINFO("Default:DrawingStyle", "dsNormal")

public:
    // Shared, small, attached.
    explicit TVelSystemImageList(QObject* owner = nullptr);

    bool GetShareImages() const { return m_shareImages; }
    // Re-attaches under the setting in force before the call, then stores the new one: the new value
    // governs the next attachment (a size change or a form load).
    void SetShareImages(bool value);
    TVelImageListSize Size() const { return m_size; }
    void SetSize(TVelImageListSize size);
    TDrawingStyle DrawingStyle() const { return m_drawingStyle; }
    void SetDrawingStyle(TDrawingStyle style) { m_drawingStyle = style; }

    // 16 or 32 pixels.
    int IconSize() const { return m_size == si_small ? 16 : 32; }
    int Count() const;
    // The icon at an index in this list's size; a null pixmap outside the list.
    QPixmap Pixmap(int index) const;
    bool IsPrivateCopy() const { return m_private; }

    void Loaded() override;

    TNotifyEvent OnChange;
    TMethod OnChangeMethod() const { return OnChange.Method(); }
    void SetOnChangeMethod(const TMethod& method) { OnChange.SetMethod(method); }

private:
    void AttachSystemList();

    bool m_shareImages = true;
    TVelImageListSize m_size = si_small;
    TDrawingStyle m_drawingStyle = dsNormal;
    bool m_private = false;
    std::vector<QPixmap> m_copy;
};

} // namespace wordloom::shell
