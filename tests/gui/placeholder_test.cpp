#include <gtest/gtest.h>
TEST(Window, Builds) {}
