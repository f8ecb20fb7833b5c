#include "platform/linux/system_files.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <memory>

#include "platform/text/utf.h"

namespace addrvue::linux_source {
namespace {

struct FdCloser {
  int fd;
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;
  FdCloser(FdCloser&&) = delete;
  FdCloser& operator=(FdCloser&&) = delete;
  explicit FdCloser(int f) : fd(f) {}
  ~FdCloser() {
    if (fd >= 0) {
      close(fd);
    }
  }
};

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string SystemRoot::Path(std::string_view absolute) const {
  std::string path = prefix_;
  while (!path.empty() && path.back() == '/') {
    path.pop_back();
  }
  if (absolute.empty() || absolute.front() != '/') {
    path += '/';
  }
  path += absolute;
  return path;
}

std::optional<std::string> ReadFileText(const std::string& path, std::size_t limit) {
  const FdCloser file(
      open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));  // NOLINT(*-vararg): POSIX open
  if (file.fd < 0) {
    return std::nullopt;
  }
  // Read straight into the text, which grows as the file turns out longer: most files the
  // readers take are a few bytes, and a buffer of the largest size would be zeroed for each.
  std::string text;
  std::size_t used = 0;
  while (used < limit) {
    if (used == text.size()) {
      text.resize(std::min(limit, std::max<std::size_t>(2 * used, 4096)));
    }
    const ssize_t got = read(file.fd, &text[used], text.size() - used);
    if (got < 0 && errno == EINTR) {
      continue;  // a signal came before any byte did
    }
    if (got < 0) {
      return std::nullopt;
    }
    if (got == 0) {
      break;
    }
    used += static_cast<std::size_t>(got);
  }
  text.resize(used);
  return text;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
  if (!dir) {
    return names;
  }
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name(static_cast<const char*>(entry->d_name));
    if (name != "." && name != "..") {
      names.emplace_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

std::optional<std::string> LinkTargetName(const std::string& path) {
  std::array<char, 4096> target{};
  const ssize_t n = readlink(path.c_str(), target.data(), target.size() - 1);
  if (n <= 0) {
    return std::nullopt;
  }
  std::string_view text(target.data(), static_cast<std::size_t>(n));
  while (!text.empty() && text.back() == '/') {
    text.remove_suffix(1);
  }
  const auto slash = text.rfind('/');
  if (slash != std::string_view::npos) {
    text.remove_prefix(slash + 1);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  return std::string(text);
}

std::optional<std::int64_t> FileModifiedTime(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(info.st_mtim.tv_sec);
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::vector<std::string_view> Words(std::string_view text, std::string_view extraSeparators) {
  std::vector<std::string_view> words;
  const auto separator = [&](char c) {
    return IsBlank(c) || extraSeparators.find(c) != std::string_view::npos;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) {
      ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && !separator(text[i])) {
      ++i;
    }
    if (i > start) {
      words.push_back(text.substr(start, i - start));
    }
  }
  return words;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::array<std::uint8_t, 4>> Ipv4Bytes(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 15) {
    return std::nullopt;
  }
  const std::string copy(text);
  std::array<std::uint8_t, 4> bytes{};
  if (inet_pton(AF_INET, copy.c_str(), bytes.data()) != 1) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::string> CanonicalIpv4(std::string_view text) {
  const auto bytes = Ipv4Bytes(text);
  return bytes ? std::optional(Ipv4Text(*bytes)) : std::nullopt;
}

std::string Ipv4Text(std::span<const std::uint8_t, 4> bytes) {
  std::string text;  // at most 15 characters, which the string holds in place
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) {
      text += '.';
    }
    if (byte >= 100) {
      text += static_cast<char>('0' + byte / 100);
    }
    if (byte >= 10) {
      text += static_cast<char>('0' + byte / 10 % 10);
    }
    text += static_cast<char>('0' + byte % 10);
  }
  return text;
}

std::string MaskOfPrefix(unsigned prefixLength) {
  // Every address of every adapter has one: the 33 texts are made once.
  static const std::array<std::string, 33> kMasks = [] {
    std::array<std::string, 33> masks;
    for (unsigned bits = 0; bits < masks.size(); ++bits) {
      const std::uint32_t mask = bits == 0 ? 0U : ~std::uint32_t{0} << (32U - bits);
      const std::array<std::uint8_t, 4> bytes{
          static_cast<std::uint8_t>(mask >> 24U), static_cast<std::uint8_t>(mask >> 16U),
          static_cast<std::uint8_t>(mask >> 8U), static_cast<std::uint8_t>(mask)};
      masks.at(bits) = Ipv4Text(bytes);
    }
    return masks;
  }();
  return kMasks.at(std::min(prefixLength, 32U));
}

std::string ToRecordText(std::string_view utf8) {
  // ASCII is UTF-8 that stays as it is; most names are no more.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
    return std::string(utf8);
  }
  std::u16string text = FromUtf8(utf8);
  std::replace(text.begin(), text.end(), u'\uFFFD', u'?');
  return ToUtf8(text);
}

}  // namespace addrvue::linux_source
