// Installing a pack on disk: the file is replaced whole or not at all. (Which packs are refused
// is the core's test.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/base_win.h"
#include "base/state.h"
#include "datapack/install.h"
#include "datapack/install_win.h"
#include "datapack/pack.h"
#include "app/startup.h"
#include "winutil.h"

TEST(PackDisk, InstallWritesTheFileOrNothing) {
    MemStore st;
    gStore = &st;
    loadState(st, 0x0C0A);
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    swprintf(pkPath, MAX_PATH, L"%lszvpack%lu.txt", dir, GetCurrentProcessId());
    DeleteFileW(pkPath);

    pkStartup(nullptr, 0);  // built-in pack in force
    std::string good = "# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\n[noticia]\ntitulo = Hola\n";
    EXPECT_EQ(pkInstallText(good.data(), good.size(), 0), 1);
    EXPECT_EQ(fileBytes(pkPath), good);
    EXPECT_EQ(pkFromFile, 1);

    // a folder that does not exist: not installed (it would be gone at the next start), the pack
    // in force stays, no stray file appears
    std::wstring keep = pkPath;
    swprintf(pkPath, MAX_PATH, L"%lsno-such-folder\\datos.txt", dir);
    std::string newer = "# ZENVORAL-DATOS 1\nversion = 2100-01-01\n";
    EXPECT_EQ(pkInstallText(newer.data(), newer.size(), 0), PK_NOT_SAVED);
    EXPECT_EQ(std::u16string(pkVerW), u"2099-01-01");
    EXPECT_EQ(GetFileAttributesW((std::wstring(pkPath) + L".nuevo").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(keep.c_str());
    gStore = nullptr;
}
