#include "paradox_samples.h"

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace wordloom::exchange::test {

namespace {

std::string Windows1252(const char* utf8) {
    iconv_t cd = iconv_open("CP1252", "UTF-8");
    std::string in(utf8);
    std::string out(in.size() + 1, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    const bool converted = iconv(cd, &from, &left, &to, &room) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!converted)
        throw std::runtime_error(std::string("not in Windows-1252: ") + utf8);
    out.resize(out.size() - room);
    out.push_back('\0');
    return out;
}

} // namespace

void WriteParadoxTable(const std::string& path, const std::vector<ParadoxRow>& rows) {
    pxdoc_t* doc = PX_new();
    struct Def {
        const char* name;
        char type;
        int length;
    };
    const Def defs[] = {{"English", pxfAlpha, 60},
                        {"German", pxfAlpha, 60},
                        {"Project", pxfAlpha, 30},
                        {"SpFront", pxfShort, 2},
                        {"SpEnd", pxfShort, 2}};
    auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * 5, "fields"));
    for (int i = 0; i < 5; ++i) {
        fields[i].px_fname = static_cast<char*>(doc->malloc(doc, std::strlen(defs[i].name) + 1, "name"));
        std::strcpy(fields[i].px_fname, defs[i].name);
        fields[i].px_ftype = defs[i].type;
        fields[i].px_flen = defs[i].length;
        fields[i].px_fdc = 0;
    }
    if (PX_create_file(doc, fields, 5, path.c_str(), pxfFileTypNonIndexDB) != 0) {
        PX_delete(doc);
        throw std::runtime_error("pxlib cannot create " + path);
    }
    PX_set_value(doc, "codepage", 1252);
    std::vector<char> record(static_cast<std::size_t>(doc->px_head->px_recordsize));
    for (const ParadoxRow& row : rows) {
        std::fill(record.begin(), record.end(), 0);
        // The writer stores the bytes it is given: they are given in the table's code page.
        PX_put_data_alpha(doc, record.data(), 60, Windows1252(row.english).data());
        PX_put_data_alpha(doc, record.data() + 60, 60, Windows1252(row.german).data());
        PX_put_data_alpha(doc, record.data() + 120, 30, Windows1252(row.project).data());
        PX_put_data_short(doc, record.data() + 150, 2, row.spFront);
        PX_put_data_short(doc, record.data() + 152, 2, row.spEnd);
        PX_put_record(doc, record.data());
    }
    PX_close(doc);
    PX_delete(doc);
}

} // namespace wordloom::exchange::test
