// The scene of a link: written and read back to the bit, opened in another session to the same
// camera and pixels, and refused in one line when malformed.
#include "session/scene_session.h"

#include <cstring>

#include <gtest/gtest.h>

#include "surfaces/gallery.h"

namespace {

// A program's registry, its own surfaces and a session over them, as each front end has.
struct Program {
    SurfaceRegistry surfaces;
    OwnSurfaces     own{surfaces};
    ViewSession     session{surfaces, nullptr};

    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> picture;
        DrawShownFrame(session.FrameCamera(), session.FrameWireframe(), session.Style(), 300, picture);
        return picture;
    }
};

// Opens text in a fresh program, as another computer would, expecting no problem.
void ExpectSameScene(const Program& from, Program& to)
{
    const std::string text = EncodeScene(*SceneOf(from.session));
    FormulaProblem problem;
    const std::optional<Scene> scene = DecodeScene("https://example.org/vexilon/?modo=incrustado#" + text, problem);
    ASSERT_TRUE(scene) << problem.english;
    ASSERT_TRUE(OpenScene(*scene, to.session, to.own, problem)) << problem.english;
    EXPECT_EQ(EncodeScene(*SceneOf(to.session)), text);
    const Camera a = from.session.FrameCamera(), b = to.session.FrameCamera();
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(to.Pixels(), from.Pixels());
    EXPECT_EQ(to.session.Style().hiddenLines, from.session.Style().hiddenLines);
    EXPECT_EQ(to.session.Section(), from.session.Section());
    EXPECT_EQ(to.session.SectionStep(), from.session.SectionStep());
}

void Drag(ViewSession& session)
{
    session.PressButton({100, 100});
    session.MoveCursor({173, 58});
    session.MoveCursor({141, 77});
    session.ReleaseButton();
    session.Wheel(3 * kWheelNotch);
    session.Scroll(ViewBar::Distance, BarStep::LineDown);
}

TEST(Scene, AGallerySurfaceWithItsViewOptionsAndParameterOpensToTheSamePixels)
{
    Program first, second;
    first.session.ChooseSurface(first.surfaces.FindId("elipsoide")->number);
    Drag(first.session);
    ASSERT_TRUE(first.session.SetParameter("c", 0.1 + 0.2));   // a value with no short decimal
    FrameStyle style;
    style.hiddenLines = true;
    style.lineWidth = 3;
    style.theme = Theme::Papel;
    style.lineColour = Rgb{200, 10, 0};
    style.title = "Elipsoide & c=0,3 #1";
    first.session.SetStyle(style);
    first.session.SetTurnAxis(TurnAxis::Z);
    first.session.SetSectionAxis(SectionAxis::Y);
    first.session.SetSectionStep(37);
    ExpectSameScene(first, second);
    EXPECT_EQ(second.session.GetTurnAxis(), TurnAxis::Z);
    ASSERT_TRUE(second.session.Section());
    EXPECT_EQ(second.session.Section()->axis, SectionAxis::Y);
    EXPECT_EQ(second.session.SectionStep(), 37);
    // The opened view goes on as the first one: the same drag gives the same camera again.
    Drag(first.session);
    Drag(second.session);
    EXPECT_EQ(std::memcmp(&first.session.FrameCamera(), &second.session.FrameCamera(), sizeof(Camera)), 0);
}

TEST(Scene, OnesOwnFormulasTravelWholeAndOpenAsAnAcceptedSurface)
{
    Program first, second;
    SurfaceDefinition def;
    def.caption = "Mía";
    def.xyz = {"r*cos(u)", "r*sin(u)", "h*v"};
    def.u = {"0", "2*pi", 13};
    def.v = {"-1", "1", 7};
    def.samples = 40;
    def.families = Families::V;
    def.fitEachAxis = true;
    def.params = {{"a", 1.5}, {"h", 1e-3}};
    def.ranges = {{"a", -2.0, 2.0}};
    def.lets = {{"r", "a+v^2"}};
    first.session.ChooseSurface(first.own.Accept(def));
    Drag(first.session);
    second.session.SetSectionAxis(SectionAxis::X);   // a link without a plane shows none
    ExpectSameScene(first, second);
    EXPECT_FALSE(second.session.Section());
    const SurfaceEntry* opened = second.surfaces.Find(second.session.View().surface);
    ASSERT_TRUE(opened && opened->definition);
    EXPECT_TRUE(SameSurface(*opened->definition, def));
    EXPECT_EQ(opened->definition->lets.size(), 1u);
}

TEST(Scene, MalformedTextIsRefusedInOneLineOfEachLanguage)
{
    const std::string view = "&eye=1,2,3&tgt=0,0,0&up=0,0,1&zoom=50";
    const std::string cases[] = {
        "",
        "v=2&s=toro" + view,
        "s=toro&v=1" + view,
        "v=1&s=toro&s=toro" + view,
        "v=1&s=toro&nuevo=1" + view,
        "v=1&s=toro&bare" + view,
        "v=1&s=to%2" + view,
        "v=1&s=toro&eye=1,2&tgt=0,0,0&up=0,0,1&zoom=50",
        "v=1&s=toro&eye=1,2,nan&tgt=0,0,0&up=0,0,1&zoom=50",
        "v=1&s=toro&eye=0,0,0&tgt=0,0,0&up=0,0,1&zoom=50",
        "v=1&s=toro&eye=1,2,3&tgt=0,0,0&up=0,0,0&zoom=50",
        "v=1&s=toro&eye=1,2,3&tgt=0,0,0&up=0,0,1&zoom=101",
        "v=1&s=toro&eye=1,2,3&tgt=0,0,0&up=0,0,1",
        "v=1&s=toro&x=u&y=v&z=0&u0=0&u1=1&v0=0&v1=1" + view,
        "v=1&x=u&y=v&u0=0&u1=1&v0=0&v1=1" + view,
        "v=1&s=toro&fit=1" + view,
        "v=1&s=toro&w=5" + view,
        "v=1&s=toro&theme=oscuro" + view,
        "v=1&s=toro&bg=12345g" + view,
        "v=1&s=toro&title=a%0Ab" + view,
        "v=1&s=toro&p=1a:2" + view,
        "v=1&s=toro&p=a:1e400" + view,
        "v=1&x=u&y=v&z=0&u0=0&u1=1&v0=0&v1=1&r=a:2:1" + view,
        "v=1&s=" + std::string(kMaxSceneLength, 'a') + view,
        "v=1&s=toro&corte=w:1" + view,
        "v=1&s=toro&corte=z" + view,
        "v=1&s=toro&corte=z:" + view,
        "v=1&s=toro&corte=z:1e400" + view,
        "v=1&s=toro&corte=z:0&corte=x:0" + view,
    };
    for (const std::string& text : cases) {
        FormulaProblem problem;
        EXPECT_FALSE(DecodeScene(text, problem)) << text.substr(0, 80);
        EXPECT_EQ(problem.english.rfind("scene: ", 0), 0u) << problem.english;
        EXPECT_EQ(problem.spanish.rfind("escena: ", 0), 0u) << problem.spanish;
        EXPECT_EQ(problem.english.find('\n'), std::string::npos) << problem.english;
    }
    std::string many = "v=1&s=elipsoide" + view;
    for (int i = 0; i <= kMaxParameters; ++i)
        many += "&p=c:1";
    FormulaProblem problem;
    EXPECT_FALSE(DecodeScene(many, problem));
}

TEST(Scene, ASceneThatCannotBeShownLeavesTheSessionAsItWas)
{
    const std::string view = "&eye=1,2,3&tgt=0,0,0&up=0,0,1&zoom=50";
    for (const std::string& text : {"v=1&s=ninguna" + view, "v=1&s=toro&p=a:1" + view, "v=1&s=elipsoide&p=q:1" + view,
                                   "v=1&x=u%2B&y=v&z=0&u0=0&u1=1&v0=0&v1=1" + view}) {
        Program program;
        FormulaProblem problem;
        const std::optional<Scene> scene = DecodeScene(text, problem);
        ASSERT_TRUE(scene) << problem.english;
        EXPECT_FALSE(OpenScene(*scene, program.session, program.own, problem)) << text;
        EXPECT_EQ(problem.spanish.rfind("escena: ", 0), 0u) << problem.spanish;
        EXPECT_FALSE(program.session.HasFrame());
        EXPECT_EQ(program.own.Accepted().size(), 0u);
    }
}

}   // namespace
