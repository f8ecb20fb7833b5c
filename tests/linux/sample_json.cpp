#include "tests/linux/sample_json.h"

#include <fstream>
#include <sstream>

#include "platform/utf.h"

namespace addrvue::testing {

using nlohmann::json;

std::string SampleBytes(const std::string& relativePath) {
  std::ifstream file(std::string(ADDRVUE_SAMPLES_DIR) + "/" + relativePath, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

json SampleJson(const std::string& relativePath) {
  return json::parse(SampleBytes(relativePath));
}

namespace {

// Text as the records hold it: each byte one Latin-1 character.
std::string Latin1AsUtf8(const std::string& text) {
  std::u16string characters;
  for (const char c : text) {
    characters += static_cast<unsigned char>(c);
  }
  return ToUtf8(characters);
}

}  // namespace

void ExpectHolds(const json& actual, const json& expected, const std::string& where) {
  if (expected.is_object() && actual.is_object()) {
    for (const auto& [key, value] : expected.items()) {
      const auto it = actual.find(key);
      if (value.is_null()) {
        EXPECT_TRUE(it == actual.end() || it->is_null()) << where << "/" << key << " is set";
      } else if (it == actual.end()) {
        ADD_FAILURE() << where << "/" << key << " is missing";
      } else {
        ExpectHolds(*it, value, std::string(where).append("/").append(key));
      }
    }
  } else if (expected.is_array() && actual.is_array() && expected.size() == actual.size()) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ExpectHolds(actual[i], expected[i], std::string(where).append("/").append(std::to_string(i)));
    }
  } else {
    const auto text = [](const json& value) {
      return value.dump(-1, ' ', false, json::error_handler_t::replace);
    };
    const json held = actual.is_string() ? json(Latin1AsUtf8(actual.get<std::string>())) : actual;
    EXPECT_TRUE(held == expected) << where << " is " << text(held) << ", not " << text(expected);
  }
}

}  // namespace addrvue::testing
