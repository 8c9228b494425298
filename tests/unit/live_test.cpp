#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datapack/install.h"
#include "datapack/pack.h"
#include "l10n/ui.h"
#include "library/db.h"
#include "library/live.h"
#include "libutil.h"

namespace {

struct Live : LibraryTest {
    // A pack of creators; twitch values as given (null: no field), then the library built.
    void build(const std::vector<const char*>& twitch) {
        std::string t = "# ZENVORAL-DATOS 1\nversion = 1\n";
        for (size_t i = 0; i < twitch.size(); i++) {
            t += "[creador]\nnombre = Creador " + std::to_string(i) + "\n";
            if (twitch[i]) t += std::string("twitch = ") + twitch[i] + "\n";
            t += "youtube = https://www.youtube.com/@c" + std::to_string(i) + "\n";
        }
        ASSERT_EQ(pkParse(t.data(), t.size()), 1);
        dbInit(nullptr);
    }
    int entryOf(int rec) { return pkEntry[rec]; }
};

}  // namespace

TEST_F(Live, ChannelIdsInLibraryOrderAtMost64) {
    std::vector<const char*> tw = {"https://www.twitch.tv/first", "https://www.twitch.tv/", nullptr, "plainname"};
    std::string longId = "https://twitch.tv/" + std::string(60, 'x');
    tw.push_back(longId.c_str());
    std::vector<std::string> more;
    for (int i = 0; i < 70; i++) more.push_back("https://twitch.tv/c" + std::to_string(i));
    for (auto& m : more) tw.push_back(m.c_str());
    build(tw);
    LiveJob job;
    ASSERT_EQ(liveFill(&job), LIVE_MAX);
    EXPECT_EQ(job.entry[0], entryOf(1));
    // an id ending in / and a creator without twitch are skipped; only the first 64 in library order
    EXPECT_EQ(std::string(job.channel[0]) + " " + job.channel[1] + " " + job.channel[2] + " " + job.channel[63],
              "first plainname " + std::string(47, 'x') + " c60");
    for (int k = 1; k < job.count; k++) EXPECT_GT(job.entry[k], job.entry[k - 1]);
}

TEST_F(Live, CreatorFieldsThroughThePackLink) {
    EXPECT_EQ(creatorField(0, "twitch"), nullptr) << "no library yet";
    build({"https://www.twitch.tv/a", nullptr});
    // entry 0 is a built-in one, without a pack record
    struct { int entry; const char* field; const char* want; } cases[] = {
        {entryOf(1), "twitch", "https://www.twitch.tv/a"}, {entryOf(2), "twitch", nullptr}, {0, "twitch", nullptr},
        {-1, "twitch", nullptr}};
    for (auto& c : cases) {
        const char* got = creatorField(c.entry, c.field);
        EXPECT_EQ(std::string(got ? got : "<none>"), c.want ? c.want : "<none>") << c.entry << " " << c.field;
    }
}

// A result counts only for the library generation it was made for.
TEST_F(Live, ResultsOfAnotherGenerationChangeNothing) {
    build({"https://twitch.tv/a", "https://twitch.tv/b"});
    LiveJob job;
    liveFill(&job);
    job.live[1] = 1;
    EXPECT_EQ(liveApply(&job), 1);
    EXPECT_EQ((std::vector<int>{liveF[job.entry[0]], liveF[job.entry[1]]}), (std::vector<int>{0, 1}));
    EXPECT_EQ(liveApply(&job), 0) << "the same result again changes nothing";

    LiveJob old = job;
    dbFree();
    dbInit(nullptr);  // a language change or a pack installation rebuilds the library
    old.live[0] = 1;
    EXPECT_EQ(liveApply(&old), 0);
    EXPECT_EQ(liveCount(), 0);
    dbFree();
    EXPECT_EQ(liveApply(&old), 0);
}

TEST(LiveRules, AnswerBody) {
    struct {
        std::string body;
        int live;
    } cases[] = {
        {"2 hours, 13 minutes", 1}, {"UBISOFT IS OFFLINE", 0}, {"Error: rate limited", 0}, {"", 0},
        {std::string(199, 'a'), 1}, {std::string(200, 'a'), 0}, {std::string("1h\0offline", 10), 0},
    };
    for (auto& c : cases) EXPECT_EQ(liveBodyLive(c.body.data(), c.body.size()), c.live) << c.body.substr(0, 30);
    EXPECT_EQ(liveBodyLive(nullptr, 3), 0);
}

TEST(LiveRules, TwoMinutePauseUnlessForced) {
    // forced, last, now, due; the tick count wraps
    struct { int forced; unsigned last, now; bool due; } cases[] = {
        {0, 1000, 1000 + 119999, false}, {0, 1000, 1000 + 120000, true}, {1, 1000, 1001, true},
        {0, 0xFFFFFF00u, 0x100u, false}, {0, 0xFFFFFF00u, 120000u, true}};
    for (auto& c : cases) EXPECT_EQ(liveDue(c.forced, c.last, c.now) != 0, c.due) << c.last << " " << c.now;
    for (auto [link, id] : {std::pair{"https://www.twitch.tv/abc", "abc"}, {"https://www.twitch.tv/", ""}, {nullptr, ""}})
        EXPECT_EQ(liveChannel(link), id) << (link ? link : "null");
}
