#include "shell/core/id_list.h"

#include <QFile>

#include <cstring>

namespace wordloom::shell {

namespace {

// A list larger than this is refused by AllocIDList, as an allocator would refuse it.
constexpr int kMaxListBytes = 16 * 1024 * 1024;

std::uint16_t ReadSize(const char* p) {
    return std::uint16_t(std::uint8_t(p[0]) | (std::uint8_t(p[1]) << 8));
}

void AppendSize(QByteArray& bytes, std::uint16_t size) {
    bytes.append(char(size & 0xFF));
    bytes.append(char(size >> 8));
}

QByteArray Terminator() {
    return QByteArray(2, '\0');
}

} // namespace

bool IsFileSystemKind(ItemKind kind) {
    return kind == ItemKind::File || kind == ItemKind::Dir;
}

IDList::IDList() : m_bytes(Terminator()) {}

std::optional<IDList> IDList::FromBytes(QByteArray bytes) {
    qsizetype pos = 0;
    while (true) {
        if (pos + 2 > bytes.size())
            return std::nullopt;
        const std::uint16_t size = ReadSize(bytes.constData() + pos);
        if (size == 0)
            break;
        if (size < 3 || pos + size > bytes.size())
            return std::nullopt;
        pos += size;
    }
    if (pos + 2 != bytes.size())
        return std::nullopt;
    return IDList(std::move(bytes));
}

IDList IDList::Item(ItemKind kind, std::string_view name) {
    return IDList().Appended(kind, name);
}

int IDList::ItemCount() const {
    int count = 0;
    for (qsizetype pos = 0; ReadSize(m_bytes.constData() + pos) != 0;
         pos += ReadSize(m_bytes.constData() + pos))
        ++count;
    return count;
}

std::vector<ItemView> IDList::Items() const {
    std::vector<ItemView> items;
    const char* data = m_bytes.constData();
    for (qsizetype pos = 0;;) {
        const std::uint16_t size = ReadSize(data + pos);
        if (size == 0)
            break;
        items.push_back({ItemKind(std::uint8_t(data[pos + 2])), std::string_view(data + pos + 3, size - 3)});
        pos += size;
    }
    return items;
}

ItemView IDList::LastItem() const {
    const char* data = m_bytes.constData();
    qsizetype last = 0;
    for (qsizetype pos = 0; ReadSize(data + pos) != 0; pos += ReadSize(data + pos))
        last = pos;
    const std::uint16_t size = ReadSize(data + last);
    return {ItemKind(std::uint8_t(data[last + 2])), std::string_view(data + last + 3, size - 3)};
}

IDList IDList::Parent() const {
    const char* data = m_bytes.constData();
    qsizetype last = 0;
    for (qsizetype pos = 0; ReadSize(data + pos) != 0; pos += ReadSize(data + pos))
        last = pos;
    QByteArray bytes = m_bytes.left(last);
    bytes.append(Terminator());
    return IDList(std::move(bytes));
}

IDList IDList::LastItemList() const {
    if (IsDesktop())
        return IDList();
    const ItemView last = LastItem();
    return Item(last.kind, last.name);
}

IDList IDList::Appended(ItemKind kind, std::string_view name) const {
    QByteArray bytes = m_bytes;
    bytes.chop(2);
    // Names longer than an item can hold are cut; no name on Linux comes near 65,000 bytes.
    const std::size_t length = std::min<std::size_t>(name.size(), 0xFFFF - 3);
    AppendSize(bytes, std::uint16_t(length + 3));
    bytes.append(char(kind));
    bytes.append(name.data(), qsizetype(length));
    bytes.append(Terminator());
    return IDList(std::move(bytes));
}

IDList IDList::Appended(const IDList& relative) const {
    QByteArray bytes = m_bytes;
    bytes.chop(2);
    bytes.append(relative.m_bytes);
    return IDList(std::move(bytes));
}

int IDListSize(const OptIDList& list) {
    return list ? list->ByteSize() : 0;
}

std::optional<QByteArray> AllocIDList(int size) {
    if (size < 2 || size > kMaxListBytes)
        return std::nullopt;
    return QByteArray(size, '\0');
}

OptIDList CopyIDList(const OptIDList& list) {
    return list;
}

OptIDList ConcatIDLists(const OptIDList& first, const OptIDList& second) {
    const IDList secondList = second.value_or(IDList());
    if (!first)
        return secondList;
    return first->Appended(secondList);
}

void FreeIDList(OptIDList& list) {
    list.reset();
}

QString StrRetToString(const OptIDList& item, const StrRet& result) {
    switch (result.type) {
    case StrRet::Type::Wide:
        return result.wide.value_or(QString());
    case StrRet::Type::Offset: {
        if (!item || result.offset >= std::uint32_t(item->ByteSize()))
            return QString();
        const QByteArray& bytes = item->Bytes();
        const char* start = bytes.constData() + result.offset;
        const std::size_t available = std::size_t(bytes.size()) - result.offset;
        return QFile::decodeName(QByteArray(start, qsizetype(strnlen(start, available))));
    }
    case StrRet::Type::CStr: {
        const qsizetype zero = result.cStr.indexOf('\0');
        return QFile::decodeName(zero < 0 ? result.cStr : result.cStr.left(zero));
    }
    default:
        return QString();
    }
}

void FreeStrRet(StrRet& result) {
    if (result.type == StrRet::Type::Wide)
        result.wide.reset();
}

bool MatchMask(const QString& name, const QString& mask) {
    // The rules are recursive over both texts; they are evaluated here over every pair of remainders
    // (name from i, mask from j), last to first, so a mask with many stars cannot take exponential time.
    const qsizetype n = name.size();
    const qsizetype m = mask.size();
    std::vector<char> matches(std::size_t((n + 1) * (m + 1)), 0);
    auto at = [&](qsizetype i, qsizetype j) -> char& { return matches[std::size_t(i * (m + 1) + j)]; };
    for (qsizetype i = n; i >= 0; --i) {
        for (qsizetype j = m; j >= 0; --j) {
            bool result;
            if (j == m - 1 && mask.at(j) == u'*')
                result = true; // the remaining mask is exactly "*"
            else if (i == n)
                result = j == m;
            else if (j == m)
                result = false;
            else if (mask.at(j) == u'*')
                result = at(i, j + 1) || at(i + 1, j);
            else if (mask.at(j) == u'?')
                result = at(i + 1, j + 1);
            else
                result = mask.at(j).toUpper() == name.at(i).toUpper() && at(i + 1, j + 1);
            at(i, j) = result;
        }
    }
    return at(0, 0);
}

} // namespace wordloom::shell
