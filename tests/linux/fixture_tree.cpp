#include "tests/linux/fixture_tree.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace addrvue::linux_source::testing {

namespace fs = std::filesystem;

FixtureTree::FixtureTree() {
  std::string pattern = (fs::temp_directory_path() / "addrvue-root-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary directory");
  }
  top_ = pattern;
  root_ = SystemRoot(pattern);
}

FixtureTree::~FixtureTree() {
  std::error_code ignored;
  fs::remove_all(top_, ignored);
}

void FixtureTree::Write(std::string_view absolute, std::string_view content) const {
  const fs::path path = Path(absolute);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void FixtureTree::CopyIn(const fs::path& from) const {
  fs::copy(from, top_,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing |
               fs::copy_options::copy_symlinks);
}

}  // namespace addrvue::linux_source::testing
