#pragma once
// What the Office formats (.xlsx, .pptx) share above the zip: the parts a
// converter reads and writes, their content types, and the relationships
// that tie a slide to its layout or a workbook to its theme.
#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "documents/run_model.h"
#include "pugixml.hpp"

namespace lk::documents {

class PackageReader;
class PackageWriter;

// The parts of a package as a converter sees them, so that the converters
// can be driven from a zip or from parts held in memory.
class PartSource {
 public:
  virtual ~PartSource() = default;
  // In the order the package holds them.
  virtual std::vector<std::string> Names() const = 0;
  virtual bool Has(std::string_view name) const = 0;
  virtual std::string Read(std::string_view name) = 0;
};

class PartSink {
 public:
  virtual ~PartSink() = default;
  // The part exactly as the source holds it.
  virtual void Copy(std::string_view name) = 0;
  virtual void Add(std::string_view name, std::string_view content) = 0;
  // A rewritten tree, saved as SavePart saves it; a zip writes it straight
  // into the entry instead of holding the whole text first.
  virtual void AddSaved(std::string_view name, const pugi::xml_document& document);
};

class ZipPartSource : public PartSource {
 public:
  explicit ZipPartSource(PackageReader& reader) : reader_(reader) {}
  std::vector<std::string> Names() const override;
  bool Has(std::string_view name) const override;
  std::string Read(std::string_view name) override;

 private:
  PackageReader& reader_;
};

class ZipPartSink : public PartSink {
 public:
  ZipPartSink(PackageReader& reader, PackageWriter& writer) : reader_(reader), writer_(writer) {}
  void Copy(std::string_view name) override;
  void Add(std::string_view name, std::string_view content) override;
  void AddSaved(std::string_view name, const pugi::xml_document& document) override;

 private:
  PackageReader& reader_;
  PackageWriter& writer_;
};

// [Content_Types].xml: a part's type by its own entry, else by extension.
class ContentTypes {
 public:
  explicit ContentTypes(PartSource& source);
  std::string TypeOf(std::string_view partName) const;
  // Whether the part's type ends so ("spreadsheetml.worksheet+xml"), which
  // covers the macro-enabled and template variants alike.
  bool Is(std::string_view partName, std::string_view typeEnding) const;

 private:
  std::map<std::string, std::string, std::less<>> overrides_;  // by part name, without the leading '/'
  std::map<std::string, std::string, std::less<>> defaults_;   // by lower-case extension
};

// What a package's converter works with: where its parts come from and go,
// the settings, the tally of characters, the user's Cancel and the types.
class PackageJob {
 public:
  PackageJob(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
             const std::atomic<bool>* cancel)
      : source_(source), sink_(sink), settings_(settings), tally_(tally), cancel_(cancel), types_(source) {}

 protected:
  PartSource& source_;
  PartSink& sink_;
  const ConvertSettings& settings_;
  Tally& tally_;
  const std::atomic<bool>* cancel_;
  ContentTypes types_;
};

struct Relationship {
  std::string type;    // the full type URI
  std::string target;  // a part name, resolved against the source part
  std::string id;
};

// The internal relationships of a part (its "_rels/NAME.rels"); external
// targets (hyperlinks) are left out. None when the part has no .rels.
std::vector<Relationship> RelationshipsOf(PartSource& source, std::string_view partName);
// The first target whose type ends so ("/slideLayout"); empty if none.
std::string TargetOf(const std::vector<Relationship>& relationships, std::string_view typeEnding);

// A target as a relationship gives it ("../slideLayouts/slideLayout1.xml",
// "/xl/styles.xml") resolved to a part name; empty when it climbs out.
std::string ResolvePartName(std::string_view sourcePart, std::string_view target);


}  // namespace lk::documents
