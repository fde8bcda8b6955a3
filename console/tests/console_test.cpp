#include <gtest/gtest.h>
TEST(Console, Builds) {}
