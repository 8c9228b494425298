#include "builds/builds_win.h"

#include <cwchar>

#include "base/base_win.h"
#include "base/endpoints.h"
#include "base/state.h"
#include "l10n/ui.h"
#include "widgets/widgets_win.h"

namespace {

bool openClipboard(HWND owner) {
    for (int i = 0; i < 10; i++) {
        if (OpenClipboard(owner)) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

int clipSet(HWND owner, const std::u16string& text) {
    if (!openClipboard(owner)) return 0;
    int ok = 0;
    if (EmptyClipboard()) {
        SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
        if (HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (void* p = GlobalLock(g)) {
                memcpy(p, text.c_str(), bytes);
                GlobalUnlock(g);
                ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
            }
            if (!ok) GlobalFree(g);
        }
    }
    CloseClipboard();
    return ok;
}

int clipGet(HWND owner, std::u16string& text) {
    text.clear();
    if (!openClipboard(owner)) return 0;
    int ok = 0;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = (const wchar_t*)GlobalLock(h)) {
            // a private copy, bounded by the block, so the clipboard is closed at once
            text.assign(U(p), wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
            GlobalUnlock(h);
            ok = 1;
        }
    }
    CloseClipboard();
    return ok;
}

int buildShareCopy(HWND owner, const std::function<std::u16string(int)>& title) {
    return clipSet(owner, buildShareMessage(title, EP_SITE));
}

int buildImportClipboard(HWND owner, ImportResult& r) {
    std::u16string text;
    clipGet(owner, text);
    return buildImportText(*gStore, text, r);
}

void buildShare(HWND owner, const std::function<std::u16string(int)>& title) {
    if (buildShareCopy(owner, title)) {
        darkAsk(owner, W(T(179)), nullptr, 0);
    } else {
        logLine(L"Build: el portapapeles está ocupado; no se copió el código");
        darkAsk(owner, W(T(UI_CLIP_BUSY)), nullptr, 0);
    }
}

int buildImport(HWND owner, const std::function<void()>& refresh) {
    ImportResult r;
    int o = buildImportClipboard(owner, r);
    if (o == IMPORT_DONE) {
        logLine(L"Build importada: «%ls», %d piezas, %d desconocidas", W(r.name.c_str()), r.matched, r.unknown);
        if (refresh) refresh();
    }
    std::u16string msg = importMessage(r);
    if (!msg.empty()) darkAsk(owner, W(msg.c_str()), nullptr, 0);
    return o;
}
