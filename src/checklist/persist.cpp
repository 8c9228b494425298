#include "checklist/persist.h"

#include <algorithm>

#include "base/state.h"
#include "checklist/catalogue.h"
#include "checklist/clock.h"

namespace {

// Calls f for every number in a comma-separated list; pieces that are not numbers are skipped.
template <class F>
void eachNumber(const std::u16string& s, F f) {
    size_t pos = 0;
    while (pos < s.size()) {
        size_t end = s.find(u',', pos);
        if (end == std::u16string::npos) end = s.size();
        size_t a = pos;
        while (a < end && s[a] == u' ') a++;
        if (a < end && ((s[a] >= u'0' && s[a] <= u'9') || (s[a] == u'-' && a + 1 < end)))
            f(u16toll(s.substr(a, end - a)));
        pos = end + 1;
    }
}

}  // namespace

void catLoad(Store& st) {
    catReset();
    // the program writes at most 35 lines; a damaged count must not make start-up walk
    // billions of missing keys
    int n = st.getInt("checklist", "n", 0);
    if (n > 200) n = 200;
    for (int i = 0; i < n && NT < MAX_TASKS; i++) {
        std::string key = "t" + std::to_string(i);
        std::u16string line = st.getStr("checklist", key.c_str(), u"", 199);
        if (line.size() < 3 || line[1] != u'|') continue;
        // a name is what comes before any NUL, less the blanks the file drops at the end of a
        // value: an empty one could not be written back
        std::u16string name = line.substr(2);
        name.resize(std::min(name.size(), name.find(u'\0')));
        while (!name.empty() && (name.back() == u' ' || (name.back() >= u'\t' && name.back() <= u'\r')))
            name.pop_back();
        if (name.empty()) continue;
        int kind = int(line[0]) - int(u'0');
        if (kind < 0 || kind > 2) kind = 0;
        catAdd(kind, name.c_str());
    }
    eachNumber(st.getStr("checklist", "ocultas", u"", 199), [](long long v) {
        if (v >= 0 && v < NT) tHidden[v] = 1;
    });
    int taken[MAX_TASKS] = {0};
    int m = 0;
    eachNumber(st.getStr("checklist", "orden", u"", 199), [&](long long v) {
        if (m < NT && v >= 0 && v < NT && !taken[v]) {
            taken[v] = 1;
            ord[m++] = int(v);
        }
    });
    for (int i = 0; i < NT; i++)
        if (!taken[i]) ord[m++] = i;

    for (int i = 0; i < NT; i++) {
        std::string key = "c" + std::to_string(i);
        checked[i] = st.getInt("estado", key.c_str(), 0) != 0;
    }
    prevDaily = memoParse(st.getStr("estado", "diarioAnterior", u"", 400));
    prevWeekly = memoParse(st.getStr("estado", "semanalAnterior", u"", 400));
}

void saveState(Store& st) {
    StoreBatch batch(st);
    for (int i = 0; i < NT; i++) {
        std::string key = "c" + std::to_string(i);
        st.put("estado", key.c_str(), checked[i] ? u"1" : u"0");
    }
    st.put("estado", "dailyStamp", u16num(dailyStamp));
    st.put("estado", "weeklyStamp", u16num(weeklyStamp));
    st.put("estado", "posX", u16num(posX));
    st.put("estado", "posY", u16num(posY));
    // the ticks of the period the clock last left, while there is one
    if (!prevDaily.empty()) st.put("estado", "diarioAnterior", memoText(prevDaily));
    else st.delKey("estado", "diarioAnterior");
    if (!prevWeekly.empty()) st.put("estado", "semanalAnterior", memoText(prevWeekly));
    else st.delKey("estado", "semanalAnterior");
}

void checklistSave(Store& st) {
    StoreBatch batch(st);
    st.delSection("checklist");
    st.put("checklist", "n", u16num(NT - BUILTIN_TASKS));
    for (int i = BUILTIN_TASKS; i < NT; i++) {
        std::string key = "t" + std::to_string(i - BUILTIN_TASKS);
        st.put("checklist", key.c_str(), u16num(tasks[i].kind) + u"|" + std::u16string(tCustom[i]));
    }
    std::u16string hidden, order;
    for (int i = 0; i < NT; i++)
        if (tHidden[i]) hidden += u16num(i) + u",";
    for (int i = 0; i < NT; i++) order += u16num(ord[i]) + u",";
    st.put("checklist", "ocultas", hidden);
    st.put("checklist", "orden", order);
}

