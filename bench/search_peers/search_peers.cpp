// Our side of the search comparison with the libraries web tools use.
//   search_peers export <corpus.json>   the library as the peers index it: key, title,
//                                        subtitle, body with the table, names in six languages
//   search_peers run <queries.tsv>       every query typed letter by letter through our search;
//                                        prints one JSON line per query: per-keystroke times
//                                        (median of 5 runs each, microseconds) and the final
//                                        rank of the entry meant (-1 when not listed)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/utf.h"
#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/tr.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/search.h"

namespace {

std::string json(const std::string& s) {
    std::string o = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') o += '\\', o += char(c);
        else if (c == '\n') o += "\\n";
        else if (c == '\r') continue;
        else if (c == '\t') o += "\\t";
        else if (c < 0x20) o += ' ';
        else o += char(c);
    }
    return o + "\"";
}

int exportCorpus(const char* path) {
    std::ofstream f(path, std::ios::binary);
    f << "[\n";
    for (int i = 0; i < DBN; i++) {
        std::string names;
        for (int l = 0; l < LANG_COUNT; l++) {
            std::string t;
            trSplitTo(t, DB[i].title, TR_WHOLE, l);
            t += "  ";
            trSplitTo(t, DB[i].sub, TR_SUB, l);
            names += t + "  ";
        }
        std::string body = w8u(wBody[i]);
        if (DB[i].table) body += "\n" + trTable(DB[i].table);
        f << "{\"key\":" << json(w8u(entryKey(i))) << ",\"title\":" << json(w8u(wTitle[i]))
          << ",\"sub\":" << json(w8u(wSub[i])) << ",\"body\":" << json(body) << ",\"names\":" << json(names) << "}"
          << (i + 1 < DBN ? ",\n" : "\n");
    }
    f << "]\n";
    return f ? 0 : 1;
}

int run(const char* path) {
    std::ifstream f(path, std::ios::binary);
    std::string line;
    std::vector<LibRow> rows;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::u16string q = u8w(line.substr(0, tab)), key = u8w(line.substr(tab + 1));
        int want = entryByKey(key.c_str());
        std::printf("{\"query\":%s,\"known\":%d,\"us\":[", json(line.substr(0, tab)).c_str(), want >= 0);
        for (size_t n = 1; n <= q.size(); n++) {
            std::u16string part = q.substr(0, n);
            double t[5];
            for (double& x : t) {
                auto a = std::chrono::steady_clock::now();
                listRows(part.c_str(), 1, 0, rows);
                auto b = std::chrono::steady_clock::now();
                x = std::chrono::duration<double, std::micro>(b - a).count();
            }
            std::nth_element(t, t + 2, t + 5);
            std::printf("%s%.2f", n > 1 ? "," : "", t[2]);
        }
        int rank = -1;
        for (size_t k = 0; k < rows.size(); k++)
            if (rows[k].entry == want) {
                rank = int(k);
                break;
            }
        std::printf("],\"rank\":%d}\n", rank);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: search_peers export <corpus.json> | run <queries.tsv>\n");
        return 2;
    }
    pkParse(PACK_BUILTIN, PACK_BUILTIN_LEN);
    pkApplyHeader();
    uiSetLang(0);
    dbInit(nullptr);
    std::string cmd = argv[1];
    if (cmd == "export") return exportCorpus(argv[2]);
    if (cmd == "run") return run(argv[2]);
    return 2;
}
