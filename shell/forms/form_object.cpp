#include "shell/forms/form_object.h"

#include "shell/forms/component.h"

#include <QStringDecoder>

#include <cstring>

namespace wordloom::shell {

namespace {

constexpr int MaxNesting = 1000;

enum Tag : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

[[noreturn]] void InvalidStream() {
    throw ShellError(QStringLiteral("Invalid stream format"));
}

[[noreturn]] void InvalidValue() {
    throw ShellError(QStringLiteral("Invalid property value"));
}

// Narrow strings of form files are in the Windows code page of Western Europe.
QString DecodeNarrow(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

// Reads with bounds checks: nothing is ever read past the data.
class StreamReader {
public:
    explicit StreamReader(std::string_view data) : m_data(data) {}

    TFormObject ReadRoot() {
        if (m_data.substr(m_pos, 4) != "TPF0")
            InvalidStream();
        m_pos += 4;
        return ReadObject(0);
    }
    void SkipResourceHeader() {
        if (m_data.size() >= 4 && m_data.substr(0, 4) == "TPF0")
            return;
        if (Byte() != 0xFF || UInt(2) != 10)
            InvalidStream();
        while (Byte() != 0) {
        }
        UInt(2); // memory flags
        const std::uint64_t size = UInt(4);
        if (size > m_data.size() - m_pos)
            InvalidStream();
        m_data = m_data.substr(0, m_pos + size);
    }

private:
    std::uint8_t Byte() {
        if (m_pos >= m_data.size())
            InvalidStream();
        return std::uint8_t(m_data[m_pos++]);
    }
    std::uint8_t PeekByte() {
        if (m_pos >= m_data.size())
            InvalidStream();
        return std::uint8_t(m_data[m_pos]);
    }
    std::uint64_t UInt(int bytes) {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t(Byte()) << (8 * i);
        return value;
    }
    std::string_view Bytes(std::uint64_t count) {
        if (count > m_data.size() - m_pos)
            InvalidStream();
        std::string_view bytes = m_data.substr(m_pos, count);
        m_pos += count;
        return bytes;
    }
    std::string_view ShortString() { return Bytes(Byte()); }

    qint64 Integer(std::uint8_t tag) {
        switch (tag) {
        case vaInt8:
            return qint64(std::int8_t(UInt(1)));
        case vaInt16:
            return qint64(std::int16_t(UInt(2)));
        case vaInt32:
            return qint64(std::int32_t(UInt(4)));
        case vaInt64:
            return qint64(UInt(8));
        default:
            InvalidValue();
        }
    }

    TFormObject ReadObject(int depth) {
        if (depth > MaxNesting)
            InvalidStream();
        TFormObject object;
        if ((PeekByte() & 0xF0) == 0xF0) {
            const std::uint8_t flags = Byte() & 0x0F;
            object.inherited = flags & 1;
            object.isInline = flags & 4;
            if (flags & 2)
                object.position = Integer(Byte());
        }
        object.className = QString::fromLatin1(ShortString());
        object.name = QString::fromLatin1(ShortString());
        while (PeekByte() != 0) {
            TFormProperty property;
            std::string_view name = ShortString();
            property.name = QByteArray(name.data(), qsizetype(name.size()));
            property.value = ReadValue(depth + 1);
            object.properties.append(std::move(property));
        }
        ++m_pos;
        while (PeekByte() != 0)
            object.children.append(ReadObject(depth + 1));
        ++m_pos;
        return object;
    }

    TFormValue ReadValue(int depth) {
        if (depth > MaxNesting)
            InvalidStream();
        TFormValue value;
        const std::uint8_t tag = Byte();
        switch (tag) {
        case vaNull:
            value.kind = TFormValue::Null;
            break;
        case vaList:
            value.kind = TFormValue::List;
            while (PeekByte() != 0)
                value.items.append(ReadValue(depth + 1));
            ++m_pos;
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            value.kind = TFormValue::Integer;
            value.integer = Integer(tag);
            break;
        case vaExtended:
        case vaSingle:
        case vaCurrency:
        case vaDate:
            value.kind = TFormValue::Float;
            Bytes(tag == vaExtended ? 10 : tag == vaSingle ? 4 : 8);
            break;
        case vaString:
            value.kind = TFormValue::String;
            value.text = DecodeNarrow(ShortString());
            break;
        case vaLString:
            value.kind = TFormValue::String;
            value.text = DecodeNarrow(Bytes(UInt(4)));
            break;
        case vaWString: {
            value.kind = TFormValue::String;
            const std::uint64_t count = UInt(4);
            if (count > (m_data.size() - m_pos) / 2)
                InvalidStream();
            std::string_view bytes = Bytes(count * 2);
            value.text.resize(qsizetype(count));
            for (std::uint64_t i = 0; i < count; ++i)
                value.text[qsizetype(i)] =
                    QChar(char16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8)));
            break;
        }
        case vaUTF8String: {
            value.kind = TFormValue::String;
            std::string_view bytes = Bytes(UInt(4));
            value.text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
            break;
        }
        case vaIdent:
            value.kind = TFormValue::Ident;
            value.text = QString::fromLatin1(ShortString());
            break;
        case vaFalse:
            value.kind = TFormValue::False;
            break;
        case vaTrue:
            value.kind = TFormValue::True;
            break;
        case vaBinary: {
            value.kind = TFormValue::Binary;
            std::string_view bytes = Bytes(UInt(4));
            value.binary = QByteArray(bytes.data(), qsizetype(bytes.size()));
            break;
        }
        case vaSet:
            value.kind = TFormValue::Set;
            for (std::string_view name = ShortString(); !name.empty(); name = ShortString())
                value.set.append(QString::fromLatin1(name));
            break;
        case vaNil:
            value.kind = TFormValue::Nil;
            break;
        case vaCollection:
            value.kind = TFormValue::Collection;
            // Items are stepped over: an optional index, then a property list.
            while (PeekByte() != 0) {
                if (PeekByte() != vaList)
                    Integer(Byte());
                if (Byte() != vaList)
                    InvalidValue();
                while (PeekByte() != 0) {
                    ShortString();
                    ReadValue(depth + 1);
                }
                ++m_pos;
            }
            ++m_pos;
            break;
        default:
            InvalidValue();
        }
        return value;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
};

class StreamWriter {
public:
    std::string& Out() { return m_out; }

    void Object(const TFormObject& object) {
        std::uint8_t flags =
            (object.inherited ? 1 : 0) | (object.position ? 2 : 0) | (object.isInline ? 4 : 0);
        if (flags) {
            m_out += char(0xF0 | flags);
            if (object.position)
                Integer(*object.position);
        }
        ShortString(object.className.toLatin1());
        ShortString(object.name.toLatin1());
        for (const TFormProperty& property : object.properties) {
            ShortString(property.name);
            Value(property.value);
        }
        m_out += '\0';
        for (const TFormObject& child : object.children)
            Object(child);
        m_out += '\0';
    }

private:
    void UInt(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            m_out += char((value >> (8 * i)) & 0xFF);
    }
    void ShortString(const QByteArray& bytes) {
        const QByteArray cut = bytes.left(255);
        m_out += char(cut.size());
        m_out.append(cut.constData(), std::size_t(cut.size()));
    }
    void Integer(qint64 value) {
        if (value >= -128 && value <= 127) {
            m_out += char(vaInt8);
            UInt(std::uint64_t(value), 1);
        } else if (value >= -32768 && value <= 32767) {
            m_out += char(vaInt16);
            UInt(std::uint64_t(value), 2);
        } else if (value >= INT32_MIN && value <= INT32_MAX) {
            m_out += char(vaInt32);
            UInt(std::uint64_t(value), 4);
        } else {
            m_out += char(vaInt64);
            UInt(std::uint64_t(value), 8);
        }
    }
    void String(const QString& text) {
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            const QByteArray bytes = text.toLatin1();
            if (bytes.size() <= 255) {
                m_out += char(vaString);
                ShortString(bytes);
            } else {
                m_out += char(vaLString);
                UInt(std::uint64_t(bytes.size()), 4);
                m_out.append(bytes.constData(), std::size_t(bytes.size()));
            }
            return;
        }
        m_out += char(vaWString);
        UInt(std::uint64_t(text.size()), 4);
        for (QChar c : text)
            UInt(c.unicode(), 2);
    }
    void Value(const TFormValue& value) {
        switch (value.kind) {
        case TFormValue::Null:
            m_out += char(vaNull);
            break;
        case TFormValue::List:
            m_out += char(vaList);
            for (const TFormValue& item : value.items)
                Value(item);
            m_out += '\0';
            break;
        case TFormValue::Integer:
            Integer(value.integer);
            break;
        case TFormValue::String:
            String(value.text);
            break;
        case TFormValue::Ident:
            m_out += char(vaIdent);
            ShortString(value.text.toLatin1());
            break;
        case TFormValue::False:
            m_out += char(vaFalse);
            break;
        case TFormValue::True:
            m_out += char(vaTrue);
            break;
        case TFormValue::Binary:
            m_out += char(vaBinary);
            UInt(std::uint64_t(value.binary.size()), 4);
            m_out.append(value.binary.constData(), std::size_t(value.binary.size()));
            break;
        case TFormValue::Set:
            m_out += char(vaSet);
            for (const QString& name : value.set)
                ShortString(name.toLatin1());
            m_out += '\0';
            break;
        case TFormValue::Nil:
            m_out += char(vaNil);
            break;
        case TFormValue::Float:
        case TFormValue::Collection:
            InvalidValue(); // never produced by the writer of components
        }
    }

    std::string m_out;
};

} // namespace

TFormObject ParseBinaryForm(std::string_view data) {
    StreamReader reader(data);
    reader.SkipResourceHeader();
    return reader.ReadRoot();
}

std::string BuildBinaryForm(const TFormObject& root) {
    StreamWriter stream;
    stream.Out() = "TPF0";
    stream.Object(root);
    const std::string& body = stream.Out();
    std::string resource;
    resource += char(0xFF);
    resource += char(10);
    resource += char(0);
    const QByteArray name = root.className.toUpper().toLatin1();
    resource.append(name.constData(), std::size_t(name.size()));
    resource += '\0';
    resource += char(0x30);
    resource += char(0x10);
    for (int i = 0; i < 4; ++i)
        resource += char((body.size() >> (8 * i)) & 0xFF);
    return resource + body;
}

} // namespace wordloom::shell
