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

// Text as UTF-8: the records' text is; bytes a reader found that are no UTF-8 are read each as
// one Latin-1 character.
json AsUtf8(json value) {
  if (value.is_string() && ToUtf8(FromUtf8(value.get<std::string>())) != value.get<std::string>()) {
    std::u16string characters;
    for (const char c : value.get<std::string>()) {
      characters += static_cast<unsigned char>(c);
    }
    return ToUtf8(characters);
  }
  if (value.is_structured()) {
    for (json& element : value) {
      element = AsUtf8(element);
    }
  }
  return value;
}

}  // namespace

void ExpectHolds(const json& actual, const json& expected) {
  const json held = AsUtf8(actual);
  for (const json& change : json::diff(held, expected)) {
    // Members `expected` leaves out may hold anything; one it names as null may be absent.
    const json::json_pointer at(change.at("path").get<std::string>());
    const bool ofObject = !at.empty() && held.at(at.parent_pointer()).is_object();
    const bool allowed = ofObject && (change.at("op") == "remove" ||
                                      (change.at("op") == "add" && change.at("value").is_null()));
    EXPECT_TRUE(allowed) << change << ", where it holds "
                         << (held.contains(at) ? held.at(at).dump() : "nothing");
  }
}

}  // namespace addrvue::testing
