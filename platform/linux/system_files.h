// Reading the system's files under a root directory that tests can point at a fixture tree, and
// the small text helpers every reader shares.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace addrvue::linux_source {

// Where the system's files are read: "/" on the live system, a fixture tree in tests.
class SystemRoot {
 public:
  SystemRoot() = default;
  explicit SystemRoot(std::string prefix) : prefix_(std::move(prefix)) {}

  // The path of an absolute system path ("/etc/resolv.conf") under this root.
  [[nodiscard]] std::string Path(std::string_view absolute) const;

 private:
  std::string prefix_ = "/";
};

// A file's whole content, or nothing when it is missing or may not be read. `limit` bounds what
// is read of files that could be large or endless.
std::optional<std::string> ReadFileText(const std::string& path,
                                        std::size_t limit = std::size_t{16} << 20);
// The names in a directory (no "." or ".."), sorted; empty when it cannot be read.
std::vector<std::string> ListDirectory(const std::string& path);
// Whether a path exists (a dangling link does not).
bool PathExists(const std::string& path);
// The last component of a symbolic link's target, or nothing.
std::optional<std::string> LinkTargetName(const std::string& path);
// The modification time of a file in Unix seconds, or nothing.
std::optional<std::int64_t> FileModifiedTime(const std::string& path);

// Lines of a text, without their line ends.
std::vector<std::string_view> Lines(std::string_view text);
// The text without blanks (spaces, tabs, CR) at both ends.
std::string_view Trim(std::string_view text);
// Words separated by blanks or by any of `extraSeparators`.
std::vector<std::string_view> Words(std::string_view text, std::string_view extraSeparators = "");
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// A whole decimal number, blanks around it allowed, or nothing when the text is anything else.
template <typename Integer>
std::optional<Integer> ParseNumber(std::string_view text) {
  text = Trim(text);
  Integer value{};
  const char* end =
      text.data() + text.size();  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc{} || result.ptr != end) {
    return std::nullopt;
  }
  return value;
}

// A dotted IPv4 address in canonical form ("10.0.0.1"), or nothing when `text` is not one.
std::optional<std::string> CanonicalIpv4(std::string_view text);
// The dotted form of four address bytes.
std::string Ipv4Text(const std::uint8_t* bytes);
// The dotted mask of a prefix length ("255.255.255.0" for 24).
std::string MaskOfPrefix(unsigned prefixLength);

// Text as the records hold it: UTF-8, each byte that is no part of a UTF-8 character (and
// U+FFFD itself) becoming '?'.
std::string ToRecordText(std::string_view utf8);

// A time in Unix seconds as the records' signed 32-bit time: negative times give 0, times past
// 2038 give 2147483647.
std::int32_t ClampTime(std::int64_t unixSeconds);

}  // namespace addrvue::linux_source
