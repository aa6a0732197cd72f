// The public headers against the export table: every row is declared with its
// exact C type, no header declares an export the table lacks, and every source
// file that defines exports includes its library's header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>

#include "karpa/karpa.h"

#define KARPA_EXPORT_ROW(library, result, name, parameters, ...) \
    static_assert(std::is_same_v<decltype(&name), result(*) parameters>, #name " is declared unlike its row");
#include "exports.def"
#undef KARPA_EXPORT_ROW

namespace {

namespace fs = std::filesystem;

const fs::path kSource = KARPA_SOURCE_DIR;

std::map<std::string, std::set<std::string>> tableByLibrary() {
    std::map<std::string, std::set<std::string>> rows;
#define KARPA_EXPORT_ROW(library, result, name, ...) rows[#library].insert(#name);
#include "exports.def"
#undef KARPA_EXPORT_ROW
    rows["lifecycle"] = {"TovMain", "TovDestroyGlobals"};
    return rows;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The function names a header declares, one declaration per line start.
std::set<std::string> declaredIn(const fs::path& header) {
    static const std::regex declaration(R"(^(?:const char\*|int64_t|int32_t|void) (\w+)\()");
    std::set<std::string> names;
    std::istringstream lines(fileText(header));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, declaration)) names.insert(m[1]);
    }
    return names;
}

TEST(ExportTable, EachHeaderDeclaresExactlyItsLibrarysRows) {
    for (const auto& [library, names] : tableByLibrary()) {
        EXPECT_EQ(declaredIn(kSource / "include" / "karpa" / (library + ".h")), names) << library;
    }
}

// The comment right above each declaration, its lines joined with spaces.
std::map<std::string, std::string> declarationComments(const fs::path& header) {
    static const std::regex declaration(R"(^(?:const char\*|int64_t|int32_t|void) (\w+)\()");
    std::map<std::string, std::string> comments;
    std::string comment;
    bool open = false;
    std::istringstream lines(fileText(header));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (line.starts_with("/*")) {
            comment.clear();
            open = true;
        }
        if (open) {
            std::string text = line;
            for (const char* mark : {"/* ", " * ", " */", "*/"}) {
                if (const size_t at = text.find(mark); at != std::string::npos) text.erase(at, std::strlen(mark));
            }
            comment += (comment.empty() ? "" : " ") + text;
            open = line.find("*/") == std::string::npos;
        } else if (std::regex_search(line, m, declaration)) {
            comments[m[1]] = comment;
            comment.clear();
        } else {
            comment.clear();
        }
    }
    return comments;
}

TEST(ExportTable, EachContractIsTheCommentAboveItsDeclaration) {
    std::map<std::string, std::pair<std::string, std::string>> contracts;  // name -> library, contract
#define KARPA_EXPORT_ROW(library, result, name, parameters, contract, ...) contracts[#name] = {#library, contract};
#include "exports.def"
#undef KARPA_EXPORT_ROW
    for (const auto& [name, row] : contracts) {
        const auto comments = declarationComments(kSource / "include" / "karpa" / (row.first + ".h"));
        ASSERT_TRUE(comments.contains(name)) << name;
        EXPECT_EQ(comments.at(name), row.second) << name;
    }
}

TEST(ExportTable, EverySourceDefiningExportsIncludesItsHeader) {
    const std::map<std::string, std::string> headerOf = {{"frame", "karpa/lifecycle.h"},
                                                         {"seq", "karpa/seq.h"},
                                                         {"curried", "karpa/curried.h"},
                                                         {"datetime", "karpa/datetime.h"},
                                                         {"crypto", "karpa/crypto.h"}};
    int definingFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "src")) {
        if (entry.path().extension() != ".cpp") continue;
        const std::string text = fileText(entry.path());
        if (text.find("\nKARPA_EXPORT ") == std::string::npos) continue;
        ++definingFiles;
        const std::string folder = entry.path().parent_path().filename();
        ASSERT_TRUE(headerOf.contains(folder)) << entry.path();
        EXPECT_NE(text.find("#include \"" + headerOf.at(folder) + "\""), std::string::npos) << entry.path();
    }
    EXPECT_GE(definingFiles, 5);
}

}  // namespace
