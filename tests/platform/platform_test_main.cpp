// Runs the platform tests as a Japanese desktop session would, with a default application for
// plain text from tests/data/xdg. Qt and GIO read these variables on first use, so they are
// set before any test starts.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("LANG", "ja_JP.UTF-8", 1);
    setenv("LANGUAGE", "ja", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("XDG_DATA_HOME", KANTORIA_TEST_DATA "/xdg/data", 1);
    setenv("XDG_CONFIG_HOME", KANTORIA_TEST_DATA "/xdg/config", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
