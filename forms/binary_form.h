// The binary form format, once: a reader that walks a binary form resource and tells a visitor what
// it finds, and a writer that builds one from calls. The text form conversion (both directions) and
// the shell's component form files are built on these two.
#pragma once

#include "base/byte_sink.h"
#include "base/errors.h"
#include "base/ui_text.h"
#include "forms/form_format.h"
#include "forms/form_stream.h"

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace wordloom {

/// What precedes an object's properties.
struct FormObjectHeader {
    static constexpr unsigned kInherited = detail::kInherited;
    static constexpr unsigned kChildPos = detail::kChildPos; ///< position is given
    static constexpr unsigned kInline = detail::kInline;

    unsigned flags = 0;
    std::int64_t position = 0;
    std::string_view className;
    std::string_view name; ///< empty for an unnamed object

    bool Inherited() const { return flags & kInherited; }
    bool Inline() const { return flags & kInline; }
    bool HasPosition() const { return flags & kChildPos; }
};

/// The UTF-16 units of a wide string as stored: little-endian byte pairs, read on demand.
class WideUnits {
public:
    WideUnits(const unsigned char* bytes, std::size_t count) : m_bytes(bytes), m_count(count) {}
    std::size_t size() const { return m_count; }
    char16_t operator[](std::size_t i) const { return char16_t(m_bytes[2 * i] | (m_bytes[2 * i + 1] << 8)); }

private:
    const unsigned char* m_bytes;
    std::size_t m_count;
};

/// The events of a binary form, in the order of the stream. An object is BeginObject, its
/// properties (PropertyName, one value, EndProperty), its child objects, EndObject. A value is one
/// call, or a Begin/End pair around its parts: list items are values; a collection holds items
/// (BeginItem, properties, EndItem); a set holds element names. Strings and names are views into
/// the data, valid during the call only.
template <class V>
concept BinaryFormVisitor = requires(V& v, const FormObjectHeader& header, std::string_view s, std::int64_t i,
                                     long double e, float f, double d, WideUnits w) {
    v.BeginObject(header);
    v.EndObject();
    v.PropertyName(s);
    v.EndProperty();
    v.Integer(i);
    v.Extended(e); // infinite or NaN when the stored value is
    v.Single(f);
    v.Currency(i); // in ten-thousandths
    v.Date(d);
    v.NarrowString(s); // bytes in the form's code page
    v.WideString(w);
    v.Utf8String(s);
    v.Identifier(s);
    v.False();
    v.True();
    v.Nil();
    v.Null();
    v.Binary(s);
    v.BeginSet();
    v.SetElement(s);
    v.EndSet();
    v.BeginList();
    v.EndList();
    v.BeginCollection();
    v.BeginItem(true, i); // with an explicit item index, or (false, 0)
    v.EndItem();
    v.EndCollection();
};

/// Whether the data must begin with the resource header or may also be a bare component stream.
enum class FormHeader { Resource, ResourceOrStream };

namespace detail {

/// Walks the bytes once, never trusting a length or a count; throws FormError "Invalid stream
/// format" (bad header, a length beyond the data, nesting too deep) or "Invalid property value" (a
/// tag that does not fit where it stands). Whatever follows the root object is not looked at.
template <BinaryFormVisitor Visitor>
class BinaryFormReader {
public:
    BinaryFormReader(std::string_view data, Visitor& visitor)
        : m_p(reinterpret_cast<const unsigned char*>(data.data())), m_end(m_p + data.size()),
          m_visitor(visitor) {}

    void Read(FormHeader header) {
        if (header == FormHeader::Resource || !StartsWithSignature()) {
            // Resource header: 0xFF, type 10, zero-terminated name, memory flags, stream size.
            Need(3);
            if (m_p[0] != 0xFF || (m_p[1] | (m_p[2] << 8)) != kResourceType)
                Fail(kInvalidStream);
            m_p += 3;
            const void* zero = std::memchr(m_p, 0, std::size_t(m_end - m_p));
            if (!zero)
                Fail(kInvalidStream);
            m_p = static_cast<const unsigned char*>(zero) + 1;
            Skip(6); // memory flags and stream size; the stream is read to its own end
        }
        if (!StartsWithSignature())
            Fail(kInvalidStream);
        m_p += 4;
        ReadObject(0);
    }

private:
    [[noreturn]] static void Fail(const char* message) { throw FormError(TranslateText("Forms", message)); }

    bool StartsWithSignature() const {
        return std::size_t(m_end - m_p) >= 4 && std::memcmp(m_p, kSignature.data(), 4) == 0;
    }
    void Need(std::size_t count) const {
        if (std::size_t(m_end - m_p) < count)
            Fail(kInvalidStream);
    }
    void Skip(std::size_t count) {
        Need(count);
        m_p += count;
    }
    std::uint8_t Byte() {
        Need(1);
        return *m_p++;
    }
    std::uint8_t Peek() const {
        Need(1);
        return *m_p;
    }
    template <class T>
    T Read() {
        Need(sizeof(T));
        std::make_unsigned_t<T> bits = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | m_p[i]);
        m_p += sizeof(T);
        return static_cast<T>(bits);
    }
    std::string_view ShortString() {
        const std::size_t length = Byte();
        return Bytes(length);
    }
    std::string_view Bytes(std::size_t length) {
        Need(length);
        std::string_view s(reinterpret_cast<const char*>(m_p), length);
        m_p += length;
        return s;
    }
    static void CheckNesting(int depth) {
        if (depth > kMaxFormNesting)
            Fail(kInvalidStream);
    }

    std::int64_t ReadInteger(std::uint8_t tag) {
        switch (Tag(tag)) {
        case Tag::Int8:
            return Read<std::int8_t>();
        case Tag::Int16:
            return Read<std::int16_t>();
        case Tag::Int32:
            return Read<std::int32_t>();
        case Tag::Int64:
            return Read<std::int64_t>();
        default:
            Fail(kInvalidValue);
        }
    }

    // An 80-bit extended value, read portably from its mantissa and exponent fields.
    long double ReadExtended() {
        Need(10);
        const unsigned char* p = m_p;
        m_p += 10;
        std::uint64_t mantissa = 0;
        for (int i = 7; i >= 0; --i)
            mantissa = (mantissa << 8) | p[i];
        const unsigned signExponent = p[8] | (unsigned(p[9]) << 8);
        const int exponent = int(signExponent & 0x7FFF);
        if (exponent == 0x7FFF) {
            return (mantissa << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                        : std::numeric_limits<long double>::quiet_NaN();
        }
        const long double value =
            std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
        return (signExponent & 0x8000) ? -value : value;
    }

    void ReadObject(int depth) {
        CheckNesting(depth);
        FormObjectHeader header;
        if ((Peek() & 0xF0) == 0xF0) {
            header.flags = Byte() & 0x0F;
            if (header.flags & kChildPos)
                header.position = ReadInteger(Byte());
        }
        header.className = ShortString();
        header.name = ShortString();
        m_visitor.BeginObject(header);
        while (Peek() != 0)
            ReadProperty(depth);
        ++m_p;
        while (Peek() != 0)
            ReadObject(depth + 1);
        ++m_p;
        m_visitor.EndObject();
    }

    void ReadProperty(int depth) {
        m_visitor.PropertyName(ShortString());
        ReadValue(depth);
        m_visitor.EndProperty();
    }

    void ReadValue(int depth) {
        const std::uint8_t tag = Byte();
        switch (Tag(tag)) {
        case Tag::Null:
            m_visitor.Null();
            break;
        case Tag::List:
            CheckNesting(depth + 1);
            m_visitor.BeginList();
            while (Peek() != 0)
                ReadValue(depth + 1);
            ++m_p;
            m_visitor.EndList();
            break;
        case Tag::Int8:
        case Tag::Int16:
        case Tag::Int32:
        case Tag::Int64:
            m_visitor.Integer(ReadInteger(tag));
            break;
        case Tag::Extended:
            m_visitor.Extended(ReadExtended());
            break;
        case Tag::String:
            m_visitor.NarrowString(ShortString());
            break;
        case Tag::LString:
            m_visitor.NarrowString(Bytes(Read<std::uint32_t>()));
            break;
        case Tag::WString: {
            const std::size_t count = Read<std::uint32_t>();
            Need(2 * count);
            const unsigned char* units = m_p;
            m_p += 2 * count;
            m_visitor.WideString(WideUnits(units, count));
            break;
        }
        case Tag::Utf8String:
            m_visitor.Utf8String(Bytes(Read<std::uint32_t>()));
            break;
        case Tag::Ident:
            m_visitor.Identifier(ShortString());
            break;
        case Tag::False:
            m_visitor.False();
            break;
        case Tag::True:
            m_visitor.True();
            break;
        case Tag::Nil:
            m_visitor.Nil();
            break;
        case Tag::Binary:
            m_visitor.Binary(Bytes(Read<std::uint32_t>()));
            break;
        case Tag::Set:
            m_visitor.BeginSet();
            for (;;) {
                const std::string_view name = ShortString();
                if (name.empty())
                    break;
                m_visitor.SetElement(name);
            }
            m_visitor.EndSet();
            break;
        case Tag::Collection:
            CheckNesting(depth + 1);
            m_visitor.BeginCollection();
            while (Peek() != 0) {
                if (IsIntegerTag(Peek()))
                    m_visitor.BeginItem(true, ReadInteger(Byte()));
                else
                    m_visitor.BeginItem(false, 0);
                if (Byte() != std::uint8_t(Tag::List))
                    Fail(kInvalidValue);
                while (Peek() != 0)
                    ReadProperty(depth + 1);
                ++m_p;
                m_visitor.EndItem();
            }
            ++m_p;
            m_visitor.EndCollection();
            break;
        case Tag::Single:
            m_visitor.Single(std::bit_cast<float>(Read<std::uint32_t>()));
            break;
        case Tag::Currency:
            m_visitor.Currency(Read<std::int64_t>());
            break;
        case Tag::Date:
            m_visitor.Date(std::bit_cast<double>(Read<std::uint64_t>()));
            break;
        default:
            Fail(kInvalidValue);
        }
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    Visitor& m_visitor;
};

} // namespace detail

/// Reads a binary form resource (or, with FormHeader::ResourceOrStream, also a bare component
/// stream) and reports it to the visitor. Failures throw FormError; the visitor has then seen the
/// events up to the fault.
template <BinaryFormVisitor Visitor>
void ReadBinaryForm(std::string_view data, Visitor& visitor, FormHeader header = FormHeader::Resource) {
    detail::BinaryFormReader<Visitor>(data, visitor).Read(header);
}

/// Builds a binary form resource in a string, replacing its content. The calls follow the order
/// of the reader's events; the first BeginObject (the root) also writes the resource header, named
/// after its class in upper case. Names and short strings longer than 255 bytes are cut.
class BinaryFormWriter {
public:
    BinaryFormWriter(detail::SinkTarget out, std::size_t sizeHint) : m_out(out, sizeHint) {}

    void BeginObject(const FormObjectHeader& header) {
        if (!m_started)
            WriteResourceHeader(header.className);
        // A class name of 240 bytes or more has a length byte that reads as a prefix byte, so such
        // a record gets a prefix of its own (flags 0) to stay readable.
        if (header.flags || header.className.size() >= 0xF0)
            m_out.push_back(static_cast<char>(0xF0 | header.flags));
        if (header.HasPosition())
            Integer(header.position);
        ShortString(header.className);
        ShortString(header.name);
    }
    /// After the properties, before the children.
    void EndProperties() { m_out.push_back('\0'); }
    void EndObject() { m_out.push_back('\0'); }
    void PropertyName(std::string_view name) { ShortString(name); }

    void Integer(std::int64_t value) {
        using detail::Tag;
        if (value >= -128 && value <= 127) {
            Put(Tag::Int8);
            AppendLittleEndian(std::int8_t(value));
        } else if (value >= -32768 && value <= 32767) {
            Put(Tag::Int16);
            AppendLittleEndian(std::int16_t(value));
        } else if (value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()) {
            Put(Tag::Int32);
            AppendLittleEndian(std::int32_t(value));
        } else {
            Put(Tag::Int64);
            AppendLittleEndian(value);
        }
    }
    void Extended(long double value);
    void Single(float value) {
        Put(detail::Tag::Single);
        AppendLittleEndian(std::bit_cast<std::uint32_t>(value));
    }
    void Currency(std::int64_t tenThousandths) {
        Put(detail::Tag::Currency);
        AppendLittleEndian(tenThousandths);
    }
    void Date(double value) {
        Put(detail::Tag::Date);
        AppendLittleEndian(std::bit_cast<std::uint64_t>(value));
    }
    /// Bytes in the form's code page; a short string up to 255 bytes, a long one beyond. The caller
    /// keeps the length within 32 bits.
    void NarrowString(std::string_view bytes) {
        if (bytes.size() <= 255) {
            Put(detail::Tag::String);
            m_out.push_back(static_cast<char>(bytes.size()));
        } else {
            Put(detail::Tag::LString);
            AppendLittleEndian(std::uint32_t(bytes.size()));
        }
        m_out.append(bytes);
    }
    void WideString(std::u16string_view units) {
        Put(detail::Tag::WString);
        AppendLittleEndian(std::uint32_t(units.size()));
        char* p = m_out.Claim(2 * units.size());
        for (char16_t unit : units) {
            *p++ = static_cast<char>(unit & 0xFF);
            *p++ = static_cast<char>(unit >> 8);
        }
    }
    void Utf8String(std::string_view bytes) {
        Put(detail::Tag::Utf8String);
        AppendLittleEndian(std::uint32_t(bytes.size()));
        m_out.append(bytes);
    }
    void Identifier(std::string_view name) {
        Put(detail::Tag::Ident);
        ShortString(name);
    }
    void False() { Put(detail::Tag::False); }
    void True() { Put(detail::Tag::True); }
    void Nil() { Put(detail::Tag::Nil); }
    /// Not inside a list: a null item reads back as the list's end.
    void Null() { Put(detail::Tag::Null); }
    void Binary(std::string_view bytes) {
        std::memcpy(BeginBinary(bytes.size()), bytes.data(), bytes.size());
        EndBinary(bytes.size());
    }
    /// Room for up to capacity bytes of a binary value, to be written through the pointer (valid
    /// until the next call); EndBinary gives the count actually written.
    char* BeginBinary(std::size_t capacity) {
        Put(detail::Tag::Binary);
        m_binaryAt = m_out.size();
        AppendLittleEndian(std::uint32_t(0));
        return m_out.Claim(capacity);
    }
    void EndBinary(std::size_t length) {
        m_out.Truncate(m_binaryAt + 4 + length);
        PatchLittleEndian(m_binaryAt, std::uint32_t(length));
    }
    void BeginSet() { Put(detail::Tag::Set); }
    void SetElement(std::string_view name) { ShortString(name); }
    void EndSet() { m_out.push_back('\0'); }
    void BeginList() { Put(detail::Tag::List); }
    void EndList() { m_out.push_back('\0'); }
    void BeginCollection() { Put(detail::Tag::Collection); }
    void BeginItem() { Put(detail::Tag::List); }
    void BeginItem(std::int64_t index) {
        Integer(index);
        Put(detail::Tag::List);
    }
    void EndItem() { m_out.push_back('\0'); }
    void EndCollection() { m_out.push_back('\0'); }

    /// Sets the stream size in the header and the string's final size. False, leaving the string
    /// unfinished, when the stream is too long for the size field.
    bool Finish() {
        const std::size_t streamSize = m_out.size() - m_sizeAt - 4;
        if (streamSize > std::numeric_limits<std::uint32_t>::max())
            return false;
        PatchLittleEndian(m_sizeAt, std::uint32_t(streamSize));
        m_out.Finish();
        return true;
    }

private:
    void Put(detail::Tag tag) { m_out.push_back(static_cast<char>(tag)); }
    void ShortString(std::string_view s) {
        if (s.size() > 255)
            s = s.substr(0, 255);
        m_out.push_back(static_cast<char>(s.size()));
        m_out.append(s);
    }
    template <class T>
    void AppendLittleEndian(T value) {
        using U = std::make_unsigned_t<T>;
        const U bits = static_cast<U>(value);
        char bytes[sizeof(T)];
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bytes[i] = static_cast<char>(bits >> (8 * i));
        m_out.append(bytes, sizeof(T));
    }
    template <class T>
    void PatchLittleEndian(std::size_t at, T value) {
        using U = std::make_unsigned_t<T>;
        const U bits = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_out.data()[at + i] = static_cast<char>(bits >> (8 * i));
    }
    void WriteResourceHeader(std::string_view className);

    detail::ByteSink m_out;
    bool m_started = false;
    std::size_t m_sizeAt = 0;
    std::size_t m_binaryAt = 0;
};

} // namespace wordloom
