#include "tests/linux/sample_json.h"

#include <fstream>
#include <sstream>

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

void ExpectHolds(const json& actual, const json& expected) {
  const json& held = actual;
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
