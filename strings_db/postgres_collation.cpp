// The in-process collation keys: the server's ICU or libc collation, repeated so that the cursor
// orders as a fresh read would.
#include "strings_db/postgres_shared.h"

#include <unicode/ustring.h>

#include <cstring>

namespace wordloom {

PostgresBackend::Collator::~Collator() {
    if (icu) {
        ucol_close(icu);
    }
    if (libc) {
        freelocale(libc);
    }
}

int PostgresBackend::Collator::Compare(const std::string& a, const std::string& b) const {
    int c = 0;
    if (kind == Kind::Icu) {
        UErrorCode status = U_ZERO_ERROR;
        c = ucol_strcollUTF8(icu, a.data(), static_cast<int32_t>(a.size()), b.data(),
                             static_cast<int32_t>(b.size()), &status);
    } else if (kind == Kind::Libc) {
        c = strcoll_l(a.c_str(), b.c_str(), libc);
    }
    if (c != 0) {
        return c < 0 ? -1 : 1;
    }
    if (!deterministic) {
        return 0;
    }
    // A deterministic collation tells texts apart that it ranks equal by their bytes.
    const int bytes = a.compare(b);
    return bytes == 0 ? 0 : (bytes < 0 ? -1 : 1);
}

std::string PostgresBackend::Collator::Key(const std::string& text) const {
    std::string key;
    if (kind == Kind::Icu) {
        std::u16string wide(text.size() + 1, u'\0');
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
                             static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
        key.resize(64 + text.size() * 4);
        int32_t size = ucol_getSortKey(icu, wide.data(), length, reinterpret_cast<uint8_t*>(key.data()),
                                       static_cast<int32_t>(key.size()));
        if (size > static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(size));
            size = ucol_getSortKey(icu, wide.data(), length, reinterpret_cast<uint8_t*>(key.data()),
                                   static_cast<int32_t>(key.size()));
        }
        key.resize(static_cast<std::size_t>(size)); // ends in the key's own 0 byte
    } else if (kind == Kind::Libc) {
        key.resize(strxfrm_l(nullptr, text.c_str(), 0, libc) + 1);
        strxfrm_l(key.data(), text.c_str(), key.size(), libc);
        key.back() = '\0';
    } else {
        return text;
    }
    if (deterministic) {
        key += text; // the bytes decide between texts the collation ranks equal
    }
    return key;
}

} // namespace wordloom
