#include "base/store_win.h"

#include <cstdarg>
#include <cwchar>

#include "base/base_win.h"

ProfileStore* gProfile;

namespace {

constexpr unsigned long long SETTINGS_MAX = 64ull << 20;  // larger is not a settings file

bool missing(DWORD err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::u16string ansiToWide(std::string_view s) {
    if (s.empty()) return u"";
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), &w[0], n);
    return std::u16string(U(w.c_str()), w.size());
}

int fileReadAll(const wchar_t* path, std::string* bytes, DWORD* err) {
    *err = 0;
    bytes->clear();
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *err = GetLastError();
        return missing(*err) ? 0 : -1;
    }
    LARGE_INTEGER size;
    int r = 1;
    if (!GetFileSizeEx(h, &size) || (unsigned long long)size.QuadPart > SETTINGS_MAX) {
        *err = ERROR_FILE_TOO_LARGE;
        r = -1;
    } else {
        bytes->resize(size_t(size.QuadPart));
        DWORD got = 0;
        if (size.QuadPart && (!ReadFile(h, &(*bytes)[0], DWORD(size.QuadPart), &got, nullptr) || got != size.QuadPart)) {
            *err = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
            r = -1;
        }
    }
    CloseHandle(h);
    if (r < 0) bytes->clear();
    return r;
}

int fileWriteAtomic(const std::wstring& path, const std::string& bytes, DWORD* err) {
    *err = 0;
    std::wstring tmp = path + L".nuevo";
    HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *err = GetLastError();
        return 0;
    }
    DWORD done = 0;
    BOOL ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr) && done == bytes.size() &&
              FlushFileBuffers(h);
    if (!ok) *err = GetLastError();
    CloseHandle(h);
    // A scanner may hold the old file for a moment: a few short tries before giving up.
    for (int i = 0; ok && i < 5; i++) {
        if (MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
        *err = GetLastError();
        Sleep(DWORD(10 * (i + 1)));
    }
    DeleteFileW(tmp.c_str());
    return 0;
}

ProfileStore::ProfileStore(const wchar_t* p, int waitMs)
    : path(p),
      tmpPath(path + L".nuevo"),
      copyPath(path + L".copia"),
      brokenPath(path + L".roto"),
      origPath(path + L".anterior") {
    DWORD attrs = GetFileAttributesW(path.c_str());
    DWORD err = attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    if (attrs == INVALID_FILE_ATTRIBUTES && missing(err)) return;  // first start: created by the first write
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        fileThere = true;
        noSave = true;
        events |= SE_FOLDER;
        note(L"Ajustes: %ls es una carpeta; no se guardará nada en esta sesión", path.c_str());
        if (loadCopy()) note(L"Ajustes: se muestran los datos de la última copia buena");
        return;
    }
    std::string bytes;
    int r;
    // An antivirus or a sync tool may hold the file for a moment: wait for it a little.
    for (DWORD start = GetTickCount();;) {
        r = fileReadAll(path.c_str(), &bytes, &err);
        if (r >= 0 || GetTickCount() - start >= DWORD(waitMs)) break;
        Sleep(100);
    }
    if (r == 0) return;  // gone meanwhile
    fileThere = true;
    if (r < 0 && err != ERROR_FILE_TOO_LARGE) {
        noSave = true;
        events |= SE_LOCKED;
        note(L"Ajustes: no se pudo abrir %ls (error %lu); no se guardará nada en esta sesión", path.c_str(),
             (unsigned long)err);
        if (loadCopy()) note(L"Ajustes: se muestran los datos de la última copia buena");
        return;
    }
    enc = iniDetect(bytes);
    std::u16string text = iniDecode(bytes, enc, ansiToWide);
    IniHealth health = r < 0 ? INI_BROKEN : iniHealth(text);
    if (health != INI_GOOD) {
        // keep what is left of the damaged file for the player, then put the copy back
        if (!bytes.empty() || r < 0) CopyFileW(path.c_str(), brokenPath.c_str(), FALSE);
        const wchar_t* what = health == INI_BLANK ? L"vacío" : L"dañado";
        if (loadCopy()) {
            events |= SE_RESTORED;
            note(L"Ajustes: %ls estaba %ls (%llu bytes); restaurada la última copia buena", path.c_str(), what,
                 (unsigned long long)bytes.size());
            save();
        } else {
            doc.clear();
            fileThere = false;  // start as on a first run
            known = stat();     // replaced by the first write without more ado, and never copied
            events |= SE_LOST;
            note(L"Ajustes: %ls estaba %ls (%llu bytes) y no hay copia buena; se empieza de nuevo", path.c_str(), what,
                 (unsigned long long)bytes.size());
        }
        return;
    }
    doc.parse(text);
    knownGood = true;
    if (enc != INI_UTF16LE_BOM) {
        BOOL kept = CopyFileW(path.c_str(), origPath.c_str(), FALSE);
        note(L"Ajustes: convertido de %ls a UTF-16LE%ls", W(iniEncName(enc)),
             kept ? L"; el original queda en ajustes.ini.anterior" : L"; no se pudo guardar el original");
        known = stat();
        save();
        return;
    }
    known = stat();
}

ProfileStore::Stamp ProfileStore::stat() const {
    Stamp s;
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa)) return s;
    s.there = true;
    s.size = ((unsigned long long)fa.nFileSizeHigh << 32) | fa.nFileSizeLow;
    s.write = fa.ftLastWriteTime;
    return s;
}

void ProfileStore::note(const wchar_t* fmt, ...) {
    wchar_t buf[1024];
    va_list ap;
    va_start(ap, fmt);
    int n = vswprintf(buf, 1024, fmt, ap);
    va_end(ap);
    if (n < 0) buf[1023] = 0;
    logs.emplace_back(buf);
}

bool ProfileStore::loadCopy() {
    std::string bytes;
    DWORD err;
    if (fileReadAll(copyPath.c_str(), &bytes, &err) <= 0) return false;
    std::u16string text = iniDecode(bytes, iniDetect(bytes), ansiToWide);
    if (iniHealth(text) != INI_GOOD) return false;
    doc.parse(text);
    return true;
}

bool ProfileStore::exists() { return fileThere; }

unsigned ProfileStore::takeEvents() {
    unsigned e = events;
    events = 0;
    return e;
}

std::vector<std::wstring> ProfileStore::takeLog() {
    std::vector<std::wstring> l;
    l.swap(logs);
    return l;
}

void ProfileStore::sync() {
    if (noSave) return;
    Stamp now = stat();
    if (now == known) return;
    if (!now.there) {
        if (known.there) note(L"Ajustes: %ls ya no existe; se vuelve a escribir", path.c_str());
        return;  // the change that follows writes it again whole
    }
    std::string bytes;
    DWORD err;
    if (fileReadAll(path.c_str(), &bytes, &err) <= 0) return;  // held by someone: the write will tell
    std::u16string text = iniDecode(bytes, iniDetect(bytes), ansiToWide);
    if (iniHealth(text) != INI_GOOD) {
        // emptied or damaged under us: what is in memory is the player's data
        events |= SE_REWRITTEN;
        note(L"Ajustes: %ls se vació o se dañó fuera del programa (%llu bytes); se vuelve a escribir", path.c_str(),
             (unsigned long long)bytes.size());
        unsaved = true;
        return;
    }
    // changed by someone else (a restored backup, an editor): the file wins
    if (unsaved) note(L"Ajustes: %ls cambió fuera del programa; se descartan cambios sin guardar", path.c_str());
    doc.parse(text);
    known = now;
    knownGood = true;
    unsaved = false;
}

bool ProfileStore::writeFile() {
    // The file about to be replaced is the last good one (read good or written by us, and
    // unchanged since): it becomes the copy. A real copy, not a hard link: a save cut short
    // would leave the link as the very file, emptied or damaged with it if the file is then
    // rewritten in place. It is made beside and moved over the old copy, so there is always one.
    if (knownGood && known.there && stat() == known) {
        std::wstring next = copyPath + L".nuevo";
        DeleteFileW(next.c_str());
        if (CopyFileW(path.c_str(), next.c_str(), FALSE))
            MoveFileExW(next.c_str(), copyPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    DWORD err;
    if (!fileWriteAtomic(path, iniBytes(doc.text()), &err)) {
        if (!failing) note(L"Ajustes: no se pudo guardar %ls (error %lu); se reintentará", path.c_str(), (unsigned long)err);
        return false;
    }
    known = stat();
    knownGood = true;
    fileThere = true;
    return true;
}

void ProfileStore::save() {
    if (noSave) {
        unsaved = true;
        return;
    }
    if (!writeFile()) {
        unsaved = true;
        if (!failing) events |= SE_SAVE_FAILED;
        failing = true;
        return;
    }
    unsaved = false;
    if (failing) {
        events |= SE_SAVED_AGAIN;
        note(L"Ajustes: %ls vuelve a guardarse", path.c_str());
    }
    failing = false;
}

int ProfileStore::retry() {
    if (noSave) return 0;
    if (unsaved) {
        sync();  // a file changed by someone else meanwhile wins over what waited
        if (unsaved) save();
    }
    return unsaved ? 0 : 1;
}
