// The log's line format, shared by every writer: "YYYY-MM-DD hh:mm:ss  message\r\n" in UTF-8.
#pragma once
#include <ctime>
#include <string>

constexpr unsigned LOG_ROTATE = 524288;  // a log larger than this is renamed to ".anterior"
constexpr int LOG_MSG_MAX = 1024;        // characters of a message
constexpr int LOG_LINE_MAX = 3600;       // bytes of a UTF-8 line

// The UTF-8 line for a message at local time t; the message is cut at LOG_MSG_MAX - 1
// characters and the line at LOG_LINE_MAX bytes (never inside a character).
std::string logFormat(const std::tm& t, const std::u16string& msg);

// The log file must be rotated before the next line: its size exceeds the limit.
inline bool logNeedsRotate(unsigned long long size) { return (size & 0xFFFFFFFFull) > LOG_ROTATE; }
