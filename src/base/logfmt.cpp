#include "base/logfmt.h"

#include <cstdio>

#include "base/utf.h"

std::string logFormat(const std::tm& t, const std::u16string& msg) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d  ", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::u16string m = msg.size() > LOG_MSG_MAX - 1 ? msg.substr(0, LOG_MSG_MAX - 1) : msg;
    // do not leave half a surrogate pair at the cut
    if (!m.empty() && m.back() >= 0xD800 && m.back() <= 0xDBFF) m.pop_back();
    std::string line = stamp + w8u(m);
    if (line.size() > LOG_LINE_MAX - 2) {
        size_t cut = LOG_LINE_MAX - 2;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) cut--;
        line.resize(cut);
    }
    return line + "\r\n";
}
