// The widget tests run on the offscreen platform unless another is set.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (::getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Qt wants a private runtime directory; a session without one gets a fresh one.
        static char runtime[] = "/tmp/velnora-runtime-XXXXXX";
        if (::mkdtemp(runtime) != nullptr) {
            ::setenv("XDG_RUNTIME_DIR", runtime, 1);
        }
    }
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(velnora);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
