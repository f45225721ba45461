// Packs the XML parts of a spreadsheet file (a folder) into the zip file
// spreadsheet programs read. Every part is checked to be well-formed XML
// first, so a typing error in a part fails the build rather than the report.
// Usage: velk_pack_xlsx PARTS_DIR OUTPUT_FILE

#include <zip.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PARTS_DIR OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file()) names.push_back(fs::relative(it->path(), dir).generic_string());
    if (ec || names.empty()) {
        std::fprintf(stderr, "%s: cannot read the parts in %s\n", argv[0], argv[1]);
        return 1;
    }
    // [Content_Types].xml first, as Office writes it; the rest in a fixed
    // order so the output is the same on every build.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const bool ca = a == "[Content_Types].xml", cb = b == "[Content_Types].xml";
        return ca != cb ? ca : a < b;
    });
    std::vector<std::string> data;
    for (const auto& n : names) {
        std::ifstream in(dir / n, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        data.push_back(ss.str());
        pugi::xml_document doc;
        const pugi::xml_parse_result r = doc.load_buffer(data.back().data(), data.back().size());
        if (!r) {
            std::fprintf(stderr, "%s: %s is not well-formed XML: %s at offset %td\n", argv[0], n.c_str(),
                         r.description(), r.offset);
            return 1;
        }
    }
    const std::string tmp = std::string(argv[2]) + ".tmp";
    int err = 0;
    zip_t* z = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], tmp.c_str());
        return 1;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        zip_source_t* src = zip_source_buffer(z, data[i].data(), data[i].size(), 0);
        const zip_int64_t idx = src ? zip_file_add(z, names[i].c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
        if (idx < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            std::fprintf(stderr, "%s: cannot add %s\n", argv[0], names[i].c_str());
            return 1;
        }
        zip_file_set_mtime(z, static_cast<zip_uint64_t>(idx), 1468540800, 0); // 2016-07-15
    }
    if (zip_close(z) != 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], tmp.c_str());
        zip_discard(z);
        return 1;
    }
    fs::rename(tmp, argv[2], ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
