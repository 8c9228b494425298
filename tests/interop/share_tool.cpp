// Drives the program's share codes from a script: one command per input line, one answer per
// line, strings as hex of their UTF-8 bytes. The library is a file of entry keys, one a line.
//   share <lang> <hex name> <i,j,...|->   ->  code <code text> msg <hex message>
//   import <lang> <hex text>              ->  ok <hex name> <matched> <unknown> <i,j,...|->  |  none  |  full
// Every command starts from an empty settings store holding one unnamed build.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/utf.h"
#include "builds/builds.h"
#include "builds/share.h"
#include "l10n/ui.h"

namespace {

std::string unhex(const std::string& h) {
    std::string r;
    for (size_t i = 0; i + 1 < h.size(); i += 2) r.push_back(char(std::stoi(h.substr(i, 2), nullptr, 16)));
    return r;
}

std::string hex(const std::string& s) {
    static const char* D = "0123456789abcdef";
    std::string r;
    for (unsigned char c : s) {
        r.push_back(D[c >> 4]);
        r.push_back(D[c & 15]);
    }
    return r;
}

std::string list(const std::vector<int>& v) {
    if (v.empty()) return "-";
    std::string r;
    for (int i : v) r += (r.empty() ? "" : ",") + std::to_string(i);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::vector<std::u16string> keys;
    std::ifstream lib(argv[1], std::ios::binary);
    for (std::string line; std::getline(lib, line);)
        if (!line.empty()) keys.push_back(u8w(line));

    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream in(line);
        std::string cmd, a, b;
        int lang = 0;
        in >> cmd >> lang >> a >> b;
        MemStore st;
        uiSetLang(lang);
        buildsReset();
        buildsAttach(keys);
        buildsLoad(st);
        if (cmd == "share") {
            buildRename(st, u8w(unhex(a)));
            std::istringstream ids(b == "-" ? "" : b);
            for (std::string id; std::getline(ids, id, ',');) fav[size_t(std::stoi(id))] = 1;
            favSave(st);
            std::u16string msg = buildShareMessage([&](int i) { return keys[size_t(i)]; }, u"https://zenvoral.app/");
            std::cout << "code " << w8u(buildShareCode()) << " msg " << hex(w8u(msg)) << "\n";
        } else if (cmd == "import") {
            ImportResult r;
            int o = buildImportText(st, u8w(unhex(a)), r);
            if (o != IMPORT_DONE) {
                std::cout << (o == IMPORT_FULL ? "full" : "none") << "\n";
            } else {
                std::vector<int> got;
                for (size_t i = 0; i < fav.size(); i++)
                    if (fav[i]) got.push_back(int(i));
                std::cout << "ok " << hex(w8u(r.name)) << " " << r.matched << " " << r.unknown << " " << list(got) << "\n";
            }
        } else {
            std::cout << "?\n";
        }
        std::cout.flush();
    }
    return 0;
}
