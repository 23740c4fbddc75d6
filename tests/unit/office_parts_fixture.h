#pragma once
// Office packages built by hand as parts in memory, converted without a
// zip, and their output read back as XML.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "documents/office_parts.h"

namespace lk::testing {

class MemoryParts : public documents::PartSource {
 public:
  MemoryParts() = default;
  explicit MemoryParts(std::vector<std::pair<std::string, std::string>> parts) : parts_(std::move(parts)) {}

  void Set(const std::string& name, std::string content) {
    for (auto& part : parts_)
      if (part.first == name) {
        part.second = std::move(content);
        return;
      }
    parts_.emplace_back(name, std::move(content));
  }
  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    for (const auto& part : parts_) names.push_back(part.first);
    return names;
  }
  bool Has(std::string_view name) const override { return Find(name) != nullptr; }
  std::string Read(std::string_view name) override {
    const std::string* content = Find(name);
    if (!content) throw std::logic_error("no part " + std::string(name));
    return *content;
  }

 private:
  const std::string* Find(std::string_view name) const {
    for (const auto& part : parts_)
      if (part.first == name) return &part.second;
    return nullptr;
  }
  std::vector<std::pair<std::string, std::string>> parts_;
};

// What a converter wrote: each part's content, and which were copied as
// they were.
class MemoryOutput : public documents::PartSink {
 public:
  explicit MemoryOutput(MemoryParts& source) : source_(source) {}
  void Copy(std::string_view name) override {
    copied.insert(std::string(name));
    Record(name, source_.Read(name));
  }
  void Add(std::string_view name, std::string_view content) override {
    written.insert(std::string(name));
    Record(name, std::string(content));
  }
  // The output as a package to convert again.
  MemoryParts AsParts() const { return MemoryParts(parts); }
  const std::string& Part(const std::string& name) const {
    for (const auto& part : parts)
      if (part.first == name) return part.second;
    throw std::logic_error("not written: " + name);
  }

  std::vector<std::pair<std::string, std::string>> parts;
  std::set<std::string> copied, written;

 private:
  void Record(std::string_view name, std::string content) {
    for (const auto& part : parts)
      if (part.first == name) ADD_FAILURE() << "written twice: " << name;
    parts.emplace_back(std::string(name), std::move(content));
  }
  MemoryParts& source_;
};

// An output part parsed, for XPath questions. XPath here ignores
// namespaces: "a:latin" is matched by its written name.
inline pugi::xml_document ParseXml(const std::string& xml) {
  pugi::xml_document document;
  EXPECT_TRUE(document.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << xml;
  return document;
}

inline std::string Query(const pugi::xml_document& document, const char* xpath) {
  return document.select_node(xpath).node() ? document.select_node(xpath).node().text().get()
                                            : document.select_node(xpath).attribute().value();
}

// The Unicode text of a node's descendants named t (runs' or plain text).
inline std::string TextOf(pugi::xml_node node, const char* textName = "t") {
  std::string text;
  for (pugi::xpath_node t : node.select_nodes((std::string(".//") + textName).c_str())) text += t.node().text().get();
  return text;
}

inline std::string ContentTypesXml(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::string xml =
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
      R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
      R"(<Default Extension="xml" ContentType="application/xml"/>)";
  for (const auto& [part, type] : overrides)
    xml += "<Override PartName=\"/" + part + "\" ContentType=\"application/vnd.openxmlformats-officedocument." +
           type + "\"/>";
  return xml + "</Types>";
}

// Relationships as (type ending after ".../relationships/", target).
inline std::string RelationshipsXml(const std::vector<std::pair<std::string, std::string>>& targets) {
  std::string xml =
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
  int id = 1;
  for (const auto& [type, target] : targets)
    xml += "<Relationship Id=\"rId" + std::to_string(id++) +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
           "\" Target=\"" + target + "\"/>";
  return xml + "</Relationships>";
}

inline std::string ThemeXml(const std::string& major, const std::string& minor) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="T"><a:themeElements>)"
         R"(<a:fontScheme name="F"><a:majorFont><a:latin typeface=")" +
         major + R"("/><a:ea typeface=""/><a:cs typeface=""/></a:majorFont><a:minorFont><a:latin typeface=")" +
         minor + R"("/><a:ea typeface=""/><a:cs typeface=""/></a:minorFont></a:fontScheme></a:themeElements></a:theme>)";
}

// A package converted from parts in memory, its input kept beside the
// output that refers to it.
struct Converted {
  MemoryParts input;
  std::unique_ptr<MemoryOutput> output;
  documents::Tally tally;
};

template <typename ConvertParts>
std::unique_ptr<Converted> ConvertInMemory(ConvertParts convertParts, MemoryParts parts,
                                           convert::Direction direction) {
  auto result = std::make_unique<Converted>();
  result->input = std::move(parts);
  result->output = std::make_unique<MemoryOutput>(result->input);
  documents::ConvertSettings settings;
  settings.direction = direction;
  convertParts(result->input, *result->output, settings, result->tally, nullptr);
  return result;
}

}  // namespace lk::testing
