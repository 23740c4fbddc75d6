#include "cli/document_plan.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "cli/path_text.h"
#include "documents/document_file.h"

namespace lk::cli {
namespace {

namespace fs = std::filesystem;

// One spelling per file, so that "a.docx", "./a.docx" and a link to it are
// seen as the same file. Windows finds names whatever their case; only
// ASCII letters are folded here, which is where such clashes happen.
fs::path::string_type KeyOf(const fs::path& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  if (ec) full = path;
  fs::path canonical = fs::weakly_canonical(full, ec);
  if (!ec) full = std::move(canonical);
  fs::path::string_type key = full.lexically_normal().native();
#ifdef _WIN32
  for (auto& c : key) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
#endif
  return key;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

PlanResult Refuse(std::string message) { return {std::nullopt, std::move(message)}; }

// Why a listed file is not converted, in the user's words.
std::string SkipReason(const fs::path& file) {
  return Utf8FromPath(file.filename()).starts_with("~$") ? "Word's lock file of an open document"
                                                         : "an output of an earlier conversion";
}

class Planner {
 public:
  explicit Planner(const PlanRequest& request) : request_(request) {}

  PlanResult Run() {
    bool anyFolder = false;
    for (const std::string& name : request_.paths) anyFolder |= KindOf(name) == InputKind::kFolder;
    if (request_.output) {
      const fs::path out = PathFromUtf8(*request_.output);
      std::error_code ec;
      const bool outIsFolder = fs::is_directory(out, ec);
      if (request_.paths.size() > 1 || anyFolder || outIsFolder || !out.has_filename()) {
        if (!outIsFolder && fs::exists(fs::symlink_status(out, ec))) {
          return Refuse("-o " + *request_.output +
                        " is a file; for several documents or a folder, -o names the folder their outputs go to");
        }
        plan_.outputFolder = out;
      } else {
        outputFile_ = out;
      }
    }

    for (const std::string& name : request_.paths) {
      if (KindOf(name) == InputKind::kFolder) {
        List(name);
      } else {
        AddGiven(name);
      }
    }
    if (auto error = CheckOutputs()) return Refuse(std::move(*error));
    NoteExistingOutputs();
    return {std::move(plan_), {}};
  }

 private:
  void AddGiven(const std::string& name) {
    const fs::path input = PathFromUtf8(name);
    std::error_code ec;
    const fs::file_status status = fs::status(input, ec);
    if (!fs::exists(status)) {
      plan_.failed.push_back({name, "cannot read it: " + (ec ? ec.message() : std::string("it does not exist"))});
      return;
    }
    if (!fs::is_regular_file(status)) {
      plan_.failed.push_back({name, "cannot read it: it is not a regular file"});
      return;
    }
    fs::path output;
    if (outputFile_) {
      output = *outputFile_;
      const std::string ending = LowerAscii(Utf8FromPath(input.extension()));
      if (LowerAscii(Utf8FromPath(output.extension())) != ending) {
        outputError_ = "-o " + *request_.output + ": the output of " + name + " must keep its name's ending, " +
                       Utf8FromPath(input.extension());
      }
    } else if (!plan_.outputFolder.empty()) {
      output = plan_.outputFolder / input.filename();
    } else {
      output = documents::DefaultOutputPath(input, request_.settings);
    }
    Add(input, std::move(output), name);
  }

  void List(const std::string& name) {
    const fs::path folder = PathFromUtf8(name);
    std::vector<fs::path> found;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      const fs::directory_entry& entry = *it;
      std::error_code entryError;
      if (entry.is_directory(entryError)) {
        // Outputs of an earlier run into a folder inside this one are not
        // inputs of this one.
        if (!plan_.outputFolder.empty() && fs::equivalent(entry.path(), plan_.outputFolder, entryError)) {
          it.disable_recursion_pending();
        }
        continue;
      }
      if (entry.is_regular_file(entryError) && documents::FormatOf(entry.path())) found.push_back(entry.path());
    }
    if (ec) plan_.failed.push_back({name, "cannot list all of this folder: " + ec.message()});

    std::sort(found.begin(), found.end());
    for (const fs::path& file : found) {
      const fs::path relative = file.lexically_relative(folder);
      const std::string shown = Utf8FromPath(folder / relative);
      if (documents::IsOwnOutputOrLockFile(file)) {
        plan_.skipped.push_back({shown, SkipReason(file)});
        continue;
      }
      fs::path output = plan_.outputFolder.empty() ? documents::DefaultOutputPath(file, request_.settings)
                                                   : plan_.outputFolder / relative;
      Add(file, std::move(output), shown);
    }
  }

  void Add(const fs::path& input, fs::path output, const std::string& name) {
    if (!inputs_.emplace(KeyOf(input), plan_.jobs.size()).second) return;  // the same file named twice
    std::string outputName = Utf8FromPath(output);
    plan_.jobs.push_back({input, std::move(output), name, std::move(outputName)});
  }

  std::optional<std::string> CheckOutputs() {
    if (!outputError_.empty()) return outputError_;
    std::map<fs::path::string_type, std::size_t> outputs;
    for (std::size_t i = 0; i < plan_.jobs.size(); ++i) {
      const DocumentJob& job = plan_.jobs[i];
      const auto key = KeyOf(job.output);
      if (const auto input = inputs_.find(key); input != inputs_.end()) {
        return job.name + " would be written to " + job.outputName + ", which is " +
               (input->second == i ? std::string("itself") : "the input " + plan_.jobs[input->second].name) +
               "; an input is never written over";
      }
      const auto [other, added] = outputs.emplace(key, i);
      if (!added) {
        return plan_.jobs[other->second].name + " and " + job.name + " would both be written to " + job.outputName;
      }
    }
    return std::nullopt;
  }

  // Checked here for a clear message before anything starts; the
  // conversion itself still refuses to replace a file that appears later.
  void NoteExistingOutputs() {
    std::vector<DocumentJob> kept;
    for (DocumentJob& job : plan_.jobs) {
      std::error_code ec;
      const fs::file_status status = fs::symlink_status(job.output, ec);
      if (fs::is_directory(status)) {
        plan_.failed.push_back({job.name, "its output " + job.outputName + " is a folder"});
      } else if (fs::exists(status) && !request_.overwrite) {
        plan_.failed.push_back({job.name, job.outputName + " exists already; --overwrite replaces it"});
      } else {
        kept.push_back(std::move(job));
      }
    }
    plan_.jobs = std::move(kept);
  }

  const PlanRequest& request_;
  DocumentPlan plan_;
  std::optional<fs::path> outputFile_;
  std::string outputError_;
  std::map<fs::path::string_type, std::size_t> inputs_;
};

}  // namespace

InputKind KindOf(const std::string& name) {
  if (name == "-") return InputKind::kText;
  const fs::path path = PathFromUtf8(name);
  std::error_code ec;
  if (fs::is_directory(path, ec)) return InputKind::kFolder;
  return documents::FormatOf(path) ? InputKind::kDocument : InputKind::kText;
}

PlanResult PlanDocuments(const PlanRequest& request) { return Planner(request).Run(); }

}  // namespace lk::cli
