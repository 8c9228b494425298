#include "update/http_win.h"

#include <wininet.h>

#include "base/base_win.h"
#include "base/msgs_win.h"
#include "update/http.h"

namespace {

struct NetAnswer : HttpAnswer {
    HINTERNET url;
    explicit NetAnswer(HINTERNET u) : url(u) {}
    int read(char* buf, unsigned cap, unsigned* got) override {
        DWORD n = 0;
        if (!InternetReadFile(url, buf, cap, &n)) return 0;
        *got = n;
        return 1;
    }
};

struct DiskFile : HttpFile {
    const wchar_t* path;
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit DiskFile(const wchar_t* p) : path(p) {}
    int create() override {
        h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    }
    int write(const char* p, unsigned n) override {
        DWORD done = 0;
        return WriteFile(h, p, n, &done, nullptr) && done == n;
    }
    void close() override {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    void remove() override {
        close();
        DeleteFileW(path);
    }
};

void postProgress(void* wnd, int pct) { PostMessageW((HWND)wnd, WM_ZV_DLPROG, (WPARAM)pct, 0); }

}  // namespace

int httpGetTimed(const wchar_t* url, char** outBuf, size_t* outLen, const wchar_t* destPath, HWND progressWnd,
                 DWORD timeoutMs) {
    HINTERNET net = InternetOpenW(W(HTTP_AGENT), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!net) return 0;
    InternetSetOptionW(net, INTERNET_OPTION_CONNECT_TIMEOUT, &timeoutMs, sizeof timeoutMs);
    InternetSetOptionW(net, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeoutMs, sizeof timeoutMs);
    HINTERNET u = InternetOpenUrlW(net, url, nullptr, 0,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE,
                                   0);
    if (!u) {
        logLine(L"Sin conexión (error %lu): %ls", GetLastError(), url);
        InternetCloseHandle(net);
        return 0;
    }
    // on the answer's handle too, for the reads of its body
    InternetSetOptionW(u, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeoutMs, sizeof timeoutMs);
    DWORD status = 0, size = sizeof status, index = 0;
    if (!HttpQueryInfoW(u, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index)) status = 0;
    char lenText[32] = "";
    size = sizeof lenText - 1;
    index = 0;
    if (!HttpQueryInfoA(u, HTTP_QUERY_CONTENT_LENGTH, lenText, &size, &index)) lenText[0] = 0;
    lenText[sizeof lenText - 1] = 0;

    NetAnswer in(u);
    DiskFile file(destPath ? destPath : L"");
    HttpWant want;
    want.outBuf = outBuf;
    want.outLen = outLen;
    want.file = destPath ? &file : nullptr;
    if (progressWnd) {
        want.progress = postProgress;
        want.ctx = progressWnd;
    }
    int ok = httpBody(status, httpLength(lenText), in, want);
    if (!ok) logLine(L"Descarga fallida (HTTP %lu): %ls", status, url);
    InternetCloseHandle(u);
    InternetCloseHandle(net);
    return ok;
}

int httpGet(const wchar_t* url, char** outBuf, size_t* outLen, const wchar_t* destPath, HWND progressWnd) {
    return httpGetTimed(url, outBuf, outLen, destPath, progressWnd, 20000);
}
