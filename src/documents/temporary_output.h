#pragma once
// An output file in the making: a fresh hidden name beside where the output
// goes (so the last step is a rename within one folder), removed unless it
// is published whole.
#include <filesystem>

namespace lk::documents {

// Names a temporary file starts and ends with, so folder runs skip them.
inline constexpr char kTemporaryPrefix[] = ".~lk-";
inline constexpr char kTemporarySuffix[] = ".tmp";

class TemporaryOutput {
 public:
  // Creates an empty file with a name no one else holds in folder; throws
  // DocumentError when the folder is missing or not writable.
  explicit TemporaryOutput(const std::filesystem::path& folder);
  ~TemporaryOutput();
  TemporaryOutput(const TemporaryOutput&) = delete;
  TemporaryOutput& operator=(const TemporaryOutput&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Gives the file its final name. Without overwrite an existing target is
  // refused (DocumentError) in the same step as the rename, so two jobs
  // aiming at one name cannot both win; with it the target is replaced.
  void Publish(const std::filesystem::path& target, bool overwrite);

 private:
  std::filesystem::path path_;
  bool published_ = false;
};

}  // namespace lk::documents
