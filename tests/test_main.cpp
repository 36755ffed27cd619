#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The program sets the process locale from the environment; so do the tests.
    std::setlocale(LC_ALL, "");
    if (const char* expect = std::getenv("VORNA_EXPECT_COMMA_LOCALE"); expect && *expect == '1') {
        const char* point = std::localeconv()->decimal_point;
        if (std::strcmp(point, ",") != 0) {
            std::cerr << "comma-decimal locale not available (decimal point '" << point << "')\n";
            return 1;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
