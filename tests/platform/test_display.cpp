// Whether the programs see a display, from the variables that name one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/display.h"

namespace {

// Sets or removes a variable for the test's span, then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

#if defined(__unix__) && !defined(__APPLE__)
TEST(Display, OneNamedDisplayOrPlatformIsEnough) {
    struct Row {
        const char* name;
        const char* display;
        const char* wayland;
        const char* platform;
        bool has;
    } rows[] = {
        {"nothing", nullptr, nullptr, nullptr, false},
        {"empty values", "", "", "", false},
        {"X11", ":0", nullptr, nullptr, true},
        {"Wayland", nullptr, "wayland-0", nullptr, true},
        {"a platform plugin", nullptr, nullptr, "offscreen", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScopedEnv d("DISPLAY", r.display), w("WAYLAND_DISPLAY", r.wayland), p("QT_QPA_PLATFORM", r.platform);
        EXPECT_EQ(qm::HasDisplay(), r.has);
    }
}
#endif

}  // namespace
