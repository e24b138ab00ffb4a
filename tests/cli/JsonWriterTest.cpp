#include <gtest/gtest.h>

#include "cli/JsonWriter.h"

namespace uvlamp::cli {
namespace {

TEST(JsonWriter, NestsWithCommasAndIndentation) {
    TJsonWriter j;
    j.BeginObject();
    j.Key("a").Integer(1);
    j.Key("b").BeginArray().String("x").Number(0.5).Bool(false).EndArray();
    j.Key("c").BeginArray().EndArray();
    j.Key("d").BeginObject().Key("e").Number(1.0 / 0.0).EndObject();
    j.EndObject();
    EXPECT_EQ(j.Text(),
              "{\n  \"a\": 1,\n  \"b\": [\n    \"x\",\n    0.5,\n    false\n  ],\n"
              "  \"c\": [],\n  \"d\": {\n    \"e\": null\n  }\n}\n");
}

TEST(JsonWriter, QuotesEveryTextSoThatItParses) {
    struct TCase {
        std::string In, Out;
    } cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"tab\tline\ncr\r", "\"tab\\tline\\ncr\\r\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x1b[31m", "\"\\u001b[31m\""},
        {"\xc3\xa5ngstr\xc3\xb6m", "\"\xc3\xa5ngstr\xc3\xb6m\""},  // valid UTF-8 stays
        {"bad\xff\xc3", "\"bad\\ufffd\\ufffd\""},                  // invalid bytes replaced
        {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},             // a surrogate is not text
        {"\xe2\x82\xac", "\"\xe2\x82\xac\""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(JsonQuote(c.In), c.Out) << c.In;
    }
}

}  // namespace
}  // namespace uvlamp::cli
