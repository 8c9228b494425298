// The settings file on disk under Wine: read like the profile API reads it, replaced whole in
// one step, the last good copy kept and put back, locked files and folders left alone, old
// encodings converted with the original kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/startup.h"
#include "base/base_win.h"
#include "base/state.h"
#include "base/store_win.h"
#include "base/utf.h"
#include "l10n/keys.h"
#include "l10n/ui.h"
#include "winutil.h"

namespace {

std::wstring apiGet(const std::wstring& path, const wchar_t* sec, const wchar_t* key) {
    wchar_t buf[512];
    GetPrivateProfileStringW(sec, key, L"<d>", buf, 512, path.c_str());
    return buf;
}

std::u16string u(const std::wstring& w) { return std::u16string(U(w.c_str()), w.size()); }

struct Disk : ::testing::Test {
    std::wstring dir = tempDir(L"zvstore"), path = dir + L"\\ajustes.ini";
    void clean() {
        for (const wchar_t* ext : {L"", L".copia", L".copia.nuevo", L".roto", L".anterior", L".nuevo"}) {
            std::wstring p = path + ext;
            DeleteFileW(p.c_str());
            RemoveDirectoryW(p.c_str());
        }
    }
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
};

}  // namespace

// The store reads a file exactly as GetPrivateProfileString/Int and GetPrivateProfileSection do.
TEST_F(Disk, ReadsLikeTheProfileApi) {
    const char16_t* files[] = {
        u"[a]\r\nk=v\r\n",
        u"[a]\r\n k = v w \r\n\tj\t=\tx\r\n",
        u"[a]\r\nk=\"q\"\r\nj='x'\r\nm=\"half\r\nn=\"\r\no=''\r\n",
        u"[a]\r\nk=1\r\n[b]\r\nk=0\r\n[a]\r\nk=2\r\nj=3\r\n",
        u"[ A ]\r\nK=v\r\n",
        u"k=antes\r\n[a]\r\nk=v\r\n",
        u"[a]\r\n;k=comentario\r\nk=v\r\n=sin nombre\r\n",
        u"[a]\r\ni=0x10\r\nj=\r\nk=-5x\r\nl=  12\r\nm=0b11\r\nn=0X10\r\no=4294967297\r\np=\"7\"\r\n",
        u"[a]\nk=solo LF\n[b]\rk=v\r\n",
        u"[a]\r\nk=Ñandú 日本 ✓ \U0001F525\r\n",
    };
    const wchar_t* keys[] = {L"k", L"j", L"m", L"n", L"o", L"i", L"l", L"p", L"x", L";k"};
    for (const char16_t* f : files) {
        writeBytes(path, iniBytes(f));
        ProfileStore st(path.c_str());
        for (const wchar_t* sec : {L"a", L"A", L"b"})
            for (const wchar_t* key : keys) {
                std::string s(sec, sec + wcslen(sec)), k(key, key + wcslen(key));
                SCOPED_TRACE(std::string(w8u(f)) + " [" + s + "] " + k);
                EXPECT_EQ(st.getStr(s.c_str(), k.c_str(), u"<d>", 512), u(apiGet(path, sec, key)));
                EXPECT_EQ(st.getInt(s.c_str(), k.c_str(), 77), (int)GetPrivateProfileIntW(sec, key, 77, path.c_str()));
            }
        wchar_t buf[4096];
        DWORD n = GetPrivateProfileSectionW(L"a", buf, 4096, path.c_str());
        std::vector<std::pair<std::u16string, std::u16string>> api;
        for (const wchar_t* p = buf; *p && p < buf + n; p += wcslen(p) + 1) {
            const wchar_t* eq = wcschr(p, L'=');
            if (eq && eq > p) api.emplace_back(std::u16string(U(p), size_t(eq - p)), std::u16string(U(eq + 1)));
        }
        EXPECT_EQ(st.section("a"), api) << w8u(f);
    }
}

TEST_F(Disk, WritesAreWholeReadableByTheApiAndKeepTheLastCopy) {
    ProfileStore st(path.c_str());
    EXPECT_FALSE(st.exists());
    st.put("checklist", "t0", u"0|Ñandú 日本 ✓ \U0001F525");
    EXPECT_EQ(apiGet(path, L"checklist", L"t0"), L"0|Ñandú 日本 ✓ \U0001F525");
    EXPECT_EQ(fileBytes(path).substr(0, 2), "\xFF\xFE");
    std::string one = fileBytes(path);
    {
        StoreBatch b(st);
        for (int i = 0; i < 40; i++) st.put("estado", ("c" + std::to_string(i)).c_str(), u"1");
        st.delKey("checklist", "t0");
    }
    // one replacement for the whole batch: the copy is the file as it was before it
    EXPECT_EQ(fileBytes(path + L".copia"), one);
    EXPECT_EQ(apiGet(path, L"estado", L"c39") + apiGet(path, L"checklist", L"t0"), L"1<d>");
    EXPECT_FALSE(exists(path + L".nuevo"));
    EXPECT_EQ(st.takeEvents(), 0u);
}

TEST_F(Disk, EmptyOrDamagedFileIsRestoredFromTheLastGoodCopy) {
    for (const std::string& bad : {std::string(), std::string("\xFF\xFE"), "\xFF\xFE" + std::string(300, '\0')}) {
        clean();
        {
            ProfileStore st(path.c_str());
            st.put("estado", "instalado", u"1");
            st.put("estado", "c3", u"1");  // the copy now holds the first version
        }
        writeBytes(path, bad);
        ProfileStore st(path.c_str());
        EXPECT_EQ(st.takeEvents(), unsigned(SE_RESTORED)) << bad.size();
        EXPECT_EQ(apiGet(path, L"estado", L"instalado"), L"1");  // written back whole
        EXPECT_EQ(fileBytes(path + L".roto"), bad.empty() ? "<none>" : bad);
    }
}

TEST_F(Disk, DamagedFileWithoutCopyStartsAfreshAndSaysSo) {
    writeBytes(path, std::string(100, '\0'));
    ProfileStore st(path.c_str());
    EXPECT_EQ(st.takeEvents(), unsigned(SE_LOST));
    EXPECT_FALSE(st.exists());  // the first-run path writes its keys
    loadState(st, 0x0C0A);
    EXPECT_EQ(apiGet(path, L"ajustes", L"ProcesoJuego"), L"TheDivision2.exe");
    EXPECT_EQ(fileBytes(path + L".roto"), std::string(100, '\0'));
    st.put("estado", "c0", u"1");
    EXPECT_NE(fileBytes(path + L".copia"), std::string(100, '\0'));  // the damaged file never becomes the copy
}

TEST_F(Disk, LockedFileIsWaitedForThenNeverOverwritten) {
    {
        ProfileStore st(path.c_str());
        st.put("estado", "c0", u"1");
        st.put("estado", "c1", u"1");  // the copy holds c0
    }
    std::string before = fileBytes(path);
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD t0 = GetTickCount();
    ProfileStore st(path.c_str(), 400);
    EXPECT_GE(GetTickCount() - t0, 380u);
    EXPECT_EQ(st.takeEvents(), unsigned(SE_LOCKED));
    EXPECT_EQ(st.getStr("estado", "c0", u"", 8), u"1");  // shown from the last good copy
    st.put("estado", "c1", u"0");
    EXPECT_EQ(st.retry(), 0);
    CloseHandle(lock);
    st.put("estado", "c2", u"1");
    EXPECT_EQ(fileBytes(path), before);
    // a lock that lifts within the wait is no trouble
    lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE th = CreateThread(nullptr, 0, [](void* h) -> DWORD { Sleep(300); CloseHandle(h); return 0; }, lock, 0, nullptr);
    ProfileStore st2(path.c_str(), 3000);
    WaitForSingleObject(th, INFINITE);
    CloseHandle(th);
    EXPECT_EQ(st2.takeEvents(), 0u);
    EXPECT_TRUE(st2.saving());
}

TEST_F(Disk, OldEncodingsAreConvertedOnceKeepingTheOriginal) {
    const std::u16string text = u"[ajustes]\r\nTeclaSalir=Mayús+Fin\r\n";
    // the decoders are the core's tests; on disk UTF-8 with a mark, UTF-16 without one (which the
    // profile API cannot read), ANSI and the program's own
    const std::string le = iniBytes(text).substr(2), ansi = "[ajustes]\r\nTeclaSalir=May\xFAs+Fin\r\n";
    for (const std::string& in : {"\xEF\xBB\xBF" + w8u(text), le, ansi, iniBytes(text)}) {
        clean();
        writeBytes(path, in);
        ProfileStore st(path.c_str());
        if (in != ansi || GetACP() == 1252) EXPECT_EQ(fileBytes(path), iniBytes(text)) << st.foundEncoding();
        // already ours: nothing written, nothing kept
        EXPECT_EQ(fileBytes(path + L".anterior"), in == iniBytes(text) ? "<none>" : in);
        EXPECT_EQ(st.takeEvents(), 0u);
    }
}

TEST_F(Disk, ChangesMadeOutsideArePickedUpBeforeWriting) {
    ProfileStore st(path.c_str());
    st.put("estado", "c0", u"1");
    Sleep(20);
    WritePrivateProfileStringW(L"builds", L"nombre0", L"De fuera", path.c_str());
    st.put("estado", "c1", u"1");
    EXPECT_EQ(st.getStr("builds", "nombre0", u"", 64), u"De fuera");
    EXPECT_EQ(apiGet(path, L"builds", L"nombre0") + apiGet(path, L"estado", L"c1"), L"De fuera1");
    // emptied by someone else while running: what is in memory is written back
    writeBytes(path, "");
    st.put("estado", "c2", u"1");
    EXPECT_EQ(st.takeEvents(), unsigned(SE_REWRITTEN));
    EXPECT_EQ(apiGet(path, L"builds", L"nombre0") + apiGet(path, L"estado", L"c2"), L"De fuera1");
}

TEST_F(Disk, AFailedWriteKeepsTheChangesAndTriesAgain) {
    ProfileStore st(path.c_str());
    st.put("estado", "c0", u"1");
    std::string before = fileBytes(path);
    ASSERT_TRUE(CreateDirectoryW((path + L".nuevo").c_str(), nullptr));  // the temporary file cannot be made
    st.put("estado", "c0", u"0");
    EXPECT_EQ(st.takeEvents(), unsigned(SE_SAVE_FAILED));
    EXPECT_TRUE(st.pending());
    EXPECT_EQ(fileBytes(path), before);
    st.put("estado", "c1", u"1");
    EXPECT_EQ(st.takeEvents(), 0u);  // told once
    EXPECT_EQ(st.retry(), 0);
    RemoveDirectoryW((path + L".nuevo").c_str());
    EXPECT_EQ(st.retry(), 1);
    EXPECT_EQ(st.takeEvents(), unsigned(SE_SAVED_AGAIN));
    EXPECT_EQ(apiGet(path, L"estado", L"c0") + apiGet(path, L"estado", L"c1"), L"01");
}
