// Item identifier lists: the namespace's own form of a path.
//
// Layout, byte for byte: each item is a 16-bit little-endian size that counts itself, followed by the
// item data; a 16-bit zero ends the list. The empty list (the terminator alone) is the desktop. Our item
// data is one kind byte followed by the name's bytes (Linux names are bytes, decoded only for display).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace wordloom::shell {

// The kind byte that leads every item's data.
enum class ItemKind : std::uint8_t {
    Computer = 1, // the Computer folder on the desktop
    Volume = 2,   // a mounted volume inside Computer; name = its mount point
    Home = 3,     // the user's home folder on the desktop
    Trash = 4,    // the freedesktop trash on the desktop
    Network = 5,  // the network folder on the desktop
    File = 0x40,  // a file-system object that is not a directory; name = its file name
    Dir = 0x41,   // a directory, or a symbolic link to one
};

bool IsFileSystemKind(ItemKind kind);

// One item as seen inside a list: its kind and the name's bytes (a view into the list).
struct ItemView {
    ItemKind kind;
    std::string_view name;
};

// A value: copying it copies the bytes, so no two holders ever share one list.
class IDList {
public:
    // The desktop's empty list.
    IDList();
    // Takes raw bytes; none when they are not a well-formed list (sizes overrunning the data, an item
    // too short for its kind byte, bytes after the terminator).
    static std::optional<IDList> FromBytes(QByteArray bytes);
    // A one-item list.
    static IDList Item(ItemKind kind, std::string_view name);

    const QByteArray& Bytes() const { return m_bytes; }
    int ByteSize() const { return int(m_bytes.size()); }
    bool IsDesktop() const { return m_bytes.size() == 2; }
    int ItemCount() const;
    std::vector<ItemView> Items() const;
    // The last item; only for a non-empty list.
    ItemView LastItem() const;
    // The list without its last item; the desktop for a one-item list or the desktop itself.
    IDList Parent() const;
    // The last item alone as a relative list; the desktop's empty list for the desktop.
    IDList LastItemList() const;
    IDList Appended(ItemKind kind, std::string_view name) const;
    IDList Appended(const IDList& relative) const;

    friend bool operator==(const IDList&, const IDList&) = default;

private:
    explicit IDList(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};

using OptIDList = std::optional<IDList>;

// The routines of the namespace, with their classic contracts on value lists ("none" = nullopt).
// 0 for none; otherwise 2 plus the sizes of all items.
int IDListSize(const OptIDList& list);
// A zero-filled block of `size` bytes to be filled and then taken by IDList::FromBytes; none for a
// size below 2 (no room for the terminator) or beyond what a list may hold.
std::optional<QByteArray> AllocIDList(int size);
// A fresh copy; none for none.
OptIDList CopyIDList(const OptIDList& list);
// The items of `first` followed by the items and terminator of `second` (a missing second list counts
// as the desktop); with no first list, a copy of the second.
OptIDList ConcatIDLists(const OptIDList& first, const OptIDList& second);
// Gives the list back: afterwards the holder holds none.
void FreeIDList(OptIDList& list);

// A string result of the namespace: a wide string, an offset into an item's bytes, or a C string.
struct StrRet {
    enum class Type : std::uint32_t { Wide = 0, Offset = 1, CStr = 2 };
    Type type = Type::CStr;
    std::optional<QString> wide; // Wide: none once given back
    std::uint32_t offset = 0;    // Offset: bytes into the item list
    QByteArray cStr;             // CStr: bytes up to the first zero byte count
};
// The text of a string result; an offset result reads the zero-terminated bytes at the offset in
// `item` (or up to its end), empty without an item. Names are decoded as the file system encodes them.
QString StrRetToString(const OptIDList& item, const StrRet& result);
// Releases the wide string of a wide result; nothing for the other types.
void FreeStrRet(StrRet& result);

// Wildcard match, case-insensitive: "*" any run (also empty), "?" exactly one character.
bool MatchMask(const QString& name, const QString& mask);

} // namespace wordloom::shell
