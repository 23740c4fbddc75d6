#pragma once
// Which documents a run converts and where each one goes, worked out whole
// before anything is written: folders listed, outputs named, and every
// clash between them found while refusing still costs nothing.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "documents/run_model.h"

namespace lk::cli {

enum class InputKind { kText, kDocument, kFolder };

// "-" and files of no document format are text, streamed to standard output.
InputKind KindOf(const std::string& name);

struct DocumentJob {
  std::filesystem::path input;
  std::filesystem::path output;
  std::string name;        // the input as the user would write it, UTF-8
  std::string outputName;  // likewise for the output
};

// A file named with why it is left out or cannot be converted.
struct FileNote {
  std::string name;
  std::string reason;
};

struct DocumentPlan {
  std::vector<DocumentJob> jobs;
  std::vector<FileNote> skipped;  // lock files and our own outputs met in folders
  std::vector<FileNote> failed;   // known before starting: unreadable, output already there
  // The folder -o names, made when the run starts; empty when outputs go
  // beside their inputs or -o names one file.
  std::filesystem::path outputFolder;
};

struct PlanRequest {
  std::vector<std::string> paths;  // documents and folders, UTF-8, as given
  std::optional<std::string> output;
  documents::ConvertSettings settings;
  bool overwrite = false;
};

// Either the plan or why the inputs and -o cannot go together (two inputs
// that would land on one output, an output that is an input, -o naming a
// file where a folder is needed). Nothing is written either way.
struct PlanResult {
  std::optional<DocumentPlan> plan;
  std::string error;
};

PlanResult PlanDocuments(const PlanRequest& request);

}  // namespace lk::cli
