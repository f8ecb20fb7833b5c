#include "tests/linux/sample_json.h"

#include <fstream>
#include <sstream>

#include "platform/text/utf.h"

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

// Text as a table can write it: UTF-8 as it stands; bytes that are no UTF-8 (a reader's raw
// bytes, as an escape in a lease gives them) each as the Latin-1 character of that number.
json AsTableText(json value) {
  if (value.is_string()) {
    const auto bytes = value.get<std::string>();
    if (ToUtf8(FromUtf8(bytes)) == bytes) {
      return value;
    }
    std::u16string characters;
    for (const char c : bytes) {
      characters += static_cast<unsigned char>(c);
    }
    return ToUtf8(characters);
  }
  if (value.is_structured()) {
    for (json& element : value) {
      element = AsTableText(element);
    }
  }
  return value;
}

}  // namespace

void ExpectHolds(const json& actual, const json& expected) {
  const json held = AsTableText(actual);
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
