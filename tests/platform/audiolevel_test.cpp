// The level of the sound the libmpv player really puts out, heard through a private sound server.

#include <gtest/gtest.h>

#include "soundserver.h"

using namespace soundtesting;

namespace {

using AudioLevel = SoundServerTest;

TEST_F(AudioLevel, VolumeIsTheAmplitudeOfWhatComesOut)
{
    ASSERT_NO_FATAL_FAILURE(playThroughServer(600));
    const double full = peakAt(MediaPlayer::kMaxVolume);
    EXPECT_NEAR(decibels(full / kToneAmplitude), 0.0, 1.0);
    // The jukebox bar's positions 75 and 7 of 150 reach the player as 500 and 46.
    EXPECT_NEAR(decibels(peakAt(500) / full), -6.0, 1.0);
    EXPECT_NEAR(decibels(peakAt(46) / full), -26.7, 1.0);
}

// The program parks the player and sets its volume before anything plays: the first play loads mpv
// and is heard at that volume.
TEST_F(AudioLevel, TheFirstPlayOfAParkedPlayerHasTheVolumeGivenBefore)
{
    ASSERT_NO_FATAL_FAILURE(playThroughServer(600, true));
    EXPECT_NEAR(decibels(peakAt(500) / kToneAmplitude), -6.0, 1.0);
}

} // namespace
