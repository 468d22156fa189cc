// Integration tests: the project's code with the real raylib, in a hidden window
// under Xvfb and with the audio device on ALSA's null output.
#include <gtest/gtest.h>
#include <raylib.h>

namespace {

class RaylibEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SetTraceLogLevel(LOG_WARNING);
        SetConfigFlags(FLAG_WINDOW_HIDDEN);
        InitWindow(900, 700, "kolvex integration");
        InitAudioDevice();
        ASSERT_TRUE(IsWindowReady());
        ASSERT_TRUE(IsAudioDeviceReady());
    }
    void TearDown() override {
        CloseAudioDevice();
        CloseWindow();
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RaylibEnvironment);
    return RUN_ALL_TESTS();
}
