// The page's start in two steps, natively: one of the eight shown before the gallery and the user's
// surfaces are read, and those read once, at the first call that needs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

extern "C" {
const char* vx_start(const char* ownText);
void vx_prepare(const char* ownText);
const char* vx_read_surfaces();
const char* vx_surfaces();
void vx_choose(int number);
const char* vx_import(const char* text);
int vx_accept(const char* fields);
}

namespace {

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

constexpr char kGoodEntry[] =
    "[[surface]]\nid = \"mia\"\ncaption = \"Mía\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\nu = [0, 1, 5]\nv = [0, 1, 5]\n";
const std::string kOwnFile = std::string(kGoodEntry) +
    "[[surface]]\nid = \"rota\"\ncaption = \"Rota\"\nx = \"u+\"\ny = \"v\"\nz = \"0\"\nu = [0, 1, 5]\nv = [0, 1, 5]\n";

}   // namespace

TEST(PageStart, TheEightComeFirstAndTheSurfacesAreReadOnceAtTheirFirstNeed)
{
    std::filesystem::create_directories(VEXILON_PAGE_ROOT);
    vx_prepare(kOwnFile.c_str());
    EXPECT_EQ(Count(vx_surfaces(), "\"n\":"), 8u);   // nothing read yet
    vx_choose(5);   // the torus, before anything is read
    const std::string imported = vx_import(
        "[[surface]]\nid = \"otra\"\ncaption = \"Otra\"\nx = \"u\"\ny = \"v\"\nz = \"0\"\nu = [0, 1, 5]\nv = [0, 1, 5]\n");
    EXPECT_EQ(imported, "{\"added\":1,\"problems\":[]}");   // the file read first, then added to
    // "Aceptar", with "Definir…"'s fields as the page sends them.
    const int accepted = vx_accept(R"({"caption":"Aceptada","x":"u","y":"v","z":"0","uFrom":"0","uTo":"1","uLines":"5",)"
                                   R"("vFrom":"0","vTo":"1","vLines":"5","samples":"25"})");
    ASSERT_GT(accepted, 0);
    const std::string problems = vx_read_surfaces();
    EXPECT_EQ(Count(problems, "rota"), 1u) << problems;     // the start's problems, kept
    const std::string listed = vx_surfaces();
    EXPECT_GT(Count(listed, "\"n\":"), 8u + 3u);            // the gallery, then the user's
    EXPECT_NE(listed.find("\"id\":\"mia\""), std::string::npos);
    EXPECT_NE(listed.find("\"id\":\"otra\""), std::string::npos);
    EXPECT_NE(listed.find("{\"n\":" + std::to_string(accepted) + ",\"id\":\"formulas"), std::string::npos)
        << "read again, the accepted surface would be lost";
    EXPECT_EQ(vx_read_surfaces(), problems);
    EXPECT_EQ(std::string(vx_start(kGoodEntry)), "[]");   // start reads anew, from the text given
    EXPECT_EQ(std::string(vx_surfaces()).find("\"id\":\"otra\""), std::string::npos);
}
