// A temporary directory tree that stands for the system's root in reader tests; removed with
// everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/linux/system_files.h"

namespace addrvue::linux_source::testing {

class FixtureTree {
 public:
  FixtureTree();
  FixtureTree(const FixtureTree&) = delete;
  FixtureTree& operator=(const FixtureTree&) = delete;
  FixtureTree(FixtureTree&&) = delete;
  FixtureTree& operator=(FixtureTree&&) = delete;
  ~FixtureTree();

  // Writes a file at an absolute system path ("/etc/resolv.conf") under the tree.
  void Write(std::string_view absolute, std::string_view content) const;
  // Copies everything in a directory of sample files into the tree.
  void CopyIn(const std::filesystem::path& from) const;
  [[nodiscard]] std::string Path(std::string_view absolute) const { return root_.Path(absolute); }
  [[nodiscard]] const SystemRoot& Root() const { return root_; }
  // The tree's own directory on the real file system.
  [[nodiscard]] const std::string& Top() const { return top_; }

 private:
  std::string top_;
  SystemRoot root_;
};

}  // namespace addrvue::linux_source::testing
