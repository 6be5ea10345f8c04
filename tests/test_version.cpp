#include <gtest/gtest.h>

#include <cstdio>

#include "app/firmware_image.h"
#include "app/upgrade_state.h"
#include "app/version.h"

namespace {
TEST(VersionValue, ReadsUpToThreeNumbersAsStrtoulInBaseZero) {
    struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"2.0.12", 20012},   {"3.1.5(SE)", 30105}, {"3.1", 301},          {"7", 7},
        {"2.0.08", 20000},   {"2.0.0x0C", 20012},  {"", 0},               {"2..0.12", 20000},
        {" 2. 0. 12", 20012}, {"1.2.3.4", 10203},  {"+2.0.12", 20012},    {"0x.1", 1},
        {"-1", -1},          {"99999999999", -1},  {"2.0.12rc", 20012},   {"abc", 0},
        {"010.0.0", 80000},  {"4294967295.0.0", -10000},
    };
    for (auto& c : cases) EXPECT_EQ(version_value(c.text), c.value) << '"' << c.text << '"';
}

TEST(DecideStage, ComparesWithTheTransitionVersion) {
    struct {
        const char* device;
        int stage;
    } cases[] = {
        {"2.0.11", Transition}, {"2.0.12", Target},      {"2.0.12(SE)", Transition}, {"2.0.13", Target},
        {"3.1.5(SE)", Target},  {"3.1.5(NT)", Transition}, {"2.1", Transition},      {"2.0.08", Transition},
        {"2.0.0x0C", Target},   {"", Transition},        {"2..0.12", Transition},    {"9.9.9(NTX", Transition},
    };
    load_firmware_image(TransitionImageId, &g_state.transition_image);
    for (auto& c : cases) {
        g_state.stage = Transition;
        std::snprintf(g_state.device_info.software_version, 128, "%s", c.device);
        decide_stage();
        EXPECT_EQ(g_state.stage.load(), c.stage) << c.device;
    }
}
}  // namespace
