// Every web address the program uses, in one place. The program's own site serves the update
// manifest, the data pack, remote pictures, its root page and the feedback page; the settings
// URLVersion, URLDatos and URLImagenes can point the first three elsewhere, URLDirecto the live-status
// service (tests use a local server).
#pragma once
#include <string>

#define ZV_HOST "zenvoral.app"
#define ZV_SITE u"https://" ZV_HOST
#define ZV_SITE_L L"https://" ZV_HOST  // for fixed-size wide buffers in the shell

constexpr const char16_t* EP_SITE = ZV_SITE u"/";
constexpr const char16_t* EP_MANIFEST = ZV_SITE u"/version.txt";      // default of updManifest
constexpr const char16_t* EP_PACK = ZV_SITE u"/datos.txt";            // the built-in pack's "url"
constexpr const char16_t* EP_IMAGES = ZV_SITE u"/imagenes/";          // default of IMG_BASE
constexpr const char16_t* EP_FEEDBACK = ZV_SITE u"/sugerencias.html"; // + "?v=%ls&b=%d&l=%ls&w=%lu.%lu.%lu"

// Live status of a streaming channel: GET this + channel id; a short plain-text answer.
constexpr const char16_t* EP_LIVE = u"https://decapi.me/twitch/uptime/";
// Video site: the local player page embeds EP_VIDEO_EMBED + id; the browser fallback opens
// EP_VIDEO_WATCH + id (with "&t=%ds" for a start second).
constexpr const char16_t* EP_VIDEO_EMBED = u"https://www.youtube.com/embed/";
constexpr const char16_t* EP_VIDEO_WATCH = u"https://www.youtube.com/watch?v=";
constexpr const char16_t* EP_WEBVIEW2 = u"https://developer.microsoft.com/microsoft-edge/webview2/";
constexpr const char16_t* EP_CHAT = u"https://discord.gg/zenvoral";

// The program's version: text and build number.
constexpr const char16_t* ZV_VERSION = u"0.0.9";
extern const int ZV_BUILD;  // 9 (base/version.cpp; the update test builds one copy with the next)

// The feedback page's address with the version, build, language code and Windows version
// (major.minor.build) in its query.
std::u16string feedbackUrl(const char* langCode, unsigned long major, unsigned long minor, unsigned long build);
