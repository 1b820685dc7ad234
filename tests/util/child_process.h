#pragma once
// A second process for a test on Windows, which has no fork: the test
// program starts itself again, running only the current test, with a role
// named in its environment. The role registered under that name
// (RegisterChildRole) runs before any test, and its result is the process's
// exit code. The two processes meet through two named events: the child
// says it is ready, the parent lets it go.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace qmtest {

namespace child_detail {

inline constexpr const wchar_t* kRoleVar = L"QM_TEST_CHILD_ROLE";
inline constexpr const wchar_t* kArgVar = L"QM_TEST_CHILD_ARG";
inline constexpr const wchar_t* kEventsVar = L"QM_TEST_CHILD_EVENTS";

inline std::wstring Wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

inline std::string Utf8(const std::wstring& wide) {
    const std::u8string u = std::filesystem::path(wide).u8string();
    return std::string(u.begin(), u.end());
}

inline std::wstring Variable(const wchar_t* name) {
    wchar_t buf[32768];
    const DWORD n = ::GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

// The child's end of the events, opened on first use.
inline HANDLE ChildEvent(const wchar_t* suffix) {
    return ::OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, (Variable(kEventsVar) + suffix).c_str());
}

class RoleEnvironment : public ::testing::Environment {
public:
    RoleEnvironment(std::string role, std::function<int(const std::string&)> play)
        : role_(std::move(role)), play_(std::move(play)) {}
    void SetUp() override {
        if (Variable(kRoleVar) != Wide(role_)) return;
        int code = 1;
        try {
            code = play_(Utf8(Variable(kArgVar)));
        } catch (...) {
        }
        ::ExitProcess(static_cast<UINT>(code));
    }

private:
    std::string role_;
    std::function<int(const std::string&)> play_;
};

}  // namespace child_detail

// Registers `play` for `role` (at namespace scope: the result only makes the
// call happen before main). `play` gets the argument the parent passed.
inline int RegisterChildRole(const std::string& role, std::function<int(const std::string& arg)> play) {
    ::testing::AddGlobalTestEnvironment(new child_detail::RoleEnvironment(role, std::move(play)));
    return 0;
}

// In a child: tells the parent it is ready (ChildProcess::WaitReady).
inline void TellParentReady() {
    const HANDLE e = child_detail::ChildEvent(L"-ready");
    if (e) {
        ::SetEvent(e);
        ::CloseHandle(e);
    }
}

// In a child: waits until the parent lets it go (ChildProcess::Release).
inline void WaitForParent() {
    const HANDLE e = child_detail::ChildEvent(L"-release");
    if (e) {
        ::WaitForSingleObject(e, INFINITE);
        ::CloseHandle(e);
    }
}

// The parent's end: the child process, killed at the end of the scope if it
// still runs.
class ChildProcess {
public:
    static constexpr DWORD kKilled = 137;  // the exit code Kill gives

    ChildProcess(const std::string& role, const std::string& arg) {
        static std::atomic<int> counter{0};
        const std::wstring events =
            L"Local\\qmtest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter.fetch_add(1));
        ready_ = ::CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str());
        release_ = ::CreateEventW(nullptr, TRUE, FALSE, (events + L"-release").c_str());
        wchar_t exe[MAX_PATH * 4];
        const DWORD n = ::GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        if (!ready_ || !release_ || n == 0 || n >= std::size(exe) || !test)
            throw std::runtime_error("cannot prepare the child process");
        std::wstring cmd = L"\"" + std::wstring(exe, n) + L"\" --gtest_filter=" +
                           child_detail::Wide(std::string(test->test_suite_name()) + "." + test->name());
        ::SetEnvironmentVariableW(child_detail::kRoleVar, child_detail::Wide(role).c_str());
        ::SetEnvironmentVariableW(child_detail::kArgVar, child_detail::Wide(arg).c_str());
        ::SetEnvironmentVariableW(child_detail::kEventsVar, events.c_str());
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const BOOL started =
            ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        for (const wchar_t* var : {child_detail::kRoleVar, child_detail::kArgVar, child_detail::kEventsVar})
            ::SetEnvironmentVariableW(var, nullptr);
        if (!started) throw std::runtime_error("cannot start the child process");
        ::CloseHandle(pi.hThread);
        process_ = pi.hProcess;
    }
    ~ChildProcess() {
        if (process_) {
            if (::WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) Kill();
            ::WaitForSingleObject(process_, INFINITE);
            ::CloseHandle(process_);
        }
        if (ready_) ::CloseHandle(ready_);
        if (release_) ::CloseHandle(release_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Whether the child said it is ready within `ms`; false also when it
    // ended first.
    bool WaitReady(DWORD ms) {
        const HANDLE both[] = {ready_, process_};
        return ::WaitForMultipleObjects(2, both, FALSE, ms) == WAIT_OBJECT_0;
    }
    void Release() { ::SetEvent(release_); }
    void Kill() { ::TerminateProcess(process_, kKilled); }
    // Waits for the child to end and gives its exit code.
    DWORD Wait() {
        ::WaitForSingleObject(process_, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(process_, &code);
        return code;
    }

private:
    HANDLE process_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
};

}  // namespace qmtest
#endif
