// The page's C functions over the bridge: definitions read by their fields' names, whatever their
// order, and a text that is not one JSON object refused whole with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "web/page_json.h"

extern "C" {
const char* vx_start(const char* ownText);
const char* vx_starting_definition();
const char* vx_check(const char* definitionJson);
const char* vx_save_refusal(const char* definitionJson);
int vx_accept(const char* definitionJson);
}

namespace {

JsonFields Answer(const char* json)
{
    std::string error;
    const std::optional<JsonFields> fields = JsonFields::Read(json, error);
    EXPECT_TRUE(fields) << error << ": " << json;
    return fields.value_or(JsonFields());
}

JsonObject Definition(const std::string& x, const std::string& uLines)
{
    return JsonObject().Add("z", "u*v").Add("x", x).Add("caption", "Mía").Add("y", "v").Add("uLines", uLines)
        .Add("uFrom", "0").Add("uTo", "1").Add("vFrom", "0").Add("vTo", "1").Add("vLines", "5").Add("samples", "20")
        .Add("kind", "formulas").Add("fit", "uniforme").Add("families", "uv");
}

}   // namespace

TEST(PageBridge, DefinitionsAreReadByNameAndAnythingElseRefusedWhole)
{
    std::filesystem::create_directories(VEXILON_PAGE_ROOT);
    vx_start("");
    const std::string start = vx_starting_definition();
    EXPECT_EQ(Answer(start.c_str()).Text("kind"), "formulas");
    EXPECT_EQ(std::string(vx_check(start.c_str())), "{}");

    EXPECT_EQ(std::string(vx_check(Definition("u", "5").Text().c_str())), "{}");
    EXPECT_EQ(Answer(vx_check(Definition("u+w", "5").Text().c_str())).Text("field"), "x");
    EXPECT_EQ(Answer(vx_check(Definition("u", "cinco").Text().c_str())).Text("field"), "uLines");
    EXPECT_GT(vx_accept(Definition("u", "5").Text().c_str()), 0);
    // An equation's box is told only once the parameters read.
    for (const auto& [params, field] : {std::pair{"a=", "params"}, std::pair{"a=1", "box"}}) {
        const JsonObject equation = JsonObject().Add("caption", "Cono").Add("kind", "ecuacion").Add("equation", "x^2+y^2=a")
                                        .Add("box", "1, 2").Add("planeFamilies", "z").Add("planes", "12").Add("grid", "40")
                                        .Add("params", params);
        EXPECT_EQ(Answer(vx_check(equation.Text().c_str())).Text("field"), field) << params;
    }

    for (const char* bad : {"Mía\x1fu\x1fv\x1fu*v", "", "{\"x\":[\"u\"]}"}) {
        const JsonFields problem = Answer(vx_check(bad));
        EXPECT_EQ(problem.Text("field"), "caption") << bad;   // the whole definition shows there
        EXPECT_EQ(problem.Text("message").rfind("la definición no llegó entera: ", 0), 0u) << problem.Text("message");
        EXPECT_EQ(std::string(vx_save_refusal(bad)), problem.Text("message"));
        EXPECT_EQ(vx_accept(bad), 0);
    }
}
