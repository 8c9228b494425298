// The local-time rule under the Windows runtime: the same check as natively, on a zone with
// daylight saving (the runtime reads TZ; it puts its own dates on the changes, which is why the
// rule must not come from its mktime). The runtime reads TZ once per process, so the check runs
// in a child process started with it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "../unit/localtime_rule.h"
#include "checklist/clock.h"

TEST(LocalTime, TheRuleHoldsUnderTheWindowsRuntime) {
    if (std::getenv("ZV_TZ_CHILD")) {
        std::string problems;
        int n = checkLocalTimeRule(2026, &problems);
        EXPECT_EQ(n, 2);  // one change forward, one back
        EXPECT_EQ(problems, "");
        return;
    }
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --gtest_filter=LocalTime.TheRuleHoldsUnderTheWindowsRuntime";
    SetEnvironmentVariableW(L"TZ", L"CET-1CEST");
    SetEnvironmentVariableW(L"ZV_TZ_CHILD", L"1");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL ok = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"TZ", nullptr);
    SetEnvironmentVariableW(L"ZV_TZ_CHILD", nullptr);
    ASSERT_TRUE(ok);
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << "the check failed in the child process (its output is above)";
}
