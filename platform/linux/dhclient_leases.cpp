#include "platform/linux/dhclient_leases.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace addrvue::linux_source {
namespace {

// A token of dhclient's lease syntax: a word (a keyword, number, address or date part), a quoted
// string with its escapes undone, or one of ';', '{' and '}'.
struct Token {
  enum Kind { kWord, kString, kEnd, kOpen, kClose };
  Kind kind = kWord;
  std::string text;
};

// The tokens of a lease file as dhclient's own reader splits it: blanks separate words, '#'
// outside a string comments out the rest of its line, a string runs from '"' to the next '"' not
// escaped by a backslash.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  // The next token; nothing at the end of the text.
  std::optional<Token> Next() {
    SkipBlanksAndComments();
    if (at_ == text_.size()) {
      return std::nullopt;
    }
    switch (const char c = text_[at_]) {
      case ';':
      case '{':
      case '}':
        ++at_;
        return Token{c == ';' ? Token::kEnd : c == '{' ? Token::kOpen : Token::kClose, {}};
      case '"':
        ++at_;
        return Token{Token::kString, String()};
      default:
        return Token{Token::kWord, Word()};
    }
  }

 private:
  static constexpr std::string_view kBlanks = " \t\r\n\f\v";
  static constexpr std::string_view kWordEnds = " \t\r\n\f\v;{}\"#";

  void SkipBlanksAndComments() {
    while (at_ < text_.size()) {
      if (text_[at_] == '#') {
        at_ = std::min(text_.find('\n', at_), text_.size());
      } else if (kBlanks.find(text_[at_]) != std::string_view::npos) {
        ++at_;
      } else {
        return;
      }
    }
  }

  std::string Word() {
    const std::size_t end = std::min(text_.find_first_of(kWordEnds, at_), text_.size());
    std::string word(text_.substr(at_, end - at_));
    at_ = end;
    return word;
  }

  // Up to `limit` digits of `base` as one byte; none read gives nothing.
  std::optional<char> Digits(unsigned base, std::size_t limit) {
    unsigned value = 0;
    std::size_t read = 0;
    for (; read < limit && at_ < text_.size(); ++read, ++at_) {
      const char c = text_[at_];
      const unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                             : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                             : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
                                                    : base;
      if (digit >= base) {
        break;
      }
      value = value * base + digit;
    }
    return read == 0 ? std::nullopt : std::optional<char>(static_cast<char>(value & 0xFFU));
  }

  // What a backslash stands for: \t \r \n \b, up to three octal digits, \x and up to two hex
  // digits, or the character itself (a quote or a backslash among them). dhclient writes
  // non-printable bytes as octal.
  char Escaped() {
    const char c = text_[at_];
    if (c >= '0' && c <= '7') {
      return *Digits(8, 3);
    }
    ++at_;
    switch (c) {
      case 't':
        return '\t';
      case 'r':
        return '\r';
      case 'n':
        return '\n';
      case 'b':
        return '\b';
      case 'x':
        return Digits(16, 2).value_or('x');
      default:
        return c;
    }
  }

  // The string after its opening quote; one the text cuts short ends with the text.
  std::string String() {
    std::string value;
    while (at_ < text_.size() && text_[at_] != '"') {
      const char c = text_[at_++];
      value += c == '\\' && at_ < text_.size() ? Escaped() : c;
    }
    at_ = std::min(at_ + 1, text_.size());
    return value;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// A dhclient date after its keyword: "W YYYY/MM/DD HH:MM:SS" in UTC, "epoch N" (the form of
// `db-time-format local`, whose comment the tokenizer drops) or "never".
std::optional<std::int64_t> ParseDhclientDate(std::span<const Token> words) {
  if (words.size() == 1 && words[0].text == "never") {
    return kNeverExpires;
  }
  if (words.size() == 2 && words[0].text == "epoch") {
    return ParseNumber<std::int64_t>(words[1].text);
  }
  if (words.size() != 3) {
    return std::nullopt;
  }
  std::tm date{};
  const std::string dayAndTime = words[1].text + " " + words[2].text;
  const char* end = strptime(dayAndTime.c_str(), "%Y/%m/%d %H:%M:%S", &date);
  if (end == nullptr || *end != '\0') {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(timegm(&date));
}

// An option's value: its string, or its words as written.
std::string OptionValue(std::span<const Token> tokens) {
  if (tokens.size() == 1 && tokens[0].kind == Token::kString) {
    return tokens[0].text;
  }
  std::string value;
  for (const Token& token : tokens) {
    value += (value.empty() ? "" : " ") + token.text;
  }
  return value;
}

// One statement of a lease block (its tokens before the ';').
void ApplyStatement(std::span<const Token> statement, std::string& interface, DhcpLease& lease) {
  if (statement.size() < 2 || statement[0].kind != Token::kWord) {
    return;
  }
  const std::string& keyword = statement[0].text;
  if (keyword == "interface") {
    interface = statement[1].text;
  } else if (keyword == "fixed-address") {
    lease.address = CanonicalIpv4(statement[1].text);
  } else if (keyword == "option" && statement.size() >= 3) {
    ApplyNamedOption(lease, statement[1].text, OptionValue(statement.subspan(2)));
  } else if (keyword == "expire") {
    lease.expires = ParseDhclientDate(statement.subspan(1));
  }
}

// Passes over the rest of a block whose '{' was just read, with the blocks inside it.
void SkipBlock(Tokenizer& tokens) {
  int depth = 1;
  while (const auto token = tokens.Next()) {
    depth += token->kind == Token::kOpen ? 1 : token->kind == Token::kClose ? -1 : 0;
    if (depth == 0) {
      return;
    }
  }
}

// The interface a lease block names, and its lease, from the statements after its '{' up to its
// '}' or the end of the text. A statement the text cuts short counts for nothing.
std::pair<std::string, DhcpLease> ParseLeaseBlock(Tokenizer& tokens) {
  std::string interface;
  DhcpLease lease;
  std::vector<Token> statement;
  while (auto token = tokens.Next()) {
    if (token->kind == Token::kClose) {
      break;
    }
    if (token->kind == Token::kOpen) {
      SkipBlock(tokens);
      statement.clear();
    } else if (token->kind == Token::kEnd) {
      ApplyStatement(statement, interface, lease);
      statement.clear();
    } else {
      statement.push_back(std::move(*token));
    }
  }
  DateFromItsEnd(lease);
  return {interface, lease};
}

// Every lease file dhclient may have written, its own and those it keeps for NetworkManager.
std::vector<std::string> LeaseFiles(const SystemRoot& root) {
  std::vector<std::string> paths;
  for (const char* dir : {"/var/lib/dhcp/", "/var/lib/dhclient/"}) {
    for (const std::string& name : ListDirectory(root.Path(dir))) {
      if (name.ends_with(".leases") || name.ends_with(".lease")) {
        paths.push_back(root.Path(dir) + name);
      }
    }
  }
  for (const std::string& name : ListDirectory(root.Path("/var/lib/NetworkManager/"))) {
    if (name.starts_with("dhclient") && name.ends_with(".lease")) {
      paths.push_back(root.Path("/var/lib/NetworkManager/") + name);
    }
  }
  return paths;
}

}  // namespace

// The top level holds `lease { }` blocks and other statements (`default-duid "...";`, `lease6
// { }` blocks of DHCPv6), which are passed over.
LeasesByInterface ParseDhclientLeases(std::string_view text) {
  LeasesByInterface leases;
  Tokenizer tokens(text);
  bool leaseKeyword = false;  // the statement so far is the word "lease" alone
  std::size_t words = 0;
  while (auto token = tokens.Next()) {
    if (token->kind == Token::kOpen && leaseKeyword) {
      auto [interface, lease] = ParseLeaseBlock(tokens);
      if (!interface.empty()) {
        leases[interface] = std::move(lease);
      }
    } else if (token->kind == Token::kOpen) {
      SkipBlock(tokens);
    }
    const bool ends = token->kind != Token::kWord && token->kind != Token::kString;
    words = ends ? 0 : words + 1;
    leaseKeyword = words == 1 && token->kind == Token::kWord && token->text == "lease";
  }
  return leases;
}

LeasesByInterface ReadDhclientLeases(const SystemRoot& root) {
  LeasesByInterface all;
  for (const std::string& path : LeaseFiles(root)) {
    const auto text = ReadFileText(path);
    if (!text) {
      continue;
    }
    for (auto& [name, lease] : ParseDhclientLeases(*text)) {
      const auto it = all.find(name);
      if (it == all.end() || lease.expires.value_or(0) >= it->second.expires.value_or(0)) {
        all[name] = std::move(lease);
      }
    }
  }
  return all;
}

}  // namespace addrvue::linux_source
