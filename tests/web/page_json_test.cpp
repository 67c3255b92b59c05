// The page's bridge: answers the page's JSON.parse takes as the C++ meant them, and what the page
// sends read back exactly or refused whole.
#include "web/page_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(PageJson, WritesStringsNumbersAndNesting)
{
    const std::string awkward = std::string("\"q\" \\ \n\t\x01\x1f\x7f ñ 😀 ") + '\0' + "end";
    const std::string written = JsonObject()
                                    .Add("text", awkward)
                                    .Add("whole", -42)
                                    .Add("tenth", 0.1)
                                    .Add("one", 1.0)
                                    .Add("nan", std::numeric_limits<double>::quiet_NaN())
                                    .Add("fixed", JsonFixed{2.5})
                                    .Add("on", true)
                                    .Add("list", JsonArray().Add("a").Add(JsonObject()).Add(false))
                                    .Text();
    EXPECT_EQ(written, "{\"text\":\"\\\"q\\\" \\\\ \\n\\t\\u0001\\u001f\x7f ñ 😀 \\u0000end\",\"whole\":-42,"
                       "\"tenth\":0.10000000000000001,\"one\":1,\"nan\":null,\"fixed\":2.500000,\"on\":true,"
                       "\"list\":[\"a\",{},false]}");
    EXPECT_EQ(JsonObject().Text(), "{}");
    EXPECT_EQ(JsonArray().Text(), "[]");
}

TEST(PageJson, ReadsWhatItWritesAndTheBrowsersEscapes)
{
    const std::string awkward = std::string("\"q\" \\ \n\t\x01 ñ 😀 ") + '\0' + "end";
    std::string error;
    const auto back = JsonFields::Read(JsonObject().Add("text", awkward).Add("n", -7).Add("on", true).Text(), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->Text("text"), awkward);
    EXPECT_EQ(back->Whole("n"), -7);
    EXPECT_TRUE(back->Flag("on"));
    EXPECT_EQ(back->Text("n"), "");            // not a string
    EXPECT_FALSE(back->Whole("missing"));

    const auto escaped = JsonFields::Read(R"( { "a" : "\u0041\u00f1\u20ac\ud83d\ude00\/", "b": 1.5, "c": 99999999999999999999, "d": null } )", error);
    ASSERT_TRUE(escaped) << error;
    EXPECT_EQ(escaped->Text("a"), "Añ€😀/");
    EXPECT_FALSE(escaped->Whole("b"));
    EXPECT_FALSE(escaped->Whole("c"));
    EXPECT_TRUE(escaped->Has("d"));
    EXPECT_FALSE(escaped->Flag("d"));
}

TEST(PageJson, RefusesWhatIsNotOneFlatObject)
{
    std::string many = "{";
    for (std::size_t i = 0; i <= JsonFields::kMaxFields; ++i)
        many += (i ? ",\"f" : "\"f") + std::to_string(i) + "\":1";
    for (const std::string& bad : std::initializer_list<std::string>{"", "[]", "{", "{\"a\":}", "{\"a\":{}}", "{\"a\":[1]}", "{\"a\":1,\"a\":2}",
                                  "{\"a\":1} x", "{\"a\":1,}", "{a:1}", "{\"a\":\"\\q\"}", "{\"a\":\"\\ud800\"}",
                                  "{\"a\":\"\\udc00\"}", "{\"a\":\"\\u12\"}", "{\"a\":\"\\u12g4\"}", "{\"a\":\"x\ny\"}",
                                  "{\"a\":\"x", "{\"a\":\"x\\", "{\"a\":01}", "{\"a\":-}", "{\"a\":1.}", "{\"a\":1e}",
                                  "{\"a\":tru}", "{\"a\" 1}", many + "}",
                                  "{\"a\":\"" + std::string(JsonFields::kMaxBytes, 'x') + "\"}"}) {
        std::string error;
        EXPECT_FALSE(JsonFields::Read(bad, error)) << bad.substr(0, 40);
        EXPECT_FALSE(error.empty()) << bad.substr(0, 40);
    }
}
