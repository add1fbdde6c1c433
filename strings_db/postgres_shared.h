// What the PostgreSQL files of the module share: the table's name, quoting, the connection, and
// the in-process copy of a server collation.
#pragma once

#include "strings_db/postgres_backend.h"
#include "strings_db/quoted_name.h"

#include <libpq-fe.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace wordloom {

// How the server orders texts under one collation, repeated in process so that the cursor places
// a posted record where a fresh read would find it.
struct PostgresBackend::Collator {
    enum class Kind { Bytes, Icu, Libc };
    Kind kind = Kind::Bytes;
    bool deterministic = true;
    UCollator* icu = nullptr;
    locale_t libc = nullptr;

    Collator() = default;
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;
    ~Collator();

    int Compare(const std::string& a, const std::string& b) const;
    std::string Key(const std::string& text) const;
};

namespace postgres_shared {

inline constexpr const char* kTable = "strings";

using sql::Quote;

inline bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

inline bool ValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c == 0) {
            return false;
        } else if (c < 0x80) {
            extra = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= text.size() && extra > 0) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        if (extra == 2) { // no overlong form, no surrogate
            const auto d = static_cast<unsigned char>(text[i + 1]);
            if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0)) {
                return false;
            }
        } else if (extra == 3) {
            const auto d = static_cast<unsigned char>(text[i + 1]);
            if ((c == 0xF0 && d < 0x90) || (c == 0xF4 && d >= 0x90)) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

inline RowId IdAt(const PGresult* result, int row, int column = 0) {
    return std::strtoll(PQgetvalue(result, row, column), nullptr, 10);
}

/// Connects to `address`; throws DbError with the server's reason.
PGconn* Connect(const std::string& address);

} // namespace postgres_shared
} // namespace wordloom
