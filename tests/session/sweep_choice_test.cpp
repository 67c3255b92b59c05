// "Animar"'s choice without a window: what it sweeps, what a save proposes, and going on after it.
#include "session/sweep_choice.h"

#include <gtest/gtest.h>

namespace {

TEST(SweepChoice, TheLastSliderMovedIsSweptProposedWhileItRunsAndGoesOnOnlyIfNothingStoppedIt)
{
    const std::vector<ParameterControl> two = {{"a", 0, 1, 0.5}, {"b", -1, 1, 0}};
    SweepChoice sweep;
    sweep.Show(two);
    EXPECT_EQ(sweep.Parameter(), "a");
    EXPECT_EQ(sweep.Proposed(), "") << "the turn while \"Animar\" stands";
    sweep.Moved("b");
    sweep.SetRunning(true);
    EXPECT_TRUE(sweep.Ticks());
    EXPECT_EQ(sweep.Proposed(), "b");
    EXPECT_TRUE(sweep.GoesOnAfterSave(true));
    EXPECT_FALSE(sweep.GoesOnAfterSave(false)) << "paused while it did not run";
    sweep.Show(two);   // another surface came during the save
    EXPECT_FALSE(sweep.GoesOnAfterSave(true));
    EXPECT_EQ(sweep.Parameter(), "a");
    sweep.Show({});
    sweep.SetRunning(true);
    EXPECT_FALSE(sweep.Ticks()) << "nothing to sweep on a surface without parameters";
    EXPECT_EQ(sweep.Proposed(), "");
}

}   // namespace
