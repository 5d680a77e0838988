// SPDX-License-Identifier: MIT
// JSON strings as the C APIs write them: ASCII only, UTF-8 (a file's name
// from the page, say) as the escapes of its code points, and any other
// bytes still as valid JSON.  The expected escapes are written by hand
// from the Unicode code points.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/common/json_text.hpp"
#include "support/json_syntax.hpp"

namespace gndfit {
namespace {

std::string json_string(const std::string& text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

TEST(JsonText, StringsAreAsciiWithUtf8AsItsCodePoints) {
  const struct {
    const char* text;
    const char* json;
  } cases[] = {
      {"m\xc3\xbcll.s1p", R"("m\u00fcll.s1p")"},         // U+00FC, two bytes
      {"\xe2\x82\xac 5", R"("\u20ac 5")"},               // U+20AC, three bytes
      {"\xf0\x9f\x93\xa1", R"("\ud83d\udce1")"},         // U+1F4E1, a surrogate pair
      {"a\"b\\c\n\x7f", R"("a\"b\\c\u000a\u007f")"},     // quotes, backslash, controls
      // Not well-formed UTF-8: each byte as the code point of its number.
      {"\xff", R"("\u00ff")"},
      {"\xc0\x80", R"("\u00c0\u0080")"},                 // an overlong NUL
      {"\xed\xa0\x80", R"("\u00ed\u00a0\u0080")"},       // a surrogate written as UTF-8
      {"\xf4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"},  // above U+10FFFF
      {"\xe2\x82x", R"("\u00e2\u0082x")"},               // cut short
      {"\xc3", R"("\u00c3")"},                           // cut short at the end
  };
  for (const auto& c : cases) {
    const std::string json = json_string(c.text);
    EXPECT_EQ(json, c.json);
    EXPECT_TRUE(test::JsonSyntax::valid(json)) << json;
  }
}

// Every separator placed by the writer: none after an opening or a name,
// one between members and elements at any depth, empty containers empty.
TEST(JsonWriter, SeparatesMembersAndElementsAtEveryDepth) {
  JsonWriter json;
  json.begin_object();
  json.name("a").begin_array().end_array();
  json.name("b").begin_object().end_object();
  json.name("c").begin_array().integer(1).begin_object().name("d").null().name("e").boolean(false);
  json.end_object().begin_array().string("x").number(0.1).end_array().end_array();
  json.name("f").number(1.0 / 3.0).name("g").number(13.1f).name("h").number_or_null(false, 2.0);
  json.name("i").json(R"({"j":1})").end_object();
  EXPECT_EQ(json.text(), R"({"a":[],"b":{},"c":[1,{"d":null,"e":false},["x",0.1]],)"
                         R"("f":0.3333333333333333,"g":13.1,"h":null,"i":{"j":1}})");
  EXPECT_TRUE(test::JsonSyntax::valid(json.text())) << json.text();
}

TEST(JsonWriter, NumbersJsonHasNotAreNull) {
  JsonWriter json;
  json.begin_array().number(std::nan("")).number(-HUGE_VAL).number(HUGE_VALF).end_array();
  EXPECT_EQ(json.text(), "[null,null,null]");
}

}  // namespace
}  // namespace gndfit
