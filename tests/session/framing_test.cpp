// "Encuadrar": the zoom that frames the shown surface, the zoom bar's range grown past 100 for a
// thin one and given back by a reset, and a derived parameter following its slider.
#include <gtest/gtest.h>

#include "session/view_session.h"
#include "surfaces/gallery.h"

namespace {

class Framing : public ::testing::Test {
protected:
    SurfaceRegistry surfaces;
    ViewSession     session{surfaces, [] {}};
    const BarState& zoomBar = session.Bar(ViewBar::Zoom);

    SurfaceKind Named(const std::string& id)
    {
        for (SurfaceKind k = 1; surfaces.Find(k); ++k)
            if (surfaces.Find(k)->id == id)
                return k;
        return kSurfaceNone;
    }
};

TEST_F(Framing, FramingSetsTheZoomAndGrowsTheBarOnlyPastAHundred)
{
    LoadGallery(surfaces);
    session.ChooseSurface(kSphere);
    session.FrameToFit();
    EXPECT_GT(session.View().zoom, 80.0);   // the sphere at 47 % of the square doubles
    EXPECT_LT(session.View().zoom, 100.0);
    EXPECT_EQ(zoomBar.minimum, 0);          // within today's range: today's bar
    EXPECT_EQ(zoomBar.position, BarPosition(100.0 - session.View().zoom));
    session.ChooseSurface(Named("boy"));    // the thinnest at its first view
    session.FrameToFit();
    const double zoom = session.View().zoom;
    ASSERT_GT(zoom, 100.0);
    EXPECT_EQ(zoomBar.minimum, -900);       // the top of the bar is now zoom 1000
    EXPECT_EQ(zoomBar.position, BarPosition(100.0 - zoom));
    session.Scroll(ViewBar::Zoom, BarStep::LineUp);   // an arrow goes on past 100 once grown
    EXPECT_EQ(session.View().zoom, zoom + 1.0);
    session.ResetKey();
    EXPECT_EQ(zoomBar.minimum, 0);
    EXPECT_EQ(session.View().zoom, 50.0);
}

TEST_F(Framing, ADerivedParameterFollowsTheOneItIsWrittenFrom)
{
    SurfaceDefinition def;
    def.id = "d";
    def.xyz = {"a*u", "b*v", "u*v"};
    def.u = {"0", "1", 3};
    def.v = {"0", "1", 3};
    def.params = {{"a", 2.0}, {"b", 1.0}};
    def.derived = {{"b", "a/2"}};
    ASSERT_TRUE(SetParameter(def, "a", 3.0));
    EXPECT_EQ(def.params[1].second, 1.5);
    ASSERT_TRUE(SetParameter(def, "b", 5.0));   // moved itself, b is free from then on
    ASSERT_TRUE(SetParameter(def, "a", 4.0));
    EXPECT_EQ(def.params[1].second, 5.0);
    def.xyz = {"u", "b*v", "u*v"};              // a is read only by b's formula: used, not refused
    def.derived = {{"b", "a/2"}};
    EXPECT_TRUE(UnusedParameters(def).empty());
    DefinitionProblem problem;
    EXPECT_TRUE(CheckDefinition(def, problem)) << problem.what.english;
}

}   // namespace
