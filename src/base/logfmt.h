// The log's line format, shared by every writer: "YYYY-MM-DD hh:mm:ss  message\r\n" in UTF-8.
#pragma once
#include <ctime>
#include <string>

constexpr unsigned long long LOG_ROTATE = 524288;  // a log larger than this is renamed to ".anterior"
// When neither the rename nor emptying the log works, nothing is added past this size.
constexpr unsigned long long LOG_HARD_MAX = 4 * LOG_ROTATE;
constexpr int LOG_MSG_MAX = 1024;        // characters of a message
constexpr int LOG_LINE_MAX = 3600;       // bytes of a UTF-8 line

// The UTF-8 line for a message at local time t; the message is cut at LOG_MSG_MAX - 1
// characters and the line at LOG_LINE_MAX bytes (never inside a character).
std::string logFormat(const std::tm& t, const std::u16string& msg);

// The log file must be rotated before the next line: its size (all 64 bits) exceeds the limit.
inline bool logNeedsRotate(unsigned long long size) { return size > LOG_ROTATE; }
// A line may still be added to a log of this size that could not be rotated.
inline bool logMayGrow(unsigned long long size) { return size < LOG_HARD_MAX; }
