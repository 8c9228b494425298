// The shell pieces that run without a user: the settings file through the profile API,
// whole-file reads and the log, on real Windows files under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "base/base_win.h"
#include "base/logfmt.h"
#include "base/state.h"
#include "base/store_win.h"
#include "checklist/catalogue.h"
#include "l10n/ui.h"
#include "app/startup.h"
#include "checklist/persist.h"
#include "tools/backup_win.h"
#include "winutil.h"

namespace {

// The file's text without its byte-order mark, as UTF-16 keys and values.
std::wstring fileText(const std::wstring& p) {
    std::string b = fileBytes(p);
    if (b.size() < 2 || (unsigned char)b[0] != 0xFF || (unsigned char)b[1] != 0xFE) return L"<not UTF-16>";
    return std::wstring((const wchar_t*)(b.data() + 2), (b.size() - 2) / 2);
}

struct Ini : ::testing::Test {
    std::wstring dir = tempDir(L"zvtest"), path = dir + L"\\ajustes.ini";
    void SetUp() override { DeleteFileW(path.c_str()); }
    void TearDown() override { DeleteFileW(path.c_str()); }
};

}  // namespace

TEST_F(Ini, FirstStartWritesUnicodeFileWithTheDefaults) {
    ProfileStore st(path.c_str());
    EXPECT_FALSE(st.exists());
    loadState(st, 0x0C0A);
    std::wstring t = fileText(path);
    size_t at = 0;
    for (const wchar_t* k : {L"[ajustes]", L"ProcesoJuego=TheDivision2.exe", L"HoraReinicio=9", L"Opacidad=215",
                             L"TeclaEditar=F8", L"TeclaOcultar=F7", L"TeclaBiblioteca=F9", L"TeclaSalir=F10",
                             L"Idioma=es"}) {
        size_t f = t.find(k, at);
        ASSERT_NE(f, std::wstring::npos) << "missing or out of order";
        at = f;
    }
    EXPECT_EQ(t.find(L"[estado]"), std::wstring::npos);
}

TEST_F(Ini, RangesAndTextsSurviveTheProfileApi) {
    {
        ProfileStore st(path.c_str());
        st.put("ajustes", "HoraReinicio", u"-1");
        st.put("ajustes", "Opacidad", u"999");
        st.put("checklist", "n", u"2");
        st.put("checklist", "t0", u"2|Ñandú 日本 ✓");
        st.put("checklist", "t1", u"sin tipo");
        st.put("checklist", "orden", u"3,3,99,0,");
    }
    ProfileStore st(path.c_str());
    loadState(st, 0x0409);
    EXPECT_EQ(resetHour, 15);
    EXPECT_EQ(opacity, 255);
    ASSERT_EQ(NT, 14);
    EXPECT_EQ(std::u16string(tCustom[13]), u"Ñandú 日本 ✓");
    EXPECT_EQ(ord[0], 3);
    EXPECT_EQ(ord[1], 0);
    EXPECT_EQ(lang, 1);

    checked[13] = 1;
    dailyStamp = 1765000000;
    posX = 300;
    saveState(st);
    checklistSave(st);
    catReset();
    loadState(st, 0x0409);
    EXPECT_EQ(checked[13], 1);
    EXPECT_EQ(dailyStamp, 1765000000);
    EXPECT_EQ(posX, 300);
    EXPECT_EQ(std::u16string(tCustom[13]), u"Ñandú 日本 ✓");
    EXPECT_EQ(st.section("checklist").size(), 4u);  // n, t0, ocultas, orden
    uiSetLang(0);
}

TEST_F(Ini, AnAnsiFileIsConvertedOnceKeepingEveryKey) {
    writeBytes(path, "[ajustes]\r\nProcesoJuego=Juego.exe\r\n[otra]\r\nclave=valor\r\n");
    ProfileStore st(path.c_str());
    std::wstring t = fileText(path);
    EXPECT_NE(t.find(L"clave=valor"), std::wstring::npos);
    EXPECT_EQ(st.getStr("ajustes", "ProcesoJuego", u"", 260), u"Juego.exe");
    st.put("ajustes", "Nombre", u"Łódź");
    EXPECT_EQ(st.getStr("ajustes", "Nombre", u"", 64), u"Łódź");
    st.delSection("otra");
    EXPECT_EQ(st.getStr("otra", "clave", u"none", 64), u"none");
}

TEST_F(Ini, BackupCopyRestoresEverySection) {
    std::wstring copy = dir + L"\\copia.ini";
    {
        ProfileStore st(path.c_str());
        loadState(st, 0x0C0A);
        st.put("estado", "instalado", u"1");
        st.put("builds", "nombre0", u"Mi build");
        st.put("build0", "f0", u"1|Striker");
        st.put("historial", "d20261205", u"4/4/1");
    }
    ASSERT_TRUE(CopyFileW(path.c_str(), copy.c_str(), FALSE));
    EXPECT_TRUE(backupIsOurs(copy.c_str()));
    std::string before = fileBytes(path);
    {
        ProfileStore st(path.c_str());
        st.delSection("builds");
        st.put("ajustes", "Idioma", u"de");
    }
    ASSERT_TRUE(CopyFileW(copy.c_str(), path.c_str(), FALSE));
    EXPECT_EQ(fileBytes(path), before);
    writeBytes(copy, "[ajustes]\r\nIdioma=es\r\n");
    EXPECT_FALSE(backupIsOurs(copy.c_str()));
    DeleteFileW(copy.c_str());
}

TEST(Files, ReadFileAIsBoundedAndTerminated) {
    std::wstring dir = tempDir(L"zvtest"), p = dir + L"\\f.bin";
    writeBytes(p, std::string("ab\0c", 4));
    DWORD n = 99;
    char* b = readFileA(p.c_str(), &n);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(b[4], 0);
    free(b);
    writeBytes(p, std::string(8388609, 'x'));
    EXPECT_EQ(readFileA(p.c_str(), &n), nullptr);
    EXPECT_EQ(readFileA((dir + L"\\missing").c_str(), &n), nullptr);
    DeleteFileW(p.c_str());
}

TEST(Log, RotatesPast512KiB) {
    std::wstring dir = tempDir(L"zvtest");
    swprintf(logPath, MAX_PATH, L"%ls\\registro.txt", dir.c_str());
    std::wstring old = std::wstring(logPath) + L".anterior";
    DeleteFileW(old.c_str());
    writeBytes(logPath, std::string(600 * 1024, 'x'));
    logLine(L"Prueba %d · %ls", 7, L"ñ");
    EXPECT_EQ(fileBytes(old).size(), 600u * 1024);
    std::string now = fileBytes(logPath);
    EXPECT_EQ(now.size(), 20u + 2 + 13 + 2);
    EXPECT_NE(now.find("  Prueba 7 \xC2\xB7 \xC3\xB1\r\n"), std::string::npos);
    logLine(L"segunda");
    EXPECT_EQ(fileBytes(old).size(), 600u * 1024);  // small log: no new rotation
    DeleteFileW(logPath);
    DeleteFileW(old.c_str());
    logPath[0] = 0;
    logLine(L"nowhere");  // no path yet: nothing happens
}

// The log never grows without limit: a rename that fails empties it instead, and a log that
// can be neither renamed nor emptied stops growing; sizes past 4 GiB count in full.
TEST(Log, NeverGrowsWithoutLimit) {
    std::wstring dir = tempDir(L"zvtest");
    swprintf(logPath, MAX_PATH, L"%ls\\registro.txt", dir.c_str());
    std::wstring old = std::wstring(logPath) + L".anterior";
    auto sizeOf = [](const wchar_t* p) {
        WIN32_FILE_ATTRIBUTE_DATA fa;
        if (!GetFileAttributesExW(p, GetFileExInfoStandard, &fa)) return -1LL;
        return (long long)(((unsigned long long)fa.nFileSizeHigh << 32) | fa.nFileSizeLow);
    };
    // a folder in the way of the rename
    DeleteFileW(old.c_str());
    ASSERT_TRUE(CreateDirectoryW(old.c_str(), nullptr));
    writeBytes(logPath, std::string(600 * 1024, 'x'));
    logLine(L"tras el vaciado");
    std::string now = fileBytes(logPath);
    EXPECT_LT(now.size(), 300u);
    EXPECT_NE(now.find("no se pudo renombrar"), std::string::npos);
    EXPECT_NE(now.find("tras el vaciado"), std::string::npos);
    RemoveDirectoryW(old.c_str());

    // held open without sharing by another program: neither renamed nor emptied, not grown
    writeBytes(logPath, std::string(LOG_HARD_MAX + 10, 'x'));
    HANDLE held = CreateFileW(logPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    logLine(L"no cabe");
    EXPECT_EQ(sizeOf(logPath), (long long)LOG_HARD_MAX + 10);
    CloseHandle(held);

    // a log past 4 GiB (a sparse file) is rotated, not taken for a small one
    HANDLE h = CreateFileW(logPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = (1LL << 32) + 100;
    DWORD ret;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ret, nullptr);
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    ASSERT_EQ(sizeOf(logPath), (1LL << 32) + 100);
    logLine(L"grande");
    EXPECT_EQ(sizeOf(old.c_str()), (1LL << 32) + 100);
    EXPECT_LT(sizeOf(logPath), 100);
    DeleteFileW(old.c_str());
    DeleteFileW(logPath);
    logPath[0] = 0;
}
