// The widget tests run on the offscreen platform unless another is set.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string runtime;
    if (::getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Qt wants a private runtime directory; a session without one gets a fresh one.
        std::string pattern = "/tmp/velnora-runtime-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            runtime = pattern;
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        }
    }
    int status = 0;
    {
        QApplication application(argc, argv);
        Q_INIT_RESOURCE(velnora);
        testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    if (!runtime.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }
    return status;
}
